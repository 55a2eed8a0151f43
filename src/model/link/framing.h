// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_state.h"

#include <cstddef>
#include <functional>
#include <string>

namespace quelo {

class MSComm;

// Collects received characters in rxbuffer and hands each complete line to the decoder,
// raising the busy flag (MSComm1's Tag) while the decoder runs.
class LineFraming
{
public:
    // No reply of the module comes near this; a peer that never ends a line cannot grow the
    // buffer past it. A line that outgrows it is noise: it is dropped whole, up to its line
    // end, never decoded from somewhere in its middle.
    static constexpr std::size_t kMaxBuffer = 4096;

    // Decodes one complete line, the line's text in its argument; the conversation's
    // HandleInput.
    using LineHandler = std::function<void(std::string &)>;

    LineFraming(WindowState &w, MSComm &comm, LineHandler handleLine)
        : m_rx(w), m_comm(comm), m_handleLine(std::move(handleLine))
    {
    }

    void MSComm1_OnComm();

private:
    void dropOverlongLine();

    ReceiveState &m_rx;
    MSComm &m_comm;
    LineHandler m_handleLine;
    bool m_dropping = false; // the rest of an over-long line is still to come
};

} // namespace quelo
