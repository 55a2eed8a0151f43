// SPDX-License-Identifier: GPL-3.0-or-later
// The window with its menu bar, on the simulated module in virtual time: the menus' actions,
// when Save is offered, and loading a configuration file through the preview.
#include "app_window.h"
#include "config_file.h"
#include "config_preview_dialog.h"
#include "config_transfer.h"
#include "event_wait.h"
#include "main_window.h"
#include "replay_window.h"
#include "sim_comm.h"
#include "window_model.h"
#include "window_printer.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineSeries>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

using namespace quelo;

namespace {

constexpr char kLetters[] = "dltvcmn"; // file order

class AppWindowTest : public ::testing::Test
{
protected:
    AppWindowTest()
    {
        const std::array<int, 7> start{2, 1, 1, 2, -4, 12, 25};
        for (std::size_t i = 0; i < start.size(); ++i)
            module.setParameter(kLetters[i], start[i]);
        module.setFirmwareVersion(0x2B);
        QObject::connect(&m_dialogPoll, &QTimer::timeout, &m_dialogPoll,
                         [this] { answerDialog(); });
    }

    // A recording is read on a thread of its own; its end comes through the event loop.
    void waitForRecording()
    {
        ASSERT_TRUE(test::waitUntil([&] { return !window.isOpeningRecording(); }, 20000));
    }
    QAction *action(const char *name)
    {
        auto *found = window.findChild<QAction *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    bool connectAndReport()
    {
        model.Form_Load();
        return clock.runUntil([&] { return model.isConnected() && reportedConfig(model); }, 30000);
    }
    std::array<int, 7> sliders() const
    {
        std::array<int, 7> values{};
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = (model.state().*kParameters[i].slider).Value();
        return values;
    }
    std::array<int, 7> moduleValues() const
    {
        std::array<int, 7> values{};
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = module.parameter(kLetters[i]);
        return values;
    }
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    // Answers the next modal dialog (a message box or the preview) with `respond`; records
    // whether one came up. The poll is the test's own: a dialog that never came fails the test
    // when it ends, and nothing is left to answer on its behalf after that.
    void onNextDialog(std::function<void(QDialog &)> respond)
    {
        dialogSeen = false;
        m_respond = std::move(respond);
        m_dialogPoll.start(10);
    }
    void TearDown() override
    {
        EXPECT_FALSE(m_dialogPoll.isActive()) << "a dialog the test waited for never came";
        m_dialogPoll.stop();
        m_respond = {};
    }
    // Presses Store and quit in the question closing the window brings up.
    void pressStoreAndQuit()
    {
        EXPECT_FALSE(window.close());
        auto *question = shownBox("quitQuestion");
        ASSERT_NE(question, nullptr);
        question->findChild<QPushButton *>(QStringLiteral("storeAndQuit"))->click();
        serveEvents();
    }
    // The message box of that name on screen (closed ones may wait to be deleted).
    QMessageBox *shownBox(const char *name)
    {
        for (QMessageBox *box : window.findChildren<QMessageBox *>(QString::fromLatin1(name)))
            if (box->isVisible())
                return box;
        return nullptr;
    }
    // Serves Qt's events (queued clicks, what follows a wait) without moving the model's clock.
    static void serveEvents()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    test::VirtualClock clock;
    sim::ModuleSim module;
    test::SimComm comm{clock, module};
    WindowModel model{comm, clock};
    AppWindow window{model};
    QTemporaryDir dir;
    bool dialogSeen = false;

private:
    void answerDialog()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        m_dialogPoll.stop();
        dialogSeen = true;
        const std::function<void(QDialog &)> respond = std::exchange(m_respond, {});
        respond(*dialog); // may ask for the next dialog
    }

    std::function<void(QDialog &)> m_respond;
    QTimer m_dialogPoll;
};

} // namespace

TEST_F(AppWindowTest, MenusSitAboveTheUnchangedClientArea)
{
    window.show();
    EXPECT_EQ(window.windowTitle(), "QUELO DATA LINK");
    EXPECT_EQ(window.client().grab().size(), QSize(800, 675));
    const int menuHeight = window.menuBar()->height();
    EXPECT_GT(menuHeight, 0);
    EXPECT_EQ(window.client().geometry(), QRect(0, menuHeight, 800, 675));
    // The status bar goes below the client area, across its width; nothing else is added.
    const QStatusBar *bar = window.statusBar();
    const int barHeight = bar->height();
    EXPECT_GT(barHeight, 0);
    EXPECT_EQ(bar->geometry(), QRect(0, menuHeight + 675, 800, barHeight));
    EXPECT_EQ(window.size(), QSize(800, menuHeight + 675 + barHeight));

    const std::pair<const char *, QKeySequence> shortcuts[] = {
        {"actionSave", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"actionLoad", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"actionPrint", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"actionQuit", QKeySequence(Qt::CTRL | Qt::Key_Q)}};
    for (const auto &[name, keys] : shortcuts) {
        QAction *a = action(name);
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(a->shortcuts().contains(keys)) << name;
    }
    ASSERT_NE(action("actionAbout"), nullptr);

    ASSERT_NE(action("actionConnectionInfo"), nullptr);
    action("actionConnectionInfo")->trigger();
    EXPECT_TRUE(model.state().connection.Visible); // as CONNECTION INFO

    model.Form_Load();
    ASSERT_TRUE(clock.runUntil([&] { return comm.PortOpen(); }, 5000));
    action("actionQuit")->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(comm.PortOpen()); // closed as on unload
}

TEST_F(AppWindowTest, SaveIsOfferedOnceEverythingIsReported)
{
    QAction *save = action("actionSave");
    ASSERT_NE(save, nullptr);
    EXPECT_FALSE(save->isEnabled());
    EXPECT_TRUE(save->toolTip().contains("not connected")) << save->toolTip().toStdString();

    model.Form_Load();
    ASSERT_TRUE(clock.runUntil([&] { return model.isConnected(); }, 10000));
    EXPECT_FALSE(save->isEnabled());
    EXPECT_TRUE(save->toolTip().contains("Waiting for the module to report"))
        << save->toolTip().toStdString();

    ASSERT_TRUE(clock.runUntil([&] { return reportedConfig(model).has_value(); }, 30000));
    EXPECT_TRUE(save->isEnabled());

    // A slider moved and not yet confirmed: the window no longer shows the module's values.
    model.moveSlider(model.state().ledscroll, 3);
    EXPECT_FALSE(save->isEnabled());
    EXPECT_TRUE(save->toolTip().contains("LED MODE")) << save->toolTip().toStdString();
}

TEST_F(AppWindowTest, LoadingAFilePreviewsItThenMovesTheSlidersWithoutStoring)
{
    ConfigValues file;
    file.values = {5, 1, 0, 2, 0, 9, 30};
    file.firmware = "43"; // saved from this module
    QString error;
    const QString path = dir.filePath("good.json");
    ASSERT_TRUE(writeConfig(path, file, QDateTime::currentDateTime(), error))
        << error.toStdString();

    // Not connected yet: Load explains why and changes nothing.
    QString shown;
    const auto readMessage = [&](QDialog &d) {
        if (auto *box = qobject_cast<QMessageBox *>(&d))
            shown = box->text();
        d.reject();
    };
    const std::array<int, 7> initial = sliders();
    onNextDialog(readMessage);
    window.loadFile(path);
    EXPECT_TRUE(dialogSeen);
    EXPECT_TRUE(shown.contains("not connected")) << shown.toStdString();
    EXPECT_EQ(sliders(), initial);

    ASSERT_TRUE(connectAndReport());
    const std::array<int, 7> before = sliders();

    // A bad file: one message, nothing moved.
    const QString bad = writeFile("bad.json", R"({"format":"quelo-config","version":1,)"
                                              R"("parameters":{"led_mode":9}})");
    onNextDialog(readMessage);
    window.loadFile(bad);
    EXPECT_TRUE(dialogSeen);
    EXPECT_TRUE(shown.contains("nothing was changed")) << shown.toStdString();
    EXPECT_EQ(sliders(), before);
    EXPECT_TRUE(window.notes().current().contains("bad.json was not loaded; nothing was changed"))
        << window.notes().current().toStdString();

    // Cancel in the preview: nothing moves.
    int changes = -1;
    onNextDialog([&](QDialog &d) {
        if (auto *preview = qobject_cast<ConfigPreviewDialog *>(&d))
            changes = preview->changeCount();
        d.reject();
    });
    window.loadFile(path);
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(sliders(), before);
    clock.advance(3000);
    EXPECT_EQ(moduleValues(), (std::array<int, 7>{2, 1, 1, 2, -4, 12, 25}));

    // OK: the sliders move, the module takes the values, and storing is left to the user.
    onNextDialog([](QDialog &d) { d.accept(); });
    window.loadFile(path);
    EXPECT_TRUE(dialogSeen);
    EXPECT_EQ(sliders(), file.values);
    EXPECT_EQ(window.notes().current().toStdString(),
              "Loaded good.json: 5 values being written; press STORE CONFIGURATION to store them");
    EXPECT_TRUE(clock.runUntil([&] { return moduleValues() == file.values; }, clock.now() + 30000))
        << ::testing::PrintToString(moduleValues());
    clock.advance(3000);
    EXPECT_EQ(module.storeCount(), 0);
}

// A file saved from a module with other firmware: the preview warns, naming both versions, and
// only a second Yes moves the sliders.
TEST_F(AppWindowTest, AFileFromOtherFirmwareLoadsOnlyAfterASecondYes)
{
    ConfigValues file;
    file.values = {5, 1, 0, 2, 0, 9, 30};
    file.firmware = "99";
    QString error;
    const QString path = dir.filePath("other.json");
    ASSERT_TRUE(writeConfig(path, file, QDateTime::currentDateTime(), error))
        << error.toStdString();
    ASSERT_TRUE(connectAndReport());
    const std::array<int, 7> before = sliders();

    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        QString warning;
        bool asked = false;
        onNextDialog([&](QDialog &preview) {
            if (auto *dialog = qobject_cast<ConfigPreviewDialog *>(&preview))
                warning = dialog->firmwareWarning();
            onNextDialog([&](QDialog &question) {
                auto *box = qobject_cast<QMessageBox *>(&question);
                if (QAbstractButton *button = box ? box->button(answer) : nullptr) {
                    asked = true;
                    button->click();
                }
            });
            preview.accept(); // OK
            if (preview.isVisible())
                preview.reject();
        });
        window.loadFile(path);
        EXPECT_TRUE(warning.contains("firmware 99")) << warning.toStdString();
        EXPECT_TRUE(warning.contains("firmware 43")) << warning.toStdString();
        EXPECT_TRUE(asked);
        if (answer == QMessageBox::No) {
            EXPECT_EQ(sliders(), before);
        } else {
            EXPECT_EQ(sliders(), file.values);
        }
    }
}

namespace {

QStringList fileLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

QList<QMessageBox *> messages(QWidget &window)
{
    return window.findChildren<QMessageBox *>();
}

} // namespace

TEST_F(AppWindowTest, RecordingNamesItsFileInTheTitleAndRecordsWhatTheModuleReports)
{
    QAction *record = action("actionRecord");
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(record->isCheckable());
    EXPECT_TRUE(record->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_R)));
    ASSERT_NE(action("actionOpenRecording"), nullptr);
    ASSERT_NE(action("actionTrends"), nullptr);
    EXPECT_TRUE(action("actionTrends")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_T)));

    const QString path = dir.filePath(QStringLiteral("run.csv"));
    QString error;
    ASSERT_TRUE(window.startRecording(path, error)) << error.toStdString();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("QUELO DATA LINK — recording run.csv"));
    EXPECT_TRUE(record->isChecked());
    EXPECT_EQ(record->text(), QStringLiteral("Stop &recording"));

    module.holdEngine(module.firstIdleMs());
    const int idleRpm = module.engineAt(module.firstIdleMs()).rpm;
    ASSERT_TRUE(connectAndReport());
    clock.advance(3000);

    // Unticking the item stops the recording and gives the title back.
    record->trigger();
    EXPECT_FALSE(window.isRecording());
    EXPECT_FALSE(record->isChecked());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("QUELO DATA LINK"));

    const QStringList lines = fileLines(path);
    ASSERT_GT(lines.size(), 10);
    EXPECT_EQ(lines.front(), "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event");
    EXPECT_TRUE(lines.filter(QStringLiteral(",Connected Comm Port 1")).size() == 1)
        << lines.join('\n').toStdString();
    EXPECT_EQ(lines.filter(QStringLiteral(",led_mode=Mode")).size(), 1)
        << lines.join('\n').toStdString();
    int rpmRows = 0;
    for (const QString &line : lines.mid(1)) {
        const QStringList fields = line.split(',');
        ASSERT_EQ(fields.size(), 7) << line.toStdString();
        if (fields[6].isEmpty() && !fields[2].isEmpty()) {
            EXPECT_EQ(fields[2].toInt(), idleRpm) << line.toStdString();
            ++rpmRows;
        }
    }
    EXPECT_GT(rpmRows, 5);

    // A file that cannot be written is refused and nothing changes.
    EXPECT_FALSE(window.startRecording(dir.filePath("missing/run.csv"), error));
    EXPECT_TRUE(error.contains("missing")) << error.toStdString();
    EXPECT_FALSE(record->isChecked());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("QUELO DATA LINK"));
}

// A folder that vanishes under a running recording: the item is unticked, the title restored,
// and one message says so without stopping the window; the link goes on.
TEST_F(AppWindowTest, AFailedRecordingStopsWithOneMessageThatDoesNotBlock)
{
    window.show();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("runs")));
    const QString path = dir.filePath(QStringLiteral("runs/run.csv"));
    QString error;
    ASSERT_TRUE(window.startRecording(path, error)) << error.toStdString();
    ASSERT_TRUE(connectAndReport());
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("runs"))).removeRecursively());
    clock.advance(3000); // many reports after the failure

    EXPECT_FALSE(window.isRecording());
    EXPECT_FALSE(action("actionRecord")->isChecked());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("QUELO DATA LINK"));
    const QList<QMessageBox *> shown = messages(window);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_FALSE(shown.front()->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(shown.front()->text().contains("stopped")) << shown.front()->text().toStdString();
    EXPECT_EQ(window.notes().current(), shown.front()->text());
    EXPECT_TRUE(model.isConnected());
}

// Trends shows the live trend kept since launch; Open recording shows a file, or one message
// naming the line at fault and the chart as it was.
TEST_F(AppWindowTest, TrendsShowTheLiveRunAndOpenRecordings)
{
    module.holdEngine(module.firstIdleMs());
    ASSERT_TRUE(connectAndReport());
    clock.advance(3000);
    action("actionTrends")->trigger();
    TrendsWindow &trends = window.trends();
    ASSERT_TRUE(trends.isVisible());
    EXPECT_TRUE(trends.isLive());
    QLineSeries *rpm = trends.series(Trend::EngineSpeed);
    ASSERT_GE(rpm->count(), 2); // kept since launch, before the window existed
    for (int i = 0; i < rpm->count(); ++i)
        EXPECT_EQ(rpm->at(i).y(), module.engineAt(module.firstIdleMs()).rpm);

    const QString bad =
        writeFile("bad.csv", "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\r\n"
                             "2026-03-01T12:00:00.000+01:00,0.000,1000,,,,\r\n"
                             "2026-03-01T12:00:00.240+01:00,0.240,fast,,,,\r\n");
    // Cancelled at once: no message, and the chart as it was.
    window.openRecording(bad);
    auto *progress = window.findChild<QProgressDialog *>();
    ASSERT_NE(progress, nullptr);
    emit progress->canceled();
    EXPECT_FALSE(window.isOpeningRecording());
    test::waitUntil([] { return false; }, 300); // a result would have come by now
    EXPECT_TRUE(messages(window).isEmpty());
    EXPECT_TRUE(trends.isLive());

    window.openRecording(bad);
    waitForRecording();
    ASSERT_EQ(messages(window).size(), 1);
    EXPECT_TRUE(messages(window).front()->text().contains("line 3"))
        << messages(window).front()->text().toStdString();
    EXPECT_TRUE(trends.isLive());

    const QString good =
        writeFile("good.csv", "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\r\n"
                              "2026-03-01T12:00:00.000+01:00,0.000,1000,19.6,13.8,,\r\n"
                              "2026-03-01T12:00:00.240+01:00,0.240,2600,,,,\r\n");
    window.openRecording(good);
    waitForRecording();
    EXPECT_FALSE(trends.isLive());
    EXPECT_EQ(window.notes().current(), "Opened recording " + good);
    EXPECT_EQ(trends.windowTitle(), QStringLiteral("Trends — good.csv"));
    EXPECT_EQ(trends.series(Trend::EngineSpeed)->count(), 2);
    EXPECT_EQ(trends.series(Trend::BusVolts)->count(), 1);
}

TEST_F(AppWindowTest, AboutNamesTheLicence)
{
    QString text;
    onNextDialog([&text](QDialog &dialog) {
        if (auto *box = qobject_cast<QMessageBox *>(&dialog))
            text = box->text();
        dialog.accept();
    });
    action("actionAbout")->trigger();
    EXPECT_TRUE(dialogSeen);
    EXPECT_TRUE(text.contains("Licence: GPL-3.0-or-later")) << text.toStdString();
}

// The program's own messages go to the status bar below the client area and to the link log:
// what the module did with a change, recording, and configuration files.
TEST_F(AppWindowTest, MessagesAreToldInTheStatusBarAndStayUntilReplaced)
{
    window.show();
    StatusNotes &notes = window.notes();
    EXPECT_EQ(notes.current(), "");

    // The module keeps its own maximum rpm when asked for more than it allows.
    module.setAcceptedRange('m', {0, 12});
    ASSERT_TRUE(connectAndReport());
    window.statusBar()->clearMessage();
    model.moveSlider(model.state().maxrpmscroll, 15);
    ASSERT_TRUE(clock.runUntil([&] { return !notes.current().isEmpty(); }, 30000));
    EXPECT_TRUE(notes.current().startsWith("The module kept MAX RPM LIMIT at"))
        << notes.current().toStdString();
    EXPECT_GE(notes.remainingMs(), StatusNotes::kMinimumMs);

    // Hovering a menu item must not wipe it.
    QStatusTipEvent hover{QString()};
    QApplication::sendEvent(&window, &hover);
    EXPECT_TRUE(notes.current().startsWith("The module kept")) << notes.current().toStdString();

    // Recording started, stopped, not started.
    QString error;
    const QString path = dir.filePath(QStringLiteral("run.csv"));
    ASSERT_TRUE(window.startRecording(path, error));
    EXPECT_EQ(notes.current().toStdString(),
              ("Recording to " + QDir::toNativeSeparators(path)).toStdString());
    window.stopRecording();
    EXPECT_EQ(notes.current().toStdString(),
              ("Recording stopped: " + QDir::toNativeSeparators(path)).toStdString());
    EXPECT_FALSE(window.startRecording(dir.filePath(QStringLiteral("missing/run.csv")), error));
    EXPECT_TRUE(notes.current().startsWith("Recording not started: "))
        << notes.current().toStdString();
    EXPECT_GE(notes.remainingMs(), StatusNotes::kMinimumMs);

    // A long message stays on one line and leaves the window's size alone; its whole text is
    // the bar's tooltip.
    const QSize size = window.size();
    const QString longText = QString(300, QLatin1Char('x')) + QStringLiteral("\nsecond line");
    notes.post(longText);
    QApplication::processEvents();
    EXPECT_EQ(window.size(), size);
    EXPECT_EQ(window.client().grab().size(), QSize(800, 675));
    EXPECT_FALSE(notes.current().contains('\n'));
    EXPECT_EQ(window.statusBar()->toolTip(), longText);
}

// PRINT takes the client area alone, whatever the status bar shows below it.
TEST(AppWindowPrint, PrintTakesTheClientAreaWithoutTheStatusBar)
{
    test::VirtualClock clock;
    sim::ModuleSim module;
    test::SimComm comm{clock, module};
    QImage page;
    AppWindow *shown = nullptr;
    WindowModel model{comm, clock, [&] { page = pageImage(shown->client()).toImage(); }};
    AppWindow window{model};
    shown = &window;
    window.show();
    window.notes().post(QStringLiteral("A message in the status bar"));
    model.Command2_Click();
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(page.size(), QSize(800, 675));
    EXPECT_EQ(page, window.client().grab().toImage());
}

// Mark (M, Ctrl+M) writes numbered marks into the recording and the live trend, only while
// recording; a replay opened beside the live link plays without touching the port.
TEST_F(AppWindowTest, MarksGoIntoTheRecordingAndAReplayLeavesTheLinkAlone)
{
    QAction *mark = action("actionMark");
    ASSERT_NE(mark, nullptr);
    EXPECT_TRUE(mark->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_M)));
    EXPECT_TRUE(mark->shortcuts().contains(QKeySequence(Qt::Key_M)));
    EXPECT_FALSE(mark->isEnabled());
    window.mark(); // not recording: nothing to mark
    EXPECT_EQ(window.trends().overlay().marks.events.size(), 0u);

    const QString path = dir.filePath(QStringLiteral("marked.csv"));
    QString error;
    ASSERT_TRUE(window.startRecording(path, error)) << error.toStdString();
    EXPECT_TRUE(mark->isEnabled());
    module.holdEngine(module.firstIdleMs());
    ASSERT_TRUE(connectAndReport());
    mark->trigger();
    clock.advance(1000);
    mark->trigger();
    clock.advance(1000);
    window.stopRecording();
    EXPECT_FALSE(mark->isEnabled());
    const QStringList lines = fileLines(path);
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral(",mark 1$"))).size(), 1);
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral(",mark 2$"))).size(), 1);
    window.showTrends();
    EXPECT_EQ(window.trends().marksList()->count(), 2);

    // The recording replayed beside the live link. It is read on a thread of its own: the replay
    // opens once it is read, and meanwhile the model's timers go on (the polls go out); the port
    // stays open and nothing else is opened.
    const int opens = comm.opens;
    const std::size_t written = comm.written.size();
    window.openReplay(path);
    EXPECT_TRUE(window.isOpeningReplay());
    EXPECT_EQ(window.findChild<ReplayWindow *>(), nullptr);
    clock.advance(3000);
    EXPECT_GT(comm.written.size(), written);
    ASSERT_TRUE(test::waitUntil([&] { return !window.isOpeningReplay(); }, 20000));
    auto *replay = window.findChild<ReplayWindow *>();
    ASSERT_NE(replay, nullptr);
    EXPECT_TRUE(replay->isVisible());
    // The run took milliseconds of the wall clock the recording keeps: it may be over already.
    const Replay &played = replay->replay();
    EXPECT_TRUE(played.playing() || played.position() == played.durationMs());
    EXPECT_TRUE(replay->statusText().startsWith(QStringLiteral("Replaying marked.csv — 00:")))
        << replay->statusText().toStdString();
    clock.advance(3000);
    EXPECT_EQ(comm.opens, opens);
    EXPECT_TRUE(comm.PortOpen());
    EXPECT_TRUE(model.isConnected());
    replay->close();

    // A file that does not read: one message naming the line, and no replay.
    const QString bad =
        writeFile("bad.csv", "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\r\n"
                             "2026-03-01T12:00:00.000+01:00,0.000,1000,,,,\r\n"
                             "2026-03-01T12:00:00.240+01:00,0.240,fast,,,,\r\n");
    window.openReplay(bad);
    ASSERT_TRUE(test::waitUntil([&] { return !window.isOpeningReplay(); }, 20000));
    ASSERT_EQ(messages(window).size(), 1);
    EXPECT_TRUE(messages(window).front()->text().contains("line 3"))
        << messages(window).front()->text().toStdString();
    for (const ReplayWindow *shown : window.findChildren<ReplayWindow *>())
        EXPECT_FALSE(shown->isVisible()); // the closed one waits to be deleted
}

namespace {
template <typename T> T *findNamed(QWidget &parent, const char *name)
{
    return parent.findChild<T *>(QString::fromLatin1(name));
}
} // namespace

// Closing the window right after a click used to drop the change silently: now it asks, and
// Cancel keeps the window and the link.
TEST_F(AppWindowTest, QuittingWithAnUnstoredChangeAsksFirst)
{
    ASSERT_TRUE(connectAndReport());
    ASSERT_TRUE(clock.runUntil([&] { return model.state().cyclescroll.Tag == "0"; }, 10000));
    window.show();
    // The connection's read-backs turned the button green; nothing of the user's to store.
    EXPECT_EQ(model.state().Command3.BackColor, kGreen);
    EXPECT_TRUE(model.unstoredChanges().empty());

    model.moveSlider(model.state().cyclescroll, 5);
    clock.advance(50);
    EXPECT_FALSE(window.close());
    auto *question = shownBox("quitQuestion");
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(question->text().contains("RUN MODE START DELAY"))
        << question->text().toStdString();
    findNamed<QPushButton>(*question, "cancelQuit")->click();
    serveEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(comm.PortOpen());

    // Quit without storing closes, the change unstored.
    EXPECT_FALSE(window.close());
    question = shownBox("quitQuestion");
    ASSERT_NE(question, nullptr);
    findNamed<QPushButton>(*question, "quitWithoutStoring")->click();
    serveEvents();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(comm.PortOpen());
    EXPECT_EQ(module.storeCount(), 0);
}

// Store and quit waits for the pending write and the store's echo, then closes; the module's
// stored configuration holds the change.
TEST_F(AppWindowTest, StoreAndQuitStoresThePendingChangeBeforeClosing)
{
    ASSERT_TRUE(connectAndReport());
    ASSERT_TRUE(clock.runUntil([&] { return model.state().cyclescroll.Tag == "0"; }, 10000));
    window.show();
    model.moveSlider(model.state().cyclescroll, 7);
    clock.advance(50);
    pressStoreAndQuit();
    ASSERT_NE(findNamed<QProgressDialog>(window, "storeProgress"), nullptr);
    EXPECT_TRUE(window.isVisible());
    for (int i = 0; i < 200 && window.isVisible(); ++i) {
        clock.advance(100);
        serveEvents();
    }
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(module.storedParameter('d'), 7);
    EXPECT_EQ(module.storeCount(), 1);
}

// A store that cannot finish says why and the window stays open: the user's Cancel returns to
// the window without a word; running out of time says so; a change the module never confirmed
// (given up) stops the wait at once, naming it, since no store can hold it.
TEST_F(AppWindowTest, StoreAndQuitThatCannotFinishSaysWhyAndStaysOpen)
{
    ASSERT_TRUE(connectAndReport());
    ASSERT_TRUE(clock.runUntil([&] { return model.state().cyclescroll.Tag == "0"; }, 10000));
    window.show();
    // The module neither takes nor answers RUN MODE START DELAY any more.
    module.setLetterBehaviour('d', {false, false, false, std::nullopt});
    model.moveSlider(model.state().cyclescroll, 7);
    clock.advance(50);

    pressStoreAndQuit();
    auto *progress = findNamed<QProgressDialog>(window, "storeProgress");
    ASSERT_NE(progress, nullptr);
    progress->findChild<QPushButton *>()->click(); // its Cancel
    serveEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    window.setStoreAndQuitMs(0);
    pressStoreAndQuit();
    QMessageBox *said = shownBox("storeTimedOut");
    ASSERT_NE(said, nullptr);
    EXPECT_TRUE(said->text().contains("RUN MODE START DELAY")) << said->text().toStdString();
    EXPECT_TRUE(window.isVisible());
    said->findChild<QPushButton *>(QStringLiteral("cancelQuit"))->click();
    serveEvents();

    window.setStoreAndQuitMs(AppWindow::kStoreAndQuitMs);
    pressStoreAndQuit();
    ASSERT_TRUE(
        clock.runUntil([&] { return model.unconfirmed(kParameters[0]); }, clock.now() + 60000));
    serveEvents();
    said = shownBox("storeNotConfirmed");
    ASSERT_NE(said, nullptr);
    EXPECT_TRUE(said->text().contains("did not confirm your change to RUN MODE START DELAY"))
        << said->text().toStdString();
    clock.advance(5000); // the store's echo, which holds nothing of the change, closes nothing
    serveEvents();
    EXPECT_TRUE(window.isVisible());
    said->findChild<QPushButton *>(QStringLiteral("quitWithoutStoring"))->click();
    serveEvents();
    EXPECT_FALSE(window.isVisible());
}

// A link lost while Store and quit waits: it stops waiting and says so.
TEST_F(AppWindowTest, StoreAndQuitSaysSoWhenTheLinkIsLost)
{
    ASSERT_TRUE(connectAndReport());
    window.show();
    model.moveSlider(model.state().cyclescroll, 7);
    module.setFaults({true});
    pressStoreAndQuit();
    ASSERT_TRUE(clock.runUntil([&] { return !model.isConnected(); }, clock.now() + 30000));
    serveEvents();
    QMessageBox *said = shownBox("storeNotConfirmed");
    ASSERT_NE(said, nullptr);
    EXPECT_TRUE(said->text().contains("link to the module was lost")) << said->text().toStdString();
    EXPECT_TRUE(window.isVisible());
}

// --quit-after and the quit signals never ask.
TEST_F(AppWindowTest, QuittingWithoutAskingClosesAtOnce)
{
    ASSERT_TRUE(connectAndReport());
    window.show();
    model.moveSlider(model.state().cyclescroll, 3);
    window.quitWithoutAsking();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(findNamed<QMessageBox>(window, "quitQuestion"), nullptr);
    EXPECT_FALSE(comm.PortOpen());
}
