// SPDX-License-Identifier: GPL-3.0-or-later
// Restore points and undo steps in virtual time, on the simulated module: when the history
// takes a restore point, which ones it keeps, and undo and redo going through the usual path.
#include "sim_comm.h"

#include "config_change.h"
#include "config_transfer.h"
#include "history.h"
#include "history_watcher.h"
#include "window_model.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quelo;
using quelo::sim::ModuleSim;
using quelo::test::SimComm;
using quelo::test::VirtualClock;

namespace {

constexpr char kLetters[] = "dltvcmn"; // file order
constexpr std::size_t kMaxRpm = 5;     // index of max_rpm_limit

// The window model on the simulated module, with a history watcher whose sink keeps what a
// history folder would keep.
struct Bench
{
    VirtualClock clock;
    ModuleSim module;
    SimComm comm{clock, module};
    WindowModel model{comm, clock};
    HistoryList kept;
    std::vector<Snapshot> taken;
    HistoryWatcher watcher{model,
                           [this] {
                               return Stamp{1'700'000'000'000 + clock.now(), 60, 0};
                           },
                           [this](const Snapshot &s) {
                               taken.push_back(s);
                               if (!kept.repeatsNewest(s))
                                   kept.add(s);
                           }};

    Bench()
    {
        const std::array<int, 7> start{2, 1, 1, 2, 0, 12, 25};
        for (std::size_t i = 0; i < start.size(); ++i)
            module.setParameter(kLetters[i], start[i]);
        model.setRunObserver(&watcher);
        model.setChangeListener([this] { watcher.update(); });
    }
    bool settle(std::int64_t limitMs = 30000)
    {
        return clock.runUntil([&] { return model.isConnected() && reportedConfig(model); },
                              limitMs);
    }
    bool connect()
    {
        model.Form_Load();
        return settle();
    }
    const ScrollBar &slider(std::size_t i) { return model.state().*kParameters[i].slider; }
    // Writes of one letter ("/M11") on the wire from log entry `first` on; a write repeated
    // until the module reports it back counts once.
    std::vector<std::string> writes(char letter, std::size_t first = 0) const
    {
        std::vector<std::string> found;
        const auto &log = module.commandLog();
        for (std::size_t i = first; i < log.size(); ++i)
            if (log[i].size() > 2 && log[i][0] == '/' && log[i][1] == letter &&
                (found.empty() || found.back() != log[i]))
                found.push_back(log[i]);
        return found;
    }
    // Runs until the module reports the slider's value back and nothing waits to be written.
    bool confirmed(std::int64_t limitMs = 15000)
    {
        clock.advance(1);
        return settle(limitMs);
    }
};

Snapshot snapshotAt(std::int64_t utcMs, const std::string &firmware, int maxRpm)
{
    Snapshot s;
    s.utcMs = utcMs;
    s.config.firmware = firmware;
    s.config.values = {2, 1, 1, 2, 0, maxRpm, 25};
    s.fileName = std::to_string(utcMs);
    return s;
}

} // namespace

TEST(HistoryWatcher, AConnectionTakesOneRestorePointAndAReconnectionWithTheSameValuesNone)
{
    Bench b;
    ASSERT_TRUE(b.connect());
    ASSERT_EQ(b.taken.size(), 1u);
    const Snapshot &first = b.taken.front();
    EXPECT_EQ(first.event, SnapshotEvent::Connected);
    EXPECT_EQ(first.port, 1);
    EXPECT_EQ(first.config.firmware, "26");
    EXPECT_EQ(first.config.values, (std::array<int, 7>{2, 1, 1, 2, 0, 12, 25}));
    EXPECT_EQ(first.utcOffsetMinutes, 60);
    // Running on while connected takes no more.
    b.clock.advance(20000);
    EXPECT_EQ(b.taken.size(), 1u);

    // RESET and the same module again: a restore point is offered, and the history keeps none.
    b.model.Command5_Click();
    ASSERT_TRUE(b.clock.runUntil([&] { return !b.model.isConnected(); }, 1000));
    ASSERT_TRUE(b.settle());
    b.clock.advance(5000);
    EXPECT_EQ(b.taken.size(), 2u);
    EXPECT_EQ(b.kept.entries().size(), 1u);
}

TEST(HistoryWatcher, AConfirmedStoreTakesAStoredRestorePointWithTheNewValue)
{
    Bench b;
    ASSERT_TRUE(b.connect());
    b.model.moveSlider(b.slider(kMaxRpm), 11);
    ASSERT_TRUE(b.confirmed());
    EXPECT_EQ(b.taken.size(), 1u) << "a change alone is no restore point";
    b.model.Command3_Click();
    ASSERT_TRUE(b.clock.runUntil([&] { return b.taken.size() == 2; }, 5000));
    EXPECT_EQ(b.module.storeCount(), 1);
    EXPECT_EQ(b.taken.back().event, SnapshotEvent::Stored);
    EXPECT_EQ(b.taken.back().config.values[kMaxRpm], 11);
    EXPECT_EQ(b.kept.entries().size(), 2u);
    EXPECT_EQ(b.kept.entries().front().event, SnapshotEvent::Stored);
}

TEST(HistoryWatcher, AnImportEndsInAnImportedRestorePointHoldingTheFilesValues)
{
    Bench b;
    ConfigValues file;
    file.values = {5, 3, 2, 0, -3, 9, 30};
    file.firmware = "26"; // the simulated module's
    b.watcher.labelNextStore(SnapshotEvent::Imported);
    ConfigTransfer transfer = ConfigTransfer::importInto(
        b.model, file, [&] { return b.clock.now(); }, 90000);
    // The watcher looks first, as in the program: the transfer starts writing in the same
    // event that completes the reports.
    b.model.setChangeListener([&] {
        b.watcher.update();
        transfer.update();
    });
    b.model.Form_Load();
    ASSERT_TRUE(b.clock.runUntil([&] { return transfer.finished(); }, 100000));
    ASSERT_EQ(transfer.phase(), ConfigTransfer::Phase::Done) << transfer.failure();
    ASSERT_EQ(b.kept.entries().size(), 2u);
    const Snapshot &imported = b.kept.entries().front();
    EXPECT_EQ(imported.event, SnapshotEvent::Imported);
    EXPECT_EQ(imported.config.values, file.values);
    EXPECT_EQ(b.kept.entries().back().event, SnapshotEvent::Connected);
    EXPECT_EQ(b.kept.entries().back().config.values[kMaxRpm], 12) << "the values before";
}

TEST(HistoryWatcher, ARestoreTakesItsRestorePointOnlyOnceTheModuleConfirmedTheValues)
{
    Bench b;
    ASSERT_TRUE(b.connect());
    b.model.moveSlider(b.slider(kMaxRpm), 8);
    b.watcher.expect(SnapshotEvent::Restored);
    EXPECT_EQ(b.taken.size(), 1u) << "the write is not confirmed yet";
    ASSERT_TRUE(b.confirmed());
    ASSERT_EQ(b.taken.size(), 2u);
    EXPECT_EQ(b.taken.back().event, SnapshotEvent::Restored);
    EXPECT_EQ(b.taken.back().config.values[kMaxRpm], 8);
}

TEST(HistoryList, KeepsTheNewest500AndSkipsARepeatOfTheNewestOfTheSameFirmware)
{
    HistoryList list;
    for (int i = 0; i < 505; ++i)
        EXPECT_EQ(list.add(snapshotAt(1000 + i, "26", i % 17)).size(), i < 500 ? 0u : 1u);
    ASSERT_EQ(list.entries().size(), 500u);
    EXPECT_EQ(list.entries().front().utcMs, 1504);
    EXPECT_EQ(list.entries().back().utcMs, 1005);

    // Repeats are judged against the newest of the same firmware only.
    EXPECT_TRUE(list.repeatsNewest(snapshotAt(2000, "26", 504 % 17)));
    EXPECT_FALSE(list.repeatsNewest(snapshotAt(2000, "26", 3)));
    list.add(snapshotAt(2001, "43", 3));
    EXPECT_TRUE(list.repeatsNewest(snapshotAt(2002, "26", 504 % 17)));
    EXPECT_FALSE(list.repeatsNewest(snapshotAt(2002, "43", 504 % 17)));

    // Taken in any order, kept newest first.
    HistoryList loaded;
    loaded.assign({snapshotAt(5, "26", 1), snapshotAt(9, "26", 2), snapshotAt(7, "26", 3)});
    EXPECT_EQ(loaded.entries()[0].utcMs, 9);
    EXPECT_EQ(loaded.entries()[2].utcMs, 5);
}

TEST(HistoryList, MarksTheValuesThatDifferFromTheRestorePointBefore)
{
    Snapshot older = snapshotAt(1, "26", 12);
    Snapshot newer = snapshotAt(2, "26", 11);
    newer.config.values[1] = 3;
    const auto changed = changedFrom(newer, &older);
    EXPECT_EQ(changed, (std::array<bool, 7>{false, true, false, false, false, true, false}));
    EXPECT_EQ(changedFrom(older, nullptr), (std::array<bool, 7>{}));

    newer.event = SnapshotEvent::Stored;
    newer.port = 2;
    newer.utcMs = 1765128265123;
    newer.utcOffsetMinutes = 60;
    const std::string values = "run_mode_start_delay=2 led_mode=Sensor tach_pulses_per_rev=1 "
                               "tach_volts=\"12 volts\" advance_shift=0 max_rpm_limit=2816 "
                               "max_advance_limit=35";
    EXPECT_EQ(historyLine(newer, "/h/a b.json", newer.utcMs),
              "2025-12-07T18:24:25.123+01:00 stored firmware=26 port=2 aircraft= " + values +
                  " /h/a b.json");
    // One restore point is one line, whatever its path holds; a time later than now is marked
    // without adding a field.
    EXPECT_EQ(historyLine(newer, "/h/x\n2099 stored\\\x7f\u2028.json", newer.utcMs - 1),
              "2025-12-07T18:24:25.123+01:00(future) stored firmware=26 port=2 aircraft= " +
                  values + " /h/x\\x0a2099 stored\\\\\\x7f\\u2028.json");
    // A name with a blank stays one word.
    newer.config.aircraft = "My Cub";
    EXPECT_EQ(historyLine(newer, "/h/c.json", newer.utcMs),
              "2025-12-07T18:24:25.123+01:00 stored firmware=26 port=2 aircraft=My\\x20Cub " +
                  values + " /h/c.json");
}

namespace {

// The field of a --history line under `key`: a word, or a text in double quotes.
std::string lineField(const std::string &line, const std::string &key)
{
    const std::size_t at = line.find(" " + key + "=");
    if (at == std::string::npos)
        return "<missing>";
    std::size_t i = at + key.size() + 2;
    if (i < line.size() && line[i] == '"') {
        std::string text;
        for (++i; i < line.size() && line[i] != '"'; ++i)
            text += line[i] == '\\' && i + 1 < line.size() ? line[++i] : line[i];
        return text;
    }
    return line.substr(i, line.find(' ', i) - i);
}

} // namespace

// Every value of every parameter, as the module reports it: the line a restore point of it
// makes shows what the value box showed on that report.
TEST(HistoryList, ALineShowsEachValueAsItsValueBoxShowedIt)
{
    Bench b;
    std::size_t rounds = 0;
    for (const Parameter &p : kParameters)
        rounds = std::max<std::size_t>(rounds, std::size_t(maxOf(p) - minOf(p) + 1));
    for (std::size_t round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < kParameterCount; ++i) {
            const int value =
                std::min<int>(minOf(kParameters[i]) + int(round), maxOf(kParameters[i]));
            ASSERT_TRUE(b.module.setParameter(kLetters[i], value));
        }
        const std::size_t taken = b.taken.size();
        if (round == 0) {
            ASSERT_TRUE(b.connect());
        } else {
            b.model.Command5_Click();
            ASSERT_TRUE(b.clock.runUntil([&] { return b.taken.size() > taken; }, 30000));
        }
        ASSERT_EQ(b.taken.size(), taken + 1);
        const std::string line = historyLine(b.taken.back(), "/h/a.json", 0);
        for (const Parameter &p : kParameters)
            EXPECT_EQ(lineField(line, p.key), (b.model.state().*p.box).Text) << line;
    }
}

// A clock once set ahead left restore points dated 2099: the one written now is still the
// newest, and the one written first of the others goes.
TEST(HistoryList, ANewRestorePointIsKeptWhateverTimeTheOthersClaim)
{
    constexpr std::int64_t k2099 = 4'070'908'800'000;
    HistoryList list(5);
    std::vector<Snapshot> future;
    for (int i = 0; i < 5; ++i)
        future.push_back(snapshotAt(k2099 + i, "26", i));
    list.assign(future);
    const std::vector<Snapshot> gone = list.add(snapshotAt(1'765'128'265'000, "26", 9));
    ASSERT_EQ(gone.size(), 1u);
    EXPECT_EQ(gone.front().utcMs, k2099);
    EXPECT_EQ(list.entries().front().utcMs, 1'765'128'265'000);
    EXPECT_EQ(list.entries().front().sequence, 1);
    list.add(snapshotAt(1'765'128'266'000, "26", 8));
    EXPECT_EQ(list.entries().front().sequence, 2);
    EXPECT_EQ(list.entries()[1].sequence, 1);

    // Read again: the order written, not the times, says which are newest.
    HistoryList reread(5);
    reread.assign(list.entries());
    EXPECT_EQ(reread.entries()[0].sequence, 2);
    EXPECT_EQ(reread.entries()[1].sequence, 1);
    EXPECT_EQ(reread.entries()[2].utcMs, k2099 + 4);
    EXPECT_TRUE(isInTheFuture(reread.entries()[2], 1'765'128'266'000));
}

TEST(Undo, NamesTheChangeInTheValueBoxesTexts)
{
    EXPECT_EQ(ConfigChange::sliderMove(kMaxRpm, 12, 11).text(), "MAX RPM LIMIT 3072 \u2192 2816");
    EXPECT_EQ(ConfigChange::sliderMove(1, 0, 3).text(), "LED MODE Kill Sw \u2192 Sensor");
    ConfigValues before;
    ConfigValues after;
    after.values[2] = 2;
    after.values[6] = 30;
    const ConfigChange load = ConfigChange::fileLoad("Load a.json", before, after);
    EXPECT_EQ(load.text(), "Load a.json");
    ASSERT_EQ(load.moves().size(), 2u);
    EXPECT_EQ(load.moves()[1].parameter, 6u);
    EXPECT_TRUE(ConfigChange::fileLoad("Load a.json", before, before).empty());
}

TEST(Undo, UndoWritesTheOldValueAndRedoTheNewThroughTheUsualPath)
{
    Bench b;
    ASSERT_TRUE(b.connect());
    const std::size_t mark = b.module.commandLog().size();
    b.model.moveSlider(b.slider(kMaxRpm), 11);
    const ConfigChange change = ConfigChange::sliderMove(kMaxRpm, 12, 11);
    ASSERT_TRUE(b.confirmed());
    EXPECT_EQ(b.module.parameter('m'), 11);

    change.undo(b.model);
    EXPECT_EQ(b.slider(kMaxRpm).Value(), 12);
    ASSERT_TRUE(b.confirmed());
    EXPECT_EQ(b.module.parameter('m'), 12);

    change.redo(b.model);
    ASSERT_TRUE(b.confirmed());
    EXPECT_EQ(b.module.parameter('m'), 11);
    EXPECT_EQ(b.writes('M', mark), (std::vector<std::string>{"/M11", "/M12", "/M11"}));
    EXPECT_EQ(b.module.storeCount(), 0) << "undo does not store";
}

// The module takes 11 but no longer takes 12 back: the undo is refused like any change, the
// slider shows what the module kept, and a later redo has nothing to move.
TEST(Undo, AnUndoTheModuleRefusesIsReportedAndTheModulesValueWins)
{
    Bench b;
    std::vector<std::string> told;
    b.model.linkLog().setSink([&](const std::string &line) { told.push_back(line); });
    ASSERT_TRUE(b.connect());
    b.model.moveSlider(b.slider(kMaxRpm), 11);
    ASSERT_TRUE(b.confirmed());
    ASSERT_TRUE(b.module.setAcceptedRange('m', {0, 11}));

    const ConfigChange change = ConfigChange::sliderMove(kMaxRpm, 12, 11);
    change.undo(b.model);
    ASSERT_TRUE(b.confirmed(20000));
    EXPECT_EQ(b.module.parameter('m'), 11);
    EXPECT_EQ(b.slider(kMaxRpm).Value(), 11);
    EXPECT_TRUE(std::any_of(told.begin(), told.end(), [](const std::string &line) {
        return line.find("refused: The module kept MAX RPM LIMIT at 2816 (asked 3072)") !=
               std::string::npos;
    }));
    const std::size_t mark = b.module.commandLog().size();
    change.redo(b.model);
    b.clock.advance(3000);
    EXPECT_TRUE(b.writes('M', mark).empty());
}
