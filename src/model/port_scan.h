#pragma once

#include <array>
#include <string>

namespace quelo {

struct WindowState;
class MSComm;
class Pacing;

// Finds the module: tries ports 1, 2 and 3 in turn, probing each for one scan interval.
class PortScan
{
public:
    static constexpr const char *kProbe = "/*\r%/u\r";

    PortScan(WindowState &w, MSComm &comm, Pacing &pacing) : m_w(w), m_comm(comm), m_pacing(pacing)
    {
    }

    void Form_Load();
    void Form_Unload();
    void Timer5_Timer();
    void Command5_Click();

    // Called when the open port fails on its own; the reason goes to the status line's tooltip.
    void portFailed(const std::string &reason);

private:
    void scanningTick();
    void resetTick();
    void note(int port, const std::string &text);
    void closePort();

    WindowState &m_w;
    MSComm &m_comm;
    Pacing &m_pacing;
    // Why each port was passed over, shown as the status line's tooltip.
    std::array<std::string, 3> m_notes;
};

} // namespace quelo
