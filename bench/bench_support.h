// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "timer.h"
#include "mscomm.h"

#include <string>

namespace quelo::bench {

// A serial component that is always open and swallows output; deliver() raises the receive
// notification with the given characters, as a port does when they arrive.
class BenchComm : public MSComm
{
public:
    void setCommPort(std::int16_t port) override { m_port = port; }
    std::int16_t CommPort() const override { return m_port; }
    void setPortOpen(bool) override {}
    bool PortOpen() const override { return true; }
    void Output(const std::string &) override {}
    std::string Input() override
    {
        std::string data;
        data.swap(m_pending);
        return data;
    }
    std::int16_t CommEvent() const override { return comEvReceive; }

    void deliver(const std::string &chunk)
    {
        m_pending += chunk;
        raiseOnComm();
    }

private:
    std::int16_t m_port = 1;
    std::string m_pending;
};

// Timers that never fire on their own: a benchmark ticks them by hand.
class ManualTimers : public TimerHost
{
public:
    void timerEnabledChanged(Timer &) override {}
};

// Reply lines of one polling round of a running engine, as the module sends them.
struct ReplyLine
{
    const char *name;
    const char *text;
};
inline const ReplyLine kReplyLines[] = {
    {"speed", "x03E8\r"},
    {"advance", "b14\r"},
    {"volts", "w8A\r"},
    {"propeller", "p4000\r"},
    {"telemetry", "=03E8140000008A\r"},
    {"read-back", "d02\r"},
    {"echo", "/D3\r"},
    {"version", "u1A\r"},
};

} // namespace quelo::bench
