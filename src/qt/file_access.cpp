// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_access.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quelo {

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

QString notRegular()
{
    return QStringLiteral("not a regular file (a device, a pipe or a folder)");
}

// The file a write should replace: links are followed to their target, so a link stays.
QString resolvedTarget(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

// Writes all of `size` bytes or says why not; a short write is retried until an error.
bool writeAll(int fd, const char *data, qint64 size, QString &error)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, std::size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? systemReason(errno) : QStringLiteral("nothing could be written");
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// The permissions a new file gets: those of the file it replaces, else 0666 less the umask.
mode_t modeFor(const QString &target)
{
    struct stat st
    {
    };
    if (::stat(encoded(target).constData(), &st) == 0)
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes `bytes` into a new file in the target's folder and returns its name; empty on failure.
QByteArray writeTemporary(const QString &target, const QByteArray &bytes, QString &error)
{
    const QFileInfo info(target);
    QByteArray name = encoded(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                              QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        error = systemReason(errno);
        return {};
    }
    QString reason;
    if (::fchmod(fd, modeFor(target)) != 0)
        reason = systemReason(errno);
    else if (writeAll(fd, bytes.constData(), bytes.size(), reason) && ::fsync(fd) != 0)
        reason = systemReason(errno);
    if (::close(fd) != 0 && reason.isEmpty())
        reason = systemReason(errno);
    if (reason.isEmpty())
        return name;
    ::unlink(name.constData());
    error = reason;
    return {};
}

} // namespace

RegularFileReader::~RegularFileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool RegularFileReader::open(const QString &path, QString &error)
{
    m_path = path;
    const QByteArray name = encoded(path);
    struct stat st
    {
    };
    // stat() first: opening a serial device, even without blocking, can raise its lines.
    if (::stat(name.constData(), &st) != 0) {
        error = systemReason(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = notRegular();
        return false;
    }
    m_fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (m_fd < 0) {
        error = systemReason(errno);
        return false;
    }
    // The path may have been replaced between the two looks.
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = notRegular();
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    m_size = qint64(st.st_size);
    return true;
}

qint64 RegularFileReader::read(char *data, qint64 max, QString &error)
{
    for (;;) {
        const ssize_t n = ::read(m_fd, data, std::size_t(max));
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            error = systemReason(errno);
            return -1;
        }
    }
}

bool readSmallFile(const QString &path, qint64 maxBytes, QByteArray &bytes, QString &error)
{
    RegularFileReader reader;
    if (!reader.open(path, error))
        return false;
    const QString tooBig =
        QStringLiteral("larger than %1 bytes, too large for this kind of file").arg(maxBytes);
    if (reader.size() > maxBytes) {
        error = tooBig;
        return false;
    }
    QByteArray read(maxBytes + 1, Qt::Uninitialized);
    qint64 total = 0;
    for (qint64 n; total <= maxBytes; total += n) {
        n = reader.read(read.data() + total, maxBytes + 1 - total, error);
        if (n < 0)
            return false;
        if (n == 0)
            break;
    }
    if (total > maxBytes) {
        error = tooBig;
        return false;
    }
    read.truncate(total);
    bytes = read;
    return true;
}

bool checkWritableTarget(const QString &path, QString &error)
{
    if (path.isEmpty()) {
        error = QStringLiteral("no file name");
        return false;
    }
    const QFileInfo link(path);
    if (link.isSymLink() && !link.exists()) {
        error = QStringLiteral("a link to a file that does not exist");
        return false;
    }
    const QString target = resolvedTarget(path);
    struct stat st
    {
    };
    if (::stat(encoded(target).constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        error = notRegular();
        return false;
    }
    const QString folder = QFileInfo(target).absolutePath();
    if (::stat(encoded(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error =
            QStringLiteral("the folder %1 does not exist").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    if (::access(encoded(folder).constData(), W_OK | X_OK) != 0) {
        error = QStringLiteral("the folder %1 cannot be written (%2)")
                    .arg(QDir::toNativeSeparators(folder), systemReason(errno));
        return false;
    }
    return true;
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString &error)
{
    error.clear();
    if (!checkWritableTarget(path, error))
        return false;
    const QString target = resolvedTarget(path);
    const QByteArray temporary = writeTemporary(target, bytes, error);
    if (temporary.isEmpty())
        return false;
    if (::rename(temporary.constData(), encoded(target).constData()) != 0) {
        error = systemReason(errno);
        ::unlink(temporary.constData());
        return false;
    }
    // The rename itself reaches the disk with the folder's entry; a failure here loses nothing
    // that was there before, so it is not reported.
    const int folder = ::open(encoded(QFileInfo(target).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

QString fileIdentity(const QString &path)
{
    if (isStandardStream(path))
        return {};
    struct stat st
    {
    };
    if (::stat(encoded(path).constData(), &st) == 0)
        return QStringLiteral("inode %1:%2").arg(quint64(st.st_dev)).arg(quint64(st.st_ino));
    // A link to a file still to be made names that file.
    QFileInfo info(path);
    for (int hops = 0; info.isSymLink() && hops < 40; ++hops)
        info.setFile(info.symLinkTarget());
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

RecordFile::~RecordFile()
{
    close();
}

bool RecordFile::open(const QString &path, Mode mode, QString &error)
{
    close();
    m_path = path;
    if (isStandardStream(path)) {
        m_fd = STDOUT_FILENO;
        m_owned = false;
        m_size = 0;
        return true;
    }
    if (!checkWritableTarget(path, error))
        return false;
    const int how = O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC | O_NOCTTY |
                    (mode == Mode::Truncate ? O_TRUNC : 0);
    const int fd = ::open(encoded(path).constData(), how, 0666);
    struct stat st
    {
    };
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = fd < 0 ? systemReason(errno) : notRegular();
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    m_fd = fd;
    m_owned = true;
    m_size = qint64(st.st_size);
    return true;
}

void RecordFile::close()
{
    if (m_fd >= 0 && m_owned)
        ::close(m_fd);
    m_fd = -1;
    m_owned = false;
    m_size = 0;
}

bool RecordFile::write(const QByteArray &record, QString &error)
{
    if (m_fd < 0) {
        error = QStringLiteral("the file is not open");
        return false;
    }
    if (writeAll(m_fd, record.constData(), record.size(), error)) {
        m_size += m_owned ? record.size() : 0;
        return true;
    }
    // A part of the record may have reached the file: cut it off so that what stays ends with
    // a whole record.
    if (m_owned && ::ftruncate(m_fd, off_t(m_size)) != 0)
        error += QStringLiteral("; the file could not be cut back to its last whole line (%1)")
                     .arg(systemReason(errno));
    return false;
}

} // namespace quelo
