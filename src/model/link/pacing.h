// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "timer.h"
#include "window_state.h"

#include <string>

namespace quelo {

class MSComm;

// Sends txqueue one character per pacing tick. A "%" is never sent: it holds the pacing for a
// quarter of a second. The hold does not block the event loop: the marker stays at the head
// of the queue until the pause timer fires, so the scheduler still finds the queue busy.
// The pacing timer sleeps while the queue is empty and while a pause runs (see
// Timer::setAsleep): the ticks it skips would have done nothing, and the ticks after waking
// keep its grid.
class Pacing
{
public:
    Pacing(WindowState &w, MSComm &comm);

    void Timer3_Timer();
    void Timer4_Timer();
    // The probe has been answered: it is no longer put back into the queue.
    void stopProbeRefill();
    void Pause(float NbSec);

    // The one-shot timer that ends a pause; its tick runs pauseElapsed().
    Timer &pauseTimer() { return m_pauseTimer; }
    void pauseElapsed();
    bool pausing() const { return m_pausing; }

    // The rest of a command whose first characters have already gone out, so that text
    // replacing the queue can let it finish instead of cutting it in half.
    std::string unsentCommandTail() const;

private:
    void sendHead();
    void updateSleep();

    TransmitState &m_tx;
    const LinkState &m_link;
    MSComm &m_comm;
    Timer m_pauseTimer{"Pause", 250, false};
    bool m_pausing = false;
};

} // namespace quelo
