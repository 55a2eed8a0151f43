// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_comm.h"

#include "config_transfer.h"
#include "window_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

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
// Long enough for any transfer below to end on its own bounds.
constexpr std::int64_t kRunLimitMs = 300000;
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
    // Called after every model event before the transfer looks: a test's way to change the
    // module, the line or the transfer's time at a chosen moment.
    std::function<void(ConfigTransfer &)> onEvent;
    // Added to the transfer's clock: a jump makes its deadline pass at once.
    std::int64_t skippedMs = 0;

    ConfigTransfer run(ConfigTransfer transfer)
    {
        model.setChangeListener([&] {
            if (onEvent)
                onEvent(transfer);
            transfer.update();
        });
        // The deadline is looked at as time passes, as the program's own ticker does: a model
        // with nothing to do (no module found) sends no events.
        const auto running = std::make_shared<bool>(true);
        std::function<void()> tick = [&, running] {
            if (!*running)
                return;
            transfer.update();
            clock.callAfter(1000, tick);
        };
        clock.callAfter(1000, tick);
        model.Form_Load();
        clock.runUntil([&] { return transfer.finished(); }, kRunLimitMs);
        *running = false;
        model.setChangeListener({});
        return transfer;
    }
    ConfigTransfer::Clock transferClock()
    {
        return [this] { return clock.now() + skippedMs; };
    }
    ConfigTransfer exportConfig()
    {
        return run(ConfigTransfer::exportFrom(model, transferClock(), kTimeoutMs, recorder()));
    }
    ConfigTransfer importConfig(const ConfigValues &config,
                                ConfigTransfer::Limits limits = kTimeoutMs)
    {
        return run(ConfigTransfer::importInto(model, config, transferClock(), limits, recorder()));
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

// A file saved from a module with the simulator's firmware (version 1A, shown as 26).
ConfigValues file(const std::array<int, 7> &values, const std::string &firmware = "26")
{
    ConfigValues c;
    c.values = values;
    c.firmware = firmware;
    return c;
}

bool has(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

// The index of the last command `line` in the module's log; -1 when it is not there.
long lastCommand(const ModuleSim &module, const std::string &line)
{
    const auto &log = module.commandLog();
    const auto it = std::find(log.rbegin(), log.rend(), line);
    return static_cast<long>(log.rend() - it) - 1;
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
    const ConfigTransfer t =
        s.run(ConfigTransfer::importInto(s.model, file({4, 0, 2, 1, 3, 10, 30}), s.transferClock(),
                                         kTimeoutMs, [&](const std::string &text) {
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

// One value refused among several: every other value the import wrote is put back, on a
// quick and on a slow module, whether the module keeps its value or clamps the one asked.
TEST(ConfigTransfer, RefusedValuePutsBackEveryOtherValueAndStoresNothing)
{
    const std::array<int, 7> start{2, 1, 1, 2, -4, 12, 25};
    for (const int latencyMs : {8, 900}) {
        for (const auto policy :
             {sim::OutOfRangePolicy::EchoKeepOld, sim::OutOfRangePolicy::EchoClamp}) {
            SCOPED_TRACE(::testing::Message()
                         << "latency " << latencyMs << " ms, policy " << static_cast<int>(policy));
            Bench s;
            s.setModule(start);
            s.module.setBaseLatencyMs(latencyMs);
            s.module.setOutOfRangePolicy(policy);
            s.comm.rewrites["/M9"] = "/M99"; // out of range: kept at 12 or clamped to 16
            const ConfigTransfer t = s.importConfig(file({3, 3, 1, 2, 5, 9, 25}));
            ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Failed);
            EXPECT_EQ(s.module.storeCount(), 0);
            EXPECT_EQ(s.count('W'), 0);
            EXPECT_EQ(s.moduleValues(), start);
            // The module did take the other values before they were put back.
            EXPECT_GE(lastCommand(s.module, "/D3"), 0);
            EXPECT_LT(lastCommand(s.module, "/D3"), lastCommand(s.module, "/D2"));
            EXPECT_GE(lastCommand(s.module, "/C5"), 0);
            EXPECT_LT(lastCommand(s.module, "/C5"), lastCommand(s.module, "/C-4"));
            ASSERT_EQ(t.refusals().size(), 1u) << t.failure();
            EXPECT_EQ(t.refusals()[0].key, "max_rpm_limit");
            EXPECT_EQ(t.refusals()[0].asked, 9);
            const bool clamped = policy == sim::OutOfRangePolicy::EchoClamp;
            EXPECT_EQ(t.refusals()[0].kept, clamped ? 16 : 12);
            EXPECT_TRUE(has(t.failure(), clamped ? "max_rpm_limit asked 9, kept 16"
                                                 : "max_rpm_limit asked 9, kept 12"))
                << t.failure();
            EXPECT_TRUE(has(t.failure(), "; put back run_mode_start_delay to 2, led_mode to 1, "
                                         "advance_shift to -4"))
                << t.failure();
            EXPECT_EQ(has(t.failure(), "max_rpm_limit to 12"), clamped) << t.failure();
            EXPECT_TRUE(has(t.failure(), "; nothing stored")) << t.failure();
            EXPECT_EQ(t.values().values, start);
        }
    }
}

// The deadline passes while the values are being written: each one written is put back.
TEST(ConfigTransfer, TimeoutMidwayPutsBackWhatWasWritten)
{
    Bench s;
    const std::array<int, 7> start{2, 1, 1, 2, -4, 12, 25};
    s.setModule(start);
    s.onEvent = [&](ConfigTransfer &) {
        if (s.module.parameter('d') == 5 && s.skippedMs == 0)
            s.skippedMs = 10 * kTimeoutMs;
    };
    const ConfigTransfer t = s.importConfig(file({5, 3, 0, 2, 5, 9, 30}));
    ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Failed);
    EXPECT_EQ(t.failure().rfind("timed out: not yet confirmed: ", 0), 0u) << t.failure();
    EXPECT_TRUE(has(t.failure(), "; put back run_mode_start_delay to 2")) << t.failure();
    EXPECT_TRUE(has(t.failure(), "; nothing stored")) << t.failure();
    EXPECT_EQ(s.moduleValues(), start);
    EXPECT_EQ(s.module.storeCount(), 0);
    EXPECT_EQ(s.count('W'), 0);
}

// Putting back fails too: the user learns each value now live in the module but not stored,
// whether the module refuses the earlier value or stops answering.
TEST(ConfigTransfer, FailedPutBackNamesEachValueLiveButNotStored)
{
    const std::array<int, 7> start{2, 1, 1, 2, -4, 12, 25};
    const ConfigValues wanted = file({5, 3, 1, 2, -4, 9, 25});
    {
        Bench s;
        s.setModule(start);
        s.comm.rewrites["/M9"] = "/M99"; // refused: the import fails
        s.onEvent = [&](ConfigTransfer &) {
            if (s.module.parameter('d') == 5) // from now on the module takes no other delay
                s.module.setAcceptedRange('d', {5, 5});
        };
        const ConfigTransfer t = s.importConfig(wanted);
        ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Failed);
        EXPECT_TRUE(has(t.failure(), "putting back failed: live in the module but not stored: "
                                     "run_mode_start_delay 5 (was 2)"))
            << t.failure();
        EXPECT_FALSE(has(t.failure(), "led_mode")) << "put back: " << t.failure();
        EXPECT_EQ(s.module.parameter('l'), 1);
        EXPECT_EQ(s.module.storeCount(), 0);
    }
    {
        Bench s;
        s.setModule(start);
        s.onEvent = [&](ConfigTransfer &) {
            if (s.module.parameter('d') == 5)
                s.module.setFaults({.silent = true});
        };
        const ConfigTransfer t = s.importConfig(wanted);
        ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Failed);
        EXPECT_EQ(t.failure().rfind("timed out: not yet confirmed: ", 0), 0u) << t.failure();
        EXPECT_TRUE(has(t.failure(), "; putting back timed out: live in the module but not "
                                     "stored: run_mode_start_delay unconfirmed (file's value 5, "
                                     "earlier value 2)"))
            << t.failure();
        // The module confirmed 9 before it fell silent; nothing is written to a silent module,
        // so 9 is what it holds.
        EXPECT_TRUE(has(t.failure(), "max_rpm_limit 9 (was 12)")) << t.failure();
        EXPECT_EQ(s.module.storeCount(), 0);
        // Putting back ends on its own bound after the import's own deadline.
        EXPECT_LE(s.clock.now(), kTimeoutMs + ConfigTransfer::kPutBackBaseMs +
                                     3 * ConfigTransfer::kMsPerValue + 1000);
    }
}

// Told to stop (a signal): before writing, nothing is written; while writing, everything
// written is put back, and a second stop ends putting back at once; once the store is on the
// wire, its echo is waited for.
TEST(ConfigTransfer, InterruptionPutsBackAndNeverStores)
{
    const std::array<int, 7> start{2, 1, 1, 2, -4, 12, 25};
    const ConfigValues wanted = file({5, 3, 0, 2, 5, 9, 30});
    {
        Bench s;
        s.setModule(start);
        s.onEvent = [&](ConfigTransfer &t) {
            if (s.model.isConnected())
                t.interrupt();
        };
        const ConfigTransfer t = s.importConfig(wanted);
        ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Failed);
        EXPECT_EQ(t.failure(), "interrupted; nothing written");
        EXPECT_EQ(s.writes(), 0);
    }
    {
        Bench s;
        s.setModule(start);
        bool interrupted = false;
        s.onEvent = [&](ConfigTransfer &t) {
            if (s.module.parameter('d') == 5 && !interrupted) {
                interrupted = true;
                t.interrupt();
            }
        };
        const ConfigTransfer t = s.importConfig(wanted);
        ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Failed);
        EXPECT_EQ(t.failure().rfind("interrupted; put back run_mode_start_delay to 2", 0), 0u)
            << t.failure();
        EXPECT_EQ(s.moduleValues(), start);
        EXPECT_EQ(s.module.storeCount(), 0);
        EXPECT_EQ(s.count('W'), 0);
    }
    {
        Bench s;
        s.setModule(start);
        s.onEvent = [&](ConfigTransfer &t) {
            if (s.module.parameter('d') == 5 && t.phase() == ConfigTransfer::Phase::Writing) {
                t.interrupt();
                t.interrupt();
            }
        };
        const ConfigTransfer t = s.importConfig(wanted);
        ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Failed);
        EXPECT_TRUE(has(t.failure(), "interrupted again while putting back: live in the module "
                                     "but not stored: run_mode_start_delay unconfirmed"))
            << t.failure();
        EXPECT_EQ(s.module.storeCount(), 0);
    }
    {
        Bench s;
        s.setModule(start);
        s.onEvent = [&](ConfigTransfer &t) {
            if (t.phase() == ConfigTransfer::Phase::Storing)
                t.interrupt();
        };
        const ConfigTransfer t = s.importConfig(wanted);
        ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Done) << t.failure();
        EXPECT_EQ(s.module.storeCount(), 1);
        EXPECT_EQ(s.moduleValues(), wanted.values);
    }
}

// A file saved from a module with other firmware is refused before anything goes out, unless
// the caller accepts any firmware.
TEST(ConfigTransfer, FileFromOtherFirmwareIsRefusedBeforeAnythingIsWritten)
{
    const std::array<int, 7> start{2, 1, 1, 2, -4, 12, 25};
    const std::array<int, 7> wanted{5, 3, 0, 2, 5, 9, 30};
    for (const std::string firmware : {"99", ""}) {
        Bench s;
        s.setModule(start);
        const ConfigTransfer t = s.importConfig(file(wanted, firmware));
        ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Failed);
        EXPECT_TRUE(t.firmwareRefused());
        EXPECT_EQ(t.failure(), "the file was saved from firmware " +
                                   (firmware.empty() ? "(not named in the file)" : firmware) +
                                   "; the connected module has firmware 26; nothing written");
        // The connection writes back what the module reports; no other value goes out.
        for (const std::string &line : s.module.commandLog()) {
            const Parameter *p = line.size() > 2 ? parameterByWriteLetter(line[1]) : nullptr;
            if (p) {
                EXPECT_EQ(line.substr(2), std::to_string(start[indexOf(*p)])) << line;
            }
        }
        EXPECT_EQ(s.module.storeCount(), 0);
        EXPECT_EQ(s.moduleValues(), start);
    }
    Bench s;
    s.setModule(start);
    ConfigTransfer transfer =
        ConfigTransfer::importInto(s.model, file(wanted, "99"), s.transferClock(), kTimeoutMs);
    transfer.acceptAnyFirmware();
    const ConfigTransfer t = s.run(std::move(transfer));
    ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Done) << t.failure();
    EXPECT_FALSE(t.firmwareRefused());
    EXPECT_EQ(s.moduleValues(), wanted);
    EXPECT_EQ(s.module.storeCount(), 1);
}

// The file's firmware text is named in messages, never repeated at length or raw.
TEST(ConfigTransfer, FirmwareMismatchNamesBothVersionsSafely)
{
    EXPECT_EQ(firmwareMismatch("26", "26"), "");
    EXPECT_EQ(firmwareMismatch("99", "26"),
              "saved from firmware 99; the connected module has firmware 26");
    EXPECT_EQ(firmwareMismatch("", ""),
              "saved from firmware (not named in the file); the connected module has firmware ");
    EXPECT_EQ(firmwareMismatch("\x1b[2J" + std::string(100000, '9'), "26"),
              "saved from firmware ?[2J99999999999999999999...; the connected module has "
              "firmware 26");
}

// A module answering 0.9 s late: an import changing all seven values fits the default time,
// which grows with the values to write.
TEST(ConfigTransfer, DefaultTimeFitsAWholeImportOnASlowModule)
{
    Bench s;
    s.setModule({2, 1, 1, 2, -4, 12, 25});
    s.module.setBaseLatencyMs(900);
    const std::array<int, 7> wanted{5, 3, 0, 0, 6, 9, 20};
    const ConfigTransfer t =
        s.importConfig(file(wanted), {kTimeoutMs, ConfigTransfer::kMsPerValue});
    ASSERT_EQ(t.phase(), ConfigTransfer::Phase::Done) << t.failure();
    EXPECT_EQ(s.moduleValues(), wanted);
    EXPECT_EQ(s.module.storeCount(), 1);
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
        EXPECT_EQ(t.failure(), "the module did not take every value: run_mode_start_delay asked "
                               "7, kept 2; nothing was changed; nothing stored");
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
    ASSERT_TRUE(s.clock.runUntil([&] { return s.model.isConnected() && reportedConfig(s.model); },
                                 kTimeoutMs));
    // Stored: the store button is grey again.
    s.model.Command3_Click();
    ASSERT_TRUE(s.clock.runUntil([&] { return s.model.state().Command3.BackColor == kDarkGrey; },
                                 s.clock.now() + 5000));
    ASSERT_EQ(s.module.storeCount(), 1);
    const ConfigValues now = *reportedConfig(s.model);
    const std::size_t from = s.module.commandLog().size();

    // Advance shift asks for 0, which its slider already shows while the module holds -4.
    const std::array<int, 7> wanted{5, 1, 0, 2, 0, 9, 30};
    EXPECT_EQ(moveSlidersTo(s.model, now, file(wanted)), 5);
    EXPECT_EQ(s.model.state().Command3.BackColor, kGreen);
    ASSERT_TRUE(
        s.clock.runUntil([&] { return s.moduleValues() == wanted && reportedConfig(s.model); },
                         s.clock.now() + kTimeoutMs))
        << "the module holds " << ::testing::PrintToString(s.moduleValues());
    EXPECT_EQ(reportedConfig(s.model)->values, wanted);
    s.clock.advance(5000);
    EXPECT_EQ(s.count('W', from), 0);
    EXPECT_EQ(s.module.storeCount(), 1);
    EXPECT_EQ(s.model.state().Command3.BackColor, kGreen); // the user still has to store
    // Only the five differing parameters were written, each with the file's value.
    EXPECT_EQ(s.count('L', from) + s.count('V', from), 0);
    EXPECT_GE(s.count('D', from), 1);
}
