// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_access.h"

#include "file_access_detail.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quelo {

namespace {

// The messages of this file, in the user's language.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(FileAccess)
};

} // namespace

namespace fileaccess {

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
    return Text::tr("not a regular file (a device, a pipe or a folder)");
}

bool writeAll(int fd, const char *data, qint64 size, QString &error)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, std::size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? systemReason(errno) : Text::tr("nothing could be written");
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

} // namespace fileaccess

using namespace fileaccess;

namespace {

// The file a write should replace: links are followed to their target, so a link stays.
QString resolvedTarget(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
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
        Text::tr("larger than %1 bytes, too large for this kind of file").arg(maxBytes);
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
        error = Text::tr("no file name");
        return false;
    }
    const QFileInfo link(path);
    if (link.isSymLink() && !link.exists()) {
        error = Text::tr("a link to a file that does not exist");
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
        error = Text::tr("the folder %1 does not exist").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    if (::access(encoded(folder).constData(), W_OK | X_OK) != 0) {
        error = Text::tr("the folder %1 cannot be written (%2)")
                    .arg(QDir::toNativeSeparators(folder), systemReason(errno));
        return false;
    }
    return true;
}

namespace {

struct Identity
{
    bool exists = false;
    bool regular = false;
    quint64 device = 0;
    quint64 inode = 0;
};

// What `name` in `folder` is now, the name itself and not what a link there points to; false,
// with the reason, when that cannot be told.
bool identityAt(int folder, const QByteArray &name, Identity &identity, QString &error)
{
    struct stat st
    {
    };
    identity = {};
    if (::fstatat(folder, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT)
            return true;
        error = systemReason(errno);
        return false;
    }
    identity = {true, S_ISREG(st.st_mode), quint64(st.st_dev), quint64(st.st_ino)};
    return true;
}

// The permissions a new file gets: those of the file it replaces, else 0666 less the umask.
mode_t modeAt(int folder, const QByteArray &name)
{
    struct stat st
    {
    };
    if (::fstatat(folder, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Makes a new file ".<name>.<random>" in `folder`; -1 with the reason on failure.
int createTemporary(int folder, const QByteArray &name, QByteArray &temporary, QString &error)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = '.' + name + '.' +
                    QByteArray::number(QRandomGenerator::global()->generate64(), 36).left(8);
        const int fd = ::openat(folder, temporary.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) {
            if (fd < 0)
                error = systemReason(errno);
            return fd;
        }
    }
    error = Text::tr("no free name for a temporary file");
    return -1;
}

} // namespace

FileReplacement::~FileReplacement()
{
    if (m_folder >= 0)
        ::close(m_folder);
}

bool FileReplacement::open(const QString &path, QString &error)
{
    if (!checkWritableTarget(path, error))
        return false;
    const QString target = resolvedTarget(path);
    const QFileInfo info(target);
    const int folder =
        ::open(encoded(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        error = systemReason(errno);
        return false;
    }
    const QByteArray name = encoded(info.fileName());
    Identity identity;
    if (!identityAt(folder, name, identity, error) || (identity.exists && !identity.regular)) {
        if (error.isEmpty())
            error = notRegular();
        ::close(folder);
        return false;
    }
    if (m_folder >= 0)
        ::close(m_folder);
    m_folder = folder;
    m_name = name;
    m_existed = identity.exists;
    m_device = identity.device;
    m_inode = identity.inode;
    // A link names the file it led to; any other path is shown as it was given.
    m_target = QFileInfo(path).isSymLink() ? target : path;
    return true;
}

// The name must still hold the file it held when it was opened: a link or another file put in
// its place is never written through or over. A file that has gone is simply made anew.
bool FileReplacement::unchanged(QString &error) const
{
    Identity now;
    if (!identityAt(m_folder, m_name, now, error))
        return false;
    if (!now.exists || (m_existed && now.regular && now.device == m_device && now.inode == m_inode))
        return true;
    error = Text::tr("it was replaced (by a link or another file) after it was checked; "
                     "nothing was written");
    return false;
}

bool FileReplacement::write(const QByteArray &bytes, QString &error)
{
    error.clear();
    if (m_folder < 0) {
        error = Text::tr("the file was not opened");
        return false;
    }
    if (!unchanged(error))
        return false;
    QByteArray temporary;
    const int fd = createTemporary(m_folder, m_name, temporary, error);
    if (fd < 0)
        return false;
    if (::fchmod(fd, modeAt(m_folder, m_name)) != 0)
        error = systemReason(errno);
    else if (writeAll(fd, bytes.constData(), bytes.size(), error) && ::fsync(fd) != 0)
        error = systemReason(errno);
    if (::close(fd) != 0 && error.isEmpty())
        error = systemReason(errno);
    // renameat() replaces the name itself: were a link put there after the look above, the
    // link would go, never the file it points to.
    if (error.isEmpty() && unchanged(error) &&
        ::renameat(m_folder, temporary.constData(), m_folder, m_name.constData()) != 0)
        error = systemReason(errno);
    if (!error.isEmpty()) {
        ::unlinkat(m_folder, temporary.constData(), 0);
        return false;
    }
    // The rename itself reaches the disk with the folder's entry; a failure here loses nothing
    // that was there before, so it is not reported.
    ::fsync(m_folder);
    Identity written;
    QString ignored;
    if (identityAt(m_folder, m_name, written, ignored)) {
        m_existed = written.exists;
        m_device = written.device;
        m_inode = written.inode;
    }
    return true;
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString &error)
{
    error.clear();
    FileReplacement file;
    return file.open(path, error) && file.write(bytes, error);
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

} // namespace quelo
