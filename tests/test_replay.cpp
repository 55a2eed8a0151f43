// SPDX-License-Identifier: GPL-3.0-or-later
#include "replay.h"
#include "virtual_clock.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quelo;
using quelo::test::VirtualClock;

namespace {

constexpr double kT0 = 1772366400000;

// A run of telemetry rows 400 ms apart (rpm climbing by 100 from 800, advance, volts and the
// propeller angle with it), a limit change at 2 s and a mark at 3 s.
Recording run(int rows)
{
    Recording r;
    for (int i = 0; i < rows; ++i) {
        const double t = kT0 + 400.0 * i;
        r.rpm.push_back({t, 800.0 + 100 * i});
        r.advanceDeg.push_back({t, 20 + 1.4 * i});
        r.busVolts.push_back({t, 12.0 + 0.5 * i});
        r.propAngleDeg.push_back({t, 10.0 * i});
    }
    r.events.push_back({kT0 + 2000, RunEventKind::ParameterReported, "max_rpm_limit=2816"});
    r.events.push_back({kT0 + 3000, RunEventKind::Mark, "mark 1"});
    return r;
}

struct ReplayTest : ::testing::Test
{
    VirtualClock clock;
    Replay replay{run(10), clock, [this] { return clock.now(); }};

    // Runs the clock to the moment the recording's time t (ms from the start) is reached at
    // the replay's speed, and checks that the targets hold row i's values from then on and
    // the row before's just before.
    void expectRowAt(int i, int speed)
    {
        const std::int64_t due = std::llround(std::ceil(400.0 * i / speed));
        clock.runUntil(due - 1);
        EXPECT_EQ(replay.targets().rpmtarget, 800 + 100 * (i - 1)) << "row " << i << " early";
        clock.runUntil(due);
        EXPECT_EQ(replay.targets().rpmtarget, 800 + 100 * i) << "row " << i;
        EXPECT_EQ(replay.targets().advtarget, std::lround(20 + 1.4 * i));
        EXPECT_EQ(replay.targets().proptarget, 10 * i);
        // Volts round half to even as the decoder rounds: 12.5 -> 12, 13.5 -> 14.
        const double volts = 12.0 + 0.5 * i;
        EXPECT_EQ(replay.targets().voltstarget, std::nearbyint(volts));
    }
};

} // namespace

TEST_F(ReplayTest, SetsTheTargetsAtTheRecordedTimesAtOneTimes)
{
    EXPECT_EQ(replay.durationMs(), 3600);
    EXPECT_EQ(replay.targets().rpmtarget, 800); // the first row shows before playing
    replay.play();
    for (int i = 1; i < 10; ++i)
        expectRowAt(i, 1);
    clock.advance(1000);
    EXPECT_FALSE(replay.playing()); // stops at the end
    EXPECT_EQ(replay.position(), 3600);
}

TEST_F(ReplayTest, SetsTheTargetsAtTheRecordedTimesAtSixteenTimes)
{
    replay.setSpeed(16);
    replay.play();
    for (int i = 1; i < 10; ++i)
        expectRowAt(i, 16);
    // One row timer tick per row and no more (nine telemetry rows and the mark's row between
    // two of them): the replay wakes only when a row is due.
    EXPECT_EQ(clock.ticks("Replay"), 10);
}

TEST_F(ReplayTest, NeedlesGlideWithTheMainWindowsAnimationAndThenSleep)
{
    replay.play();
    clock.runUntil(400);
    ASSERT_EQ(replay.targets().rpmtarget, 900);
    const double before = replay.gauges().rpmdial.Value;
    clock.advance(10);
    EXPECT_GT(replay.gauges().rpmdial.Value, before);
    EXPECT_LT(replay.gauges().rpmdial.Value, 900);
    replay.pause();
    clock.advance(5000);
    EXPECT_EQ(replay.gauges().rpmdial.Value, 900);
    const int ticks = clock.ticks("Timer2");
    clock.advance(5000);
    EXPECT_EQ(clock.ticks("Timer2"), ticks); // at rest the animation timer sleeps
    EXPECT_EQ(clock.ticks("Replay"), 1);     // and a paused replay wakes for nothing
}

TEST_F(ReplayTest, SeekPauseAndSpeedKeepThePositionInTheRecordingsTime)
{
    replay.seek(2100);
    EXPECT_EQ(replay.targets().rpmtarget, 1300);         // the row at 2000 ms
    EXPECT_EQ(replay.gauges().rpmdial.bandEnd(3), 2816); // the limit set at 2000 ms
    replay.play();
    clock.advance(100);
    EXPECT_EQ(replay.position(), 2200);
    replay.setSpeed(4);
    clock.advance(100);
    EXPECT_EQ(replay.position(), 2600);
    replay.pause();
    clock.advance(1000);
    EXPECT_EQ(replay.position(), 2600);
    EXPECT_EQ(replay.targets().rpmtarget, 1400);
    replay.seek(-50);
    EXPECT_EQ(replay.position(), 0);
    EXPECT_EQ(replay.targets().rpmtarget, 800);
    replay.seek(1e12);
    EXPECT_EQ(replay.position(), 3600);
    replay.setSpeed(3); // not a speed the replay offers
    EXPECT_EQ(replay.speed(), 4);
    replay.play(); // from the end: starts over
    EXPECT_EQ(replay.position(), 0);
}

TEST(Replay, AnEmptyOrHostileRecordingPlaysWithoutHarm)
{
    VirtualClock clock;
    Replay empty{Recording{}, clock, [&] { return clock.now(); }};
    empty.play();
    clock.advance(1000);
    EXPECT_EQ(empty.durationMs(), 0);
    EXPECT_FALSE(empty.playing());

    Recording wild;
    wild.rpm = {{0, 1e12}, {10, -1e12}, {20, std::nan("")}};
    wild.events = {{5, RunEventKind::ParameterReported, "max_rpm_limit=1e300"}};
    Replay replay{wild, clock, [&] { return clock.now(); }};
    EXPECT_EQ(replay.targets().rpmtarget, 16000);
    replay.play();
    clock.advance(15);
    EXPECT_EQ(replay.targets().rpmtarget, -16000);
    clock.advance(15);
    EXPECT_EQ(replay.targets().rpmtarget, 0);
    clock.advance(2000);
}
