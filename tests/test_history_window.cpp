// SPDX-License-Identifier: GPL-3.0-or-later
// History and undo in the window, on the simulated module in virtual time: the History window's
// rows and comparisons, Restore taking exactly the Load path, Edit > Undo and Redo of the
// user's moves, and a history folder that cannot be written.
#include "app_window.h"
#include "config_compare_dialog.h"
#include "config_file.h"
#include "config_transfer.h"
#include "history_store.h"
#include "history_window.h"
#include "main_window.h"
#include "sim_comm.h"
#include "window_model.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>

using namespace quelo;

namespace {

constexpr char kLetters[] = "dltvcmn"; // file order
constexpr std::size_t kLed = 1;
constexpr std::size_t kMaxRpm = 5;

class HistoryWindowTest : public ::testing::Test
{
protected:
    HistoryWindowTest()
    {
        const std::array<int, 7> start{2, 1, 1, 2, -4, 12, 25};
        for (std::size_t i = 0; i < start.size(); ++i)
            module.setParameter(kLetters[i], start[i]);
        window.changes().startHistory(dir.filePath(QStringLiteral("history")));
    }

    HistoryStore &store() { return *window.changes().store(); }
    bool settled(std::int64_t limitMs = 30000)
    {
        return clock.runUntil([&] { return model.isConnected() && reportedConfig(model); },
                              clock.now() + limitMs);
    }
    bool connectAndReport()
    {
        model.Form_Load();
        return settled();
    }
    // Moves a slider as the user does, through its scroll bar.
    void userMoves(std::size_t parameter, int value)
    {
        auto *bar = window.client().findChild<QScrollBar *>(
            QString::fromLatin1(kParameters[parameter].sliderName));
        ASSERT_NE(bar, nullptr);
        bar->setValue(value);
    }
    bool storeAndConfirm()
    {
        model.Command3_Click();
        const bool echoed = clock.runUntil(
            [&] { return model.state().Command3.BackColor == kDarkGrey; }, clock.now() + 5000);
        clock.advance(10);
        store().flush();
        return echoed;
    }
    std::array<int, 7> moduleValues() const
    {
        std::array<int, 7> values{};
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = module.parameter(kLetters[i]);
        return values;
    }
    // Parameter writes on the wire since log entry `mark`, all of them; or, `once`, a write
    // repeated until the module reports it back counted once.
    std::vector<std::string> writesSince(std::size_t mark, bool once = false) const
    {
        std::vector<std::string> found;
        const auto &log = module.commandLog();
        for (std::size_t i = mark; i < log.size(); ++i)
            if (log[i].size() > 2 && log[i][0] == '/' && std::isupper(log[i][1]) &&
                log[i][1] != 'W' && !(once && !found.empty() && found.back() == log[i]))
                found.push_back(log[i]);
        return found;
    }
    // Answers the next modal dialog with `respond`.
    void onNextDialog(std::function<void(QDialog &)> respond)
    {
        auto *poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, respond] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll->deleteLater();
            poll->stop();
            respond(*dialog);
        });
        poll->start(10);
    }
    // Three restore points: connected (max rpm 12), stored 11, stored 11 with LED mode 3.
    void makeThreeRestorePoints()
    {
        ASSERT_TRUE(connectAndReport());
        userMoves(kMaxRpm, 11);
        ASSERT_TRUE(settled());
        ASSERT_TRUE(storeAndConfirm());
        userMoves(kLed, 3);
        ASSERT_TRUE(settled());
        ASSERT_TRUE(storeAndConfirm());
        ASSERT_EQ(store().entries().size(), 3u);
    }

    test::VirtualClock clock;
    sim::ModuleSim module;
    test::SimComm comm{clock, module};
    WindowModel model{comm, clock};
    AppWindow window{model};
    QTemporaryDir dir;
};

} // namespace

TEST_F(HistoryWindowTest, ListsRestorePointsNewestFirstMarksChangesAndComparesTwo)
{
    makeThreeRestorePoints();
    QAction *history = window.findChild<QAction *>(QStringLiteral("actionHistory"));
    ASSERT_NE(history, nullptr);
    EXPECT_TRUE(history->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_H)));
    history->trigger();
    HistoryWindow *shown = window.changes().historyWindow();
    ASSERT_NE(shown, nullptr);
    ASSERT_TRUE(shown->isVisible());
    QTableWidget &table = shown->table();
    ASSERT_EQ(table.rowCount(), 3);
    const auto text = [&](int row, int column) { return table.item(row, column)->text(); };
    const auto marked = [&](int row, std::size_t parameter) {
        return table.item(row, HistoryWindow::kFirstValueColumn + static_cast<int>(parameter))
            ->data(HistoryWindow::kChangedRole)
            .toBool();
    };
    EXPECT_EQ(text(0, 1), "stored");
    EXPECT_EQ(text(1, 1), "stored");
    EXPECT_EQ(text(2, 1), "connected");
    EXPECT_EQ(text(0, 2), "26");
    EXPECT_EQ(text(0, HistoryWindow::kFirstValueColumn + kLed), "Sensor");
    EXPECT_EQ(text(2, HistoryWindow::kFirstValueColumn + kMaxRpm), "3072");
    EXPECT_EQ(text(1, HistoryWindow::kFirstValueColumn + kMaxRpm), "2816");
    int marks = 0;
    for (int row = 0; row < 3; ++row)
        for (std::size_t p = 0; p < kParameterCount; ++p)
            marks += marked(row, p) ? 1 : 0;
    EXPECT_EQ(marks, 2);
    EXPECT_TRUE(marked(0, kLed));
    EXPECT_TRUE(marked(1, kMaxRpm));

    // Two selected: side by side, older on the left.
    table.selectRow(0);
    table.selectionModel()->select(table.model()->index(2, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_EQ(shown->selected().size(), 2u);
    shown->compareSelected();
    auto *compare = shown->findChild<ConfigCompareDialog *>();
    ASSERT_NE(compare, nullptr);
    EXPECT_EQ(compare->differenceCount(), 2);
    EXPECT_TRUE(compare->findChild<QLabel *>("left/title")->text().endsWith("connected"));
    EXPECT_EQ(compare->findChild<QLabel *>("max_rpm_limit/left")->text(), "3072");
    EXPECT_EQ(compare->findChild<QLabel *>("max_rpm_limit/right")->text(), "2816");
    compare->close();

    // A new restore point while rows are selected: the selection stays on the same ones.
    userMoves(kMaxRpm, 9);
    ASSERT_TRUE(settled());
    ASSERT_TRUE(storeAndConfirm());
    ASSERT_EQ(table.rowCount(), 4);
    ASSERT_EQ(shown->selected().size(), 2u);
    EXPECT_EQ(shown->selected()[1].event, SnapshotEvent::Connected);

    // One selected: compared with the module as it is now.
    table.clearSelection();
    table.selectRow(3);
    window.compareWithModule(shown->selected().front());
    const auto dialogs = shown->findChildren<ConfigCompareDialog *>();
    ASSERT_FALSE(dialogs.isEmpty());
    ConfigCompareDialog *withModule = dialogs.last();
    EXPECT_TRUE(withModule->isVisible());
    EXPECT_EQ(withModule->differenceCount(), 2);
    EXPECT_EQ(withModule->findChild<QLabel *>("max_rpm_limit/left")->text(), "2304");
}

// Restore is Load of the restore point's file: the same preview, the same writes, no store;
// one undo step; and a "restored" restore point once the module has confirmed the values.
TEST_F(HistoryWindowTest, RestoreWritesExactlyWhatLoadOfTheSameFileWrites)
{
    makeThreeRestorePoints();
    const Snapshot connected = store().entries().back();
    const QString path = store().filePath(connected);
    const int stores = module.storeCount();

    std::size_t mark = module.commandLog().size();
    onNextDialog([](QDialog &d) { d.accept(); });
    window.restoreSnapshot(connected);
    ASSERT_TRUE(settled());
    const std::vector<std::string> restoreWrites = writesSince(mark);
    EXPECT_EQ(moduleValues(), connected.config.values);
    EXPECT_EQ(module.storeCount(), stores);
    store().flush();
    ASSERT_EQ(store().entries().size(), 4u);
    EXPECT_EQ(store().entries().front().event, SnapshotEvent::Restored);
    QUndoStack &undo = window.changes().undoStack();
    EXPECT_EQ(undo.count(), 3);
    EXPECT_TRUE(undo.undoText().startsWith("Restore ")) << undo.undoText().toStdString();

    // Back to where the restore started, then Load the same file.
    undo.undo();
    ASSERT_TRUE(settled());
    EXPECT_EQ(moduleValues()[kMaxRpm], 11);
    EXPECT_EQ(moduleValues()[kLed], 3);
    mark = module.commandLog().size();
    onNextDialog([](QDialog &d) { d.accept(); });
    window.loadFile(path);
    ASSERT_TRUE(settled());
    EXPECT_EQ(writesSince(mark), restoreWrites);
    ASSERT_FALSE(restoreWrites.empty());
}

TEST_F(HistoryWindowTest, UndoAndRedoMoveTheSliderAsTheUserWouldAndConnectingClearsThem)
{
    ASSERT_TRUE(connectAndReport());
    QUndoStack &undo = window.changes().undoStack();
    EXPECT_EQ(undo.count(), 0) << "read-backs moving sliders are not the user's moves";
    QAction *undoAction = window.findChild<QAction *>(QStringLiteral("actionUndo"));
    QAction *redoAction = window.findChild<QAction *>(QStringLiteral("actionRedo"));
    ASSERT_NE(undoAction, nullptr);
    ASSERT_NE(redoAction, nullptr);
    EXPECT_TRUE(undoAction->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Z)));
    EXPECT_TRUE(redoAction->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    EXPECT_FALSE(undoAction->isEnabled());

    const std::size_t mark = module.commandLog().size();
    userMoves(kMaxRpm, 11);
    ASSERT_TRUE(settled());
    EXPECT_EQ(undoAction->text(), QStringLiteral("&Undo MAX RPM LIMIT 3072 \u2192 2816"));
    undoAction->trigger();
    ASSERT_TRUE(settled());
    EXPECT_EQ(module.parameter('m'), 12);
    EXPECT_EQ(redoAction->text(), QStringLiteral("&Redo MAX RPM LIMIT 3072 \u2192 2816"));
    redoAction->trigger();
    ASSERT_TRUE(settled());
    EXPECT_EQ(module.parameter('m'), 11);
    EXPECT_EQ(writesSince(mark, true), (std::vector<std::string>{"/M11", "/M12", "/M11"}));
    EXPECT_EQ(undo.count(), 1);

    model.Command5_Click(); // RESET: the module connects again
    ASSERT_TRUE(clock.runUntil([&] { return !model.isConnected(); }, clock.now() + 1000));
    ASSERT_TRUE(settled());
    EXPECT_EQ(undo.count(), 0);
    EXPECT_FALSE(undoAction->isEnabled());
}

TEST_F(HistoryWindowTest, AnUnwritableFolderIsOneMessageAndTheLinkGoesOn)
{
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    window.changes().startHistory(dir.filePath(QStringLiteral("file/history")));
    ASSERT_TRUE(connectAndReport());
    store().flush();
    const QString note = window.notes().current();
    EXPECT_TRUE(note.startsWith("History is off: ")) << note.toStdString();
    EXPECT_TRUE(note.contains("file/history")) << note.toStdString();

    userMoves(kMaxRpm, 10);
    ASSERT_TRUE(settled());
    const std::size_t mark = module.commandLog().size();
    EXPECT_TRUE(storeAndConfirm());
    clock.advance(3000);
    EXPECT_GT(module.commandLog().size(), mark + 5) << "polling goes on";
    EXPECT_TRUE(model.isConnected());
    EXPECT_TRUE(store().isOff());
    // The store is said; the folder is not said again.
    EXPECT_EQ(window.notes().current(), "Configuration stored");
}

// A restore point from a clock once set ahead is marked and listed below the one written now;
// File > Keep restore points unchecked writes none for the rest of the session.
TEST_F(HistoryWindowTest, MarksAFutureRestorePointAndKeepsNoneWhenToldNot)
{
    Snapshot ahead;
    ahead.utcMs = 4070908800123; // 2099-01-01 00:00:00.123 UTC
    ahead.event = SnapshotEvent::Stored;
    ahead.config.firmware = "26";
    ahead.config.values = {2, 1, 1, 2, -4, 9, 25};
    QFile file(QDir(store().folder()).filePath(QStringLiteral("20990101-000000-123-stored.json")));
    ASSERT_TRUE(QDir().mkpath(store().folder()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(snapshotToJson(ahead));
    file.close();
    store().reload();
    ASSERT_TRUE(connectAndReport());
    store().flush();
    window.changes().showHistory();
    QTableWidget &table = window.changes().historyWindow()->table();
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.item(0, 1)->text(), "connected");
    EXPECT_FALSE(table.item(0, 0)->text().contains("future"));
    EXPECT_TRUE(table.item(1, 0)->text().endsWith(".123 (in the future)"))
        << table.item(1, 0)->text().toStdString();

    QAction *keep = window.findChild<QAction *>(QStringLiteral("actionKeepRestorePoints"));
    ASSERT_NE(keep, nullptr);
    EXPECT_TRUE(keep->isChecked());
    keep->trigger();
    EXPECT_FALSE(keep->isChecked());
    const auto *state = window.changes().historyWindow()->findChild<QLabel *>("historyState");
    EXPECT_TRUE(state->text().contains("No restore point is kept")) << state->text().toStdString();
    userMoves(kMaxRpm, 10);
    ASSERT_TRUE(settled());
    ASSERT_TRUE(storeAndConfirm());
    EXPECT_EQ(store().entries().size(), 2u);
    EXPECT_EQ(QDir(store().folder()).entryList(QDir::Files).size(), 2);

    keep->trigger();
    userMoves(kMaxRpm, 9);
    ASSERT_TRUE(settled());
    ASSERT_TRUE(storeAndConfirm());
    ASSERT_EQ(store().entries().size(), 3u);
    EXPECT_EQ(table.item(0, 1)->text(), "stored");
}
