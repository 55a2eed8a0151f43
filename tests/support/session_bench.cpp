// SPDX-License-Identifier: GPL-3.0-or-later
#include "session_bench.h"

namespace quelo::test {

ModuleBench::ModuleBench(std::uint32_t seed, Dice &dice, VirtualClock &clock, SessionLedger &ledger,
                         SessionRun &counts, Trace trace)
    : m_seed(seed), m_dice(dice), m_clock(clock), m_ledger(ledger), m_counts(counts),
      m_trace(std::move(trace)), m_modules(1, PluggedModule(1, seed)),
      m_attached(&m_modules.front()), m_current(m_attached), m_comm(clock, m_attached->sim)
{
}

void ModuleBench::trace(const std::string &text)
{
    if (m_trace)
        m_trace(text);
}

void ModuleBench::disrupt()
{
    m_disrupted = true;
    switch (m_dice.between(0, 3)) {
    case 0:
        return silence();
    case 1:
        return loseLink();
    case 2:
        return powerCycle();
    default:
        return replaceDuringSilence();
    }
}

// The module hears (and takes writes) but does not answer, shorter or longer than the answer
// timeout.
void ModuleBench::silence()
{
    ++m_counts.silences;
    sim::ModuleSim &module = m_current->sim;
    const sim::Faults before = module.faults();
    sim::Faults silent = before;
    silent.silent = true;
    module.setFaults(silent);
    const int ms = m_dice.chance(0.5) ? m_dice.between(200, 2800) : m_dice.between(3200, 9000);
    trace("module " + std::to_string(m_current->number) + " silent for " + std::to_string(ms));
    m_clock.callAfter(ms, [this, &module, before] {
        trace("silence ends");
        module.setFaults(before);
        m_disrupted = false;
    });
}

// The adapter goes away with the port open and comes back later, with the same module behind
// it or another one.
void ModuleBench::loseLink()
{
    ++m_counts.lostLinks;
    m_comm.presentPorts.clear();
    m_comm.hangUp("the adapter went away");
    const bool other = m_dice.chance(0.5);
    trace("the adapter went away");
    m_clock.callAfter(m_dice.between(300, 8000), [this, other] {
        trace("the adapter is back");
        if (other) {
            m_ledger.moduleLostPower(m_current);
            plug(anotherModule());
        }
        m_comm.presentPorts = {1};
        m_disrupted = false;
    });
}

// Switched off and on: back with its stored values, after less or more than the answer timeout.
void ModuleBench::powerCycle()
{
    ++m_counts.powerCycles;
    m_ledger.moduleLostPower(m_current);
    m_attached = nullptr;
    m_comm.attach(nullptr);
    const int ms = m_dice.chance(0.5) ? m_dice.between(100, 2500) : m_dice.between(3200, 8000);
    if (ms < 3000)
        m_ledger.unnoticedPowerCut();
    trace("module " + std::to_string(m_current->number) + " off for " + std::to_string(ms));
    m_clock.callAfter(ms, [this] {
        plug(*m_current);
        m_disrupted = false;
    });
}

// The module is unplugged with the port open and, a while later, another one plugged in.
void ModuleBench::replaceDuringSilence()
{
    m_ledger.moduleLostPower(m_current);
    m_attached = nullptr;
    m_comm.attach(nullptr);
    trace("module " + std::to_string(m_current->number) + " unplugged");
    m_clock.callAfter(m_dice.between(3500, 9000), [this] {
        plug(anotherModule());
        m_disrupted = false;
    });
}

void ModuleBench::plug(PluggedModule &module)
{
    module.sim.powerCycle();
    m_attached = &module;
    m_current = &module;
    m_comm.attach(&module.sim);
    if (!m_trace)
        return;
    std::string values;
    for (const char letter : kLetters)
        values += std::string(" ") + letter + "=" + std::to_string(module.sim.parameter(letter));
    trace("module " + std::to_string(module.number) + " on, firmware " +
          std::to_string(module.sim.firmwareVersion()) + ":" + values);
}

// A module seen before, or a new one: its own stored values, maybe other firmware, maybe a
// letter it treats its own way.
PluggedModule &ModuleBench::anotherModule()
{
    ++m_counts.otherModules;
    std::vector<PluggedModule *> others;
    for (PluggedModule &m : m_modules)
        if (&m != m_current)
            others.push_back(&m);
    if (!others.empty() && m_dice.chance(0.4))
        return *others[std::size_t(m_dice.between(0, int(others.size()) - 1))];
    const int number = int(m_modules.size()) + 1;
    PluggedModule &m = m_modules.emplace_back(number, m_seed * 7919u + std::uint32_t(number));
    for (const char letter : kLetters) {
        const sim::ParameterRange range = *sim::ModuleSim::parameterRange(letter);
        m.sim.setStoredParameter(letter, m_dice.between(range.min, range.max));
    }
    if (m_dice.chance(0.5))
        m.sim.setFirmwareVersion(m_dice.between(0x10, 0x40));
    if (m_dice.chance(0.3))
        drawBehaviour(m_dice, m.sim, kLetters[std::size_t(m_dice.between(0, 6))]);
    return m;
}

void ModuleBench::drawLineFaults()
{
    sim::Faults f;
    f.delayMs = m_dice.chance(0.5) ? m_dice.between(0, 900) : 0;
    f.jitterMs = m_dice.chance(0.3) ? m_dice.between(0, 900 - f.delayMs) : 0;
    f.dropRate = m_dice.chance(0.3) ? m_dice.between(5, 25) / 100.0 : 0.0;
    f.silent = m_current->sim.faults().silent; // a silence under way goes on
    m_current->sim.setFaults(f);
}

void ModuleBench::quieten()
{
    behaveWell(m_current->sim);
    m_current->sim.setFaults({});
}

} // namespace quelo::test
