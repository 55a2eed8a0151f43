// SPDX-License-Identifier: GPL-3.0-or-later
// The promises over random sessions: user actions and module events in virtual time.
#include "session_property.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

constexpr std::int64_t kHostileMs = 60000;

} // namespace

// Every promise over a few hundred random sessions; QUELO_SESSION_SEEDS=FIRST:COUNT runs others.
// A broken promise is shown once, with the first seed that breaks it and how many seeds do.
TEST(Session, RandomUserAndModuleEventsKeepEveryPromise)
{
    std::uint32_t first = 1;
    std::uint32_t count = 400;
    if (const char *seeds = std::getenv("QUELO_SESSION_SEEDS")) {
        char *end = nullptr;
        first = std::uint32_t(std::strtoul(seeds, &end, 10));
        if (end && *end == ':')
            count = std::uint32_t(std::strtoul(end + 1, nullptr, 10));
    }
    quelo::test::SessionRun total;
    std::map<char, std::string> firstBreach;
    std::map<char, int> seedsBreaking;
    // QUELO_SESSION_TRACE=1 prints what each session did, line by line.
    quelo::test::SessionTrace trace;
    if (std::getenv("QUELO_SESSION_TRACE"))
        trace = [](const std::string &line) { std::printf("  %s\n", line.c_str()); };
    for (std::uint32_t seed = first; seed < first + count; ++seed) {
        const quelo::test::SessionRun run =
            quelo::test::runSessionProperty(seed, kHostileMs, trace);
        total.add(run);
        for (const auto &[invariant, text] : run.firstProblem) {
            firstBreach.emplace(invariant, text);
            ++seedsBreaking[invariant];
        }
    }
    for (const auto &[invariant, text] : firstBreach)
        ADD_FAILURE() << "(" << invariant << ") broken in " << seedsBreaking[invariant] << " of "
                      << count << " seeds; first: " << text;

    // The sessions did what they are for.
    const int n = int(count);
    EXPECT_GE(total.userMoves, n * 5);
    EXPECT_GE(total.storeClicks, n * 2);
    EXPECT_GE(total.undos + total.redos, n / 4); // steps end with their connection
    EXPECT_GE(total.loads, n / 6);
    EXPECT_GE(total.quitsWithoutAsking, n / 6);
    EXPECT_GE(total.silences, n / 2);
    EXPECT_GE(total.lostLinks, n / 2);
    EXPECT_GE(total.powerCycles, n / 2);
    EXPECT_GE(total.otherModules, n / 2);
    EXPECT_GE(total.refusals, n / 5);
    EXPECT_GE(total.givenUp, n / 8);
    EXPECT_GE(total.stores, n / 2);
    std::printf("%d connections; user: %d moves, %d undos, %d redos, %d loads, %d store clicks, "
                "%d resets, %d quit questions (%d without asking); modules: %d silences, %d lost "
                "links, %d power cycles, %d other modules, %d writes, %d stores, %d refusals, %d "
                "given up; longest poll gap %lld ms\n",
                total.connections, total.userMoves, total.undos, total.redos, total.loads,
                total.storeClicks, total.resets, total.quitQuestions, total.quitsWithoutAsking,
                total.silences, total.lostLinks, total.powerCycles, total.otherModules,
                total.writes, total.stores, total.refusals, total.givenUp,
                static_cast<long long>(total.longestPollGapMs));
}
