#pragma once

#include <cstddef>
#include <functional>

namespace quelo {

struct WindowState;
class MSComm;
class LineDecoder;

// Collects received characters in rxbuffer and hands each complete line to the decoder.
class LineFraming
{
public:
    // No reply of the module comes near this; a peer that never ends a line cannot grow the
    // buffer past it.
    static constexpr std::size_t kMaxBuffer = 4096;

    LineFraming(WindowState &w, MSComm &comm, LineDecoder &decoder)
        : m_w(w), m_comm(comm), m_decoder(decoder)
    {
    }

    void MSComm1_OnComm();

    // Told after a notification that handed the decoder at least one reply line (a line with
    // more than its terminators), whether or not the decoder could use it.
    void setLineListener(std::function<void()> listener) { m_lineListener = std::move(listener); }

private:
    WindowState &m_w;
    MSComm &m_comm;
    LineDecoder &m_decoder;
    std::function<void()> m_lineListener;
};

} // namespace quelo
