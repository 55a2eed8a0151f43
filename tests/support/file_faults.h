// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Real files that misbehave, for the tests of the file layer and its users: a disk that fills
// up (the largest file size the process may write), a device node, and a call that might block,
// run in a child process so that a hang fails the test instead of stopping it.

#include <QString>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quelo::test {

// Lowers the largest file this process may write, so that a write past it fails as on a full
// disk (for root too); SIGXFSZ is ignored so the write returns an error instead of ending the
// process. Restored when it goes.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = m_old;
        lower.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

// Makes a character device node like /dev/null at `path`; false, with the reason, where the
// system does not let this process make one (not root, or a container without the right).
inline bool makeDeviceNode(const QString &path, std::string &why)
{
    if (::mknod(path.toLocal8Bit().constData(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        return true;
    why = std::string("cannot make a device node here: ") + std::strerror(errno);
    return false;
}

inline bool isCharacterDevice(const QString &path)
{
    struct stat st
    {
    };
    return ::lstat(path.toLocal8Bit().constData(), &st) == 0 && S_ISCHR(st.st_mode);
}

// Runs `body` in a child process and returns its exit code, or -1 when it has not finished
// within `timeoutMs` (it is then killed): a call that blocks fails the test rather than hangs
// it. The child shares nothing back but its exit code.
inline int exitCodeInChild(const std::function<int()> &body, int timeoutMs)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    int status = 0;
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (::waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        ::usleep(10000);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return -1;
}

} // namespace quelo::test
