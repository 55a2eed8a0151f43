// SPDX-License-Identifier: GPL-3.0-or-later
// RecordFile: a file, or standard output, written a whole record at a time.
#include "file_access.h"

#include "file_access_detail.h"

#include <QCoreApplication>
#include <cerrno>

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

using namespace fileaccess;

RecordFile::~RecordFile()
{
    close();
}

bool RecordFile::open(const QString &path, Mode mode, QString &error)
{
    close();
    m_path = path;
    if (isStandardStream(path))
        return openStandardOutput(error);
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
    m_closeFd = m_cutBack = true;
    m_size = qint64(st.st_size);
    return true;
}

// A file or a terminal is written as it is. A pipe or a socket is written without blocking; a
// pipe gets a description of its own where the system allows it (Linux's /proc), so that the
// mode touches no other holder of standard output's (standard error may share it); else
// standard output's own is made non-blocking until close().
bool RecordFile::openStandardOutput(QString &error)
{
    struct stat st
    {
    };
    if (::fstat(STDOUT_FILENO, &st) != 0) {
        error = systemReason(errno);
        return false;
    }
    m_fd = STDOUT_FILENO;
    if (!S_ISFIFO(st.st_mode) && !S_ISSOCK(st.st_mode))
        return true;
    m_nonBlocking = true;
    if (S_ISFIFO(st.st_mode)) {
        const int own = ::open("/proc/self/fd/1", O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        struct stat ownSt
        {
        };
        if (own >= 0 && ::fstat(own, &ownSt) == 0 && ownSt.st_dev == st.st_dev &&
            ownSt.st_ino == st.st_ino) {
            m_fd = own;
            m_closeFd = true;
            return true;
        }
        if (own >= 0)
            ::close(own);
    }
    const int flags = ::fcntl(STDOUT_FILENO, F_GETFL);
    if (flags >= 0 && ::fcntl(STDOUT_FILENO, F_SETFL, flags | O_NONBLOCK) == 0)
        m_restoreFlags = flags;
    return true;
}

void RecordFile::close()
{
    if (m_fd >= 0 && !m_pending.isEmpty()) {
        QString ignored;
        flush(ignored);
    }
    if (m_restoreFlags >= 0)
        ::fcntl(m_fd, F_SETFL, m_restoreFlags);
    if (m_fd >= 0 && m_closeFd)
        ::close(m_fd);
    m_fd = -1;
    m_closeFd = m_cutBack = m_nonBlocking = false;
    m_restoreFlags = -1;
    m_size = m_taken = 0;
    m_pending.clear();
}

bool RecordFile::write(const QByteArray &record, QString &error)
{
    if (m_fd < 0) {
        error = Text::tr("the file is not open");
        return false;
    }
    if (m_nonBlocking) {
        if (m_pending.size() + record.size() > kMaxPendingBytes) {
            error = Text::tr("it is not being read (%1 KiB waiting)").arg(kMaxPendingBytes / 1024);
            return false;
        }
        m_pending += record;
        return flush(error);
    }
    if (writeAll(m_fd, record.constData(), record.size(), error)) {
        m_size += m_cutBack ? record.size() : 0;
        m_taken += record.size();
        return true;
    }
    // A part of the record may have reached the file: cut it off so that what stays ends with
    // a whole record.
    if (m_cutBack && ::ftruncate(m_fd, off_t(m_size)) != 0)
        error += Text::tr("; the file could not be cut back to its last whole line (%1)")
                     .arg(systemReason(errno));
    return false;
}

bool RecordFile::flush(QString &error)
{
    while (!m_pending.isEmpty()) {
        const ssize_t n = ::write(m_fd, m_pending.constData(), std::size_t(m_pending.size()));
        if (n > 0) {
            m_pending.remove(0, qsizetype(n));
            m_taken += n;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return true; // the reader has not made room yet
        } else if (n == 0 || errno != EINTR) {
            error = n < 0 ? systemReason(errno) : Text::tr("nothing could be written");
            return false;
        }
    }
    return true;
}

} // namespace quelo
