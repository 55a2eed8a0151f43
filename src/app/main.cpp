// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_window.h"
#include "config_command.h"
#include "demo_module.h"
#include "launch_recording.h"
#include "link_logging.h"
#include "main_window.h"
#include "options.h"
#include "perf_log.h"
#include "qt_serial_comm.h"
#include "qt_timer_host.h"
#include "quit_signals.h"
#include "run_file.h"
#include "view_fonts.h"
#include "window_model.h"
#include "window_printer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <memory>

using namespace quelo;

namespace {

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
        std::fprintf(stderr, "quelo-link: %s\nTry 'quelo-link --help'.\n",
                     qPrintable(options.text));
        return kExitUsage;
    case Options::Action::Run:
        break;
    }
    return -1;
}

// Quits after the given time as closing the window does, without asking, saving a screenshot of the
// client area (without the menu bar) first if asked.
void scheduleQuit(const Options &options, AppWindow &window, int &exitCode)
{
    const auto ms = static_cast<int>(std::lround(*options.quitAfterSeconds * 1000.0));
    QTimer::singleShot(ms, &window, [&window, &exitCode, file = options.screenshot] {
        if (!file.isEmpty() && !window.client().grab().save(file, "PNG")) {
            std::fprintf(stderr, "quelo-link: cannot write %s\n", qPrintable(file));
            exitCode = 1;
        }
        window.quitWithoutAsking();
    });
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
        if (!options.logFile.isEmpty() && !m_logOutput.logToFile(options.logFile)) {
            std::fprintf(stderr, "quelo-link: cannot write %s: %s\n", qPrintable(options.logFile),
                         qPrintable(m_logOutput.errorString()));
            return kExitUsage;
        }
        m_devices = options.ports.value_or(QtSerialComm::defaultDevices());
        if (options.demo) {
            if (!m_demo.start()) {
                std::fprintf(stderr, "quelo-link: cannot start the simulated module: %s\n",
                             qPrintable(m_demo.errorString()));
                return kExitLink;
            }
            m_devices[0] = m_demo.devicePath();
        }
        return -1;
    }
    const QStringList &devices() const { return m_devices; }

private:
    LinkLogOutput m_logOutput;
    QStringList m_devices;
    DemoModule m_demo;
};

// --export-config / --import-config: no widgets, no display.
int runConfigCommand(const Options &options, int argc, char *argv[])
{
    ConfigCommand command(options);
    if (!command.prepare())
        return kExitUsage;
    QCoreApplication app(argc, argv);
    RunSetup setup;
    if (const int failed = setup.start(options); failed >= 0)
        return failed;
    RunFile recording;
    const bool recorded = !options.record.isEmpty();
    if (recorded && !recordAtLaunch(recording, options.record))
        return kExitLink;
    return command.run(setup.devices(), recorded ? &recording : nullptr);
}

int runWindow(const Options &options, int argc, char *argv[])
{
    installFontSubstitutes();
    QApplication app(argc, argv);
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
    AppWindow appWindow(model);
    appWindow.setPortDevices(setup.devices());
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
    if (options.quitAfterSeconds)
        scheduleQuit(options, appWindow, exitCode);
    const int loopResult = app.exec();
    return exitCode != 0 ? exitCode : loopResult;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const Options options = parseOptions(arguments);
    if (const int answered = answerWithoutWindow(options); answered >= 0)
        return answered;
    return options.configCommand() ? runConfigCommand(options, argc, argv)
                                   : runWindow(options, argc, argv);
}
