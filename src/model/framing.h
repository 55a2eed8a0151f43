#pragma once

#include <cstddef>

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

private:
    WindowState &m_w;
    MSComm &m_comm;
    LineDecoder &m_decoder;
};

} // namespace quelo
