// SPDX-License-Identifier: GPL-3.0-or-later
// The window worked from the keyboard alone and seen through assistive tools' eyes, on the
// simulated module in virtual time.
#include "app_window.h"
#include "config_transfer.h"
#include "main_window.h"
#include "parameters.h"
#include "sim_comm.h"
#include "window_model.h"
#include "window_printer.h"
#include "writable_state.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

using namespace quelo;

namespace {

constexpr char kLetters[] = "dltvcmn"; // table order

class KeyboardAccessTest : public ::testing::Test
{
protected:
    KeyboardAccessTest()
    {
        const std::array<int, 7> start{2, 1, 1, 2, -4, 12, 25};
        for (std::size_t i = 0; i < start.size(); ++i)
            module.setParameter(kLetters[i], start[i]);
        module.setFirmwareVersion(0x2B);
        module.holdEngine(module.firstIdleMs());
    }

    template <typename T = QWidget> T *child(const char *name)
    {
        T *found = window.client().findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    bool connectAndReport()
    {
        model.Form_Load();
        return clock.runUntil([&] { return model.isConnected() && reportedConfig(model); },
                              clock.now() + 30000);
    }
    // The window on the screen and active, as the user has it.
    bool showActive()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
    QString focused() const
    {
        QWidget *w = QApplication::focusWidget();
        return w ? w->objectName() : QStringLiteral("(none)");
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key, modifiers);
    }
    // The focus after each of `count` presses of Tab (or Shift+Tab).
    QStringList tabThrough(int count, bool back = false)
    {
        QStringList names;
        for (int i = 0; i < count; ++i) {
            press(back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
            names << focused();
        }
        return names;
    }
    // The values of the writes "/<letter><value>" sent since the first `from` characters.
    std::set<int> writtenValues(char writeLetter, std::size_t from) const
    {
        std::set<int> values;
        const std::string command = std::string("/") + writeLetter;
        for (auto at = comm.written.find(command, from); at != std::string::npos;
             at = comm.written.find(command, at + 1))
            values.insert(std::atoi(comm.written.c_str() + at + 2));
        return values;
    }

    test::VirtualClock clock;
    sim::ModuleSim module;
    test::SimComm comm{clock, module};
    WindowModel model{comm, clock};
    AppWindow window{model};
};

const QStringList kSliders = {"cyclescroll",    "ledscroll",    "pprscroll",       "vscroll",
                              "conshiftscroll", "maxrpmscroll", "maxadvancescroll"};

} // namespace

TEST_F(KeyboardAccessTest, TabGoesThroughTheSlidersThenTheButtonsAndShiftTabGoesBack)
{
    ASSERT_TRUE(connectAndReport());
    ASSERT_TRUE(showActive());
    // At start no control has the focus, so none is marked.
    EXPECT_EQ(QApplication::focusWidget(), &window.client());

    const QStringList forward = kSliders + QStringList{"Command3", "Command4", "Command5"};
    EXPECT_EQ(tabThrough(11), forward + QStringList{"cyclescroll"});
    QStringList backward = forward;
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(tabThrough(10, true), backward);

    // Open, the panel covers the sliders and STORE: Tab reaches what can be clicked.
    EXPECT_EQ(tabThrough(8).back(), "Command4");
    press(Qt::Key_Space);
    ASSERT_TRUE(model.state().connection.Visible);
    EXPECT_EQ(tabThrough(4), (QStringList{"Command5", "Command1", "Command2", "Command4"}));
    EXPECT_EQ(tabThrough(2, true), (QStringList{"Command2", "Command1"}));
    // RETURN closes it and gives the focus back to the button that opens it.
    press(Qt::Key_Return);
    EXPECT_FALSE(model.state().connection.Visible);
    EXPECT_EQ(focused(), "Command4");
    EXPECT_EQ(tabThrough(2), (QStringList{"Command5", "cyclescroll"}));
}

// Everything the user does here is a key press: one key is one change of the slider, as one
// click on its arrow, and what goes to the module is that value and no other; the store's echo
// turns STORE back to grey.
TEST_F(KeyboardAccessTest, KeysAloneChangeAValueAndStoreIt)
{
    ASSERT_TRUE(connectAndReport());
    ASSERT_TRUE(showActive());
    WindowState &w = test::writableState(model);
    clock.advance(3000);
    ASSERT_EQ(w.cyclescroll.Value(), 2);
    ASSERT_EQ(w.cyclescroll.Tag, "0");
    int changes = 0;
    w.cyclescroll.Change = [&changes, handler = w.cyclescroll.Change] {
        ++changes;
        handler();
    };

    press(Qt::Key_Tab);
    ASSERT_EQ(focused(), "cyclescroll");
    // The scroll bar's own keys; the keypad's arrows (with num lock off) step as the others do.
    struct Step
    {
        Qt::Key key;
        int value;
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    };
    const Step steps[] = {{Qt::Key_Right, 3},
                          {Qt::Key_Left, 2},
                          {Qt::Key_Down, 3},
                          {Qt::Key_Up, 2},
                          {Qt::Key_PageDown, 3},
                          {Qt::Key_PageUp, 2},
                          {Qt::Key_End, 8},
                          {Qt::Key_Right, 8},
                          {Qt::Key_Home, 0},
                          {Qt::Key_Left, 0},
                          {Qt::Key_Right, 1, Qt::KeypadModifier},
                          {Qt::Key_Right, 2, Qt::KeypadModifier},
                          {Qt::Key_Left, 1, Qt::KeypadModifier},
                          {Qt::Key_Left, 0}};
    for (const Step &step : steps) {
        const bool moves = step.value != w.cyclescroll.Value();
        const std::size_t sentBefore = comm.written.size();
        changes = 0;
        press(step.key, step.modifiers);
        EXPECT_EQ(w.cyclescroll.Value(), step.value) << step.key;
        EXPECT_EQ(changes, moves ? 1 : 0) << step.key;
        EXPECT_EQ(w.cyclescroll.Tag, moves ? "1" : "0") << step.key; // a write is due
        ASSERT_TRUE(clock.runUntil([&] { return w.cyclescroll.Tag == "0"; }, clock.now() + 10000))
            << step.key;
        clock.advance(1000);
        EXPECT_EQ(module.parameter('d'), step.value) << step.key;
        EXPECT_EQ(writtenValues('D', sentBefore),
                  moves ? std::set<int>{step.value} : std::set<int>{})
            << step.key;
    }
    EXPECT_EQ(w.cycledata.Text, "0");

    // To STORE CONFIGURATION; Enter presses it, and the module's echo confirms the store.
    const QStringList path = tabThrough(7);
    ASSERT_EQ(path.back(), "Command3");
    EXPECT_EQ(w.Command3.BackColor, kGreen);
    press(Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_TRUE(clock.runUntil([&] { return module.storeCount() == 1; }, clock.now() + 10000));
    EXPECT_TRUE(
        clock.runUntil([&] { return w.Command3.BackColor == kDarkGrey; }, clock.now() + 10000));
    clock.advance(3000);
    EXPECT_EQ(module.storeCount(), 1);
    EXPECT_EQ(module.parameter('d'), 0);

    // Space presses a button too: CONNECTION INFO opens the panel.
    press(Qt::Key_Tab);
    press(Qt::Key_Space);
    EXPECT_TRUE(model.state().connection.Visible);
}

TEST_F(KeyboardAccessTest, TheFocusMarkShowsOnlyOnTheFocusedControlAndNeverInAPicture)
{
    ASSERT_TRUE(connectAndReport());
    ASSERT_TRUE(showActive());
    MainWindow &client = window.client();
    QImage unfocused = client.grab().toImage();
    EXPECT_EQ(pageImage(client).toImage(), unfocused);

    // Tabs to the control; it is marked, nothing else is, and a page shows no mark.
    const auto checkMark = [&](const char *name) {
        const QString target = QString::fromLatin1(name);
        for (int i = 0; i < 12 && focused() != target; ++i)
            press(Qt::Key_Tab);
        ASSERT_EQ(focused(), target);
        QWidget *control = child(name);
        const QRect area(control->mapTo(&client, QPoint(0, 0)), control->size());
        const QImage marked = client.grab().toImage();
        EXPECT_NE(marked.copy(area), unfocused.copy(area)) << name;
        QImage outside = marked;
        QImage expected = unfocused;
        for (QImage *image : {&outside, &expected})
            QPainter(image).fillRect(area, Qt::black);
        EXPECT_EQ(outside, expected) << name;
        EXPECT_EQ(pageImage(client).toImage(), unfocused) << name;
        EXPECT_EQ(focused(), target) << "the picture gives the focus back";
    };
    for (const char *name : {"cyclescroll", "Command3", "Command4", "Command5"})
        checkMark(name);

    press(Qt::Key_Tab); // to the first slider, away from CONNECTION INFO
    model.Command4_Click();
    client.setFocus(); // no control has the focus
    unfocused = client.grab().toImage();
    for (const char *name : {"Command1", "Command2"})
        checkMark(name);
}

TEST_F(KeyboardAccessTest, AssistiveToolsSeeEachControlWithItsNameAndValue)
{
    ASSERT_TRUE(connectAndReport());
    clock.advance(3000); // the needles settle on the held engine

    for (const Parameter &p : kParameters) {
        auto *slider = child<QScrollBar>(p.sliderName);
        auto *box = child<QLineEdit>(p.boxName);
        ASSERT_TRUE(slider && box);
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(slider);
        ASSERT_NE(a, nullptr) << p.sliderName;
        EXPECT_EQ(a->role(), QAccessible::Slider) << p.sliderName;
        EXPECT_EQ(a->text(QAccessible::Name), QString::fromLatin1(p.name));
        EXPECT_FALSE(box->text().isEmpty()) << p.boxName;
        EXPECT_EQ(a->text(QAccessible::Value), box->text()) << p.sliderName;
        QAccessibleValueInterface *value = a->valueInterface();
        ASSERT_NE(value, nullptr) << p.sliderName;
        EXPECT_EQ(value->minimumValue().toInt(), minOf(p)) << p.sliderName;
        EXPECT_EQ(value->maximumValue().toInt(), maxOf(p)) << p.sliderName;
        EXPECT_EQ(value->currentValue().toInt(), (model.state().*p.slider).Value());
        EXPECT_TRUE(a->state().focusable) << p.sliderName;

        QAccessibleInterface *b = QAccessible::queryAccessibleInterface(box);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->role(), QAccessible::EditableText) << p.boxName;
        EXPECT_EQ(b->text(QAccessible::Name), QString::fromLatin1(p.name));
        EXPECT_EQ(b->text(QAccessible::Value), box->text()) << p.boxName;
        EXPECT_TRUE(b->state().readOnly) << p.boxName;
    }

    // The slider's value is what the module reports: it follows the read-back, not the move.
    auto *vscroll = child<QScrollBar>("vscroll");
    QAccessibleInterface *tach = QAccessible::queryAccessibleInterface(vscroll);
    EXPECT_EQ(tach->text(QAccessible::Value), "12 volts");
    ASSERT_NE(tach->valueInterface(), nullptr);
    vscroll->setValue(1);
    EXPECT_EQ(tach->valueInterface()->currentValue().toInt(), 1);
    EXPECT_EQ(tach->text(QAccessible::Value), "12 volts");
    ASSERT_TRUE(
        clock.runUntil([&] { return model.state().vdata.Text == "5 volts"; }, clock.now() + 10000));
    EXPECT_EQ(tach->text(QAccessible::Value), "5 volts");

    QAccessibleInterface *status = QAccessible::queryAccessibleInterface(child("statusbox"));
    EXPECT_EQ(status->role(), QAccessible::StatusBar);
    EXPECT_EQ(status->text(QAccessible::Name), "Ignition State");
    EXPECT_EQ(status->text(QAccessible::Value), "Connected Comm Port 1");
    model.Command5_Click(); // RESET empties the status line
    EXPECT_EQ(status->text(QAccessible::Value), "");

    QAccessibleInterface *version = QAccessible::queryAccessibleInterface(child("revdata"));
    EXPECT_EQ(version->text(QAccessible::Name), "Firmware Version");
    EXPECT_EQ(version->text(QAccessible::Value), child<QLineEdit>("revdata")->text());

    const int rpm = model.state().rpmtarget;
    ASSERT_GT(rpm, 500);
    ASSERT_EQ(model.state().rpmdial.Value, rpm);
    QAccessibleInterface *engine = QAccessible::queryAccessibleInterface(child("rpmdial"));
    EXPECT_EQ(engine->role(), QAccessible::ProgressBar);
    EXPECT_EQ(engine->text(QAccessible::Name), "Engine speed");
    EXPECT_EQ(engine->text(QAccessible::Value), QStringLiteral("%1 rpm").arg(rpm));
    ASSERT_NE(engine->valueInterface(), nullptr);
    EXPECT_EQ(engine->valueInterface()->maximumValue().toDouble(), 3500.0);
    const std::pair<const char *, const char *> gauges[] = {{"voltsdial", "Bus voltage"},
                                                            {"advdial", "Ignition advance"},
                                                            {"AGauge2", "Propeller angle"}};
    for (const auto &[name, expected] : gauges) {
        QAccessibleInterface *g = QAccessible::queryAccessibleInterface(child(name));
        EXPECT_EQ(g->text(QAccessible::Name), expected) << name;
        EXPECT_FALSE(g->text(QAccessible::Value).isEmpty()) << name;
    }

    const std::pair<const char *, const char *> buttons[] = {{"Command3", "STORE CONFIGURATION"},
                                                             {"Command4", "CONNECTION INFO"},
                                                             {"Command5", "RESET"},
                                                             {"Command1", "RETURN"},
                                                             {"Command2", "PRINT"}};
    for (const auto &[name, text] : buttons) {
        QAccessibleInterface *b = QAccessible::queryAccessibleInterface(child(name));
        EXPECT_EQ(b->role(), QAccessible::Button) << name;
        EXPECT_EQ(b->text(QAccessible::Name), text) << name;
    }
}

namespace {

// The mnemonic letters of a menu's entries; records an entry without one, or a repeated one.
void checkMnemonics(const QList<QAction *> &actions, const QString &where)
{
    std::set<QString> seen;
    for (QAction *action : actions) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        const QKeySequence key = QKeySequence::mnemonic(action->text());
        EXPECT_FALSE(key.isEmpty()) << where.toStdString() << ": " << action->text().toStdString();
        EXPECT_TRUE(seen.insert(key.toString()).second)
            << where.toStdString() << ": " << action->text().toStdString() << " repeats "
            << key.toString().toStdString();
        if (action->menu())
            checkMnemonics(action->menu()->actions(), action->text());
    }
}

} // namespace

// Over whatever menus the windows have: every entry has a mnemonic of its own in its menu.
TEST_F(KeyboardAccessTest, MenuEntriesHaveUniqueMnemonics)
{
    checkMnemonics(window.menuBar()->actions(), "menu bar");
    checkMnemonics(window.trends().menuBar()->actions(), "trends menu bar");

    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(window.startRecording(dir.filePath("run.csv"), error)) << error.toStdString();
    checkMnemonics(window.menuBar()->actions(), "menu bar while recording");
    window.stopRecording();
}
