// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fake_comm.h"
#include "module_sim.h"
#include "virtual_clock.h"

namespace quelo::test {

// Port 1 wired to a simulated module in virtual time: what the pacing writes reaches the
// module at once, and its replies arrive when they fall due.
class SimComm : public FakeComm
{
public:
    SimComm(VirtualClock &clock, sim::ModuleSim &module) : m_clock(clock), m_module(module)
    {
        presentPorts = {1};
    }

protected:
    void onOutput(const std::string &text) override
    {
        m_module.receive(text, m_clock.now());
        schedule();
    }

private:
    void schedule()
    {
        if (const auto due = m_module.nextOutputDueMs())
            m_clock.callAt(std::max(*due, m_clock.now()), [this] { pump(); });
    }
    void pump()
    {
        const std::string out = m_module.takeOutput(m_clock.now());
        if (!out.empty() && PortOpen())
            deliver(out);
        schedule();
    }

    VirtualClock &m_clock;
    sim::ModuleSim &m_module;
};

} // namespace quelo::test
