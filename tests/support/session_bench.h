// SPDX-License-Identifier: GPL-3.0-or-later
// The far side of the port in a random session: the modules, the cable and what befalls them.
#pragma once

#include "property_support.h"
#include "session_ledger.h"
#include "session_property.h"

#include <deque>
#include <functional>
#include <string>

namespace quelo::test {

// The modules a session plugs in on port 1, one at a time, and the events that part the
// program from them: silences, a lost link, a power cycle, another module plugged in.
class ModuleBench
{
public:
    using Trace = std::function<void(const std::string &)>;
    // The first module (number 1) is on the cable; the ledger hears which module loses power.
    ModuleBench(std::uint32_t seed, Dice &dice, VirtualClock &clock, SessionLedger &ledger,
                SessionRun &counts, Trace trace);

    TimedComm &comm() { return m_comm; }
    // On the far side of the cable now; null while none is plugged in or it is off.
    PluggedModule *attached() const { return m_attached; }
    // The module that belongs on the port (the one attached, or the one that will be).
    PluggedModule &current() { return *m_current; }

    // One event at a time, which ends on its own in virtual time.
    bool disrupted() const { return m_disrupted; }
    void disrupt();
    // New line faults for the current module: latency, jitter, dropped replies.
    void drawLineFaults();
    // The current module behaves well from now on, without line faults.
    void quieten();

private:
    void trace(const std::string &text);
    void silence();
    void loseLink();
    void powerCycle();
    void replaceDuringSilence();
    void plug(PluggedModule &module);
    PluggedModule &anotherModule();

    std::uint32_t m_seed;
    Dice &m_dice;
    VirtualClock &m_clock;
    SessionLedger &m_ledger;
    SessionRun &m_counts;
    Trace m_trace;
    std::deque<PluggedModule> m_modules; // every module of the session; addresses stay
    PluggedModule *m_attached;
    PluggedModule *m_current;
    TimedComm m_comm;
    bool m_disrupted = false;
};

} // namespace quelo::test
