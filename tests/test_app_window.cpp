// The window with its menu bar, on the simulated module in virtual time: the menus' actions,
// when Save is offered, and loading a configuration file through the preview.
#include "app_window.h"
#include "config_file.h"
#include "config_preview_dialog.h"
#include "config_transfer.h"
#include "main_window.h"
#include "sim_comm.h"
#include "window_model.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

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
        return clock.runUntil(
            [&] { return moduleConnected(model.state()) && reportedConfig(model.state()); }, 30000);
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
    // whether one came up.
    void onNextDialog(std::function<void(QDialog &)> respond)
    {
        dialogSeen = false;
        auto *poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll, respond] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll->deleteLater();
            poll->stop();
            dialogSeen = true;
            respond(*dialog);
        });
        poll->start(10);
    }

    test::VirtualClock clock;
    sim::ModuleSim module;
    test::SimComm comm{clock, module};
    WindowModel model{comm, clock};
    AppWindow window{model};
    QTemporaryDir dir;
    bool dialogSeen = false;
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
    EXPECT_EQ(window.size(), QSize(800, 675 + menuHeight));

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
    ASSERT_TRUE(clock.runUntil([&] { return moduleConnected(model.state()); }, 10000));
    EXPECT_FALSE(save->isEnabled());
    EXPECT_TRUE(save->toolTip().contains("Waiting for the module to report"))
        << save->toolTip().toStdString();

    ASSERT_TRUE(clock.runUntil([&] { return reportedConfig(model.state()).has_value(); }, 30000));
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
    EXPECT_TRUE(clock.runUntil([&] { return moduleValues() == file.values; }, clock.now() + 30000))
        << ::testing::PrintToString(moduleValues());
    clock.advance(3000);
    EXPECT_EQ(module.storeCount(), 0);
}
