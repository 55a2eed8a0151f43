#include "link_logging.h"
#include "main_window.h"
#include "options.h"
#include "perf_log.h"
#include "qt_timer_host.h"
#include "quit_signals.h"
#include "view_fonts.h"
#include "window_model.h"
#include "window_printer.h"
#include "qt_serial_comm.h"
#include "pty_server.h"

#include <QApplication>
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
        return 2;
    case Options::Action::Run:
        break;
    }
    return -1;
}

// Quits after the given time as closing the window would, saving a screenshot first if asked.
void scheduleQuit(const Options &options, MainWindow &window, int &exitCode)
{
    const auto ms = static_cast<int>(std::lround(*options.quitAfterSeconds * 1000.0));
    QTimer::singleShot(ms, &window, [&window, &exitCode, file = options.screenshot] {
        if (!file.isEmpty() && !window.grab().save(file, "PNG")) {
            std::fprintf(stderr, "quelo-link: cannot write %s\n", qPrintable(file));
            exitCode = 1;
        }
        window.close();
    });
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

    installFontSubstitutes();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quelo-link"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUELO_VERSION));
    LinkLogOutput logOutput;
    if (!options.logFile.isEmpty() && !logOutput.logToFile(options.logFile)) {
        std::fprintf(stderr, "quelo-link: cannot write %s: %s\n", qPrintable(options.logFile),
                     qPrintable(logOutput.errorString()));
        return 2;
    }

    QStringList devices = options.ports.value_or(QtSerialComm::defaultDevices());
    std::unique_ptr<sim::PtyServer> simulator;
    if (options.demo) {
        simulator = std::make_unique<sim::PtyServer>();
        if (!simulator->start()) {
            std::fprintf(stderr, "quelo-link: cannot start the simulated module: %s\n",
                         qPrintable(simulator->errorString()));
            return 1;
        }
        devices[0] = simulator->devicePath();
    }

    QtTimerHost timers;
    QtSerialComm comm(devices);
    MainWindow *window = nullptr;
    WindowModel model(comm, timers, [&window] {
        if (window)
            printWindow(*window);
    });
    model.linkLog().setSink(linkLogSink());
    model.Form_Load();
    MainWindow mainWindow(model);
    window = &mainWindow;
    const PerfLog perfLog(mainWindow); // silent unless quelo.perf logging is on
    // SIGINT and SIGTERM close the window as the user would: the port is closed as on unload.
    const QuitSignals quitSignals([&mainWindow] { mainWindow.close(); });
    mainWindow.show();

    int exitCode = 0;
    if (options.quitAfterSeconds)
        scheduleQuit(options, mainWindow, exitCode);
    const int loopResult = app.exec();
    return exitCode != 0 ? exitCode : loopResult;
}
