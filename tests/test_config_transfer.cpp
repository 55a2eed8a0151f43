// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_comm.h"

#include "config_transfer.h"
#include "window_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace quelo;
using quelo::sim::ModuleSim;
using quelo::test::SimComm;
using quelo::test::VirtualClock;

namespace {

// The simulator behind a line that rewrites chosen commands on their way to the module, e.g.
// a write the module should see out of its range (so it keeps its value), or a read it should
// never see.
class RewritingSimComm : public SimComm
{
public:
    using SimComm::SimComm;
    std::map<std::string, std::string> rewrites;

protected:
    void onOutput(const std::string &text) override
    {
        for (char ch : text) {
            m_line.push_back(ch);
            if (ch != '\r')
                continue;
            const std::string body = m_line.substr(0, m_line.size() - 1);
            const auto it = rewrites.find(body);
            SimComm::onOutput(it == rewrites.end() ? m_line : it->second + "\r");
            m_line.clear();
        }
    }

private:
    std::string m_line;
};

constexpr std::int64_t kTimeoutMs = 45000; // seven changes take about 39 s
constexpr char kLetters[] = "dltvcmn"; // file order

// The window model on the simulated module in virtual time, with a transfer watching it after
// every event.
struct Bench
{
    VirtualClock clock;
    ModuleSim module;
    RewritingSimComm comm{clock, module};
    WindowModel model{comm, clock};
    std::vector<std::string> progress;

    ConfigTransfer run(ConfigTransfer transfer)
    {
        model.setChangeListener([&] { transfer.update(); });
        model.Form_Load();
        clock.runUntil([&] { return transfer.finished(); }, kTimeoutMs + 5000);
        model.setChangeListener({});
        return transfer;
    }
    ConfigTransfer exportConfig()
    {
        return run(ConfigTransfer::exportFrom(
            model, [this] { return clock.now(); }, kTimeoutMs, recorder()));
    }
    ConfigTransfer importConfig(const ConfigValues &config)
    {
        return run(ConfigTransfer::importInto(
            model, config, [this] { return clock.now(); }, kTimeoutMs, recorder()));
    }
    ConfigTransfer::Progress recorder()
    {
        return [this](const std::string &text) { progress.push_back(text); };
    }
    void setModule(const std::array<int, 7> &values)
    {
        for (std::size_t i = 0; i < values.size(); ++i)
            ASSERT_TRUE(module.setParameter(kLetters[i], values[i]));
    }
    std::array<int, 7> moduleValues() const
    {
        std::array<int, 7> values{};
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = module.parameter(kLetters[i]);
        return values;
    }
    // Parameter writes ("/D3", ...) and stores ("/W...") on the wire from entry `first` on.
    int count(char command, std::size_t first = 0) const
    {
        const auto &log = module.commandLog();
        return static_cast<int>(
            std::count_if(log.begin() + first, log.end(), [&](const std::string &l) {
                return l.size() > 2 && l[0] == '/' && l[1] == command;
            }));
    }
    int writes(std::size_t first = 0) const
    {
        int n = 0;
        for (char c : std::string("DLTVCMN"))
            n += count(c, first);
        return n;
    }
};

ConfigValues file(const std::array<int, 7> &values)
{
    ConfigValues c;
    c.values = values;
    return c;
}

bool contains(const std::vector<std::string> &lines, const std::string &line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

TEST(ConfigTransfer, ExportReadsWhatTheModuleReports)
{
    Bench s;
    // Negative advance shift: its read-back never moves the slider, so only the report counts.
    s.setModule({6, 3, 2, 0, -7, 15, 33});
    s.module.setFirmwareVersion(0x2B);
    const ConfigTransfer t = s.exportConfig();
    ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Done) << t.failure();
    EXPECT_EQ(t.values().values, (std::array<int, 7>{6, 3, 2, 0, -7, 15, 33}));
    EXPECT_EQ(t.values().firmware, "43");
    EXPECT_EQ(t.values().shown[1], "Sensor");
    EXPECT_EQ(t.values().shown[4], "-9.8");
    EXPECT_EQ(t.values().shown[5], "3840");
    EXPECT_EQ(t.values().shown, shownTexts(t.values()));
    EXPECT_TRUE(contains(s.progress, "connected on Comm Port 1"));
    EXPECT_TRUE(contains(s.progress, "7 of 7 parameters reported"));
    // The count only ever goes up, a line for each new report.
    int last = -1;
    for (const std::string &line : s.progress) {
        if (line.find(" of 7 parameters reported") == std::string::npos)
            continue;
        EXPECT_GT(std::stoi(line), last) << line;
        last = std::stoi(line);
    }
    EXPECT_EQ(s.module.storeCount(), 0);
    EXPECT_EQ(s.moduleValues(), (std::array<int, 7>{6, 3, 2, 0, -7, 15, 33}));
}

TEST(ConfigTransfer, ImportChangingEveryParameterStoresOnce)
{
    Bench s;
    s.setModule({2, 1, 1, 2, -4, 12, 25});
    const std::array<int, 7> wanted{5, 3, 0, 0, 6, 9, 20};
    const ConfigTransfer t = s.importConfig(file(wanted));
    ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Done) << t.failure();
    EXPECT_EQ(s.moduleValues(), wanted);
    EXPECT_EQ(s.module.storeCount(), 1);
    EXPECT_EQ(s.count('W'), 1);
    EXPECT_EQ(s.model.state().Command3.BackColor, kDarkGrey);
    EXPECT_EQ(s.progress.back(), "stored");
    // The store is the last thing asked of the module's configuration.
    const auto &log = s.module.commandLog();
    const auto store = std::find_if(log.begin(), log.end(),
                                    [](const std::string &l) { return l.rfind("/W", 0) == 0; });
    EXPECT_EQ(s.writes(static_cast<std::size_t>(store - log.begin())), 0);
}

TEST(ConfigTransfer, ImportWhereOnlyTheUnmovedSliderDiffers)
{
    // The advance-shift slider stays at 0 while the module holds -4: a file asking for 0 must
    // still reach the module.
    Bench s;
    s.setModule({2, 1, 1, 2, -4, 12, 25});
    const ConfigTransfer t = s.importConfig(file({2, 1, 1, 2, 0, 12, 25}));
    ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Done) << t.failure();
    EXPECT_EQ(s.module.parameter('c'), 0);
    EXPECT_EQ(s.module.storeCount(), 1);
    // Moving the slider off and back never put the intermediate value on the wire.
    EXPECT_EQ(s.count('C'), static_cast<int>(std::count(s.module.commandLog().begin(),
                                                        s.module.commandLog().end(), "/C0")));
}

TEST(ConfigTransfer, ImportEqualToTheModuleWritesNothingAndStoresOnce)
{
    Bench s;
    s.setModule({4, 0, 2, 1, 3, 10, 30});
    std::size_t writingFrom = 0;
    const ConfigTransfer t = s.run(ConfigTransfer::importInto(
        s.model, file({4, 0, 2, 1, 3, 10, 30}), [&] { return s.clock.now(); }, kTimeoutMs,
        [&](const std::string &text) {
            s.progress.push_back(text);
            if (text == "the module already holds every value")
                writingFrom = s.module.commandLog().size();
        }));
    ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Done) << t.failure();
    ASSERT_GT(writingFrom, 0u);
    EXPECT_EQ(s.writes(writingFrom), 0);
    EXPECT_EQ(s.module.storeCount(), 1);
    EXPECT_EQ(s.count('W'), 1);
}

// A module that keeps its own value instead of the file's: the import fails and stores
// nothing, whichever way the model ends the refused write.
TEST(ConfigTransfer, RefusedValueIsNeverStored)
{
    Bench s;
    s.setModule({2, 1, 1, 2, -4, 12, 25});
    s.module.setOutOfRangePolicy(sim::OutOfRangePolicy::EchoKeepOld);
    s.comm.rewrites["/M9"] = "/M99"; // the module sees an out-of-range value and keeps 12
    const ConfigTransfer t = s.importConfig(file({3, 1, 1, 2, -4, 9, 25}));
    ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Failed);
    EXPECT_EQ(s.module.storeCount(), 0);
    EXPECT_EQ(s.count('W'), 0);
    EXPECT_EQ(s.module.parameter('m'), 12);
    EXPECT_NE(t.failure().find("max_rpm_limit"), std::string::npos) << t.failure();
}

TEST(ConfigTransfer, RefusedValueIsListedWithAskedAndKept)
{
    Bench s;
    s.setModule({2, 1, 1, 2, -4, 12, 25});
    s.module.setOutOfRangePolicy(sim::OutOfRangePolicy::EchoKeepOld);
    s.comm.rewrites["/M9"] = "/M99";
    const ConfigTransfer t = s.importConfig(file({3, 1, 1, 2, -4, 9, 25}));
    ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Failed);
    EXPECT_EQ(s.module.storeCount(), 0);
    EXPECT_EQ(s.count('W'), 0);
    EXPECT_EQ(s.module.parameter('d'), 3); // the other write still goes through
    ASSERT_EQ(t.refusals().size(), 1u) << t.failure();
    EXPECT_EQ(t.refusals()[0].key, "max_rpm_limit");
    EXPECT_EQ(t.refusals()[0].asked, 9);
    EXPECT_EQ(t.refusals()[0].kept, 12);
    EXPECT_NE(t.failure().find("max_rpm_limit asked 9, kept 12"), std::string::npos) << t.failure();
}

TEST(ConfigTransfer, TimeoutNamesWhatIsMissing)
{
    {
        Bench s;
        s.comm.rewrites["/v"] = "/q"; // the module never hears the tach-volts read
        const ConfigTransfer t = s.exportConfig();
        ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Failed);
        EXPECT_EQ(t.failure(), "timed out: not yet reported: tach_volts");
        EXPECT_GE(s.clock.now(), kTimeoutMs);
        EXPECT_TRUE(contains(s.progress, "6 of 7 parameters reported"));
    }
    {
        Bench s;
        s.module.setFaults({.silent = true});
        const ConfigTransfer t = s.exportConfig();
        ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Failed);
        EXPECT_EQ(t.failure().rfind("timed out: no module connected", 0), 0u) << t.failure();
    }
    {
        // Every write is lost on the way: after the bounded retries the module's value stands,
        // and nothing is stored.
        Bench s;
        s.setModule({2, 1, 1, 2, -4, 12, 25});
        s.comm.rewrites["/D7"] = "/q";
        const ConfigTransfer t = s.importConfig(file({7, 1, 1, 2, -4, 12, 25}));
        ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Failed);
        EXPECT_EQ(t.failure(), "the module did not take every value, nothing stored: "
                               "run_mode_start_delay asked 7, kept 2");
        EXPECT_EQ(s.module.storeCount(), 0);
    }
}

// Loading a file in the window: the sliders move as the user would move them, the module takes
// every value, STORE CONFIGURATION turns green, and nothing is stored until the user clicks it.
TEST(ConfigTransfer, MovingSlidersToAFileWritesItsValuesButNeverStores)
{
    Bench s;
    s.setModule({2, 1, 1, 2, -4, 12, 25});
    s.model.Form_Load();
    ASSERT_TRUE(s.clock.runUntil(
        [&] { return moduleConnected(s.model.state()) && reportedConfig(s.model.state()); },
        kTimeoutMs));
    // Stored: the store button is grey again.
    s.model.Command3_Click();
    ASSERT_TRUE(s.clock.runUntil([&] { return s.model.state().Command3.BackColor == kDarkGrey; },
                                 s.clock.now() + 5000));
    ASSERT_EQ(s.module.storeCount(), 1);
    const ConfigValues now = *reportedConfig(s.model.state());
    const std::size_t from = s.module.commandLog().size();

    // Advance shift asks for 0, which its slider already shows while the module holds -4.
    const std::array<int, 7> wanted{5, 1, 0, 2, 0, 9, 30};
    EXPECT_EQ(moveSlidersTo(s.model, now, file(wanted)), 5);
    EXPECT_EQ(s.model.state().Command3.BackColor, kGreen);
    ASSERT_TRUE(s.clock.runUntil(
        [&] { return s.moduleValues() == wanted && reportedConfig(s.model.state()); },
        s.clock.now() + kTimeoutMs))
        << "the module holds " << ::testing::PrintToString(s.moduleValues());
    EXPECT_EQ(reportedConfig(s.model.state())->values, wanted);
    s.clock.advance(5000);
    EXPECT_EQ(s.count('W', from), 0);
    EXPECT_EQ(s.module.storeCount(), 1);
    EXPECT_EQ(s.model.state().Command3.BackColor, kGreen); // the user still has to store
    // Only the five differing parameters were written, each with the file's value.
    EXPECT_EQ(s.count('L', from) + s.count('V', from), 0);
    EXPECT_GE(s.count('D', from), 1);
}
