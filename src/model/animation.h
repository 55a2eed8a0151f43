#pragma once

namespace quelo {

struct WindowState;

// Moves each needle one step towards its target every animation tick.
class NeedleAnimation
{
public:
    explicit NeedleAnimation(WindowState &w) : m_w(w) {}

    void Timer2_Timer();

private:
    WindowState &m_w;
};

} // namespace quelo
