// SPDX-License-Identifier: GPL-3.0-or-later
#include "framing.h"

#include "controls.h"
#include "mscomm.h"

#include <exception>

namespace quelo {

void LineFraming::MSComm1_OnComm()
{
    if (m_comm.CommEvent() != MSComm::comEvReceive)
        return;
    m_rx.rxbuffer += m_comm.Input();
    if (m_dropping)
        dropOverlongLine();

    // Every complete line is decoded in order; a CR LF pair ends one line. An unfinished tail
    // waits in rxbuffer for the rest of its line.
    std::string &rx = m_rx.rxbuffer;
    std::exception_ptr failure; // a line that fails to decode does not hold up the next
    while (tagIs(m_comm.Tag, 0)) {
        const auto end = rx.find_first_of("\r\n");
        if (end == std::string::npos)
            break;
        std::size_t length = end + 1;
        if (rx[end] == '\r' && length < rx.size() && rx[length] == '\n')
            ++length;
        std::string line = rx.substr(0, length);
        rx.erase(0, length);
        // The busy flag is up while the decoder runs, and down again whatever the line held.
        m_comm.Tag = "1";
        try {
            m_handleLine(line);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
        m_comm.Tag = "0";
    }

    // What follows the last line end is one unfinished line.
    const auto lastEnd = rx.find_last_of("\r\n");
    const std::size_t tail = lastEnd == std::string::npos ? 0 : lastEnd + 1;
    if (rx.size() - tail > kMaxBuffer) {
        rx.erase(tail);
        m_dropping = true;
    }
    if (failure)
        std::rethrow_exception(failure);
}

// Takes away the over-long line's characters up to and including its line end; the lines after
// it are decoded as usual. Without a line end yet, everything received belongs to it.
void LineFraming::dropOverlongLine()
{
    std::string &rx = m_rx.rxbuffer;
    const auto end = rx.find_first_of("\r\n");
    if (end == std::string::npos) {
        rx.clear();
        return;
    }
    m_dropping = false;
    rx.erase(0, end + 1);
}

} // namespace quelo
