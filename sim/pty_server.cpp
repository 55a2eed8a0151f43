// SPDX-License-Identifier: GPL-3.0-or-later
#include "pty_server.h"

#include <QByteArray>
#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace quelo::sim {

PtyServer::PtyServer(std::uint32_t seed, QObject *parent) : QObject(parent), m_module(seed)
{
    m_outputTimer.setSingleShot(true);
    m_outputTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_outputTimer, &QTimer::timeout, this, &PtyServer::flushOutput);
    m_clock.start();
}

PtyServer::~PtyServer()
{
    hangUp();
    if (!m_linkPath.isEmpty() && QFile::symLinkTarget(m_linkPath) == m_devicePath)
        QFile::remove(m_linkPath);
}

bool PtyServer::fail(const QString &what)
{
    m_errorString = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    hangUp();
    return false;
}

bool PtyServer::start()
{
    if (isRunning())
        return true;
    m_masterFd = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_masterFd < 0)
        return fail(QStringLiteral("posix_openpt"));
    if (grantpt(m_masterFd) != 0 || unlockpt(m_masterFd) != 0)
        return fail(QStringLiteral("grantpt/unlockpt"));
    const char *name = ptsname(m_masterFd);
    if (!name)
        return fail(QStringLiteral("ptsname"));
    m_devicePath = QString::fromLocal8Bit(name);
    ::fcntl(m_masterFd, F_SETFL, ::fcntl(m_masterFd, F_GETFL) | O_NONBLOCK);

    // Holding the slave open keeps the master from reporting a hang-up before a client
    // arrives, and lets us put the line in raw mode (no echo, no CR translation).
    m_slaveFd = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_slaveFd < 0)
        return fail(QStringLiteral("open slave"));
    termios tio{};
    if (tcgetattr(m_slaveFd, &tio) != 0)
        return fail(QStringLiteral("tcgetattr"));
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    if (tcsetattr(m_slaveFd, TCSANOW, &tio) != 0)
        return fail(QStringLiteral("tcsetattr"));

    m_notifier = new QSocketNotifier(m_masterFd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyServer::readMaster);
    m_errorString.clear();
    scheduleOutput();
    return true;
}

void PtyServer::hangUp()
{
    m_outputTimer.stop();
    delete m_notifier;
    m_notifier = nullptr;
    if (m_masterFd >= 0)
        ::close(m_masterFd);
    if (m_slaveFd >= 0)
        ::close(m_slaveFd);
    m_masterFd = -1;
    m_slaveFd = -1;
}

bool PtyServer::createSymlink(const QString &linkPath)
{
    if (m_devicePath.isEmpty())
        return false;
    const QByteArray target = QFile::encodeName(m_devicePath);
    const QByteArray link = QFile::encodeName(linkPath);
    const QByteArray temp = link + ".tmp" + QByteArray::number(qint64(::getpid()));
    ::unlink(temp.constData());
    if (::symlink(target.constData(), temp.constData()) != 0)
        return false;
    if (::rename(temp.constData(), link.constData()) != 0) {
        ::unlink(temp.constData());
        return false;
    }
    m_linkPath = linkPath;
    return true;
}

qsizetype PtyServer::writeRaw(const QByteArray &bytes)
{
    if (!isRunning())
        return 0;
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(m_masterFd, bytes.constData() + written,
                                  std::size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += n;
    }
    return written;
}

void PtyServer::readMaster()
{
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(m_masterFd, buffer, sizeof buffer);
        if (n > 0) {
            m_module.receive(std::string_view(buffer, std::size_t(n)), m_clock.elapsed());
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: drained; EIO cannot happen while we hold the slave
    }
    scheduleOutput();
}

void PtyServer::flushOutput()
{
    if (!isRunning())
        return;
    const std::string out = m_module.takeOutput(m_clock.elapsed());
    std::size_t written = 0;
    while (written < out.size()) {
        const ssize_t n = ::write(m_masterFd, out.data() + written, out.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break; // nobody is draining the line: bytes are lost, as on a real wire
        written += std::size_t(n);
    }
    scheduleOutput();
}

void PtyServer::scheduleOutput()
{
    const auto due = m_module.nextOutputDueMs();
    if (!due || !isRunning()) {
        m_outputTimer.stop();
        return;
    }
    m_outputTimer.start(int(std::max<qint64>(0, *due - m_clock.elapsed())));
}

} // namespace quelo::sim
