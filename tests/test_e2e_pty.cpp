// SPDX-License-Identifier: GPL-3.0-or-later
// The program's link over real pseudo-terminals, with the simulated module on the far end.
#include "pty_server.h"
#include "qt_serial_comm.h"
#include "qt_timer_host.h"
#include "window_model.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include "event_wait.h"

using namespace quelo;
using quelo::sim::PtyServer;

namespace {

using quelo::test::waitFor;

struct Program
{
    explicit Program(const QStringList &ports) : comm(ports) {}
    QtTimerHost timers;
    QtSerialComm comm;
    WindowModel model{comm, timers};
    const WindowState &w = model.state();
    bool connectedOn(int port) const
    {
        return w.statusbox.Text == "Connected Comm Port " + std::to_string(port);
    }
};

// A bare pseudo-terminal: the test reads what the program put on the line from the master end.
struct RawPty
{
    RawPty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
            return;
        path = QString::fromLocal8Bit(::ptsname(master));
        ::fcntl(master, F_SETFL, O_NONBLOCK);
        // Held open so that the line stays up between the program's opens.
        slave = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    }
    ~RawPty()
    {
        if (slave >= 0)
            ::close(slave);
        if (master >= 0)
            ::close(master);
    }
    QByteArray received()
    {
        QByteArray bytes;
        char buffer[4096];
        for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
            bytes.append(buffer, n);
        return bytes;
    }
    int master = -1;
    int slave = -1;
    QString path;
};

// Every line the module received is one whole command: "/", a letter or "*", maybe a value.
void expectWholeCommands(const std::vector<std::string> &log)
{
    static const QRegularExpression command(QStringLiteral("^/[A-Za-z*]-?[0-9]*$"));
    for (const std::string &line : log)
        EXPECT_TRUE(command.match(QString::fromStdString(line)).hasMatch())
            << "cut or run-together command: " << line;
}

} // namespace

// The exact timing of the scan is pinned in virtual time; over a real line only its order is
// checked, with room for a busy machine.
TEST(EndToEnd, ConnectsToTheSimulatorAfterTheFirstScanTick)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    Program program({module.devicePath(), QString(), QString()});
    program.model.Form_Load();
    const qint64 took = waitFor([&] { return program.connectedOn(1); }, 8000);
    ASSERT_GE(took, 1400); // not before the first scan tick at 1.5 s
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
    const qint64 took = waitFor([&] { return program.connectedOn(3); }, 12000);
    EXPECT_GE(took, 6000 - 1600 - 100); // not before ports 1 and 2 have had their turns
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

TEST(EndToEnd, WhatWasWrittenReachesTheLineBeforeThePortCloses)
{
    RawPty line;
    ASSERT_GE(line.slave, 0);
    QtSerialComm comm({line.path, QString(), QString()});
    const std::string commands = "/N24\r/p\r/x\r/w\r/D3\r";
    for (int round = 0; round < 10; ++round) {
        comm.setPortOpen(true);
        comm.Output(commands);
        comm.Output("/M1");
        comm.Output("5\r"); // a command's tail handed over just before the close
        comm.setPortOpen(false);
        EXPECT_EQ(line.received(), QByteArray::fromStdString(commands + "/M15\r")) << round;
    }
}

// Characters go straight to the driver while nothing waits in the port's own queue. A line whose
// buffers are full takes part of a block: the rest, and everything written after it, must
// follow in order once the far end reads again.
TEST(EndToEnd, WhatTheLineCannotTakeAtOnceFollowsInOrder)
{
    RawPty line;
    ASSERT_GE(line.slave, 0);
    QtSerialComm comm({line.path, QString(), QString()});
    comm.setPortOpen(true);
    std::string block(256 * 1024, ' ');
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>('a' + i % 23);
    comm.Output(block);
    // The far end reads what the line holds, so the line has room while the port's queue
    // still holds the rest of the block.
    QByteArray got = line.received();
    comm.Output("/w");
    comm.Output("\r");
    const QByteArray expected = QByteArray::fromStdString(block + "/w\r");
    QElapsedTimer took;
    took.start();
    while (got.size() < expected.size() && took.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        got += line.received();
    }
    EXPECT_TRUE(got == expected) << got.size() << " of " << expected.size() << " bytes, first "
                                 << "difference at " << [&] {
                                        qsizetype i = 0;
                                        while (i < got.size() && got[i] == expected[i])
                                            ++i;
                                        return i;
                                    }();
    comm.setPortOpen(false);
}

TEST(EndToEnd, ThePortIsOpenedAt9600BaudEightDataBitsNoParityOneStopBit)
{
    RawPty line;
    ASSERT_GE(line.slave, 0);
    // Start from other settings, so that only the open can have made them right.
    termios other{};
    ASSERT_EQ(::tcgetattr(line.slave, &other), 0);
    ::cfsetispeed(&other, B38400);
    ::cfsetospeed(&other, B38400);
    other.c_cflag = (other.c_cflag & ~CSIZE) | CS7 | PARENB | PARODD | CSTOPB;
    ASSERT_EQ(::tcsetattr(line.slave, TCSANOW, &other), 0);

    QtSerialComm comm({line.path, QString(), QString()});
    comm.setPortOpen(true);
    termios t{};
    ASSERT_EQ(::tcgetattr(line.slave, &t), 0);
    EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B9600));
    EXPECT_EQ(::cfgetispeed(&t), static_cast<speed_t>(B9600));
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & PARENB, 0u);
    EXPECT_EQ(t.c_cflag & CSTOPB, 0u);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
    comm.setPortOpen(false);
}

TEST(EndToEnd, AStuckLineDoesNotHoldTheCloseLongerThanHalfASecond)
{
    RawPty line; // nobody reads the master: the line's buffers fill up and stay full
    ASSERT_GE(line.slave, 0);
    QtSerialComm comm({line.path, QString(), QString()});
    comm.setPortOpen(true);
    comm.Output(std::string(256 * 1024, 'x'));
    QElapsedTimer took;
    took.start();
    comm.setPortOpen(false);
    EXPECT_LT(took.elapsed(), 800);
    EXPECT_FALSE(comm.PortOpen());
}

TEST(EndToEnd, ResetAndUnloadDuringACommandLeaveOnlyWholeCommandsOnTheLine)
{
    PtyServer module;
    ASSERT_TRUE(module.start());
    Program program({module.devicePath(), QString(), QString()});
    program.model.Form_Load();
    for (int round = 0; round < 4; ++round) {
        ASSERT_GE(waitFor([&] { return program.connectedOn(1); }, 4000), 0) << round;
        // Catch the pacing between two characters of one command.
        ASSERT_GE(
            waitFor([&] { return !program.model.pacing().unsentCommandTail().empty(); }, 2000), 0);
        const std::size_t before = module.module().commandLog().size();
        if (round < 3)
            program.model.Command5_Click();
        else
            program.model.Form_Unload();
        // The cut command arrives whole, at once, not run together with the next probe.
        EXPECT_GE(waitFor([&] { return module.module().commandLog().size() > before; }, 300), 0)
            << round;
    }
    expectWholeCommands(module.module().commandLog());
}

TEST(EndToEnd, OneDeviceUnderTwoNamesIsInUseByTheFirstProgram)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyQuelo"));
    PtyServer module;
    ASSERT_TRUE(module.start());
    ASSERT_TRUE(module.createSymlink(link));
    QtSerialComm first({link, QString(), QString()});
    first.setPortOpen(true);
    QtSerialComm second({module.devicePath(), QString(), QString()});
    try {
        second.setPortOpen(true);
        FAIL() << "the same device opened twice";
    } catch (const std::exception &e) {
        const std::string reason = e.what();
        EXPECT_NE(reason.find("in use by another program (process " +
                              std::to_string(QCoreApplication::applicationPid()) + ")"),
                  std::string::npos)
            << reason;
        EXPECT_EQ(reason.find("usermod"), std::string::npos) << reason;
    }
    first.setPortOpen(false);
    second.setPortOpen(true); // the lock went with the close
    EXPECT_TRUE(second.PortOpen());
}

TEST(EndToEnd, RelativePortPathsAreTakenFromTheWorkingDirectory)
{
    QTemporaryDir dir;
    PtyServer module;
    ASSERT_TRUE(module.start());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("rel")));
    ASSERT_TRUE(module.createSymlink(dir.filePath(QStringLiteral("rel/tty"))));
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    QtSerialComm comm({QStringLiteral("rel/tty"), QString(), QString()});
    EXPECT_NO_THROW(comm.setPortOpen(true));
    EXPECT_TRUE(comm.PortOpen());
    QDir::setCurrent(saved);
}

TEST(EndToEnd, AFailedOpenOfABareNameNamesTheDeviceItWasTakenFor)
{
    QtSerialComm comm({QStringLiteral("quelo-no-such-tty"), QString(), QString()});
    try {
        comm.setPortOpen(true);
        FAIL() << "a missing device opened";
    } catch (const std::exception &e) {
        EXPECT_EQ(std::string(e.what()),
                  "quelo-no-such-tty (/dev/quelo-no-such-tty): no such device");
    }
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
