// SPDX-License-Identifier: GPL-3.0-or-later
#include "quit_signals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace quelo {

#ifdef Q_OS_UNIX
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
#endif

QuitSignals::QuitSignals(std::function<void()> onSignal, QObject *parent)
    : QObject(parent), m_onSignal(std::move(onSignal))
{
#ifdef Q_OS_UNIX
    if (g_signalFds[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalFds) != 0)
        return;
    struct sigaction action
    {
    };
    action.sa_handler = writeSignalByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    m_notifier = new QSocketNotifier(g_signalFds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::readSignal);
#endif
}

QuitSignals::~QuitSignals()
{
#ifdef Q_OS_UNIX
    if (!m_notifier)
        return;
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGHUP, SIG_DFL);
    delete m_notifier;
    ::close(g_signalFds[0]);
    ::close(g_signalFds[1]);
    g_signalFds[0] = g_signalFds[1] = -1;
#endif
}

void QuitSignals::readSignal()
{
#ifdef Q_OS_UNIX
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(g_signalFds[1], &byte, 1);
#endif
    if (m_onSignal)
        m_onSignal();
}

} // namespace quelo
