// SPDX-License-Identifier: GPL-3.0-or-later
// What the random properties share: the timed port, the dice, the module behaviours they draw.
#pragma once

#include "sim_comm.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace quelo {
struct WindowState;
}

namespace quelo::test {

inline constexpr std::string_view kLetters = "dltvcmn"; // the parameter table's order

// Port 1 wired to the simulated module; every command line the program sends is told with the
// moment its CR went out (whether a module is attached to hear it or not), and every chunk a
// module sends is told before the program gets it.
class TimedComm : public SimComm
{
public:
    using LineListener = std::function<void(const std::string &line, std::int64_t atMs)>;
    using ChunkListener = std::function<void(const std::string &chunk)>;
    TimedComm(VirtualClock &clock, sim::ModuleSim &module) : SimComm(clock, module), m_clock(clock)
    {
    }
    void setListener(LineListener listener) { m_listener = std::move(listener); }
    void setChunkListener(ChunkListener listener) { m_chunkListener = std::move(listener); }
    // A chunk from the module is being handled by the program right now.
    bool delivering() const { return m_delivering; }

protected:
    void onOutput(const std::string &text) override;
    void fromModule(const std::string &text) override;

private:
    VirtualClock &m_clock;
    std::string m_line;
    LineListener m_listener;
    ChunkListener m_chunkListener;
    bool m_delivering = false;
};

// The random draws of a property, all from one seeded generator.
class Dice
{
public:
    explicit Dice(std::uint32_t seed) : m_rng(seed) {}
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(m_rng) < p; }

private:
    std::mt19937 m_rng;
};

// Draws how the module treats one letter from now on: refusing or clamping part of the range,
// echo without read-back, read-back without echo, silent, ignoring without echo, or
// well-behaved.
void drawBehaviour(Dice &dice, sim::ModuleSim &module, char letter);
// Makes every letter well-behaved over its whole range again.
void behaveWell(sim::ModuleSim &module);

// The parameter (table index) a message for the user names; none when it names none.
std::optional<std::size_t> parameterNamedIn(const std::string &text);

// Every parameter reported and no write of it pending; no store waiting.
bool settled(const WindowState &w);

} // namespace quelo::test
