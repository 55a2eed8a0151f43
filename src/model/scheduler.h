// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_state.h"

#include <string>

namespace quelo {

struct Parameter;

// Chooses the next command group whenever the transmit queue has run empty: a pending
// parameter write, else a read-back of a value not yet reported, else the standing poll.
class CommandScheduler
{
public:
    explicit CommandScheduler(WindowState &w);

    void Timer1_Timer();

private:
    struct ReadSlot
    {
        const std::string *flag; // the reported flag the slot tests; none for slots 4 and 5
        std::string command;
    };
    ReadSlot readSlot(int slot) const;
    const Parameter *writePass();
    void queueStandingPoll();

    SchedulerState &m_own;
    TransmitState &m_tx;
    ParameterRows &m_rows;
    const ReplyState &m_reply;
    const Needles &m_needles;
};

} // namespace quelo
