// SPDX-License-Identifier: GPL-3.0-or-later
#include "pacing.h"

#include "mscomm.h"

#include <cmath>

namespace quelo {

Pacing::Pacing(WindowState &w, MSComm &comm) : m_tx(w), m_link(w), m_comm(comm)
{
    // Whatever queues text wakes the pacing; it sleeps again once the queue has run empty, and
    // through each pause, whose end sends the next character itself.
    m_tx.txqueue.setFilledListener([this] { updateSleep(); });
    updateSleep();
}

void Pacing::Timer3_Timer()
{
    if (m_pausing)
        return;
    if (m_tx.txqueue.empty()) {
        updateSleep();
        return;
    }
    m_tx.txchar = m_tx.txqueue.substr(0, 1);
    if (m_tx.txchar == "%") {
        Pause(0.25f);
        return;
    }
    sendHead();
    updateSleep();
}

void Pacing::updateSleep()
{
    // While the queue is empty or a pause runs every tick would return at once.
    m_tx.Timer3.setAsleep(m_pausing || m_tx.txqueue.empty());
}

void Pacing::Timer4_Timer()
{
    if (m_tx.txqueue.empty())
        m_tx.txqueue = m_link.pollstring;
}

void Pacing::stopProbeRefill()
{
    m_tx.Timer4.setEnabled(false);
}

void Pacing::Pause(float NbSec)
{
    m_pausing = true;
    m_pauseTimer.setInterval(static_cast<int>(std::lround(NbSec * 1000.0f)));
    m_pauseTimer.setEnabled(true);
    updateSleep();
}

void Pacing::pauseElapsed()
{
    m_pauseTimer.setEnabled(false);
    m_pausing = false;
    // Text that replaced the queue during the pause (store button, port scan) has no marker
    // at its head: it goes out whole from the next tick.
    if (m_tx.txqueue.empty() || m_tx.txqueue.front() != '%') {
        updateSleep();
        return;
    }
    m_tx.txqueue.erase(0, 1);
    // Only one marker is honoured per tick: a second "%" right behind goes out as a character.
    m_tx.txchar = m_tx.txqueue.substr(0, 1);
    try {
        sendHead();
    } catch (...) {
        updateSleep(); // the character stays queued: the ticks retry it
        throw;
    }
    updateSleep();
}

void Pacing::sendHead()
{
    if (m_comm.PortOpen() && !m_tx.txchar.empty())
        m_comm.Output(m_tx.txchar);
    if (!m_tx.txqueue.empty())
        m_tx.txqueue.erase(0, 1);
}

std::string Pacing::unsentCommandTail() const
{
    // Every command and every group starts with "/" or a marker, and a value never holds
    // either, so any other head means a command is half sent.
    const std::string &q = m_tx.txqueue;
    if (q.empty() || q.front() == '/' || q.front() == '%')
        return {};
    const auto cr = q.find('\r');
    return cr == std::string::npos ? q : q.substr(0, cr + 1);
}

} // namespace quelo
