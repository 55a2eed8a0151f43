// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_state.h"

namespace quelo {

// Moves each needle one step towards its target every animation tick. The animation timer
// sleeps once a tick has moved no needle (every needle then rests on, or a rounding step from,
// its target, and further ticks would change nothing) and wakes when a target changes or
// something else moves a needle: see wakeIfMoving().
class NeedleAnimation
{
public:
    explicit NeedleAnimation(WindowState &w);

    void Timer2_Timer();

    // Wakes the animation timer when a tick would move a needle. Called when a target changes
    // and after every other event, which may have written a needle directly.
    void wakeIfMoving();
    // Whether a tick would leave every needle where it is.
    bool atRest() const;

private:
    struct Values
    {
        double prop, rpm, volts, adv;
        bool operator==(const Values &o) const
        {
            return prop == o.prop && rpm == o.rpm && volts == o.volts && adv == o.adv;
        }
    };
    Values current() const;
    void store(const Values &v);
    // One tick's steps on the given values, in their order; a step that fails (an overflow)
    // leaves the steps before it done.
    void step(Values &v) const;

    Needles &m_needles;
    const ReplyState &m_reply;
};

} // namespace quelo
