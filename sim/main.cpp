// SPDX-License-Identifier: GPL-3.0-or-later
#include "pty_server.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <optional>
#include <unistd.h>

using quelo::sim::ModuleSim;
using quelo::sim::PtyServer;

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

// The command line of the simulator; each option says what it does in --help.
struct SimOptions
{
    QCommandLineOption link{"link", "Also create a symlink PATH to the device.", "PATH"};
    QCommandLineOption silent{"silent", "Receive but never answer."};
    QCommandLineOption drop{"drop", "Probability a reply is dropped.", "RATE"};
    QCommandLineOption delay{"delay", "Extra reply latency.", "MS"};
    QCommandLineOption jitter{"jitter", "Random extra latency 0..MS.", "MS"};
    QCommandLineOption garbage{"garbage", "Probability of noise before a reply.", "RATE"};
    QCommandLineOption unterminated{"unterminated",
                                    "Probability a reply is sent without its line end.", "RATE"};
    QCommandLineOption outOfRange{"out-of-range",
                                  "What a write outside the parameter's range does: keep (echo, "
                                  "keep the old value; the default), clamp (echo, store the "
                                  "nearest valid value) or ignore (no echo, no change).",
                                  "POLICY"};
    QCommandLineOption crlf{"crlf", "End replies with CR LF instead of CR."};
    QCommandLineOption telemetry{"telemetry", "Send telemetry frames every 500 ms."};
    QCommandLineOption seed{"seed", "Seed for the engine run and faults.", "N", "1"};
    QCommandLineOption param{"param", "Initial parameter value, e.g. d=3 (repeatable).", "L=V"};
    QCommandLineOption steady{"steady", "Hold the engine still at idle: every reading stays the "
                                        "same while the module keeps answering."};
    QCommandLineOption steadyAt{
        "steady-at", "Hold the engine still as it is MS into its run (0: stopped).", "MS"};

    void addTo(QCommandLineParser &parser) const
    {
        parser.addOptions({link, silent, drop, delay, jitter, garbage, unterminated, outOfRange,
                           crlf, telemetry, seed, param, steady, steadyAt});
    }
};

bool parseRate(const QString &text, double *rate)
{
    bool ok = false;
    *rate = text.toDouble(&ok);
    return ok && *rate >= 0.0 && *rate <= 1.0;
}

bool parseMs(const QString &text, int *ms)
{
    bool ok = false;
    *ms = text.toInt(&ok);
    return ok && *ms >= 0;
}

// Reads the fault options into faults; an error text when one is invalid.
std::optional<QString> parseFaults(const QCommandLineParser &parser, const SimOptions &o,
                                   quelo::sim::Faults &faults)
{
    faults.silent = parser.isSet(o.silent);
    const std::pair<const QCommandLineOption *, double *> rates[] = {
        {&o.drop, &faults.dropRate},
        {&o.garbage, &faults.garbageRate},
        {&o.unterminated, &faults.unterminatedRate}};
    for (const auto &[option, rate] : rates) {
        if (parser.isSet(*option) && !parseRate(parser.value(*option), rate))
            return QStringLiteral("--%1 needs a rate between 0 and 1").arg(option->names().first());
    }
    if (parser.isSet(o.delay) && !parseMs(parser.value(o.delay), &faults.delayMs))
        return QStringLiteral("invalid --delay");
    if (parser.isSet(o.jitter) && !parseMs(parser.value(o.jitter), &faults.jitterMs))
        return QStringLiteral("invalid --jitter");
    return std::nullopt;
}

// Applies the options that shape the module itself; an error text when one is invalid.
std::optional<QString> configureModule(const QCommandLineParser &parser, const SimOptions &o,
                                       ModuleSim &module)
{
    if (parser.isSet(o.crlf))
        module.setLineEnding(quelo::sim::LineEnding::CrLf);
    module.setTelemetryEnabled(parser.isSet(o.telemetry));
    if (parser.isSet(o.outOfRange)) {
        const QString policy = parser.value(o.outOfRange);
        if (policy == QLatin1String("keep"))
            module.setOutOfRangePolicy(quelo::sim::OutOfRangePolicy::EchoKeepOld);
        else if (policy == QLatin1String("clamp"))
            module.setOutOfRangePolicy(quelo::sim::OutOfRangePolicy::EchoClamp);
        else if (policy == QLatin1String("ignore"))
            module.setOutOfRangePolicy(quelo::sim::OutOfRangePolicy::Ignore);
        else
            return QStringLiteral("--out-of-range is keep, clamp or ignore");
    }
    for (const QString &assignment : parser.values(o.param)) {
        const QStringList parts = assignment.split(QLatin1Char('='));
        bool ok = false;
        const int value = parts.size() == 2 ? parts.at(1).toInt(&ok) : 0;
        if (parts.size() != 2 || parts.at(0).size() != 1 || !ok ||
            !module.setParameter(parts.at(0).at(0).toLatin1(), value))
            return QStringLiteral("invalid --param %1").arg(assignment);
    }
    if (parser.isSet(o.steadyAt)) {
        bool ok = false;
        const qint64 atMs = parser.value(o.steadyAt).toLongLong(&ok);
        if (!ok || atMs < 0)
            return QStringLiteral("invalid --steady-at");
        module.holdEngine(atMs);
    } else if (parser.isSet(o.steady)) {
        module.holdEngine(module.firstIdleMs());
    }
    return std::nullopt;
}

// SIGINT and SIGTERM end the event loop through a pipe: nothing else runs in the handler.
bool quitOnSignals(QCoreApplication &app)
{
    if (::pipe(signalPipe) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    return true;
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
    const SimOptions options;
    options.addTo(parser);
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        return fatal(
            QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first()));

    bool ok = false;
    const uint seed = parser.value(options.seed).toUInt(&ok);
    if (!ok)
        return fatal(QStringLiteral("invalid --seed"));
    PtyServer server(seed);
    quelo::sim::Faults faults;
    if (const auto error = parseFaults(parser, options, faults))
        return fatal(*error);
    server.module().setFaults(faults);
    if (const auto error = configureModule(parser, options, server.module()))
        return fatal(*error);

    if (!server.start())
        return fatal(server.errorString());
    if (parser.isSet(options.link) && !server.createSymlink(parser.value(options.link)))
        return fatal(QStringLiteral("cannot create symlink %1").arg(parser.value(options.link)));
    if (!quitOnSignals(app))
        return fatal(QStringLiteral("pipe failed"));

    std::printf("%s\n", qPrintable(server.devicePath()));
    std::fflush(stdout);
    return app.exec();
}
