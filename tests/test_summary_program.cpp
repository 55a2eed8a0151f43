// SPDX-License-Identifier: GPL-3.0-or-later
// quelo-link --summary as a script runs it: the figures of hand-made recordings, the bad input
// it refuses, and two runs recorded from the simulated module over a pseudo-terminal.
#include "pty_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "event_wait.h"

#include <sys/stat.h>

using quelo::sim::PtyServer;

namespace {

struct Outcome
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program without a display, serving the event loop meanwhile (the simulator is on it).
Outcome runProgram(const QStringList &arguments, int timeoutMs = 10000)
{
    static QTemporaryDir dataHome;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome.path());
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(QUELO_LINK_BIN), arguments);
    Outcome result;
    if (!quelo::test::waitUntil([&] { return program.state() == QProcess::NotRunning; },
                                timeoutMs)) {
        program.kill();
        program.waitForFinished();
        return result;
    }
    result.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    result.out = QString::fromUtf8(program.readAllStandardOutput());
    result.err = QString::fromUtf8(program.readAllStandardError());
    return result;
}

QString write(const QTemporaryDir &dir, const QString &name, const QByteArray &text)
{
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return file.fileName();
}

const QByteArray kHeader = "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\n";

// One second of engine speed, and ten hours with a mark in the middle.
const QByteArray kShort = kHeader + "2026-03-01T12:00:00.000Z,0,1000,,,,\n"
                                    "2026-03-01T12:00:01.000Z,1,1200,,,,\n";
const QByteArray kLong = kHeader + "2026-03-01T00:00:00.000Z,0,800,,,,\n"
                                   "2026-03-01T05:00:00.000Z,18000,,,,,mark 1\n"
                                   "2026-03-01T10:00:00.000Z,36000,900,,,,\n";

} // namespace

// A run of one second against one of ten hours: both summed, the differences between them;
// the same as one JSON object.
TEST(SummaryProgram, PrintsTheFiguresOfTwoRunsOfVeryDifferentLengths)
{
    QTemporaryDir dir;
    const QString a = write(dir, "short.csv", kShort), b = write(dir, "long.csv", kLong);
    const Outcome text = runProgram({"--summary", a, "--compare", b});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains("run length: A 1.0 s, B 36000.0 s, difference 35999.0 s\n"))
        << text.out.toStdString();
    EXPECT_TRUE(text.out.contains("engine speed maximum: A 1200 rpm, B 900 rpm, difference "
                                  "-300 rpm\n"));
    const Outcome json = runProgram({"--summary", b, "--from", "1", "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject figures =
        QJsonDocument::fromJson(json.out.toUtf8()).object()["figures"].toObject();
    EXPECT_EQ(figures["run_length_s"].toDouble(), 18000);
    EXPECT_EQ(figures["rpm_time_weighted_mean"].toDouble(), 800);
    EXPECT_EQ(figures["rpm_max"].toDouble(), 900);
}

// Every input that cannot be summed is refused with a message and exit 2, nothing printed.
TEST(SummaryProgram, RefusesWhatCannotBeSummedWithExitTwo)
{
    QTemporaryDir dir;
    const QString a = write(dir, "a.csv", kLong);
    const QString events = write(dir, "events.csv",
                                 kHeader + "2026-03-01T00:00:00.000Z,0,,,,,"
                                           "Comm port: 1\n");
    const QString other = write(dir, "notes.txt", "time,rpm\n12:00,1000\n");
    ASSERT_TRUE(QFile::link(a, dir.filePath("link.csv")));
    const QString fifo = dir.filePath("fifo.csv");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QList<std::pair<QStringList, QString>> refused = {
        {{"--summary", other}, "not a recording"},
        {{"--summary", events}, "holds no telemetry rows"},
        {{"--summary", a, "--from", "mark 7"}, "no such mark in a.csv (its marks: mark 1)"},
        {{"--summary", write(dir, "s.csv", kShort), "--to", "1"}, "(it has no marks)"},
        {{"--summary", a, "--from", "1", "--to", "mark 1x"}, "no such mark"},
        {{"--summary", write(dir, "m.csv", kLong + "2026-03-01T11:00:00.000Z,39600,,,,,mark 2\n"),
          "--from", "2", "--to", "1"},
         "--from mark 2 comes after --to mark 1"},
        {{"--summary", a, "--compare", dir.filePath("link.csv")}, "names the same file"},
        {{"--summary", fifo}, "not a regular file"},
        {{"--summary", dir.path()}, "not a regular file"},
        {{"--summary", a, "--compare", events}, "events.csv holds no telemetry rows"},
    };
    for (const auto &[arguments, message] : refused) {
        const Outcome r = runProgram(arguments);
        EXPECT_EQ(r.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(message)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
}

// Two runs recorded from the simulated module, the max rpm limit lowered between them: the
// comparison shows the limit each began with. The second run is summed again while it is still
// being recorded, from the rows written so far.
TEST(SummaryProgram, TwoRecordedRunsShowTheLimitChangedBetweenThem)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    module.module().holdEngine(module.module().firstIdleMs());
    module.module().setTelemetryEnabled(true, 200);
    QTemporaryDir dir;
    const auto record = [&](const QString &name) {
        return runProgram({"--ports", module.devicePath(), "--record", dir.filePath(name),
                           "--export-config", dir.filePath(name + ".json")},
                          40000);
    };
    const Outcome first = record("a.csv");
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    const int limit = module.module().parameter('m');
    ASSERT_TRUE(module.module().setParameter('m', limit - 1));
    const Outcome second = record("b.csv");
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();

    const Outcome compared =
        runProgram({"--summary", dir.filePath("a.csv"), "--compare", dir.filePath("b.csv")});
    ASSERT_EQ(compared.exitCode, 0) << compared.err.toStdString();
    const QString expected =
        QStringLiteral("at the start, max_rpm_limit: A %1, B %2, difference -256\n")
            .arg(limit * 256)
            .arg((limit - 1) * 256);
    EXPECT_TRUE(compared.out.contains(expected)) << compared.out.toStdString();
    EXPECT_TRUE(compared.out.contains(QRegularExpression("engine speed mean: A [1-9][0-9]* rpm")))
        << compared.out.toStdString();

    // A recording still growing: the program records into c.csv while it is summed.
    QProcess live;
    live.start(QStringLiteral(QUELO_LINK_BIN),
               {"--ports", module.devicePath(), "--record", dir.filePath("c.csv"),
                "--export-config", dir.filePath("c.json")});
    ASSERT_TRUE(
        quelo::test::waitUntil([&] { return QFile(dir.filePath("c.csv")).size() > 400; }, 20000));
    const Outcome growing = runProgram({"--summary", dir.filePath("c.csv")});
    EXPECT_EQ(growing.exitCode, 0) << growing.err.toStdString();
    EXPECT_TRUE(growing.out.contains("run length: ")) << growing.out.toStdString();
    live.terminate(); // closes the port as closing the window does
    EXPECT_TRUE(
        quelo::test::waitUntil([&] { return live.state() == QProcess::NotRunning; }, 10000));
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
