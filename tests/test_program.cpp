// SPDX-License-Identifier: GPL-3.0-or-later
// The quelo-link program as a user runs it: its command line, its log, and SIGINT/SIGTERM, with
// the simulated module on a pseudo-terminal.
#include "pty_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include "event_wait.h"

#include <array>
#include <csignal>

using quelo::sim::PtyServer;

namespace {

using quelo::test::waitUntil;

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
    return waitUntil([&] { return program.state() == QProcess::NotRunning; }, timeoutMs);
}

// Every line the module received is one whole command: "/", a letter or "*", maybe a value.
void expectWholeCommands(const std::vector<std::string> &log)
{
    static const QRegularExpression command(QStringLiteral("^/[A-Za-z*]-?[0-9]*$"));
    for (const std::string &line : log)
        EXPECT_TRUE(command.match(QString::fromStdString(line)).hasMatch())
            << "cut or run-together command: " << line;
}

// Starts the program as a script would on a machine without a display.
void startHeadless(QProcess &program, const QStringList &arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_LOGGING_RULES"})
        env.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(QUELO_LINK_BIN), arguments);
}

struct HeadlessRun
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// Runs a headless export or import to its end, serving the simulator meanwhile.
HeadlessRun runHeadless(const QStringList &arguments, int timeoutMs = 40000)
{
    QProcess program;
    startHeadless(program, arguments);
    HeadlessRun run;
    if (!finish(program, timeoutMs)) {
        program.kill();
        program.waitForFinished();
        run.err = QStringLiteral("did not finish");
        return run;
    }
    run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.out = program.readAllStandardOutput();
    run.err = QString::fromUtf8(program.readAllStandardError());
    return run;
}

constexpr char kLetters[] = "dltvcmn"; // file order
const char *const kKeys[] = {"run_mode_start_delay", "led_mode",      "tach_pulses_per_rev",
                             "tach_volts",           "advance_shift", "max_rpm_limit",
                             "max_advance_limit"};

std::array<int, 7> fileValues(const QByteArray &json)
{
    const QJsonObject parameters = QJsonDocument::fromJson(json).object()["parameters"].toObject();
    std::array<int, 7> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = parameters[QLatin1String(kKeys[i])].toInt(-99);
    return values;
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
        waitUntil([&] { return readAll(logPath).contains("status: Connected Comm Port 3"); }, 9000))
        << readAll(logPath).toStdString();
    waitUntil([] { return false; }, 400); // let polling run, so a command may be in flight
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
    ASSERT_TRUE(waitUntil([&] { return module.module().commandLog().size() > 8; }, 9000));
    ::kill(static_cast<pid_t>(program.processId()), SIGINT);
    ASSERT_TRUE(finish(program, 5000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    expectWholeCommands(module.module().commandLog());
}

// The terminal the program was started from closes: it quits as on SIGTERM, never asking,
// with no command cut short on the wire.
TEST(Program, SighupAlsoClosesThePortAndExitsZero)
{
    PtyServer module;
    ASSERT_TRUE(module.start());
    QProcess program;
    start(program, {"--ports", module.devicePath()});
    ASSERT_TRUE(waitUntil([&] { return module.module().commandLog().size() > 8; }, 9000));
    ::kill(static_cast<pid_t>(program.processId()), SIGHUP);
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

// Export, edit, import, export again: what a script backing up or restoring a module does.
TEST(Program, HeadlessExportImportAndExportAgain)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    const std::array<int, 7> start{3, 1, 2, 0, -5, 14, 31};
    for (std::size_t i = 0; i < start.size(); ++i)
        ASSERT_TRUE(module.module().setParameter(kLetters[i], start[i]));
    const QStringList ports{"--ports", ",," + module.devicePath()};

    const HeadlessRun exported = runHeadless(ports + QStringList{"--export-config", "-"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(fileValues(exported.out), start) << exported.out.toStdString();
    EXPECT_TRUE(exported.out.startsWith('{')) << "only the file goes to standard output";
    EXPECT_TRUE(exported.err.contains("connected on Comm Port 3")) << exported.err.toStdString();
    EXPECT_TRUE(exported.err.contains("7 of 7 parameters reported")) << exported.err.toStdString();
    EXPECT_EQ(module.module().storeCount(), 0);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("edited.json"));
    QByteArray edited = exported.out;
    edited.replace("\"max_rpm_limit\": 14", "\"max_rpm_limit\": 9");
    edited.replace("\"led_mode\": 1", "\"led_mode\": 3");
    ASSERT_NE(edited, exported.out) << "the edit did not apply: " << exported.out.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(edited);
    file.close();

    const HeadlessRun imported = runHeadless(ports + QStringList{"--import-config", path});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.isEmpty());
    EXPECT_TRUE(imported.err.contains("writing 2 of 7 parameters")) << imported.err.toStdString();
    EXPECT_TRUE(imported.err.trimmed().endsWith("stored")) << imported.err.toStdString();
    EXPECT_EQ(module.module().storeCount(), 1);
    expectWholeCommands(module.module().commandLog());

    const HeadlessRun again = runHeadless(ports + QStringList{"--export-config", "-"});
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(fileValues(again.out), (std::array<int, 7>{3, 3, 2, 0, -5, 9, 31}));
}

TEST(Program, HeadlessFailuresGiveTheirExitCodes)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    QTemporaryDir dir;

    // A bad file is refused before any port is opened.
    const QString bad = dir.filePath(QStringLiteral("bad.json"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"format":"quelo-config","version":1,"parameters":{"led_mode":"x"}})");
    file.close();
    for (const QString &path : {bad, dir.filePath(QStringLiteral("missing.json"))}) {
        const HeadlessRun run =
            runHeadless({"--ports", module.devicePath(), "--import-config", path});
        EXPECT_EQ(run.exitCode, 2) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith("quelo-link: " + path + ": ")) << run.err.toStdString();
    }
    EXPECT_TRUE(module.module().commandLog().empty());

    // No module on any port: each port's reason, nothing on standard output.
    const HeadlessRun none =
        runHeadless({"--ports", dir.filePath("no-tty") + ",,", "--export-config", "-"});
    EXPECT_EQ(none.exitCode, 1) << none.err.toStdString();
    EXPECT_TRUE(none.err.contains("no module answered on ports " + dir.filePath("no-tty") +
                                  ", (none), (none)"))
        << none.err.toStdString();
    EXPECT_TRUE(none.err.contains("Port 2: no serial device for this port"))
        << none.err.toStdString();
    EXPECT_TRUE(none.out.isEmpty());

    // A module that never answers: the timeout names what was missing.
    module.module().setFaults({true, 0, 0, 0, 0, 0});
    const HeadlessRun silent =
        runHeadless({"--ports", module.devicePath(), "--export-config", "-", "--timeout", "1"});
    EXPECT_EQ(silent.exitCode, 1) << silent.err.toStdString();
    EXPECT_TRUE(silent.err.contains("timed out: no module connected")) << silent.err.toStdString();
}

namespace {

const QString kRecordingHeader =
    QStringLiteral("time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event");

// The rows of a recording, split into fields (no field of these runs holds a comma).
QList<QStringList> recordedRows(const QString &path, QString &header)
{
    const QStringList lines = readAll(path).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    header = lines.value(0);
    QList<QStringList> rows;
    for (const QString &line : lines.mid(1))
        rows << line.split(',');
    return rows;
}

} // namespace

// --record against a module whose engine is held at idle: every telemetry row carries the
// engine speed, advance and bus voltage the module reports, and the link's events are there.
TEST(Program, RecordsARunFromLaunchWithTheModulesValues)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    const std::int64_t idle = module.module().firstIdleMs();
    module.module().holdEngine(idle);
    module.module().setTelemetryEnabled(true, 200); // frames besides the polled replies
    const quelo::sim::EngineState engine = module.module().engineAt(idle);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.csv"));
    QProcess program;
    start(program, {"--ports", module.devicePath(), "--record", path, "--quit-after", "6"});
    ASSERT_TRUE(finish(program, 15000));
    ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();

    QString header;
    const QList<QStringList> rows = recordedRows(path, header);
    EXPECT_EQ(header, kRecordingHeader);
    QStringList events;
    int telemetryRows = 0;
    for (const QStringList &row : rows) {
        ASSERT_EQ(row.size(), 7) << row.join(',').toStdString();
        if (!row[6].isEmpty()) {
            events << row[6];
            continue;
        }
        ++telemetryRows;
        if (!row[2].isEmpty()) {
            EXPECT_EQ(row[2].toInt(), engine.rpm) << row.join(',').toStdString();
        }
        if (!row[3].isEmpty()) {
            EXPECT_EQ(row[3], QString::number(engine.advanceCount * 1.4, 'f', 1));
        }
        if (!row[4].isEmpty()) {
            EXPECT_EQ(row[4], QString::number(engine.busTenths / 10.0, 'f', 1));
        }
    }
    EXPECT_GT(telemetryRows, 10);
    EXPECT_EQ(events.value(0), "Waiting for connection - Port 1") << events.join('|').toStdString();
    EXPECT_TRUE(events.contains("Connected Comm Port 1")) << events.join('|').toStdString();
}

// Without a window too: an export records the run; a file that cannot be written stops the
// program before any port is opened.
TEST(Program, RecordsAHeadlessRunAndRefusesAnUnwritableFile)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    ASSERT_TRUE(module.module().setParameter('m', 10));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("export-run.csv"));
    const HeadlessRun exported =
        runHeadless({"--ports", module.devicePath(), "--record", path, "--export-config", "-"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    QString header;
    QStringList events;
    for (const QStringList &row : recordedRows(path, header))
        events << row.value(6);
    EXPECT_EQ(header, kRecordingHeader);
    EXPECT_TRUE(events.contains("Connected Comm Port 1")) << events.join('|').toStdString();
    EXPECT_TRUE(events.contains("max_rpm_limit=2560")) << events.join('|').toStdString();

    const QString unwritable = dir.filePath(QStringLiteral("missing/run.csv"));
    module.module().clearCommandLog();
    for (const QStringList &mode :
         {QStringList{"--quit-after", "5"}, QStringList{"--export-config", "-"}}) {
        QProcess program;
        start(program, QStringList{"--ports", module.devicePath(), "--record", unwritable} + mode);
        ASSERT_TRUE(finish(program, 10000));
        EXPECT_EQ(program.exitCode(), 1) << mode.join(' ').toStdString();
        const QString err = QString::fromUtf8(program.readAllStandardError());
        EXPECT_TRUE(err.contains("quelo-link: Cannot record into " + unwritable))
            << err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(unwritable));
    EXPECT_TRUE(module.module().commandLog().empty());
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
