// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_window.h"
#include "config_command.h"
#include "demo_module.h"
#include "file_paths.h"
#include "fleet_command.h"
#include "history_command.h"
#include "launch_recording.h"
#include "link_logging.h"
#include "main_window.h"
#include "options.h"
#include "perf_log.h"
#include "print_record_command.h"
#include "qt_serial_comm.h"
#include "qt_timer_host.h"
#include "quit_signals.h"
#include "replay_run.h"
#include "run_file.h"
#include "summary_command.h"
#include "translations.h"
#include "trends_window.h"
#include "view_fonts.h"
#include "window_model.h"
#include "window_printer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

using namespace quelo;

namespace {

// The program's messages on standard error and standard output.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(Main)
};

// Every application object of the run speaks the language the environment asks for.
void speakUsersLanguage(QCoreApplication &app)
{
    installTranslations(app, wantedLanguagesFromEnvironment());
}

// Answers --help, --version and a bad command line without a display; -1 means run.
int answerWithoutWindow(const Options &options)
{
    switch (options.action) {
    case Options::Action::Help:
        std::fputs(qPrintable(options.text), stdout);
        return 0;
    case Options::Action::Version:
        std::printf("quelo-link %s\n", QUELO_VERSION);
        return 0;
    case Options::Action::Error:
        std::fprintf(stderr, "quelo-link: %s\n%s\n", qPrintable(options.text),
                     qPrintable(Text::tr("Try 'quelo-link --help'.")));
        return kExitUsage;
    case Options::Action::Run:
        break;
    }
    return -1;
}

// Qt aborts a window run without a display, with advice that does not apply. Looked at before
// the application object exists: where Qt would pick X11 or Wayland and neither is there, and
// no platform was chosen.
bool noDisplayForWindow()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        if (!qEnvironmentVariableIsEmpty(name))
            return false;
    return true;
#else
    return false;
#endif
}

void explainNoDisplay()
{
    std::fputs(qPrintable(Text::tr("quelo-link: no display to open the window on (neither DISPLAY "
                                   "nor WAYLAND_DISPLAY is set).\n"
                                   "  Run it from a desktop session; or run the window without a "
                                   "screen:\n"
                                   "    QT_QPA_PLATFORM=offscreen quelo-link --quit-after SECONDS "
                                   "[--screenshot FILE.png]\n"
                                   "  or use a command that needs no window: --export-config "
                                   "FILE, --import-config FILE.\n")),
               stderr);
}

// Quits after the given time as closing the window does, without asking, saving a screenshot
// of the client area (without the menu bar, as a page shows it) first if asked.
void scheduleQuit(const Options &options, AppWindow &window, int &exitCode)
{
    const auto ms = static_cast<int>(std::lround(*options.quitAfterSeconds * 1000.0));
    QTimer::singleShot(ms, &window, [&window, &exitCode, file = options.screenshot] {
        if (!file.isEmpty() && !pageImage(window.client()).save(file, "PNG")) {
            std::fprintf(stderr, "quelo-link: %s\n",
                         qPrintable(Text::tr("cannot write %1").arg(file)));
            exitCode = 1;
        }
        window.quitWithoutAsking();
    });
}

// --trends FILE: a file that does not read ends the run as --replay's does, the reason naming
// the line on standard error and exit status 2. Only the first recording read counts: the one
// named at launch, unless a file opened from the menu replaced it while it was read.
void quitIfTrendsFileFails(const QString &path, AppWindow &window, int &exitCode)
{
    QObject::connect(
        &window, &AppWindow::recordingRead, &window,
        [path, &window, &exitCode](const QString &read, const QString &error) {
            if (read != path || error.isEmpty())
                return;
            std::fprintf(stderr, "quelo-link: %s\n", qPrintable(error));
            exitCode = kExitUsage;
            window.quitWithoutAsking();
        },
        Qt::SingleShotConnection);
}

// What main() sets up for a window and a headless run alike: the log output and the devices of
// ports 1..3, with the simulated module on port 1 for --demo. Needs the application object.
class RunSetup
{
public:
    // The exit code when the setup failed; -1 when it is ready.
    int start(const Options &options)
    {
        QCoreApplication::setApplicationName(QStringLiteral("quelo-link"));
        QCoreApplication::setApplicationVersion(QStringLiteral(QUELO_VERSION));
        m_logOutput.setFailureHandler([this](const QString &message) { logFailed(message); });
        if (!options.logFile.isEmpty() && !m_logOutput.logToFile(options.logFile)) {
            std::fprintf(stderr, "quelo-link: %s\n",
                         qPrintable(Text::tr("cannot write %1: %2")
                                        .arg(options.logFile, m_logOutput.errorString())));
            return kExitUsage;
        }
        m_devices = options.ports.value_or(QtSerialComm::defaultDevices());
        if (options.demo) {
            if (!m_demo.start()) {
                std::fprintf(stderr, "quelo-link: %s\n",
                             qPrintable(Text::tr("cannot start the simulated module: %1")
                                            .arg(m_demo.errorString())));
                return kExitLink;
            }
            m_devices[0] = m_demo.devicePath();
        }
        return -1;
    }
    const QStringList &devices() const { return m_devices; }
    // Where a failed write to the --log file is shown besides standard error.
    void setNotes(std::function<void(const QString &)> notes) { m_notes = std::move(notes); }

private:
    // Runs inside Qt's message handler: the window hears of it once that has returned.
    void logFailed(const QString &message)
    {
        std::fprintf(stderr, "quelo-link: %s\n", qPrintable(message));
        std::fflush(stderr);
        if (m_notes)
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [notes = m_notes, message] { notes(message); },
                Qt::QueuedConnection);
    }

    std::function<void(const QString &)> m_notes;
    LinkLogOutput m_logOutput;
    QStringList m_devices;
    DemoModule m_demo;
};

// --export-config / --import-config: no widgets, no display.
int runConfigCommand(const Options &options, int argc, char *argv[])
{
    ConfigCommand command(options);
    if (!command.prepare() || !checkRecordTarget(options))
        return kExitUsage;
    // A record is laid out with fonts, which a display-less run finds through the offscreen
    // platform.
    if (!options.printRecord.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        options.printRecord.isEmpty() ? std::make_unique<QCoreApplication>(argc, argv)
                                      : std::make_unique<QGuiApplication>(argc, argv);
    speakUsersLanguage(*app);
    RunSetup setup;
    if (const int failed = setup.start(options); failed >= 0)
        return failed;
    if (!options.printRecord.isEmpty())
        command.setRecordSink(recordSink(options, setup.devices()));
    RunFile recording;
    recording.setAircraft(options.aircraft.toStdString());
    const bool recorded = !options.record.isEmpty();
    if (recorded && !recordAtLaunch(recording, options.record))
        return kExitLink;
    bool recordingFailed = false;
    QObject::connect(&recording, &RunFile::failed, [&recordingFailed] { recordingFailed = true; });
    const int exitCode = command.run(setup.devices(), recorded ? &recording : nullptr);
    // The command's own failure says more; a run that did all else still failed to record.
    return exitCode == kExitDone && recordingFailed ? kExitLink : exitCode;
}

// --replay: the replay window alone.
int runReplay(const Options &options, int argc, char *argv[])
{
    installFontSubstitutes();
    QApplication app(argc, argv);
    speakUsersLanguage(app);
    QCoreApplication::setApplicationName(QStringLiteral("quelo-link"));
    return replayRecording(options);
}

int runWindow(const Options &options, int argc, char *argv[])
{
    installFontSubstitutes();
    QApplication app(argc, argv);
    speakUsersLanguage(app);
    RunSetup setup;
    if (const int failed = setup.start(options); failed >= 0)
        return failed;

    QtTimerHost timers;
    QtSerialComm comm(setup.devices());
    MainWindow *client = nullptr;
    WindowModel model(comm, timers, [&client] {
        if (client)
            printWindow(*client);
    });
    model.linkLog().setSink(linkLogSink());
    model.setReconnect(options.reconnect);
    AppWindow appWindow(model);
    appWindow.setPortDevices(setup.devices());
    appWindow.changes().setKeeping(!options.noHistory);
    appWindow.changes().startHistory(historyFolder(options));
    appWindow.chooseAircraft(options.aircraft);
    setup.setNotes([&appWindow](const QString &message) { appWindow.notes().post(message); });
    bool recordingFailed = false;
    reportRecordingFailures(appWindow, recordingFailed);
    // Recording starts before the port scan, so the file has the run's first status line.
    if (!options.record.isEmpty() && !recordAtLaunch(appWindow, options.record))
        return kExitLink;
    model.Form_Load();
    client = &appWindow.client();
    // The top-level window: the client's widgets report paints as part of it. Silent unless
    // quelo.perf logging is on.
    const PerfLog perfLog(appWindow);
    // SIGINT, SIGTERM and SIGHUP close the window without asking: the port is closed as on
    // unload, a command half sent finished first.
    const QuitSignals quitSignals([&appWindow] { appWindow.quitWithoutAsking(); });
    appWindow.show();
    if (options.trends)
        appWindow.showTrends();
    int exitCode = 0;
    if (!options.trendsFile.isEmpty()) {
        quitIfTrendsFileFails(options.trendsFile, appWindow, exitCode);
        appWindow.openRecording(options.trendsFile);
    }

    if (options.quitAfterSeconds)
        scheduleQuit(options, appWindow, exitCode);
    const int loopResult = app.exec();
    if (exitCode == 0 && loopResult == 0 && recordingFailed && !options.record.isEmpty()) {
        std::fprintf(stderr, "quelo-link: %s\n",
                     qPrintable(Text::tr("exit status 1: the recording stopped before the run "
                                         "ended")));
        return kExitLink;
    }
    return exitCode != 0 ? exitCode : loopResult;
}

} // namespace

int main(int argc, char *argv[])
{
    // A reader of standard output that goes away (| head) makes a write fail with EPIPE, which
    // is reported like any failed write, instead of ending the program with the port open.
    std::signal(SIGPIPE, SIG_IGN);
    // A file-size limit (ulimit -f) would end the program at the write that crosses it, with a
    // row cut short and the port and its lock left as they were; ignored, that write fails
    // with EFBIG and is reported like a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // The command line is read, and answered, in the user's language: an application object
    // of its own holds the translation until the run's own one exists.
    auto early = std::make_unique<QCoreApplication>(argc, argv);
    speakUsersLanguage(*early);
    const Options options = parseOptions(arguments);
    if (const int answered = answerWithoutWindow(options); answered >= 0)
        return answered;
    if (const std::optional<QString> wrong = checkFilePaths(options)) {
        std::fprintf(stderr, "quelo-link: %s\n", qPrintable(*wrong));
        return kExitUsage;
    }
    const bool windowless = options.listHistory || options.listFleet ||
                            !options.summary.isEmpty() || options.configCommand();
    if (!windowless && noDisplayForWindow()) {
        explainNoDisplay();
        return kExitUsage;
    }
    early.reset();
    if (options.listHistory) {
        QCoreApplication app(argc, argv);
        speakUsersLanguage(app);
        QCoreApplication::setApplicationName(QStringLiteral("quelo-link"));
        return printHistory(options);
    }
    if (!options.summary.isEmpty()) {
        QCoreApplication app(argc, argv);
        speakUsersLanguage(app);
        return printSummary(options);
    }
    if (options.listFleet) {
        QCoreApplication app(argc, argv);
        speakUsersLanguage(app);
        QCoreApplication::setApplicationName(QStringLiteral("quelo-link"));
        return printFleet(options);
    }
    if (options.configCommand())
        return runConfigCommand(options, argc, argv);
    if (!options.replay.isEmpty())
        return runReplay(options, argc, argv);
    return runWindow(options, argc, argv);
}
