#pragma once

namespace quelo {

struct WindowState;

// Chooses the next command group whenever the transmit queue has run empty: a pending
// parameter write, else a read-back of a value not yet reported, else the standing poll.
class CommandScheduler
{
public:
    explicit CommandScheduler(WindowState &w) : m_w(w) {}

    void Timer1_Timer();

private:
    WindowState &m_w;
};

} // namespace quelo
