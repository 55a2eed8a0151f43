// The quelo-link program as a user runs it: its command line, its log, and SIGINT/SIGTERM, with
// the simulated module on a pseudo-terminal.
#include "pty_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

using quelo::sim::PtyServer;

namespace {

bool waitFor(const std::function<bool()> &pred, int timeoutMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (pred() || elapsed.elapsed() > timeoutMs)
            loop.quit();
    });
    poll.start(10);
    loop.exec();
    return pred();
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Starts the program offscreen on the given arguments.
void start(QProcess &program, const QStringList &arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.remove(QStringLiteral("QT_LOGGING_RULES"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(QUELO_LINK_BIN), arguments);
}

// Runs the program to its end, serving the event loop meanwhile (the simulator lives on it).
bool finish(QProcess &program, int timeoutMs)
{
    return waitFor([&] { return program.state() == QProcess::NotRunning; }, timeoutMs);
}

// Every line the module received is one whole command: "/", a letter or "*", maybe a value.
void expectWholeCommands(const std::vector<std::string> &log)
{
    static const QRegularExpression command(QStringLiteral("^/[A-Za-z*]-?[0-9]*$"));
    for (const std::string &line : log)
        EXPECT_TRUE(command.match(QString::fromStdString(line)).hasMatch())
            << "cut or run-together command: " << line;
}

} // namespace

TEST(Program, RefusesABadCommandLineWithExitCodeTwo)
{
    const QList<QStringList> bad = {{"--quit-after", "-1"},    {"--quit-after", "nan"},
                                    {"--quit-after", "inf"},   {"--quit-after", "1e12"},
                                    {"--screenshot", "x.png"}, {"extra", "words"},
                                    {"--ports", "a,b,c,d"},    {"--bogus"}};
    for (const QStringList &arguments : bad) {
        QProcess program;
        start(program, arguments);
        ASSERT_TRUE(finish(program, 10000)) << arguments.join(' ').toStdString();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(program.readAllStandardError().startsWith("quelo-link: "))
            << arguments.join(' ').toStdString();
    }
}

TEST(Program, LogsStatusAndPortEventsWithTimesAndQuitsCleanlyOnSigterm)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    QTemporaryDir dir;
    const QString logPath = dir.filePath(QStringLiteral("link.log"));
    QProcess program;
    start(program, {"--ports", ",," + module.devicePath(), "--log", logPath});
    ASSERT_TRUE(program.waitForStarted());

    ASSERT_TRUE(
        waitFor([&] { return readAll(logPath).contains("status: Connected Comm Port 3"); }, 9000))
        << readAll(logPath).toStdString();
    waitFor([] { return false; }, 400); // let polling run, so a command may be in flight
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(finish(program, 5000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    const QString log = readAll(logPath);
    // Every line carries its time: "quelo.link: 2025-01-31T12:34:56.789 ...".
    static const QRegularExpression timed(
        QStringLiteral("^quelo\\.link: \\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}"));
    for (const QString &line : log.split('\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(timed.match(line).hasMatch()) << line.toStdString();
    EXPECT_TRUE(log.contains("status: Comm port: 1\n")) << log.toStdString();
    EXPECT_TRUE(log.contains("port 1 has no serial device")) << log.toStdString();
    EXPECT_TRUE(log.contains("opened " + module.devicePath())) << log.toStdString();
    EXPECT_TRUE(log.contains("closed " + module.devicePath())) << log.toStdString();

    // The port was closed as on unload: no command cut short, and the lock is gone.
    expectWholeCommands(module.module().commandLog());
    const QString lock = "/var/lock/LCK.." + module.devicePath().mid(5).replace('/', '_');
    EXPECT_FALSE(QFileInfo::exists(lock)) << lock.toStdString();
    QSerialPort again(module.devicePath());
    EXPECT_TRUE(again.open(QIODevice::ReadWrite)) << again.errorString().toStdString();
}

TEST(Program, SigintAlsoClosesThePortAndExitsZero)
{
    PtyServer module;
    ASSERT_TRUE(module.start());
    QProcess program;
    start(program, {"--ports", module.devicePath()});
    ASSERT_TRUE(waitFor([&] { return module.module().commandLog().size() > 8; }, 9000));
    ::kill(static_cast<pid_t>(program.processId()), SIGINT);
    ASSERT_TRUE(finish(program, 5000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    expectWholeCommands(module.module().commandLog());
}

TEST(Program, QuitAfterEndsTheRunWithExitZero)
{
    QProcess program;
    start(program, {"--ports", ",,", "--quit-after", "0.5"});
    ASSERT_TRUE(finish(program, 8000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
