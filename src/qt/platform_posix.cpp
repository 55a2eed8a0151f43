// SPDX-License-Identifier: GPL-3.0-or-later
// The POSIX versions of the platform pieces (platform.h says what each is for).
#include "platform.h"

#include "port_access.h"
#include "port_order.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSerialPortInfo>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quelo::platform {

namespace {

// QSerialPort's lock file is "LCK..<name>", the name being the path under /dev with "/" turned
// into "_" ("LCK..ttyUSB0", "LCK..pts_3"), in the first of these folders it may write; another
// program's may be under either name in any of them.
QStringList lockFilesOf(const QString &devicePath)
{
    QString name = devicePath;
    if (name.startsWith(QLatin1String("/dev/")))
        name.remove(0, 5);
    const QStringList names = {QStringLiteral("LCK..") + name.replace(QLatin1Char('/'), '_'),
                               QStringLiteral("LCK..") + QFileInfo(devicePath).fileName()};
    QStringList files;
    for (const char *dir : {"/var/lock", "/run/lock", "/var/spool/locks", "/var/spool/uucp",
                            "/etc/locks", "/tmp", "/var/tmp"})
        for (const QString &lockName : names)
            files << QDir(QString::fromLatin1(dir)).filePath(lockName);
    files.removeDuplicates();
    return files;
}

// A process that is gone; one this user may not signal still runs.
bool processGone(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

// The process a lock file names on its first line (Qt's and the UUCP text form); 0 when the
// first line is no process number, -1 when the file is empty.
qint64 lockPidIn(int fd)
{
    char text[32] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    if (n <= 0)
        return n == 0 ? -1 : 0;
    const QByteArray line = QByteArray(text, int(n)).split('\n').value(0).trimmed();
    bool ok = false;
    const qint64 pid = line.toLongLong(&ok);
    return ok && pid > 0 ? pid : 0;
}

// How long an empty lock file is left to the program that is making it before it counts as
// left behind: Qt writes its lock's contents right after it creates the file.
constexpr qint64 kEmptyLockGraceSeconds = 2;

} // namespace

qint64 portLockHolder(const QString &devicePath)
{
    for (const QString &lock : lockFilesOf(devicePath)) {
        qint64 pid = 0;
        QString host;
        QString app;
        if (QFileInfo::exists(lock) && QLockFile(lock).getLockInfo(&pid, &host, &app) && pid > 0 &&
            !processGone(pid))
            return pid;
    }
    return 0;
}

bool removeStaleLocks(const QString &devicePath)
{
    bool removed = false;
    for (const QString &lock : lockFilesOf(devicePath)) {
        const QByteArray path = QFile::encodeName(lock);
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st
        {
        };
        struct stat now
        {
        };
        // A holder of Qt's lock keeps it locked with flock() as long as it holds the port.
        bool stale =
            ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (stale) {
            const qint64 pid = lockPidIn(fd);
            stale = pid == -1 ? ::time(nullptr) - st.st_mtime >= kEmptyLockGraceSeconds
                              : processGone(pid);
        }
        // Removed only while it is still the file looked at, and locked against a new holder.
        if (stale && ::lstat(path.constData(), &now) == 0 && now.st_ino == st.st_ino &&
            now.st_dev == st.st_dev && ::unlink(path.constData()) == 0)
            removed = true;
        ::close(fd);
    }
    return removed;
}

void gatherAccessFacts(const QString &devicePath, OpenFailureFacts &facts)
{
    const QByteArray local = devicePath.toLocal8Bit();
    facts.readWriteAllowed = ::access(local.constData(), R_OK | W_OK) == 0;
    facts.uid = ::geteuid();
    facts.groups.push_back(::getegid());
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> groups(static_cast<std::size_t>(count));
        if (::getgroups(count, groups.data()) == count)
            facts.groups.insert(facts.groups.end(), groups.begin(), groups.end());
    }
    struct stat st
    {
    };
    if (::stat(local.constData(), &st) == 0) {
        facts.ownerKnown = true;
        facts.ownerGid = st.st_gid;
        facts.groupMayReadWrite = (st.st_mode & S_IRGRP) && (st.st_mode & S_IWGRP);
        if (const group *g = ::getgrgid(st.st_gid))
            facts.ownerGroupName = g->gr_name;
    }
}

qint64 drainOutputQueue(qintptr handle, const QDeadlineTimer &deadline)
{
    int queued = 0;
    while (::ioctl(static_cast<int>(handle), TIOCOUTQ, &queued) == 0 && queued > 0 &&
           !deadline.hasExpired()) {
        const timespec step{0, 2'000'000};
        ::nanosleep(&step, nullptr);
    }
    return queued;
}

qint64 writeWithoutQueue(qintptr handle, const char *data, qint64 size)
{
    const int fd = static_cast<int>(handle);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || (flags & O_NONBLOCK) == 0)
        return 0; // a blocking write could hold the window: the queue's notifier waits instead
    const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
    if (written >= 0)
        return written;
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
}

QStringList defaultSerialDevices()
{
    std::vector<std::string> names;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        names.push_back(info.systemLocation().toStdString());
    QStringList devices;
    for (const std::string &name : orderSerialDevices(names)) {
        if (devices.size() == 3)
            break;
        devices << QString::fromStdString(name);
    }
    while (devices.size() < 3)
        devices << QString();
    return devices;
}

namespace {

int g_signalFds[2] = {-1, -1};

extern "C" void writeSignalByte(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalFds[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

int installQuitSignals()
{
    if (g_signalFds[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalFds) != 0)
        return -1;
    struct sigaction action
    {
    };
    action.sa_handler = writeSignalByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    return g_signalFds[1];
}

void removeQuitSignals()
{
    if (g_signalFds[0] < 0)
        return;
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGHUP, SIG_DFL);
    ::close(g_signalFds[0]);
    ::close(g_signalFds[1]);
    g_signalFds[0] = g_signalFds[1] = -1;
}

void takeQuitSignal(int fd)
{
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(fd, &byte, 1);
}

double msSinceProcessStart()
{
#ifdef Q_OS_LINUX
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1.0;
    const QByteArray line = stat.readAll();
    // The command name may hold spaces; the fields after it start past the last ')'.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    constexpr int kStartTime = 22 - 3; // field 22, counted from field 3 (state)
    if (fields.size() <= kStartTime)
        return -1.0;
    bool ok = false;
    const qulonglong startTicks = fields.at(kStartTime).toULongLong(&ok);
    timespec now{};
    if (!ok || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return -1.0;
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / sysconf(_SC_CLK_TCK);
#else
    return -1.0;
#endif
}

} // namespace quelo::platform
