// SPDX-License-Identifier: GPL-3.0-or-later
// The short fault soak: the program's link over real pseudo-terminals against the simulated
// module, half a minute of line faults, hang-ups, refused writes, RESET clicks and user changes,
// each connection checked as a unit.
// QUELO_SOAK_SEED picks another seed; scripts/soak.sh runs it for longer. The phases are printed;
// a failure also prints the latest slider changes.
#include "soak_run.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace quelo::soak;

namespace {
// AddressSanitizer keeps freed memory in quarantine (up to 256 MiB) instead of reusing it, so
// resident memory grows under it whether or not the program leaks; LeakSanitizer checks for
// leaks in that build instead.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kMemoryMarginKb = 64 * 1024;
#else
constexpr long kMemoryMarginKb = 2048;
#endif
} // namespace

TEST(Soak, UserValuesSurviveFaultsHangUpsAndResets)
{
    SoakOptions options;
    options.seed = 1;
    if (const char *seed = std::getenv("QUELO_SOAK_SEED"))
        options.seed = std::uint32_t(std::strtoul(seed, nullptr, 10));
    options.durationMs = 30000;
    options.progressIntervalMs = 10000;
    options.memoryBaselineMs = 10000;
    options.memoryMarginKb = kMemoryMarginKb;
    options.traceSliders = true;
    options.onEvent = [](const std::string &line) { std::printf("  %s\n", line.c_str()); };

    const SoakResult r = runSoak(options);
    const SoakCounters &c = r.counters;
    SCOPED_TRACE("seed " + std::to_string(options.seed));
    // Module values against the sliders, reconnections, handler failures, the receive
    // buffer's bound and memory growth: each breach is one problem.
    for (const std::string &problem : r.problems)
        ADD_FAILURE() << problem;

    // The run did what a soak is for: no phase was skipped; every hang-up ended in a new
    // connection, found by the search that followed or, once that search had ended without
    // sending the module anything, by RESET; the RESET phase brought one more and cut off a
    // change being written, which was told; moves with no module connected were tried (and
    // refused); and the babbling line reached the receive buffer (so its bound was tested,
    // not assumed).
    EXPECT_GE(c.faultWindows, 2);
    EXPECT_GE(c.calmWindows, 1);
    EXPECT_GE(c.hangUps, 1);
    EXPECT_EQ(c.foundBySearch + c.searchesEnded, c.hangUps);
    EXPECT_GE(c.reconnections, c.hangUps + 1);
    EXPECT_GE(c.changesNotSent, 1);
    EXPECT_GE(c.movesWhileDown, c.hangUps);
    EXPECT_GE(c.sliderMoves, 10);
    EXPECT_GE(c.storeClicks, 1);
    EXPECT_GE(c.moduleLimits, 3);
    EXPECT_GE(c.writes, 10);
    EXPECT_GE(r.maxRxBuffer, 1000u);
    EXPECT_GE(r.slidersChecked, 6);
    EXPECT_GT(r.rssBaselineKb, 0); // the memory check compared real numbers
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
