// SPDX-License-Identifier: GPL-3.0-or-later
#include "module_sim.h"
#include "qt_timer_host.h"
#include "sim_comm.h"
#include "window_model.h"
#include "writable_state.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace quelo;
using quelo::sim::ModuleSim;
using quelo::test::SimComm;
using quelo::test::VirtualClock;

namespace {

// The window model on a simulated module in virtual time, noting when each character left.
struct LinkRun
{
    explicit LinkRun(bool timersSleep) : clock(clockFor(timersSleep)) {}

    // Set before the model binds its timers to it.
    static VirtualClock clockFor(bool timersSleep)
    {
        VirtualClock clock;
        clock.honourSleep = timersSleep;
        return clock;
    }

    VirtualClock clock;
    ModuleSim module{7};
    SimComm comm{clock, module};
    WindowModel model{comm, clock};
    std::vector<std::pair<std::int64_t, char>> sent;

    void runUntil(std::int64_t ms)
    {
        while (clock.now() < ms) {
            clock.advance(1);
            for (std::size_t i = sent.size(); i < comm.written.size(); ++i)
                sent.emplace_back(clock.now(), comm.written[i]);
        }
    }
};

// A session with everything that queues text: the scan, the read-back round, the standing
// poll with its pauses while the engine runs, a slider write, a store, a RESET and a rescan.
void session(LinkRun &run)
{
    const WindowState &w = run.model.state();
    run.model.Form_Load();
    run.runUntil(20000);
    run.model.moveSlider(w.maxrpmscroll, 11);
    run.runUntil(26000);
    run.model.Command3_Click();
    run.runUntil(35005);
    run.model.Command5_Click();
    run.runUntil(60000);
}

} // namespace

// The characters leave at the same moments whether the pacing and animation timers sleep at
// rest or tick all the time, and the needles end where they would have.
TEST(SleepAtRest, TheWireAndTheNeedlesAreTheSameAsWithTimersThatNeverSleep)
{
    LinkRun ticking(false), sleeping(true);
    session(ticking);
    session(sleeping);
    ASSERT_GT(ticking.sent.size(), 500u);
    EXPECT_EQ(sleeping.sent, ticking.sent);
    const WindowState &a = ticking.model.state(), &b = sleeping.model.state();
    EXPECT_EQ(b.rpmdial.Value, a.rpmdial.Value);
    EXPECT_EQ(b.voltsdial.Value, a.voltsdial.Value);
    EXPECT_EQ(b.advdial.Value, a.advdial.Value);
    EXPECT_EQ(b.AGauge2.Value, a.AGauge2.Value);
    EXPECT_EQ(b.maxrpmdata.Text, a.maxrpmdata.Text);
    // Sleeping saved most of the ticks.
    EXPECT_LT(sleeping.clock.ticks("Timer2"), ticking.clock.ticks("Timer2") / 2);
    EXPECT_LT(sleeping.clock.ticks("Timer3"), ticking.clock.ticks("Timer3") / 2);
}

// Needles on their targets, the standing poll going on: the animation timer does not tick,
// and the pacing timer ticks only for the characters and pauses of each poll.
TEST(SleepAtRest, AtRestTheAnimationSleepsAndThePacingTicksOnlyForThePoll)
{
    LinkRun run(true);
    run.module.holdEngine(run.module.firstIdleMs());
    run.model.Form_Load();
    run.runUntil(30000); // connected, every parameter read back, needles settled
    const WindowState &w = run.model.state();
    ASSERT_EQ(w.statusbox.Text, "Connected Comm Port 1");

    const int animation = run.clock.ticks("Timer2");
    const int pacing = run.clock.ticks("Timer3");
    const std::size_t chars = run.sent.size();
    const double rpm = w.rpmdial.Value;
    run.runUntil(40000);
    const std::size_t sent = run.sent.size() - chars;
    const auto pauses =
        std::count(run.comm.written.end() - long(sent), run.comm.written.end(), '\r');
    EXPECT_GT(sent, 50u); // the poll goes on
    EXPECT_EQ(run.clock.ticks("Timer2") - animation, 0);
    EXPECT_TRUE(w.Timer2.asleep());
    EXPECT_EQ(w.rpmdial.Value, rpm);
    // One tick per character, one per pause (at most one per command), and nothing else.
    EXPECT_LE(run.clock.ticks("Timer3") - pacing, int(sent) + int(pauses));
    EXPECT_LT(run.clock.ticks("Timer3") - pacing, 10000 / 30 / 2);
}

// Waking keeps the grid: a timer that slept resumes at the next point of its grid, not a full
// interval after it is woken.
TEST(SleepAtRest, AWokenTimerResumesOnItsGrid)
{
    VirtualClock clock;
    Timer timer("T", 30, false);
    int ticks = 0;
    std::vector<std::int64_t> at;
    timer.setHandler([&] {
        at.push_back(clock.now());
        ++ticks;
    });
    timer.setHost(&clock);
    timer.setEnabled(true); // grid: 30, 60, 90, ...
    clock.advance(35);
    timer.setAsleep(true);
    clock.advance(100); // 135: the ticks at 60..120 are skipped
    EXPECT_EQ(ticks, 1);
    timer.setAsleep(false);
    clock.advance(60);
    EXPECT_EQ(at, (std::vector<std::int64_t>{30, 150, 180}));
    // Switched on while asleep: no tick until it wakes.
    timer.setEnabled(false);
    timer.setAsleep(true);
    timer.setEnabled(true);
    clock.advance(100);
    EXPECT_EQ(ticks, 3);
}

// On the event loop: a sleeping timer's QTimer is stopped, so it does not wake the program.
TEST(SleepAtRest, TheQtHostStopsASleepingTimer)
{
    int argc = 1;
    char name[] = "test";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QtTimerHost host;
    Timer timer("T", 20, false);
    int ticks = 0;
    timer.setHandler([&] { ++ticks; });
    timer.setHost(&host);
    timer.setEnabled(true);
    EXPECT_TRUE(host.isTicking(timer));
    timer.setAsleep(true);
    EXPECT_FALSE(host.isTicking(timer));
    const auto runLoop = [](int ms, const std::function<bool()> &done) {
        QEventLoop loop;
        QTimer limit;
        QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        limit.start(ms);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (done())
                loop.quit();
        });
        poll.start(5);
        loop.exec();
    };
    runLoop(100, [] { return false; });
    EXPECT_EQ(ticks, 0);
    timer.setAsleep(false);
    EXPECT_TRUE(host.isTicking(timer));
    runLoop(5000, [&] { return ticks >= 3; });
    EXPECT_GE(ticks, 3);
}

// Whoever queues text wakes the pacing, by assigning or appending; clearing does not.
TEST(SleepAtRest, QueuedTextWakesThePacingHoweverItIsQueued)
{
    LinkRun run(true);
    WindowState &w = test::writableState(run.model);
    run.runUntil(100);
    ASSERT_TRUE(w.Timer3.asleep());
    w.txqueue += "ab";
    EXPECT_FALSE(w.Timer3.asleep());
    run.runUntil(200);
    EXPECT_EQ(w.txqueue, ""); // drained with the port closed, one character per tick
    EXPECT_TRUE(w.Timer3.asleep());
    w.txqueue = "x";
    w.txqueue.clear();
    run.runUntil(300);
    EXPECT_TRUE(w.Timer3.asleep());
    EXPECT_EQ(run.clock.ticks("Timer3"), 3); // "a", "b", and the one that found the queue empty
}
