// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace quelo {

class Timer;

// Runs model timers. The program binds each timer to a QTimer on the event loop;
// tests bind them to a virtual clock and fire ticks in time order.
class TimerHost
{
public:
    virtual ~TimerHost() = default;
    // Called whenever a timer is switched on or off. Switching a timer on starts a full interval.
    virtual void timerEnabledChanged(Timer &timer) = 0;
    // Called whenever an enabled timer falls asleep or wakes. A host that honours it delivers no
    // ticks while the timer sleeps and, on waking, resumes on the grid of ticks the timer would
    // have kept had it never slept (the next tick is due at the first grid point not in the
    // past). A host that ignores it keeps ticking; the handlers of sleeping timers have nothing
    // to do then.
    virtual void timerSleepChanged(Timer &) {}
};

// A periodic timer of the window: interval, enabled state, a Tag text and a tick handler.
class Timer
{
public:
    Timer(std::string name, int intervalMs, bool enabled)
        : m_name(std::move(name)), m_interval(intervalMs), m_enabled(enabled)
    {
    }
    Timer(const Timer &) = delete;
    Timer &operator=(const Timer &) = delete;

    const std::string &name() const { return m_name; }
    int Interval() const { return m_interval; }
    bool Enabled() const { return m_enabled; }

    // Enabling an enabled timer, or disabling a disabled one, changes nothing.
    void setEnabled(bool on)
    {
        if (on == m_enabled)
            return;
        m_enabled = on;
        if (m_host)
            m_host->timerEnabledChanged(*this);
    }
    void setInterval(int ms) { m_interval = ms; }

    // A timer that is on but has nothing to do may sleep, so that the program is not woken for
    // nothing; waking it costs no tick of the grid it keeps. Enabled() is unchanged by either.
    bool asleep() const { return m_asleep; }
    void setAsleep(bool asleep)
    {
        if (asleep == m_asleep)
            return;
        m_asleep = asleep;
        if (m_host && m_enabled)
            m_host->timerSleepChanged(*this);
    }
    // Whether the host should deliver ticks now.
    bool due() const { return m_enabled && !m_asleep; }

    void setHost(TimerHost *host) { m_host = host; }
    void setHandler(std::function<void()> handler) { m_handler = std::move(handler); }

    // Delivered by the host; a tick of a disabled timer is ignored.
    void tick()
    {
        if (m_enabled && m_handler)
            m_handler();
    }

    std::string Tag = "0";

private:
    std::string m_name;
    int m_interval;
    bool m_enabled;
    bool m_asleep = false;
    TimerHost *m_host = nullptr;
    std::function<void()> m_handler;
};

} // namespace quelo
