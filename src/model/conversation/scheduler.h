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
// kWriteRounds read-back rounds of it, and a value still not
// confirmed kAnswerTicks after the last of those read-backs is given up, the user told once.
// While a change the user made is being written and its read-back has not confirmed it, the
// standing poll goes out at least every kPollFloorTicks ticks, and while changes are written at
// all at least every kLongWriteTicks + 1, so the gauges keep moving.
class CommandScheduler
{
public:
    using Notice = std::function<void(const std::string &)>;

    static constexpr int kWriteRounds = 3;
    static constexpr int kAnswerTicks = 5;
    static constexpr int kPollFloorTicks = 9;
    // The poll's own sending, a full round of the twelve read slots and a little more: an
    // ordinary change that began after the last poll is confirmed by then.
    static constexpr int kLongWriteTicks = 16;

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
    bool userWriteUnanswered() const;
    bool pollOverdue();
    void queueWaitingStore();
    void queueStandingPoll();

    SchedulerState &m_own;
    const LinkState &m_link;
    TransmitState &m_tx;
    ParameterRows &m_rows;
    const ReplyState &m_reply;
    const Needles &m_needles;
    Notice m_unconfirmed;
    int m_previousPollTick = 0; // the standing poll queued before the last one
    bool m_userWriting = false; // a write of the user's was pending at the last acting tick
};

} // namespace quelo
