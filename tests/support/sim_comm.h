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
    SimComm(VirtualClock &clock, sim::ModuleSim &module) : m_clock(clock), m_module(&module)
    {
        presentPorts = {1};
    }

    // From now on another module is on the far side of the cable, or none (null): nothing is
    // heard and nothing answers. Replies the module before had on their way stay with it.
    void attach(sim::ModuleSim *module)
    {
        m_module = module;
        schedule();
    }
    sim::ModuleSim *attached() const { return m_module; }

protected:
    void onOutput(const std::string &text) override
    {
        if (!m_module)
            return;
        m_module->receive(text, m_clock.now());
        schedule();
    }
    // What the module sends reaches the program as one receive notification.
    virtual void fromModule(const std::string &text) { deliver(text); }

private:
    void schedule()
    {
        if (!m_module)
            return;
        if (const auto due = m_module->nextOutputDueMs())
            m_clock.callAt(std::max(*due, m_clock.now()), [this] { pump(); });
    }
    void pump()
    {
        if (!m_module)
            return;
        const std::string out = m_module->takeOutput(m_clock.now());
        if (!out.empty() && PortOpen())
            fromModule(out);
        schedule();
    }

    VirtualClock &m_clock;
    sim::ModuleSim *m_module;
};

} // namespace quelo::test
