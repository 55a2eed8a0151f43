// SPDX-License-Identifier: GPL-3.0-or-later
// A link that dies or goes quiet while connected, in virtual time.
#include "config_transfer.h"
#include "harness.h"
#include "history_watcher.h"
#include "module_sim.h"
#include "parameters.h"
#include "sim_comm.h"
#include "writable_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace quelo;
using quelo::sim::ModuleSim;
using quelo::test::Harness;
using quelo::test::SimComm;
using quelo::test::VirtualClock;

namespace {

const std::string kConnected = "Connected Comm Port 1";
const std::string kNoAnswer = "No answer from the module on Comm Port 1";
const std::string kLost = "Link lost on Comm Port 1";

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

// The kinds of the events the status line's changes were told as.
struct KindsTold final : RunObserver
{
    std::vector<RunEventKind> kinds;
    void telemetry(const TelemetryReport &) override {}
    void event(const RunEvent &event) override { kinds.push_back(event.kind); }
};

struct LinkLost : ::testing::Test
{
    LinkLost() { h.model.setRunObserver(&status); }
    ~LinkLost() override { h.model.setRunObserver(nullptr); }
    Harness h;
    WindowState &w = h.w;
    KindsTold status;
};

} // namespace

TEST_F(LinkLost, AHangUpIsShownAndTheSameSearchAsResetReconnects)
{
    h.connect();
    h.clock.advance(2000);
    h.comm.hangUp("/dev/ttyUSB0: the device went away");
    EXPECT_EQ(w.statusbox.Text, kLost);
    EXPECT_TRUE(contains(w.statusbox.ToolTip, "went away"));
    EXPECT_TRUE(w.Timer5.Enabled());
    EXPECT_EQ(w.Tag, "0");

    // The loss stays readable until the first scan tick of the new search.
    h.clock.advance(1499);
    EXPECT_EQ(w.statusbox.Text, kLost);
    EXPECT_FALSE(h.comm.PortOpen());
    h.clock.advance(1);
    EXPECT_TRUE(h.comm.PortOpen());
    EXPECT_EQ(w.statusbox.Text, "Waiting for connection - Port 1");
    EXPECT_TRUE(contains(w.statusbox.ToolTip, "went away"));

    h.feed("u1A\r");
    EXPECT_EQ(w.statusbox.Text, kConnected);
    EXPECT_EQ(h.comm.opens, 2);
    EXPECT_EQ(h.model.failureCount(), 0);
}

// By default the search after a loss is RESET's: one round, then nothing until RESET, so
// nothing is sent to whatever device appears on those paths later.
TEST_F(LinkLost, AfterALossOneSearchRunsAndThenWaitsForReset)
{
    h.connect();
    h.comm.presentPorts.clear();
    h.comm.hangUp("/dev/ttyUSB0: the device went away");
    EXPECT_EQ(status.kinds.back(), RunEventKind::LinkLost);
    EXPECT_FALSE(h.model.searchEnded());
    h.clock.advance(8000);
    EXPECT_EQ(w.statusbox.Text, "Valid comm port not found");
    EXPECT_EQ(status.kinds.back(), RunEventKind::SearchEnded);
    EXPECT_TRUE(h.model.searchEnded());
    EXPECT_FALSE(w.Timer5.Enabled());
    EXPECT_TRUE(contains(w.statusbox.ToolTip, "went away"));
    h.comm.presentPorts = {1};
    const int opens = h.comm.opens;
    h.clock.advance(600000);
    EXPECT_EQ(h.comm.opens, opens);
    h.model.Command5_Click();
    ASSERT_TRUE(h.clock.runUntil([&] { return tagIs(w.Tag, 1); }, 3000));
    EXPECT_FALSE(h.model.searchEnded());
    h.feed("u1A\r");
    EXPECT_EQ(w.statusbox.Text, kConnected);
}

TEST_F(LinkLost, WithReconnectTheSearchGoesOnUntilTheAdapterIsBack)
{
    h.model.setReconnect(true);
    h.connect();
    h.comm.presentPorts.clear();
    h.comm.hangUp("/dev/ttyUSB0: the device went away");

    // Each round shows the scan's own texts: every port in turn, then one interval's pause
    // with "Valid comm port not found", then port 1 again.
    std::vector<std::string> seen{w.statusbox.Text};
    for (int t = 0; t < 14000; t += 100) {
        h.clock.advance(100);
        if (w.statusbox.Text != seen.back())
            seen.push_back(w.statusbox.Text);
    }
    const std::vector<std::string> round{"Comm port: 1", "Comm port: 2", "Comm port: 3",
                                         "Valid comm port not found"};
    std::vector<std::string> expected{kLost};
    expected.insert(expected.end(), round.begin(), round.end());
    expected.insert(expected.end(), round.begin(), round.end());
    expected.push_back("Comm port: 1");
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(contains(w.statusbox.ToolTip, "went away"));
    EXPECT_TRUE(contains(w.statusbox.ToolTip, "Port 1: no such device"));
    EXPECT_TRUE(w.Timer5.Enabled());

    // Ten minutes later the adapter is plugged back in: found within one round.
    h.clock.advance(600000);
    h.comm.presentPorts = {1};
    ASSERT_TRUE(h.clock.runUntil([&] { return tagIs(w.Tag, 1); }, 6000));
    h.feed("u1A\r");
    EXPECT_EQ(w.statusbox.Text, kConnected);
    EXPECT_FALSE(w.Timer5.Enabled());
    EXPECT_EQ(h.model.failureCount(), 0);
}

TEST_F(LinkLost, ResetDuringTheEndlessSearchSearchesOnceAsAtLaunch)
{
    h.model.setReconnect(true);
    h.connect();
    h.comm.presentPorts.clear();
    h.comm.hangUp("gone");
    h.clock.advance(20000);
    ASSERT_TRUE(w.Timer5.Enabled());

    // RESET is the user's own search, which gives up after port 3 as it always has.
    h.model.Command5_Click();
    h.clock.advance(6000);
    EXPECT_EQ(w.statusbox.Text, "Valid comm port not found");
    EXPECT_FALSE(w.Timer5.Enabled());
    h.clock.advance(30000);
    EXPECT_EQ(w.statusbox.Text, "Valid comm port not found");
    EXPECT_EQ(h.comm.opens, 1);

    // A search that starts at launch gives up too: only a lost link searches on.
    Harness fresh;
    fresh.model.Form_Load();
    fresh.clock.advance(6000);
    EXPECT_EQ(fresh.w.statusbox.Text, "Valid comm port not found");
    EXPECT_FALSE(fresh.w.Timer5.Enabled());
}

TEST_F(LinkLost, APortFailingBeforeAConnectionIsOnlyNotedInTheTooltip)
{
    // While a port is probed the scan moves on by itself.
    h.comm.presentPorts = {1, 2, 3};
    h.model.Form_Load();
    h.clock.advance(1500);
    h.comm.hangUp("port 1 went away");
    EXPECT_EQ(w.statusbox.Text, "Waiting for connection - Port 1");
    EXPECT_TRUE(contains(w.statusbox.ToolTip, "Port 1: port 1 went away"));
    h.clock.advance(3000);
    EXPECT_EQ(w.statusbox.Text, "Waiting for connection - Port 2");

    // After the scan has given up, port 3 left open fails: no link was lost.
    h.clock.advance(6000);
    ASSERT_EQ(w.statusbox.Text, "Valid comm port not found");
    h.comm.hangUp("port 3 went away");
    EXPECT_EQ(w.statusbox.Text, "Valid comm port not found");
    EXPECT_TRUE(contains(w.statusbox.ToolTip, "Port 3: port 3 went away"));
    EXPECT_FALSE(w.Timer5.Enabled());
}

TEST_F(LinkLost, SilenceIsShownAfterThreeSecondsAndTheNextReplyClearsIt)
{
    h.connect();
    h.clock.advance(2999);
    EXPECT_EQ(w.statusbox.Text, kConnected);
    h.clock.advance(1);
    EXPECT_EQ(w.statusbox.Text, kNoAnswer);
    EXPECT_EQ(status.kinds.back(), RunEventKind::NoAnswer);
    EXPECT_FALSE(w.statusbox.ToolTip.empty());

    // Polling goes on as before.
    const std::size_t sent = h.comm.written.size();
    h.clock.advance(2000);
    EXPECT_GT(h.comm.written.size(), sent);
    EXPECT_TRUE(w.Timer1.Enabled());

    // Bare line ends, or half a line, are no answer; the line's end is.
    h.feed("\r\n");
    h.feed("x01");
    EXPECT_EQ(w.statusbox.Text, kNoAnswer);
    h.feed("00\r");
    EXPECT_EQ(w.statusbox.Text, kConnected);
    EXPECT_EQ(w.statusbox.ToolTip, "");
    EXPECT_EQ(w.rpmtarget, 256);

    // Every reply starts the three seconds again.
    for (int i = 0; i < 10; ++i) {
        h.clock.advance(2900);
        h.feed("w8C\r");
    }
    EXPECT_EQ(w.statusbox.Text, kConnected);
    h.clock.advance(3000);
    EXPECT_EQ(w.statusbox.Text, kNoAnswer);
}

TEST_F(LinkLost, ResetOrALostLinkStopsTheSilenceWatch)
{
    h.connect();
    h.clock.advance(2000);
    h.model.Command5_Click();
    h.clock.advance(1400); // 3.4 s after the last reply, before the first scan tick
    EXPECT_EQ(w.statusbox.Text, "");

    h.clock.advance(100);
    h.feed("u1A\r");
    ASSERT_EQ(w.statusbox.Text, kConnected);
    h.clock.advance(2000);
    h.comm.hangUp("gone");
    h.clock.advance(1400);
    EXPECT_EQ(w.statusbox.Text, kLost);
}

namespace {

// The window on the simulated module, sampling the status line every 10 ms.
struct AgainstTheSimulator : ::testing::Test
{
    VirtualClock clock;
    ModuleSim module;
    SimComm comm{clock, module};
    WindowModel model{comm, clock};
    WindowState &w = test::writableState(model);

    void connect()
    {
        model.Form_Load();
        ASSERT_TRUE(clock.runUntil([&] { return w.statusbox.Text == kConnected; }, 3000));
    }
    // Texts the status line showed over the next ms, in order, without repeats.
    std::vector<std::string> statusOver(std::int64_t ms)
    {
        std::vector<std::string> seen{w.statusbox.Text};
        for (std::int64_t t = 0; t < ms; t += 10) {
            clock.advance(10);
            if (w.statusbox.Text != seen.back())
                seen.push_back(w.statusbox.Text);
        }
        return seen;
    }
};

} // namespace

TEST_F(AgainstTheSimulator, NormalPollingNeverLooksSilent)
{
    // From the connection on: the read-back burst, the paused standing polls, an engine run
    // that switches the poll from /p to /b, a slider write and a store.
    connect();
    const std::vector<std::string> seen = statusOver(20000);
    w.maxrpmscroll.Visible = true;
    model.moveSlider(w.maxrpmscroll, 12);
    model.Command3_Click();
    const std::vector<std::string> later = statusOver(module.cycleLengthMs());
    EXPECT_EQ(seen, std::vector<std::string>{kConnected});
    EXPECT_EQ(later, std::vector<std::string>{kConnected});
    EXPECT_EQ(module.parameter('m'), 12);
    EXPECT_GE(module.storeCount(), 1);
}

TEST_F(AgainstTheSimulator, ASlowModuleIsNotSilent)
{
    module.setFaults({false, 0.0, 900, 300, 0.0, 0.0});
    model.Form_Load();
    ASSERT_TRUE(clock.runUntil([&] { return w.statusbox.Text == kConnected; }, 12000));
    EXPECT_EQ(statusOver(30000), std::vector<std::string>{kConnected});
}

TEST_F(AgainstTheSimulator, AModuleThatStopsAnsweringIsReportedUntilItAnswersAgain)
{
    connect();
    clock.advance(5000);
    const std::size_t commands = module.commandLog().size();
    module.setFaults({true, 0.0, 0, 0, 0.0, 0.0});
    // Whatever was in flight arrives; then silence for three seconds, within one poll cycle.
    const std::vector<std::string> quiet = statusOver(4000);
    EXPECT_EQ(quiet, (std::vector<std::string>{kConnected, kNoAnswer}));
    EXPECT_GT(module.commandLog().size(), commands + 10); // still polled

    module.setFaults({});
    const std::vector<std::string> back = statusOver(1000);
    EXPECT_EQ(back, (std::vector<std::string>{kNoAnswer, kConnected}));
    EXPECT_EQ(model.failureCount(), 0);
}

namespace {

// The adapter of port 1 pulled out and put back: a pull while the port is open is the hang-up
// the serial layer reports.
struct Replugging : AgainstTheSimulator
{
    std::vector<std::string> told;

    Replugging()
    {
        model.setMessageListener([this](const std::string &text) { told.push_back(text); });
    }
    void unplug()
    {
        comm.presentPorts.clear();
        if (comm.PortOpen())
            comm.hangUp("/dev/ttyUSB0: the device went away");
    }
    void plug() { comm.presentPorts = {1}; }
    bool allReported() const
    {
        for (const Parameter &p : kParameters)
            if (!tagIs((w.*p.box).Tag, 1) || writePending(w.*p.slider))
                return false;
        return true;
    }
    ParameterTraffic &traffic(char letter)
    {
        return w.traffic[indexOf(*parameterByLetter(letter))];
    }
    bool toldOf(const std::string &part) const
    {
        for (const std::string &text : told)
            if (contains(text, part))
                return true;
        return false;
    }
};

} // namespace

TEST_F(Replugging, WithReconnectAModuleBackTwoSecondsAfterTheLossIsFound)
{
    model.setReconnect(true);
    connect();
    for (int round = 0; round < 3; ++round) {
        unplug();
        ASSERT_EQ(w.statusbox.Text, kLost);
        // The user is told why the status line now goes round the ports.
        ASSERT_FALSE(told.empty());
        EXPECT_EQ(told.back(), "Link lost on Comm Port 1; searching until the module answers. "
                               "/dev/ttyUSB0: the device went away");
        clock.advance(2000);
        plug();
        // The first search tried port 1 while it was away; the next round finds it.
        EXPECT_TRUE(clock.runUntil([&] { return w.statusbox.Text == kConnected; }, 12000))
            << round << ": " << w.statusbox.Text;
        EXPECT_EQ(told.back(), "Connected again on Comm Port 1");
    }
    EXPECT_EQ(model.failureCount(), 0);
}

TEST_F(Replugging, WithReconnectReplugsEverySecondForAMinuteNeverEndTheSearch)
{
    model.setReconnect(true);
    connect();
    for (int second = 0; second < 60; ++second) {
        if (second % 2 == 0)
            unplug();
        else
            plug();
        clock.advance(1000);
        ASSERT_TRUE(w.Timer5.Enabled() || w.statusbox.Text == kConnected) << second;
    }
    plug();
    EXPECT_TRUE(clock.runUntil([&] { return w.statusbox.Text == kConnected; }, 12000))
        << w.statusbox.Text;
}

// Another module on the same path: everything is read from it before anything is written, the
// window and a restore point hold its values, and the change meant for the module before is
// not written into it.
TEST_F(Replugging, AnotherModuleOnTheSamePathIsReadAfreshAndGetsNothingMeantForTheFirst)
{
    const std::string letters = "dltvcmn";
    const std::vector<int> first{2, 1, 1, 2, -2, 12, 20};
    const std::vector<int> second{7, 3, 2, 1, 3, 9, 30};
    for (std::size_t i = 0; i < letters.size(); ++i)
        module.setParameter(letters[i], first[i]);
    std::vector<Snapshot> taken;
    HistoryWatcher watcher(
        model, [] { return Stamp{}; }, [&](const Snapshot &s) { taken.push_back(s); });
    model.setChangeListener([&] { watcher.update(); });
    connect();
    ASSERT_TRUE(clock.runUntil([&] { return allReported(); }, 30000));
    model.moveSlider(w.ledscroll, 2); // not sent before the link goes
    model.Command3_Click();           // waits for it
    unplug();
    EXPECT_TRUE(toldOf("The store was not sent: the link was lost"));
    model.moveSlider(w.cyclescroll, 5); // while no module is connected: nothing changes
    model.Command3_Click();
    EXPECT_EQ(w.cyclescroll.Value(), 2);
    EXPECT_TRUE(toldOf("Not confirmed before the link was lost, and not sent again: LED MODE"));
    EXPECT_TRUE(toldOf("The module is not connected"));

    for (std::size_t i = 0; i < letters.size(); ++i)
        module.setParameter(letters[i], second[i]);
    module.setFirmwareVersion(0x1B);
    clock.advance(8000);
    plug();
    module.clearCommandLog();
    model.Command5_Click();
    ASSERT_TRUE(clock.runUntil([&] { return w.statusbox.Text == kConnected; }, 6000));
    EXPECT_FALSE(reportedConfig(model));
    ASSERT_TRUE(clock.runUntil([&] { return allReported(); }, 30000));

    const std::optional<ConfigValues> config = reportedConfig(model);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->firmware, "27");
    // The restore point of this connection holds this module's values.
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken.back().event, SnapshotEvent::Connected);
    EXPECT_EQ(taken.back().config.values, config->values);
    for (std::size_t i = 0; i < letters.size(); ++i) {
        EXPECT_EQ(config->values[i], second[i]) << letters[i];
        EXPECT_EQ(module.parameter(letters[i]), second[i]) << letters[i];
        EXPECT_EQ((w.*kParameters[i].slider).Value(), second[i]) << letters[i];
    }
    std::string asked;
    for (const std::string &command : module.commandLog()) {
        if (command.size() == 2 && letters.find(command[1]) != std::string::npos)
            asked += command[1];
        // Writes are only the connection's write-backs of this module's own values.
        if (command.size() > 2 && command[1] >= 'A' && command[1] <= 'Z' && command[1] != 'W') {
            const char letter = char(command[1] - 'A' + 'a');
            EXPECT_EQ(std::stoi(command.substr(2)), second[letters.find(letter)]) << command;
        }
        EXPECT_NE(command[1], 'W') << "a store nobody asked this module for";
    }
    for (char letter : letters)
        EXPECT_NE(asked.find(letter), std::string::npos) << letter << " never read";
}

// A module that answers again after a silence may be another one on the same adapter: its
// firmware and values are read again before any write.
TEST_F(Replugging, AModuleThatAnswersAfterASilenceIsReadAgain)
{
    connect();
    ASSERT_TRUE(clock.runUntil([&] { return allReported(); }, 30000));
    module.setFaults({true, 0.0, 0, 0, 0.0, 0.0});
    clock.advance(4000);
    ASSERT_FALSE(model.isConnected());
    module.setParameter('n', module.parameter('n') == 30 ? 25 : 30);
    module.setFaults({});
    ASSERT_TRUE(clock.runUntil([&] { return model.isConnected(); }, 3000));
    EXPECT_FALSE(model.lastReported(*parameterByLetter('n')));
    module.clearCommandLog();
    ASSERT_TRUE(clock.runUntil([&] { return allReported() && tagIs(w.revdata.Tag, 1); }, 30000));
    EXPECT_EQ(w.maxadvancescroll.Value(), module.parameter('n'));
    const std::vector<std::string> &log = module.commandLog();
    EXPECT_NE(std::find(log.begin(), log.end(), "/u"), log.end());
}
