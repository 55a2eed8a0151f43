// The program's link over real pseudo-terminals, with the simulated module on the far end.
#include "app/qt_timer_host.h"
#include "app/window_model.h"
#include "link/qt_serial_comm.h"
#include "pty_server.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quelo;
using quelo::sim::PtyServer;

namespace {

// Runs the event loop until pred() holds or timeoutMs passes; returns the time it took.
qint64 waitFor(const std::function<bool()> &pred, int timeoutMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (pred() || elapsed.elapsed() > timeoutMs)
            loop.quit();
    });
    poll.start(5);
    loop.exec();
    return pred() ? elapsed.elapsed() : -1;
}

struct Program
{
    explicit Program(const QStringList &ports) : comm(ports) {}
    QtTimerHost timers;
    QtSerialComm comm;
    WindowModel model{comm, timers};
    WindowState &w = model.state();
    bool connectedOn(int port) const
    {
        return w.statusbox.Text == "Connected Comm Port " + std::to_string(port);
    }
};

} // namespace

TEST(EndToEnd, ConnectsToTheSimulatorAboutTwoSecondsAfterLoading)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    Program program({module.devicePath(), QString(), QString()});
    program.model.Form_Load();
    const qint64 took = waitFor([&] { return program.connectedOn(1); }, 4000);
    ASSERT_GE(took, 1400);
    EXPECT_LE(took, 2500);
    EXPECT_EQ(program.w.revdata.Text, "26");
    // Polling starts: engine speed and volts arrive through the real port.
    EXPECT_GE(
        waitFor([&] { return program.w.voltsdial.Tag == "1" && program.w.rpmdial.Tag == "1"; },
                3000),
        0);
    EXPECT_EQ(program.model.failureCount(), 0);
}

TEST(EndToEnd, MissingThenSilentThenModuleConnectsOnPortThree)
{
    PtyServer silent;
    PtyServer module(7);
    ASSERT_TRUE(silent.start());
    ASSERT_TRUE(module.start());
    silent.module().setFaults({true, 0, 0, 0, 0, 0});
    Program program(
        {QStringLiteral("/dev/quelo-no-such-port"), silent.devicePath(), module.devicePath()});
    program.model.Form_Load();
    // Port 1 fails to open at 1.5 s, port 2 is probed from 3 s and let go at 4.5 s, port 3
    // opens at 6 s and answers.
    EXPECT_GE(waitFor([&] { return program.w.statusbox.Text == "Comm port: 1"; }, 2500), 1400);
    EXPECT_NE(program.w.statusbox.ToolTip.find("no such device"), std::string::npos);
    const qint64 took = waitFor([&] { return program.connectedOn(3); }, 8000);
    EXPECT_GE(took, 6000 - 1600 - 100);
    EXPECT_LE(took, 6000 - 1500 + 800);
    EXPECT_FALSE(silent.module().commandLog().empty()); // the silent port was probed
}

TEST(EndToEnd, AHungUpModuleIsReportedAndFoundAgainWithoutReset)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyQuelo"));
    PtyServer module;
    ASSERT_TRUE(module.start());
    ASSERT_TRUE(module.createSymlink(link));
    Program program({link, QString(), QString()});
    program.model.Form_Load();
    ASSERT_GE(waitFor([&] { return program.connectedOn(1); }, 4000), 0);

    module.hangUp();
    const std::string lost = "Link lost on Comm Port 1";
    ASSERT_GE(waitFor([&] { return program.w.statusbox.Text == lost; }, 2000), 0);
    EXPECT_FALSE(program.comm.PortOpen());
    waitFor([] { return false; }, 300);        // a hang-up must not flood the event loop
    EXPECT_EQ(program.w.statusbox.Text, lost); // still there to be read
    EXPECT_FALSE(program.w.statusbox.ToolTip.empty());
    EXPECT_EQ(program.model.failureCount(), 0);

    // The module is served again on the same path: the search that followed the loss finds it
    // on its first tick, without RESET.
    ASSERT_TRUE(module.start());
    ASSERT_TRUE(module.createSymlink(link));
    EXPECT_GE(waitFor([&] { return program.connectedOn(1); }, 1200 + 1000), 0);
    EXPECT_EQ(program.model.failureCount(), 0);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
