#include "main_window.h"
#include "perf_log.h"
#include "qt_timer_host.h"
#include "view_fonts.h"
#include "window_model.h"
#include "window_printer.h"
#include "port_order.h"
#include "qt_serial_comm.h"
#include "pty_server.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>
#include <memory>

using namespace quelo;

namespace {

// --help and --version answer without a display.
bool onlyAsksForHelpOrVersion(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h" || arg == "--help-all" || arg == "--version" ||
            arg == "-v")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    std::unique_ptr<QCoreApplication> application;
    if (onlyAsksForHelpOrVersion(argc, argv)) {
        application = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        installFontSubstitutes();
        application = std::make_unique<QApplication>(argc, argv);
    }
    QCoreApplication &app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("quelo-link"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUELO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Data link for the Quelo Series 508 ignition module.\n"
        "The module is looked for on ports 1, 2 and 3 in turn (9600 baud, 8N1). Without --ports\n"
        "those are COM1..COM3 on Windows, and elsewhere the first three serial devices the\n"
        "system lists: USB adapters (ttyUSB*, ttyACM*, cu.usb*) first, then the others, each\n"
        "group in name order with numbers compared by value."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portsOption(
        QStringLiteral("ports"),
        QStringLiteral("Device paths for ports 1..3, comma separated. An entry may be empty or "
                       "name a missing device: that port then fails to open."),
        QStringLiteral("DEV1,DEV2,DEV3"));
    const QCommandLineOption demoOption(
        QStringLiteral("demo"),
        QStringLiteral("Start a simulated module on a pseudo-terminal and put it on port 1."));
    const QCommandLineOption screenshotOption(
        QStringLiteral("screenshot"),
        QStringLiteral("With --quit-after: save a PNG of the window before quitting."),
        QStringLiteral("FILE.png"));
    const QCommandLineOption quitOption(QStringLiteral("quit-after"),
                                        QStringLiteral("Quit after SECONDS."),
                                        QStringLiteral("SECONDS"));
    parser.addOptions({portsOption, demoOption, screenshotOption, quitOption});
    parser.process(app);

    QStringList devices = parser.isSet(portsOption)
                              ? QStringList()
                              : QtSerialComm::defaultDevices();
    if (parser.isSet(portsOption)) {
        for (const std::string &device : parsePortList(parser.value(portsOption).toStdString()))
            devices << QString::fromStdString(device);
    }

    std::unique_ptr<sim::PtyServer> simulator;
    if (parser.isSet(demoOption)) {
        simulator = std::make_unique<sim::PtyServer>();
        if (!simulator->start()) {
            std::fprintf(stderr, "quelo-link: cannot start the simulated module: %s\n",
                         qPrintable(simulator->errorString()));
            return 1;
        }
        devices[0] = simulator->devicePath();
    }

    bool quitAfterOk = true;
    const double quitAfter = parser.isSet(quitOption)
                                 ? parser.value(quitOption).toDouble(&quitAfterOk)
                                 : -1.0;
    if (!quitAfterOk) {
        std::fprintf(stderr, "quelo-link: --quit-after needs a number of seconds\n");
        return 2;
    }

    QtTimerHost timers;
    QtSerialComm comm(devices);
    MainWindow *window = nullptr;
    WindowModel model(comm, timers, [&window] {
        if (window)
            printWindow(*window);
    });
    model.Form_Load();
    MainWindow mainWindow(model);
    window = &mainWindow;
    const PerfLog perfLog(mainWindow); // silent unless quelo.perf logging is on
    mainWindow.show();

    int exitCode = 0;
    if (quitAfter >= 0) {
        const QString screenshot = parser.value(screenshotOption);
        QTimer::singleShot(static_cast<int>(quitAfter * 1000), &mainWindow, [&] {
            if (!screenshot.isEmpty() && !mainWindow.grab().save(screenshot, "PNG")) {
                std::fprintf(stderr, "quelo-link: cannot write %s\n", qPrintable(screenshot));
                exitCode = 1;
            }
            mainWindow.close();
        });
    }
    const int loopResult = app.exec();
    return exitCode != 0 ? exitCode : loopResult;
}
