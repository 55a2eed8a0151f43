#include "pty_server.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <unistd.h>

using quelo::sim::PtyServer;

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

bool parseRate(const QString &text, double *rate)
{
    bool ok = false;
    *rate = text.toDouble(&ok);
    return ok && *rate >= 0.0 && *rate <= 1.0;
}

int fatal(const QString &message)
{
    std::fprintf(stderr, "quelo-sim: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quelo-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated ignition module on a pseudo-terminal. Prints the device path, "
                       "then serves until SIGINT or SIGTERM."));
    parser.addHelpOption();
    const QCommandLineOption linkOption(QStringLiteral("link"),
                                        QStringLiteral("Also create a symlink PATH to the device."),
                                        QStringLiteral("PATH"));
    const QCommandLineOption silentOption(QStringLiteral("silent"),
                                          QStringLiteral("Receive but never answer."));
    const QCommandLineOption dropOption(QStringLiteral("drop"),
                                        QStringLiteral("Probability a reply is dropped."),
                                        QStringLiteral("RATE"));
    const QCommandLineOption delayOption(
        QStringLiteral("delay"), QStringLiteral("Extra reply latency."), QStringLiteral("MS"));
    const QCommandLineOption jitterOption(QStringLiteral("jitter"),
                                          QStringLiteral("Random extra latency 0..MS."),
                                          QStringLiteral("MS"));
    const QCommandLineOption garbageOption(QStringLiteral("garbage"),
                                           QStringLiteral("Probability of noise before a reply."),
                                           QStringLiteral("RATE"));
    const QCommandLineOption crlfOption(QStringLiteral("crlf"),
                                        QStringLiteral("End replies with CR LF instead of CR."));
    const QCommandLineOption telemetryOption(QStringLiteral("telemetry"),
                                             QStringLiteral("Send telemetry frames every 500 ms."));
    const QCommandLineOption seedOption(QStringLiteral("seed"),
                                        QStringLiteral("Seed for the engine run and faults."),
                                        QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption paramOption(
        QStringLiteral("param"), QStringLiteral("Initial parameter value, e.g. d=3 (repeatable)."),
        QStringLiteral("L=V"));
    const QCommandLineOption steadyOption(
        QStringLiteral("steady"),
        QStringLiteral("Hold the engine still at idle: every reading stays the same while the "
                       "module keeps answering."));
    const QCommandLineOption steadyAtOption(
        QStringLiteral("steady-at"),
        QStringLiteral("Hold the engine still as it is MS into its run (0: stopped)."),
        QStringLiteral("MS"));
    parser.addOptions({linkOption, silentOption, dropOption, delayOption, jitterOption,
                       garbageOption, crlfOption, telemetryOption, seedOption, paramOption,
                       steadyOption, steadyAtOption});
    parser.process(app);

    bool ok = false;
    const uint seed = parser.value(seedOption).toUInt(&ok);
    if (!ok)
        return fatal(QStringLiteral("invalid --seed"));
    PtyServer server(seed);
    quelo::sim::ModuleSim &module = server.module();

    quelo::sim::Faults faults;
    faults.silent = parser.isSet(silentOption);
    if (parser.isSet(dropOption) && !parseRate(parser.value(dropOption), &faults.dropRate))
        return fatal(QStringLiteral("--drop needs a rate between 0 and 1"));
    if (parser.isSet(garbageOption) && !parseRate(parser.value(garbageOption), &faults.garbageRate))
        return fatal(QStringLiteral("--garbage needs a rate between 0 and 1"));
    if (parser.isSet(delayOption)) {
        faults.delayMs = parser.value(delayOption).toInt(&ok);
        if (!ok || faults.delayMs < 0)
            return fatal(QStringLiteral("invalid --delay"));
    }
    if (parser.isSet(jitterOption)) {
        faults.jitterMs = parser.value(jitterOption).toInt(&ok);
        if (!ok || faults.jitterMs < 0)
            return fatal(QStringLiteral("invalid --jitter"));
    }
    module.setFaults(faults);
    if (parser.isSet(crlfOption))
        module.setLineEnding(quelo::sim::LineEnding::CrLf);
    module.setTelemetryEnabled(parser.isSet(telemetryOption));
    for (const QString &assignment : parser.values(paramOption)) {
        const QStringList parts = assignment.split(QLatin1Char('='));
        const int value = parts.size() == 2 ? parts.at(1).toInt(&ok) : 0;
        if (parts.size() != 2 || parts.at(0).size() != 1 || !ok ||
            !module.setParameter(parts.at(0).at(0).toLatin1(), value)) {
            return fatal(QStringLiteral("invalid --param %1").arg(assignment));
        }
    }

    if (parser.isSet(steadyAtOption)) {
        const qint64 atMs = parser.value(steadyAtOption).toLongLong(&ok);
        if (!ok || atMs < 0)
            return fatal(QStringLiteral("invalid --steady-at"));
        module.holdEngine(atMs);
    } else if (parser.isSet(steadyOption)) {
        module.holdEngine(module.firstIdleMs());
    }

    if (!server.start())
        return fatal(server.errorString());
    if (parser.isSet(linkOption) && !server.createSymlink(parser.value(linkOption)))
        return fatal(QStringLiteral("cannot create symlink %1").arg(parser.value(linkOption)));

    if (::pipe(signalPipe) != 0)
        return fatal(QStringLiteral("pipe failed"));
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    std::printf("%s\n", qPrintable(server.devicePath()));
    std::fflush(stdout);
    return app.exec();
}
