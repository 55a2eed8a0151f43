// SPDX-License-Identifier: GPL-3.0-or-later
#include "module_sim.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

using namespace quelo::sim;

namespace {

// Sends one command at t (default: the module's current time) and returns everything
// the module sends within the next 100 ms.
std::string ask(ModuleSim &sim, std::string_view command, std::int64_t t = -1)
{
    if (t < 0)
        t = sim.nowMs();
    sim.receive(command, t);
    return sim.takeOutput(t + 100);
}

bool isUpperHex(std::string_view s)
{
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

// Reads rpm, bus voltage, advance and propeller counts through the wire at time t.
std::array<int, 4> readEngine(ModuleSim &sim, std::int64_t t)
{
    const std::string out = ask(sim, "/x\r/w\r/b\r/p\r", t);
    EXPECT_EQ(out.size(), 6u + 4u + 4u + 6u) << out;
    if (out.size() != 20u)
        return {};
    return {std::stoi(out.substr(1, 4), nullptr, 16), std::stoi(out.substr(7, 2), nullptr, 16),
            std::stoi(out.substr(11, 2), nullptr, 16), std::stoi(out.substr(15, 2), nullptr, 16)};
}

} // namespace

TEST(ModuleSimReplies, ReadCommandsHaveFixedWidthUpperHex)
{
    ModuleSim sim;
    EXPECT_EQ(ask(sim, "/u\r"), "u1A\r");
    sim.setFirmwareVersion(0x2b);
    EXPECT_EQ(ask(sim, "/u\r"), "u2B\r");

    const struct
    {
        const char *command;
        std::size_t digits;
    } reads[] = {{"/p\r", 4}, {"/x\r", 4}, {"/b\r", 2}, {"/w\r", 2}};
    for (std::int64_t t : {1000, 30000, 45000}) {
        for (const auto &read : reads) {
            const std::string reply = ask(sim, read.command, t += 100);
            ASSERT_EQ(reply.size(), 2 + read.digits) << reply;
            EXPECT_EQ(reply[0], read.command[1]);
            EXPECT_TRUE(isUpperHex(reply.substr(1, read.digits))) << reply;
            EXPECT_EQ(reply.back(), '\r');
        }
        EXPECT_EQ(ask(sim, "/p\r").substr(3, 2), "00");
    }
}

TEST(ModuleSimReplies, ReadBacksReportTheHeldValueAndNegativeShiftsFrom255)
{
    ModuleSim sim;
    // Whatever the module starts with, a read reports what it holds, in its wire form.
    for (const char letter : {'d', 'l', 't', 'v', 'm', 'n'}) {
        const auto range = ModuleSim::parameterRange(letter);
        ASSERT_TRUE(range.has_value());
        ASSERT_TRUE(sim.setParameter(letter, range->max));
        char expected[8];
        std::snprintf(expected, sizeof expected, "%c%02X\r", letter, range->max);
        EXPECT_EQ(ask(sim, std::string("/") + letter + "\r"), expected) << letter;
    }

    for (auto [shift, wire] : {std::pair{0, "c00\r"}, {9, "c09\r"}, {-1, "cFE\r"}, {-9, "cF6\r"}}) {
        ASSERT_TRUE(sim.setParameter('c', shift));
        EXPECT_EQ(ask(sim, "/c\r"), wire);
    }
    EXPECT_EQ(sim.parameter('c'), -9);
}

TEST(ModuleSimReplies, ProbeAndMalformedLinesGetNoAnswer)
{
    ModuleSim sim;
    for (const char *line : {"/*\r", "/q\r", "/uu\r", "%/u\r", "\n/u\r", "u\r", "/D\r", "/Dx\r",
                             "/D5 \r", "/D+5\r", "/W\r", "/Z3\r", "/\r"}) {
        EXPECT_EQ(ask(sim, line), "") << line;
    }
    EXPECT_EQ(sim.parameter('d'), 2);
    EXPECT_EQ(sim.storeCount(), 0);
    EXPECT_EQ(sim.commandLog().size(), 13u);
    EXPECT_EQ(sim.commandLog().front(), "/*");
    EXPECT_EQ(sim.commandLog()[4], "\n/u");
}

TEST(ModuleSimWrites, EchoReadBackAndOutOfRange)
{
    ModuleSim sim;
    for (char letter : ModuleSim::kParameterLetters) {
        const ParameterRange range = *ModuleSim::parameterRange(letter);
        const char upper = char(letter - 'a' + 'A');
        const std::string write = std::string("/") + upper + std::to_string(range.max);
        EXPECT_EQ(ask(sim, write + "\r"), write + "\r");
        EXPECT_EQ(sim.parameter(letter), range.max) << letter;

        for (int bad : {range.min - 1, range.max + 1}) {
            const std::string badWrite = std::string("/") + upper + std::to_string(bad);
            EXPECT_EQ(ask(sim, badWrite + "\r"), badWrite + "\r");
            EXPECT_EQ(sim.parameter(letter), range.max) << badWrite;
        }
    }
    EXPECT_EQ(ask(sim, "/C-9\r"), "/C-9\r");
    EXPECT_EQ(ask(sim, "/c\r"), "cF6\r");
    EXPECT_EQ(ask(sim, "/N14\r"), "/N14\r");
    EXPECT_EQ(ask(sim, "/n\r"), "n0E\r");

    sim.setOutOfRangePolicy(OutOfRangePolicy::EchoClamp);
    EXPECT_EQ(ask(sim, "/N40\r"), "/N40\r");
    EXPECT_EQ(sim.parameter('n'), 35);
    sim.setOutOfRangePolicy(OutOfRangePolicy::Ignore);
    EXPECT_EQ(ask(sim, "/D9\r"), "");
    EXPECT_EQ(sim.parameter('d'), 8);
}

TEST(ModuleSimWrites, StoreEchoesAndCounts)
{
    ModuleSim sim;
    EXPECT_EQ(ask(sim, "/W1\r"), "/W1\r");
    EXPECT_EQ(ask(sim, "/W0\r"), "/W0\r");
    EXPECT_EQ(sim.storeCount(), 2);
    EXPECT_EQ(sim.commandLog(), (std::vector<std::string>{"/W1", "/W0"}));
}

// A power cycle puts back what the last store holds; a module configured elsewhere comes up
// with its own stored values. Replies on their way and half a command are lost.
TEST(ModuleSimWrites, PowerCycleRevertsToTheStoredConfiguration)
{
    ModuleSim sim;
    EXPECT_EQ(ask(sim, "/D5\r"), "/D5\r");
    ask(sim, "/W5\r");
    EXPECT_EQ(ask(sim, "/D7\r"), "/D7\r");
    sim.receive("/d\r/N2", sim.nowMs());
    sim.powerCycle();
    EXPECT_EQ(sim.parameter('d'), 5);
    EXPECT_EQ(sim.takeOutput(sim.nowMs() + 100), "");
    EXPECT_EQ(ask(sim, "0\r"), ""); // the rest of "/N20" alone is no command
    EXPECT_EQ(sim.parameter('n'), 25);

    EXPECT_TRUE(sim.setStoredParameter('c', -9));
    EXPECT_FALSE(sim.setStoredParameter('c', -10));
    EXPECT_EQ(sim.parameter('c'), -4);
    sim.powerCycle();
    EXPECT_EQ(sim.parameter('c'), -9);
    EXPECT_EQ(sim.storedParameter('c'), -9);
    EXPECT_EQ(sim.storedParameter('d'), 5);
}

TEST(ModuleSimLine, CrLfEnding)
{
    ModuleSim sim;
    sim.setLineEnding(LineEnding::CrLf);
    EXPECT_EQ(ask(sim, "/u\r"), "u1A\r\n");
    EXPECT_EQ(ask(sim, "/D5\r"), "/D5\r\n");
}

TEST(ModuleSimLine, CommandSplitAcrossReceives)
{
    ModuleSim sim;
    sim.receive("/", 100);
    sim.receive("D", 105);
    EXPECT_EQ(sim.takeOutput(106), "");
    sim.receive("7\r/", 110);
    sim.receive("u\r", 120);
    EXPECT_EQ(sim.takeOutput(200), "/D7\ru1A\r");
    EXPECT_EQ(sim.parameter('d'), 7);
    EXPECT_EQ(sim.commandLog(), (std::vector<std::string>{"/D7", "/u"}));
}

TEST(ModuleSimLine, OverlongInputIsDiscardedUpToCr)
{
    ModuleSim sim;
    EXPECT_EQ(ask(sim, std::string(200, 'A') + "/u\r"), "");
    EXPECT_TRUE(sim.commandLog().empty());
    // A line of exactly the maximum length is still taken (and ignored: it is no command).
    const std::string longest = std::string(ModuleSim::kMaxLineLength - 2, 'A') + "/u";
    EXPECT_EQ(ask(sim, longest + "\r"), "");
    EXPECT_EQ(ask(sim, "/u\r"), "u1A\r");
    EXPECT_EQ(sim.commandLog(), (std::vector<std::string>{longest, "/u"}));
}

TEST(ModuleSimTiming, BaseLatencyAndDelay)
{
    ModuleSim sim;
    sim.receive("/u\r", 1000);
    ASSERT_EQ(sim.nextOutputDueMs(), 1008);
    EXPECT_EQ(sim.takeOutput(1007), "");
    EXPECT_EQ(sim.takeOutput(1008), "u1A\r");
    EXPECT_FALSE(sim.nextOutputDueMs());

    sim.setFaults({false, 0.0, 100, 0, 0.0, 0.0});
    sim.receive("/u\r", 2000);
    EXPECT_EQ(sim.nextOutputDueMs(), 2108);
    EXPECT_EQ(sim.takeOutput(2107), "");
    EXPECT_EQ(sim.takeOutput(2108), "u1A\r");
}

TEST(ModuleSimTiming, JitterKeepsOrder)
{
    ModuleSim sim(7);
    sim.setFaults({false, 0.0, 20, 50, 0.0, 0.0});
    std::string expected;
    for (int i = 0; i <= 8; ++i) {
        const std::string write = "/D" + std::to_string(i);
        sim.receive(write + "\r", 1000 + i);
        expected += write + "\r";
    }
    std::string received;
    std::vector<std::int64_t> dues;
    while (auto due = sim.nextOutputDueMs()) {
        dues.push_back(*due);
        received += sim.takeOutput(*due);
    }
    EXPECT_EQ(received, expected);
    EXPECT_TRUE(std::is_sorted(dues.begin(), dues.end()));
    EXPECT_GE(dues.front(), 1000 + 8 + 20);
    EXPECT_LE(dues.back(), 1008 + 8 + 20 + 50);
    EXPECT_GT(dues.back(), dues.front()); // the jitter actually spreads the replies
}

TEST(ModuleSimFaults, DropSilentGarbageUnterminated)
{
    ModuleSim dropping;
    dropping.setFaults({false, 1.0, 0, 0, 0.0, 0.0});
    std::string out;
    for (int i = 0; i < 20; ++i)
        out += ask(dropping, "/u\r", 1000 + i * 200);
    out += ask(dropping, "/D6\r", 9000);
    EXPECT_EQ(out, "");
    EXPECT_FALSE(dropping.nextOutputDueMs());
    EXPECT_EQ(dropping.parameter('d'), 6); // the write arrived; only its echo was lost

    ModuleSim silent;
    silent.setFaults({true, 0.0, 0, 0, 0.0, 0.0});
    silent.setTelemetryEnabled(true);
    EXPECT_EQ(ask(silent, "/u\r"), "");
    EXPECT_EQ(ask(silent, "/W1\r", 5000), "");
    EXPECT_FALSE(silent.nextOutputDueMs());
    EXPECT_EQ(silent.commandLog(), (std::vector<std::string>{"/u", "/W1"}));

    ModuleSim noisy(3);
    noisy.setFaults({false, 0.0, 0, 0, 1.0, 0.0});
    for (int i = 0; i < 10; ++i) {
        const std::string reply = ask(noisy, "/u\r", 1000 + i * 200);
        ASSERT_GT(reply.size(), 4u);
        EXPECT_EQ(reply.substr(reply.size() - 4), "u1A\r");
        EXPECT_EQ(reply.find_first_of("\r\n"), reply.size() - 1) << "burst contains a terminator";
    }

    ModuleSim unterminated;
    unterminated.setFaults({false, 0.0, 0, 0, 0.0, 1.0});
    EXPECT_EQ(ask(unterminated, "/u\r/d\r"), "u1Ad02");
}

TEST(ModuleSimTelemetry, FramesEveryIntervalInterleavedByTime)
{
    ModuleSim sim;
    sim.setTelemetryEnabled(true, 500);
    EXPECT_EQ(sim.nextOutputDueMs(), 500);
    sim.receive("/u\r", 995); // reply due at 1003, after the 1000 ms frame
    const std::string out = sim.takeOutput(1600);

    const EngineState at500 = sim.engineAt(500);
    ASSERT_EQ(out.size(), 3 * 14 + 4u) << out;
    const std::string frame500 = out.substr(0, 14);
    EXPECT_EQ(frame500[0], '=');
    EXPECT_TRUE(isUpperHex(frame500.substr(1, 12)));
    EXPECT_EQ(frame500[13], '\r');
    EXPECT_EQ(std::stoi(frame500.substr(1, 4), nullptr, 16), at500.rpm);
    EXPECT_EQ(std::stoi(frame500.substr(5, 2), nullptr, 16), at500.advanceCount);
    EXPECT_EQ(frame500.substr(7, 4), "0000");
    EXPECT_EQ(std::stoi(frame500.substr(11, 2), nullptr, 16), at500.busTenths);
    EXPECT_EQ(out[14], '=');
    EXPECT_EQ(out.substr(28, 4), "u1A\r");
    EXPECT_EQ(out[32], '=');
    EXPECT_EQ(sim.nextOutputDueMs(), 2000);
}

TEST(ModuleSimEngine, CycleStopsIdlesAndRunsUp)
{
    ModuleSim sim(5);
    const std::int64_t cycle = sim.cycleLengthMs();
    EXPECT_GE(cycle, 60000);
    EXPECT_LE(cycle, 90000);

    int maxRpm = 0, advanceAtMax = 0, advanceAtIdle = 0, idleSamples = 0, stoppedSamples = 0,
        runningSamples = 0;
    std::vector<int> propWhileStopped;
    for (std::int64_t t = 0; t < cycle; t += 250) {
        const auto [rpm, volts, advance, prop] = readEngine(sim, t);
        if (rpm > maxRpm) {
            maxRpm = rpm;
            advanceAtMax = advance;
        }
        if (rpm >= 950 && rpm <= 1050) {
            ++idleSamples;
            advanceAtIdle = advance;
        }
        if (rpm == 0) {
            ++stoppedSamples;
            EXPECT_NEAR(volts, 124, 2) << t;
            propWhileStopped.push_back(prop);
        } else if (rpm >= 950) {
            ++runningSamples;
            EXPECT_GE(volts, 137) << t;
            EXPECT_LE(volts, 143) << t;
        }
        EXPECT_GE(advance, 14) << t; // 19.6..35 degrees
        EXPECT_LE(advance, 25) << t;
    }
    EXPECT_GT(maxRpm, 2500);
    EXPECT_LT(maxRpm, 2800);
    EXPECT_GT(idleSamples, 40); // at least 10 s near idle
    EXPECT_GT(stoppedSamples, 20);
    EXPECT_GT(runningSamples, 100);
    // The propeller creeps while stopped.
    std::sort(propWhileStopped.begin(), propWhileStopped.end());
    EXPECT_GT(std::unique(propWhileStopped.begin(), propWhileStopped.end()) -
                  propWhileStopped.begin(),
              10);

    // Advance rises with rpm and respects the max advance limit.
    EXPECT_GT(advanceAtMax, advanceAtIdle);
    sim.setParameter('n', 15);
    for (std::int64_t t = 0; t < cycle; t += 1000)
        EXPECT_LE(sim.engineAt(t).advanceCount, 15);
}

TEST(ModuleSimEngine, HeldEngineReportsOneStateUntilReleased)
{
    ModuleSim sim(3);
    const std::int64_t idle = sim.firstIdleMs();
    const EngineState held = sim.engineAt(idle);
    EXPECT_GE(held.rpm, 950);
    EXPECT_LE(held.rpm, 1070);
    sim.holdEngine(idle);
    EXPECT_EQ(sim.engineHeldAt(), idle);

    // Polled and streamed readings stay at the held state through a whole cycle, stopped
    // phase and run-up included.
    const std::array<int, 4> expected = {held.rpm, held.busTenths, held.advanceCount,
                                         held.propCount};
    for (std::int64_t t = 0; t < sim.cycleLengthMs(); t += 1300)
        ASSERT_EQ(readEngine(sim, t), expected) << t;
    sim.setTelemetryEnabled(true, 500);
    const std::string frames = sim.takeOutput(sim.cycleLengthMs() + 3000);
    ASSERT_EQ(frames.size() % 14, 0u) << frames;
    ASSERT_GE(frames.size(), 4 * 14u);
    for (std::size_t i = 14; i < frames.size(); i += 14)
        EXPECT_EQ(frames.substr(i, 14), frames.substr(0, 14));
    EXPECT_EQ(std::stoi(frames.substr(1, 4), nullptr, 16), held.rpm);

    // Released, the engine follows time again: the propeller of a running engine turns.
    sim.setTelemetryEnabled(false);
    sim.holdEngine(std::nullopt);
    const std::int64_t later = 2 * sim.cycleLengthMs() + idle;
    const int propBefore = readEngine(sim, later)[3];
    EXPECT_NE(readEngine(sim, later + 170)[3], propBefore);
}

TEST(ModuleSimEngine, DeterministicBySeed)
{
    auto run = [](std::uint32_t seed) {
        ModuleSim sim(seed);
        sim.setFaults({false, 0.3, 5, 40, 0.3, 0.2});
        sim.setTelemetryEnabled(true, 700);
        std::string out;
        for (std::int64_t t = 0; t < 90000; t += 900) {
            sim.receive("/x\r/p\r/b\r/w\r/D3\r", t);
            out += sim.takeOutput(t + 300);
        }
        return out;
    };
    EXPECT_EQ(run(11), run(11));
    EXPECT_NE(run(11), run(12));
}
