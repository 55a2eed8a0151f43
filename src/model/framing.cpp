#include "framing.h"

#include "controls.h"
#include "window_state.h"
#include "mscomm.h"
#include "decoder.h"

#include <exception>

namespace quelo {

void LineFraming::MSComm1_OnComm()
{
    if (m_comm.CommEvent() != MSComm::comEvReceive)
        return;
    m_w.rxbuffer += m_comm.Input();

    // Every complete line is decoded in order; a CR LF pair ends one line. An unfinished tail
    // waits in rxbuffer for the rest of its line.
    std::string &rx = m_w.rxbuffer;
    std::exception_ptr failure; // a line that fails to decode does not hold up the next
    bool replied = false;
    while (tagIs(m_comm.Tag, 0)) {
        const auto end = rx.find_first_of("\r\n");
        if (end == std::string::npos)
            break;
        std::size_t length = end + 1;
        if (rx[end] == '\r' && length < rx.size() && rx[length] == '\n')
            ++length;
        std::string line = rx.substr(0, length);
        rx.erase(0, length);
        replied = replied || line.find_first_not_of("\r\n") != std::string::npos;
        try {
            m_decoder.HandleInput(line);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }

    if (rx.size() > kMaxBuffer)
        rx.erase(0, rx.size() - kMaxBuffer);
    if (replied && m_lineListener)
        m_lineListener();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace quelo
