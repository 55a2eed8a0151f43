// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_state.h"

namespace quelo {

// Moves each needle one step towards its target every animation tick.
class NeedleAnimation
{
public:
    explicit NeedleAnimation(WindowState &w) : m_needles(w), m_reply(w) {}

    void Timer2_Timer();

private:
    Needles &m_needles;
    const ReplyState &m_reply;
};

} // namespace quelo
