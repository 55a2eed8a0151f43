// SPDX-License-Identifier: GPL-3.0-or-later
#include "quit_signals.h"

#include "platform.h"

#include <QSocketNotifier>

namespace quelo {

QuitSignals::QuitSignals(std::function<void()> onSignal, QObject *parent)
    : QObject(parent), m_onSignal(std::move(onSignal))
{
    const int fd = platform::installQuitSignals();
    if (fd < 0)
        return;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::readSignal);
}

QuitSignals::~QuitSignals()
{
    if (!m_notifier)
        return;
    delete m_notifier;
    platform::removeQuitSignals();
}

void QuitSignals::readSignal()
{
    platform::takeQuitSignal(static_cast<int>(m_notifier->socket()));
    if (m_onSignal)
        m_onSignal();
}

} // namespace quelo
