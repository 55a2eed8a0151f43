// SPDX-License-Identifier: GPL-3.0-or-later
// The quelo-link program as a user runs it: its command line, its log, and SIGINT/SIGTERM, with
// the simulated module on a pseudo-terminal.
#include "pty_server.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include "event_wait.h"

#include <algorithm>
#include <array>
#include <csignal>
#include <utility>

#include <sys/resource.h>
#include <sys/stat.h>

using quelo::sim::PtyServer;

namespace {

using quelo::test::waitUntil;

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The program's application data (its configuration history) goes to a folder of the test's
// own, never into the home folder of whoever runs the tests.
QProcessEnvironment programEnvironment()
{
    static QTemporaryDir dataHome;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome.path());
    // The tests read the program's own English, whatever language their runner speaks.
    env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
    return env;
}

// Starts the program offscreen on the given arguments.
void start(QProcess &program, const QStringList &arguments)
{
    QProcessEnvironment env = programEnvironment();
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
void startHeadless(QProcess &program, const QStringList &arguments,
                   const QString &executable = QStringLiteral(QUELO_LINK_BIN))
{
    QProcessEnvironment env = programEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_LOGGING_RULES"})
        env.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(env);
    program.start(executable, arguments);
}

struct HeadlessRun
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// Runs a headless export or import to its end, serving the simulator meanwhile.
HeadlessRun runHeadless(const QStringList &arguments, int timeoutMs = 40000,
                        const QString &executable = QStringLiteral(QUELO_LINK_BIN))
{
    QProcess program;
    startHeadless(program, arguments, executable);
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

std::array<int, 7> moduleValues(PtyServer &module)
{
    std::array<int, 7> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = module.module().parameter(kLetters[i]);
    return values;
}

// What --history prints: one line per restore point, split at the blanks outside quotes.
QList<QStringList> historyLines(const QString &folder)
{
    const HeadlessRun listed = runHeadless({"--history", "--history-dir", folder}, 10000);
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    static const QRegularExpression field(QStringLiteral(R"([^ "]*"[^"]*"|[^ ]+)"));
    QList<QStringList> lines;
    for (const QString &line : QString::fromUtf8(listed.out).split('\n', Qt::SkipEmptyParts)) {
        QStringList fields;
        for (const QRegularExpressionMatch &m : field.globalMatch(line))
            fields << m.captured();
        lines << fields;
    }
    return lines;
}

// The values of a --history line ("tach_volts=\"5 volts\"", ...) as texts, in file order.
std::array<QString, 7> lineValues(const QStringList &fields)
{
    std::array<QString, 7> values;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const QString prefix = QLatin1String(kKeys[i]) + '=';
        const QStringList found = fields.filter(QRegularExpression('^' + prefix));
        values[i] = found.size() == 1 ? found[0].mid(prefix.size()).remove('"') : "<missing>";
    }
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

    // The events went to the file, not to standard error as well.
    const QString err = QString::fromUtf8(program.readAllStandardError());
    EXPECT_FALSE(err.contains("status:")) << err.toStdString();

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
        EXPECT_EQ(run.err.count(path), 1) << run.err.toStdString(); // named once
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

    // A module that never answers: the timeout names each port and what became of it, also
    // before the search has reached it.
    module.module().setFaults({true, 0, 0, 0, 0, 0});
    const HeadlessRun early =
        runHeadless({"--ports", module.devicePath(), "--export-config", "-", "--timeout", "1"});
    EXPECT_EQ(early.exitCode, 1) << early.err.toStdString();
    EXPECT_TRUE(early.err.contains("timed out: no module connected on ports " +
                                   module.devicePath() + ", (none), (none)"))
        << early.err.toStdString();
    EXPECT_TRUE(early.err.contains("Port 1: not tried yet")) << early.err.toStdString();
    EXPECT_FALSE(early.err.contains("()")) << early.err.toStdString();
    const HeadlessRun silent =
        runHeadless({"--ports", module.devicePath(), "--export-config", "-", "--timeout", "6"});
    EXPECT_EQ(silent.exitCode, 1) << silent.err.toStdString();
    EXPECT_TRUE(silent.err.contains("Port 1: opened; the module did not answer"))
        << silent.err.toStdString();
    EXPECT_TRUE(silent.err.contains("Port 2: no serial device for this port"))
        << silent.err.toStdString();
    EXPECT_FALSE(silent.err.contains("(Comm port")) << silent.err.toStdString();

    // An export that cannot write its file names the file once.
    module.module().setFaults({});
    const QString unwritable = dir.filePath(QStringLiteral("missing/out.json"));
    const HeadlessRun noFile =
        runHeadless({"--ports", module.devicePath(), "--export-config", unwritable});
    EXPECT_EQ(noFile.exitCode, 2) << noFile.err.toStdString();
    EXPECT_EQ(noFile.err.count(unwritable), 1) << noFile.err.toStdString();
}

// LANGUAGE=de: the command line is answered in German, before the run's application object
// exists and by the one a command without a window makes.
TEST(Program, SpeaksGermanOnStandardErrorWithLanguageDe)
{
    const std::pair<QStringList, QString> runs[] = {
        {{"--bogus"}, "Weitere Informationen mit 'quelo-link --help'."},
        {{"--history", "--history-dir", QUELO_LINK_BIN}, "ist kein Ordner"}};
    for (const auto &[arguments, german] : runs) {
        QProcess program;
        QProcessEnvironment env = programEnvironment();
        env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("de"));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(QUELO_LINK_BIN), arguments);
        ASSERT_TRUE(finish(program, 10000));
        EXPECT_EQ(program.exitCode(), 2);
        const QString err = QString::fromUtf8(program.readAllStandardError());
        EXPECT_TRUE(err.contains(german)) << err.toStdString();
    }
}

// A window run where there is no display says what to do instead of letting Qt abort.
TEST(Program, AWindowWithoutADisplaySaysWhatToDoAndExitsTwo)
{
    QProcess program;
    startHeadless(program, {"--ports", ",,"});
    ASSERT_TRUE(finish(program, 10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 2);
    const QString err = QString::fromUtf8(program.readAllStandardError());
    for (const char *advice : {"no display", "desktop session", "QT_QPA_PLATFORM=offscreen",
                               "--quit-after", "--export-config", "--import-config"})
        EXPECT_TRUE(err.contains(QLatin1String(advice))) << advice << "\n" << err.toStdString();
    EXPECT_FALSE(err.contains("Reinstalling")) << err.toStdString();
}

// --screenshot takes the client area alone, whatever the status bar below it shows.
TEST(Program, TheScreenshotIsTheClientAreaAlone)
{
    QTemporaryDir dir;
    const QString shot = dir.filePath(QStringLiteral("window.png"));
    QProcess program;
    start(program, {"--ports", ",,", "--record", dir.filePath(QStringLiteral("run.csv")),
                    "--quit-after", "1", "--screenshot", shot});
    ASSERT_TRUE(finish(program, 15000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(QImage(shot).size(), QSize(800, 675));
}

namespace {

// A configuration file as the program writes one, saved from a module with `firmware`.
QString writeConfigFile(const QTemporaryDir &dir, const std::array<int, 7> &values,
                        const QString &firmware)
{
    QJsonObject parameters;
    for (std::size_t i = 0; i < values.size(); ++i)
        parameters.insert(QLatin1String(kKeys[i]), values[i]);
    QJsonObject root{{"format", "quelo-config"},
                     {"version", 1},
                     {"saved", "2026-03-01T09:15:30.000+01:00"},
                     {"firmware", firmware},
                     {"parameters", parameters}};
    const QString path = dir.filePath(QStringLiteral("config-%1.json").arg(firmware));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QJsonDocument(root).toJson());
    return path;
}

// Writes and stores in the module's log other than the connection's write-backs of `values`.
int writesOtherThan(const std::vector<std::string> &log, const std::array<int, 7> &values)
{
    static const QRegularExpression write(QStringLiteral("^/([DLTVCMNW])(.*)$"));
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const std::string &line) {
        const QRegularExpressionMatch m = write.match(QString::fromStdString(line));
        if (!m.hasMatch())
            return false;
        const auto index = QStringLiteral("DLTVCMN").indexOf(m.captured(1));
        return index < 0 || m.captured(2).toInt() != values[static_cast<std::size_t>(index)];
    }));
}

} // namespace

// SIGTERM while an import writes to a slow module: what was written is put back, nothing is
// stored, exit 1, and the program says what it put back.
TEST(Program, HeadlessImportInterruptedMidwayPutsBackAndStoresNothing)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    const std::array<int, 7> start{2, 1, 1, 2, -4, 12, 25};
    for (std::size_t i = 0; i < start.size(); ++i)
        ASSERT_TRUE(module.module().setParameter(kLetters[i], start[i]));
    module.module().setBaseLatencyMs(300);
    QTemporaryDir dir;
    const QString path = writeConfigFile(dir, {5, 3, 0, 2, 5, 9, 30}, QStringLiteral("26"));

    QProcess program;
    startHeadless(program, {"--ports", module.devicePath(), "--import-config", path});
    ASSERT_TRUE(waitUntil([&] { return module.module().parameter('n') == 30; }, 30000));
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(finish(program, 60000));
    const QString err = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains("interrupted; put back run_mode_start_delay to 2"))
        << err.toStdString();
    EXPECT_TRUE(err.contains("nothing stored")) << err.toStdString();
    EXPECT_EQ(moduleValues(module), start);
    EXPECT_EQ(module.module().storeCount(), 0);
    expectWholeCommands(module.module().commandLog());
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
// engine speed, advance and bus voltage the module reports, none comes before the connection,
// and the link's events are there.
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
        // Frames the module sent before the port was opened and probed are no part of the run.
        ASSERT_TRUE(events.contains("Connected Comm Port 1")) << row.join(',').toStdString();
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

// A recorded run played back offscreen for a script: no port of any kind is opened, the
// screenshot shows the replay window, and a file that does not read is refused.
TEST(Program, ReplaysARecordingOffscreenWithoutOpeningAPort)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.csv"));
    {
        // Gone before the replay starts, so that no terminal of the test is left open to inherit.
        PtyServer module;
        ASSERT_TRUE(module.start()) << module.errorString().toStdString();
        QProcess recorder;
        start(recorder, {"--ports", module.devicePath(), "--record", path, "--quit-after", "4"});
        ASSERT_TRUE(finish(recorder, 15000));
        ASSERT_EQ(recorder.exitCode(), 0);
    }

    const QString shot = dir.filePath(QStringLiteral("replay.png"));
    QProcess replay;
    start(replay, {"--replay", path, "--speed", "16", "--quit-after", "1.5", "--screenshot", shot});
    ASSERT_TRUE(replay.waitForStarted(5000));
    // Half-way through, the program holds no terminal or serial device.
    QEventLoop wait;
    QTimer::singleShot(800, &wait, &QEventLoop::quit);
    wait.exec();
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(replay.processId()));
    for (const QFileInfo &fd : fds.entryInfoList(QDir::NoDotAndDotDot | QDir::System)) {
        const QString target = fd.symLinkTarget();
        EXPECT_FALSE(target.startsWith(QLatin1String("/dev/tty")) ||
                     target.startsWith(QLatin1String("/dev/pts")) ||
                     target.startsWith(QLatin1String("/dev/ptmx")))
            << target.toStdString();
    }
    ASSERT_TRUE(finish(replay, 10000));
    EXPECT_EQ(replay.exitCode(), 0) << replay.readAllStandardError().toStdString();
    const QImage image(shot);
    EXPECT_GT(image.width(), 800);

    // A malformed file, read off the window's thread as any other: refused, naming the line.
    QFile malformed(dir.filePath(QStringLiteral("bad.csv")));
    ASSERT_TRUE(malformed.open(QIODevice::WriteOnly));
    malformed.write("time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\r\n"
                    "2026-03-01T12:00:00.000+01:00,0.000,fast,,,,\r\n");
    malformed.close();
    QProcess bad;
    start(bad, {"--replay", malformed.fileName(), "--quit-after", "5"});
    ASSERT_TRUE(finish(bad, 10000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_TRUE(bad.readAllStandardError().contains("bad.csv, line 2"));

    // A device that never ends is refused, not read for ever.
    QProcess endless;
    start(endless, {"--replay", "/dev/zero", "--quit-after", "1"});
    ASSERT_TRUE(finish(endless, 10000));
    EXPECT_EQ(endless.exitCode(), 2);
    EXPECT_TRUE(endless.readAllStandardError().contains("not a regular file"));
}

// A recording file that cannot be written stops the program before any port is opened, with a
// window or without.
TEST(Program, AnUnwritableRecordingStopsTheProgramBeforeThePort)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    QTemporaryDir dir;
    const QString unwritable = dir.filePath(QStringLiteral("missing/run.csv"));
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

namespace {

// A run whose files may grow to `limit` bytes at most, as on a nearly full disk; headless
// unless `window`, which runs offscreen.
HeadlessRun runOnAFullDisk(const QStringList &arguments, rlim_t limit, bool window = false)
{
    QProcess program;
    program.setChildProcessModifier([limit] {
        // As a shell's ulimit -f leaves it: the signal's default would end the program.
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit lower{};
        getrlimit(RLIMIT_FSIZE, &lower);
        lower.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lower);
    });
    if (window)
        start(program, arguments);
    else
        startHeadless(program, arguments);
    HeadlessRun run;
    if (!finish(program, 40000)) {
        program.kill();
        program.waitForFinished();
        return run;
    }
    run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.out = program.readAllStandardOutput();
    run.err = QString::fromUtf8(program.readAllStandardError());
    return run;
}

} // namespace

// A window run keeps the connection's restore point; --history lists it without a display or
// a port, and the file it names is a configuration file --import-config takes.
TEST(Program, AWindowRunKeepsARestorePointThatHistoryLists)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    const std::array<int, 7> values{4, 2, 1, 1, -3, 10, 28};
    for (std::size_t i = 0; i < values.size(); ++i)
        ASSERT_TRUE(module.module().setParameter(kLetters[i], values[i]));
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("restore points"));
    QProcess program;
    start(program, {"--ports", module.devicePath(), "--history-dir", folder, "--quit-after", "30"});
    // Once every value is read the restore point is there, and the run can end.
    ASSERT_TRUE(waitUntil(
        [&] { return !QDir(folder).entryList({QStringLiteral("*.json")}, QDir::Files).isEmpty(); },
        30000));
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(finish(program, 5000));
    ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();

    const QList<QStringList> lines = historyLines(folder);
    ASSERT_EQ(lines.size(), 1);
    const QStringList &line = lines.front();
    EXPECT_EQ(line.value(1), "connected");
    EXPECT_EQ(line.value(2), "firmware=26");
    EXPECT_EQ(line.value(3), "port=1");
    EXPECT_EQ(line.value(4), "aircraft=");
    EXPECT_EQ(lineValues(line),
              (std::array<QString, 7>{"4", "Diag", "1", "5 volts", "-4.2", "2560", "39.2"}));
    const QString file = line.mid(12).join(' ');
    EXPECT_TRUE(file.startsWith(folder + '/')) << file.toStdString();

    const HeadlessRun imported = runHeadless(
        {"--ports", module.devicePath(), "--import-config", file, "--history-dir", folder});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.err.contains("the module already holds every value"))
        << imported.err.toStdString();
    EXPECT_EQ(historyLines(folder).size(), 1) << "the same values are not kept twice";

    const HeadlessRun empty =
        runHeadless({"--history", "--history-dir", dir.filePath(QStringLiteral("none"))});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_TRUE(empty.out.isEmpty());
    const HeadlessRun mixed = runHeadless({"--history", "--ports", module.devicePath()});
    EXPECT_EQ(mixed.exitCode, 2) << mixed.err.toStdString();
}

// Export, edit, import: what a script backing up or restoring a module does. A file saved from
// a module with other firmware is refused with exit 2 before anything is written, naming both
// versions, and taken with --any-firmware. The import keeps the module's values before it and,
// once stored, the file's as restore points; --no-history keeps none.
TEST(Program, HeadlessExportThenImportOfTheEditedFileKeepsRestorePoints)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    const std::array<int, 7> start{3, 1, 2, 0, -5, 14, 31};
    for (std::size_t i = 0; i < start.size(); ++i)
        ASSERT_TRUE(module.module().setParameter(kLetters[i], start[i]));
    const QStringList ports{"--ports", module.devicePath()};
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("history"));

    const HeadlessRun exported = runHeadless(
        ports + QStringList{"--export-config", "-", "--history-dir", folder, "--no-history"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(fileValues(exported.out), start) << exported.out.toStdString();
    EXPECT_TRUE(exported.out.startsWith('{')) << "only the file goes to standard output";
    EXPECT_TRUE(exported.err.contains("connected on Comm Port 1")) << exported.err.toStdString();
    EXPECT_TRUE(exported.err.contains("7 of 7 parameters reported")) << exported.err.toStdString();
    EXPECT_EQ(module.module().storeCount(), 0);
    EXPECT_TRUE(historyLines(folder).empty());

    const QString path = dir.filePath(QStringLiteral("edited.json"));
    QByteArray edited = exported.out;
    edited.replace("\"max_rpm_limit\": 14", "\"max_rpm_limit\": 9");
    edited.replace("\"led_mode\": 1", "\"led_mode\": 3");
    edited.replace("\"firmware\": \"26\"", "\"firmware\": \"99\"");
    ASSERT_EQ(edited.count("\"max_rpm_limit\": 9") + edited.count("\"led_mode\": 3") +
                  edited.count("\"firmware\": \"99\""),
              3)
        << "the edit did not apply: " << exported.out.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(edited);
    file.close();

    const HeadlessRun refused = runHeadless(ports + QStringList{"--import-config", path});
    EXPECT_EQ(refused.exitCode, 2) << refused.err.toStdString();
    EXPECT_TRUE(
        refused.err.contains("saved from firmware 99; the connected module has firmware 26"))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("--any-firmware")) << refused.err.toStdString();
    EXPECT_EQ(writesOtherThan(module.module().commandLog(), start), 0);
    EXPECT_EQ(moduleValues(module), start);

    const HeadlessRun imported = runHeadless(
        ports + QStringList{"--import-config", path, "--any-firmware", "--history-dir", folder});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.isEmpty());
    EXPECT_TRUE(imported.err.contains("writing 2 of 7 parameters")) << imported.err.toStdString();
    EXPECT_TRUE(imported.err.trimmed().endsWith("stored")) << imported.err.toStdString();
    const std::array<int, 7> wanted{3, 3, 2, 0, -5, 9, 31};
    EXPECT_EQ(moduleValues(module), wanted);
    EXPECT_EQ(module.module().storeCount(), 1);
    expectWholeCommands(module.module().commandLog());

    const QList<QStringList> lines = historyLines(folder);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].value(1), "imported");
    EXPECT_EQ(lineValues(lines[0]),
              (std::array<QString, 7>{"3", "Sensor", "2", "OC", "-7", "2304", "43.4"}));
    EXPECT_EQ(lines[1].value(1), "connected");
    EXPECT_EQ(lineValues(lines[1]),
              (std::array<QString, 7>{"3", "Mode", "2", "OC", "-7", "3584", "43.4"}));
}

// Two aircraft into one history folder over the simulated module, then the fleet and one
// aircraft's history, read by other runs from what is on disk.
TEST(Program, TwoAircraftShareOneHistoryFolderThenFleetAndHistoryListThem)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("history"));
    const QStringList common{"--ports", module.devicePath(), "--history-dir",
                             folder,    "--export-config",   "-"};
    const HeadlessRun first = runHeadless(common + QStringList{"--aircraft", " N111AA "});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(first.out).object().value("aircraft"), "N111AA");
    ASSERT_TRUE(module.module().setParameter('v', 0)); // tach volts: OC
    const HeadlessRun second = runHeadless(common + QStringList{"--aircraft", "N222BB"});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();

    const HeadlessRun fleet = runHeadless({"--fleet", "--history-dir", folder}, 10000);
    ASSERT_EQ(fleet.exitCode, 0) << fleet.err.toStdString();
    const QStringList rows = QString::fromUtf8(fleet.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3) << fleet.out.toStdString();
    EXPECT_TRUE(rows[1].startsWith("N111AA\t")) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].startsWith("N222BB\t")) << rows[2].toStdString();
    EXPECT_EQ(rows[2].split('\t').value(3), "1") << "one restore point each";
    EXPECT_EQ(rows[2].split('\t').value(7), "OC");

    const HeadlessRun one =
        runHeadless({"--history", "--history-dir", folder, "--aircraft", "n111aa"}, 10000);
    ASSERT_EQ(one.exitCode, 0) << one.err.toStdString();
    const QList<QByteArray> lines = one.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1) << one.out.toStdString();
    EXPECT_TRUE(lines[0].contains(" connected firmware=26 port=1 aircraft=N111AA "));
    EXPECT_TRUE(lines[0].contains("-N111AA-connected.json")) << lines[0].toStdString();
}

// A file saved for another aircraft is refused before the port is touched, unless
// --any-aircraft.
TEST(Program, AnotherAircraftsFileIsRefusedWithExitTwoBeforeThePort)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("n1.json"));
    QJsonObject parameters;
    for (const char *key : kKeys)
        parameters.insert(QLatin1String(key), 1);
    parameters.insert(QLatin1String("max_advance_limit"), 25);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(QJsonObject{{"format", "quelo-config"},
                                         {"version", 1},
                                         {"firmware", "26"},
                                         {"aircraft", "N1"},
                                         {"parameters", parameters}})
                   .toJson());
    file.close();
    const HeadlessRun refused = runHeadless(
        {"--ports", "/dev/quelo-no-such-port", "--import-config", path, "--aircraft", "N2"});
    EXPECT_EQ(refused.exitCode, 2) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains("saved for aircraft N1; the aircraft chosen is N2"))
        << refused.err.toStdString();
    EXPECT_FALSE(refused.err.contains("Port 1")) << "no port was tried";
    // With --any-aircraft the file goes on to the port (here a missing one: exit 1).
    const HeadlessRun taken =
        runHeadless({"--ports", "/dev/quelo-no-such-port", "--import-config", path, "--aircraft",
                     "N2", "--any-aircraft", "--timeout", "3"});
    EXPECT_EQ(taken.exitCode, 1) << taken.err.toStdString();
}

// --print-record: a one-page PDF holding the name and the seven values, and its copy beside
// the restore point in the history folder; a device as destination is refused at once.
TEST(Program, PrintRecordWritesAOnePagePdfWithTheNameAndTheValues)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("history"));
    const QString pdf = dir.filePath(QStringLiteral("record.pdf"));
    const HeadlessRun run = runHeadless({"--ports", module.devicePath(), "--history-dir", folder,
                                         "--aircraft", "G-ABCD", "--print-record", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    ASSERT_TRUE(info.waitForFinished(10000)) << "pdfinfo (poppler-utils) is needed";
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(10000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(words.contains("G-ABCD")) << words.toStdString();
    // The simulated module's defaults as the value boxes show them.
    for (const char *shown : {"Mode", "12 volts", "3072", "-5.6", "35"})
        EXPECT_TRUE(words.contains(QLatin1String(shown))) << shown << "\n" << words.toStdString();
    EXPECT_TRUE(words.contains("The module has stored the values shown."));
    EXPECT_EQ(QDir(folder).entryList({"*-G-ABCD-connected.pdf"}).size(), 1);

    const HeadlessRun device = runHeadless(
        {"--ports", module.devicePath(), "--aircraft", "G-ABCD", "--print-record", "/dev/null"});
    EXPECT_EQ(device.exitCode, 2) << device.err.toStdString();
}

// --history prints each restore point on one line, and a file whose firmware forges a line
// not at all; a history folder that is not a folder is exit 2.
TEST(Program, HistoryPrintsOneLineEachAndRefusesWhatIsNotAFolder)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("history"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const auto restorePoint = [&](const QString &name, const QString &firmware) {
        QJsonObject parameters;
        for (const char *key : kKeys)
            parameters.insert(QLatin1String(key), 1);
        parameters.insert(QLatin1String("max_advance_limit"), 25); // 14 to 35
        const QJsonObject root{{"format", "quelo-config"},
                               {"version", 1},
                               {"saved", "2026-12-07T18:24:25+01:00"},
                               {"firmware", firmware},
                               {"parameters", parameters},
                               {"event", "stored"},
                               {"port", 1}};
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(root).toJson());
    };
    restorePoint(QStringLiteral("20261207-172425-123-stored.json"), QStringLiteral("26"));
    restorePoint(QStringLiteral("forged.json"),
                 QStringLiteral("26\n2026-12-07T18:24:25.000+01:00 stored firmware=26 port=1 "
                                "/tmp/evil.json"));
    const HeadlessRun listed = runHeadless({"--history", "--history-dir", folder});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    const QList<QByteArray> lines = listed.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1) << listed.out.toStdString();
    EXPECT_TRUE(
        lines[0].startsWith("2026-12-07T18:24:25.123+01:00 stored firmware=26 port=1 aircraft= "
                            "run_mode_start_delay=1 led_mode=Mode tach_pulses_per_rev=1 "
                            "tach_volts=\"5 volts\" advance_shift=1.4 max_rpm_limit=256 "
                            "max_advance_limit=35 "))
        << lines[0].toStdString();
    const HeadlessRun json = runHeadless({"--history", "--json", "--history-dir", folder});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(json.out).object().value("file").toString(),
              QDir(folder).filePath(QStringLiteral("20261207-172425-123-stored.json")));

    for (const QString &notAFolder : {QDir(folder).filePath("forged.json"), QString("/dev/null")}) {
        const HeadlessRun refused = runHeadless({"--history", "--history-dir", notAFolder});
        EXPECT_EQ(refused.exitCode, 2) << notAFolder.toStdString();
        EXPECT_TRUE(refused.out.isEmpty());
        EXPECT_TRUE(refused.err.contains("is not a folder")) << refused.err.toStdString();
    }
}

// A path that cannot be what it is meant for is refused with exit 2 at once, before the port:
// the same file named twice (a link included), a device, a FIFO, a folder that is missing.
TEST(Program, RefusesWrongFilePathsBeforeTouchingThePort)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    QTemporaryDir dir;
    const QString run = dir.filePath("run.csv");
    const QString fifo = dir.filePath("fifo.json");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(run, dir.filePath("link.csv")));
    const QStringList port{"--ports", module.devicePath()};
    const struct
    {
        QStringList arguments;
        QString error;
    } cases[] = {
        {{"--record", run, "--export-config", run}, "--record and --export-config name the same"},
        {{"--record", dir.filePath("link.csv"), "--log", run, "--quit-after", "1"},
         "--record and --log name the same file"},
        {{"--record", "-", "--export-config", "-"}, "name the same file (-)"},
        {{"--export-config", dir.filePath("missing/e.json")}, "does not exist"},
        {{"--export-config", dir.path()}, "not a regular file"},
        {{"--export-config", fifo}, "not a regular file"},
        {{"--import-config", fifo}, "not a regular file"},
        {{"--import-config", "/dev/zero"}, "not a regular file"},
    };
    for (const auto &c : cases) {
        QElapsedTimer took;
        took.start();
        const HeadlessRun result = runHeadless(port + c.arguments, 20000);
        EXPECT_EQ(result.exitCode, 2) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(c.error)) << result.err.toStdString();
        EXPECT_LT(took.elapsed(), 5000) << c.arguments.join(' ').toStdString();
    }
    EXPECT_TRUE(module.module().commandLog().empty());
    EXPECT_FALSE(QFileInfo::exists(run));
}

// A full disk during an export: the old backup stays as it was, exit 2, and no "wrote"; the
// recording and the log stop with a message on standard error, whole rows only. In the window
// a recording that stops is exit 1. The limit is set as ulimit -f sets it, without ignoring
// SIGXFSZ.
TEST(Program, AFullDiskNeverDestroysAFileOrPassesForSuccess)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    QTemporaryDir dir;
    const QString backup = dir.filePath("e2.json");
    QFile old(backup);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("{\"the\": \"old backup\"}\n");
    old.close();
    const QStringList port{"--ports", module.devicePath()};

    const QString run = dir.filePath("run.csv");
    const QString log = dir.filePath("link.log");
    const HeadlessRun exported = runOnAFullDisk(
        port + QStringList{"--record", run, "--log", log, "--export-config", backup}, 200);
    EXPECT_EQ(exported.exitCode, 2) << exported.err.toStdString();
    EXPECT_FALSE(exported.err.contains("wrote")) << exported.err.toStdString();
    EXPECT_TRUE(exported.err.contains("cannot write " + backup)) << exported.err.toStdString();
    EXPECT_EQ(readAll(backup), "{\"the\": \"old backup\"}\n");
    EXPECT_TRUE(exported.err.contains("quelo-link: Recording into " + run + " stopped"))
        << exported.err.toStdString();
    EXPECT_TRUE(exported.err.contains("quelo-link: logging into " + log + " stopped"))
        << exported.err.toStdString();
    EXPECT_TRUE(readAll(run).endsWith("\r\n")) << readAll(run).toStdString();
    EXPECT_TRUE(readAll(log).endsWith("\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"e2.json", "link.log", "run.csv"}));

    // In the window: standard error and the status bar (whose notes go to the log).
    QFile::remove(run);
    QFile::remove(log);
    const HeadlessRun window = runOnAFullDisk(
        port + QStringList{"--record", run, "--log", log, "--quit-after", "4"}, 300, true);
    EXPECT_EQ(window.exitCode, 1) << window.err.toStdString();
    EXPECT_TRUE(window.err.contains("exit status 1: the recording stopped"))
        << window.err.toStdString();
    EXPECT_TRUE(window.err.contains("quelo-link: Recording into " + run + " stopped"))
        << window.err.toStdString();
    EXPECT_TRUE(window.err.contains("quelo-link: logging into " + log + " stopped"))
        << window.err.toStdString();
    // The status bar's note goes to the log: into its file while that takes lines, else to
    // standard error.
    const QRegularExpression note("note: Recording into .* stopped");
    EXPECT_TRUE(window.err.contains(note) || readAll(log).contains(note))
        << window.err.toStdString();
    EXPECT_TRUE(readAll(run).endsWith("\r\n")) << readAll(run).toStdString();
}

// The export's file is the one checked at the start: a link put in its place while the module
// is read is refused, the file it points to untouched.
TEST(Program, AnExportNeverWritesThroughALinkPutInPlaceOfItsFile)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    QTemporaryDir dir;
    const QString backup = dir.filePath("backup.json");
    const QString victim = dir.filePath("victim.txt");
    for (const QString &path : {backup, victim}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("untouched\n");
    }
    QProcess program;
    startHeadless(program, {"--ports", module.devicePath(), "--export-config", backup});
    // The first command reaches the module once the file has been checked; the answers, and
    // so the write, wait for this thread.
    ASSERT_TRUE(waitUntil([&] { return !module.module().commandLog().empty(); }, 10000));
    ASSERT_TRUE(QFile::remove(backup));
    ASSERT_TRUE(QFile::link(victim, backup));
    ASSERT_TRUE(finish(program, 40000));
    const QString err = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(program.exitCode(), 2) << err.toStdString();
    EXPECT_TRUE(err.contains("cannot write " + backup + ": it was replaced")) << err.toStdString();
    EXPECT_FALSE(err.contains("wrote")) << err.toStdString();
    EXPECT_EQ(readAll(victim), "untouched\n");
    EXPECT_TRUE(QFileInfo(backup).isSymLink());
}

// A headless export records the run: --record - streams it to standard output, as
// --export-config - does the file. An export to a link named from the start is written through
// it, and the message names the file written.
TEST(Program, RecordsAHeadlessRunToStandardOutput)
{
    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    ASSERT_TRUE(module.module().setParameter('m', 10));
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const QString target = dir.filePath("target.json");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older backup\n");
    old.close();
    ASSERT_TRUE(QFile::link(target, dir.filePath("e.json")));
    const HeadlessRun run = runHeadless({"--ports", module.devicePath(), "--record", "-",
                                         "--export-config", dir.filePath("e.json")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(kRecordingHeader.toUtf8() + "\r\n")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("Connected Comm Port 1")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(",max_rpm_limit=2560\r\n")) << run.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("-")));
    EXPECT_TRUE(run.err.trimmed().endsWith("wrote " + target)) << run.err.toStdString();
    EXPECT_TRUE(readAll(target).startsWith('{'));
    EXPECT_TRUE(QFileInfo(dir.filePath("e.json")).isSymLink());

    // A reader that goes away (| head): the recording stops with a message, the export goes
    // on, and the exit status says the recording failed.
    const HeadlessRun cut = runHeadless(
        {"-c",
         QStringLiteral("'%1' --ports '%2' --record - --export-config '%3' | head -c 100 "
                        ">/dev/null; exit ${PIPESTATUS[0]}")
             .arg(QStringLiteral(QUELO_LINK_BIN), module.devicePath(), dir.filePath("e2.json"))},
        40000, QStringLiteral("/bin/bash"));
    EXPECT_EQ(cut.exitCode, 1) << cut.err.toStdString();
    EXPECT_TRUE(cut.err.contains("Recording into standard output stopped"))
        << cut.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("e2.json")));
}

// quelo-link --trends FILE.csv opens Trends on that recording; a bad one is reported and the
// program exits with 2.
TEST(Program, TrendsOpensARecordingNamedOnTheCommandLine)
{
    QTemporaryDir dir;
    const QString good = dir.filePath("good.csv");
    const QString bad = dir.filePath("bad.csv");
    for (const auto &[path, row] : {std::pair{good, "1000"}, std::pair{bad, "lots"}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            (kRecordingHeader + "\r\n2026-03-01T13:00:00.250+01:00,0.250," + row + ",,,,\r\n")
                .toUtf8());
    }
    for (const QString &path : {good, bad}) {
        const QString log = dir.filePath("trends.log");
        QFile::remove(log);
        QProcess program;
        start(program, {"--ports", ",,", "--log", log, "--quit-after", "3", "--trends", path});
        ASSERT_TRUE(finish(program, 20000));
        const QString wanted = path == good ? "note: Opened recording " + good
                                            : "note: " + bad + ", line 2: \"lots\" in column rpm";
        EXPECT_TRUE(readAll(log).contains(wanted)) << readAll(log).toStdString();
        // A bad one ends the run as --replay's does.
        EXPECT_EQ(program.exitCode(), path == good ? 0 : 2);
        const QString err = QString::fromUtf8(program.readAllStandardError());
        EXPECT_EQ(err.contains(bad + ", line 2"), path == bad) << err.toStdString();
    }
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
