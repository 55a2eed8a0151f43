// SPDX-License-Identifier: GPL-3.0-or-later
#include "virtual_clock.h"

namespace quelo::test {

void VirtualClock::timerEnabledChanged(Timer &timer)
{
    // A new generation cancels the ticks armed before; enabling starts a full interval.
    const std::uint64_t generation = ++m_generation[&timer];
    if (!timer.Enabled())
        return;
    m_nextDue[&timer] = m_now + timer.Interval();
    if (running(timer))
        arm(timer, generation, m_now + timer.Interval());
}

void VirtualClock::timerSleepChanged(Timer &timer)
{
    // Asleep: the armed tick is cancelled. Awake: the next tick falls on the grid the timer
    // kept, at the first grid point not in the past.
    if (!honourSleep)
        return;
    const std::uint64_t generation = ++m_generation[&timer];
    if (!timer.due())
        return;
    std::int64_t due = m_nextDue[&timer];
    if (due < m_now) {
        const std::int64_t interval = timer.Interval();
        due += (m_now - due + interval - 1) / interval * interval;
    }
    arm(timer, generation, due);
}

bool VirtualClock::running(const Timer &timer) const
{
    return honourSleep ? timer.due() : timer.Enabled();
}

void VirtualClock::arm(Timer &timer, std::uint64_t generation, std::int64_t atMs)
{
    callAt(atMs, [this, &timer, generation, atMs] {
        if (m_generation[&timer] != generation || !running(timer))
            return;
        m_nextDue[&timer] = atMs + timer.Interval();
        // The next tick is armed first, so a handler that switches its own timer off or on
        // cancels it through the new generation.
        arm(timer, generation, atMs + timer.Interval());
        ++m_ticks[timer.name()];
        timer.tick();
    });
}

void VirtualClock::callAt(std::int64_t atMs, std::function<void()> fn)
{
    m_events.emplace(Key{atMs, m_sequence++}, std::move(fn));
}

bool VirtualClock::step(std::int64_t limit)
{
    if (m_events.empty())
        return false;
    auto it = m_events.begin();
    if (std::get<0>(it->first) > limit)
        return false;
    m_now = std::get<0>(it->first);
    auto fn = std::move(it->second);
    m_events.erase(it);
    fn();
    return true;
}

void VirtualClock::runUntil(std::int64_t atMs)
{
    while (step(atMs)) {
    }
    if (m_now < atMs)
        m_now = atMs;
}

bool VirtualClock::runUntil(const std::function<bool()> &pred, std::int64_t limitMs)
{
    const std::int64_t limit = m_now + limitMs;
    while (!pred()) {
        if (!step(limit)) {
            m_now = limit;
            return pred();
        }
    }
    return true;
}

int VirtualClock::ticks(const std::string &timerName) const
{
    const auto it = m_ticks.find(timerName);
    return it == m_ticks.end() ? 0 : it->second;
}

} // namespace quelo::test
