// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_state.h"

#include <functional>
#include <string>

namespace quelo {

struct Parameter;

// Chooses the next command group whenever the transmit queue has run empty: a pending
// parameter write, else a read-back of a value not yet reported, else the standing poll.
// Every write is bounded whatever the module answers: the writes of one value end after
// kWriteRounds read-back rounds of it (kWriteBudget writes at most), and a value still not
// confirmed kAnswerTicks after the last of those read-backs is given up, the user told once.
// While a change the user made is being written, the standing poll goes out at least every
// kPollFloorTicks ticks, so the gauges keep moving.
class CommandScheduler
{
public:
    using Notice = std::function<void(const std::string &)>;

    static constexpr int kWriteRounds = 3;
    static constexpr int kWriteBudget = 24;
    static constexpr int kAnswerTicks = 5;
    static constexpr int kPollFloorTicks = 9;

    // `unconfirmed` is told, once per value given up, which value the module did not confirm.
    explicit CommandScheduler(WindowState &w, Notice unconfirmed = {});

    void Timer1_Timer();

private:
    struct ReadSlot
    {
        const std::string *flag; // the reported flag the slot tests; none for slots 4 and 5
        std::string command;
    };
    ReadSlot readSlot(int slot) const;
    const Parameter *writePass();
    void noteRead(const Parameter &p);
    void giveUpUnconfirmed();
    bool userWritePending() const;
    bool pollOverdue();
    void queueWaitingStore();
    void queueStandingPoll();

    SchedulerState &m_own;
    TransmitState &m_tx;
    ParameterRows &m_rows;
    const ReplyState &m_reply;
    const Needles &m_needles;
    Notice m_unconfirmed;
    bool m_userWriting = false; // a change of the user's was pending at the last acting tick
    int m_userWritingSince = 0; // the tick at which it began
    int m_previousPollTick = 0; // the standing poll queued before the last one
};

} // namespace quelo
