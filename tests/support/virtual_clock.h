// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "timer.h"

#include <cstdint>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

namespace quelo::test {

// Virtual time for the window's timers and for test doubles: advance() fires every tick and
// every scheduled call in time order (ties in the order they were armed), without waiting.
class VirtualClock : public TimerHost
{
public:
    std::int64_t now() const { return m_now; }

    void timerEnabledChanged(Timer &timer) override;
    void timerSleepChanged(Timer &timer) override;

    // False: every enabled timer ticks whether it sleeps or not, as before timers could sleep,
    // to compare the two.
    bool honourSleep = true;

    // Runs fn at now() + delayMs.
    void callAt(std::int64_t atMs, std::function<void()> fn);
    void callAfter(std::int64_t delayMs, std::function<void()> fn)
    {
        callAt(m_now + delayMs, std::move(fn));
    }

    void advance(std::int64_t ms) { runUntil(m_now + ms); }
    void runUntil(std::int64_t atMs);
    // Advances until pred() holds or the limit passes; returns whether it held.
    bool runUntil(const std::function<bool()> &pred, std::int64_t limitMs);

    // Number of ticks delivered per timer name (a sleeping timer gets none).
    int ticks(const std::string &timerName) const;

private:
    using Key = std::tuple<std::int64_t, std::uint64_t>; // time, sequence

    bool step(std::int64_t limit);
    bool running(const Timer &timer) const;
    void arm(Timer &timer, std::uint64_t generation, std::int64_t atMs);

    std::int64_t m_now = 0;
    std::uint64_t m_sequence = 0;
    std::map<Key, std::function<void()>> m_events;
    std::map<Timer *, std::uint64_t> m_generation;
    std::map<Timer *, std::int64_t> m_nextDue; // the timer's grid: when its next tick is due
    std::map<std::string, int> m_ticks;
};

} // namespace quelo::test
