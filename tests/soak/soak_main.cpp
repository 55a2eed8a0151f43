// SPDX-License-Identifier: GPL-3.0-or-later
// quelo-soak: the fault soak for as long as asked, with a line of progress per minute.
#include "soak_run.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>
#include <optional>

using namespace quelo::soak;

namespace {

// The options of the run from the command line; none after a message when one is invalid.
std::optional<SoakOptions> parseSoakOptions(QCoreApplication &app, double &minutes)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Soaks the program's link against the simulated module over pseudo-terminals: line "
        "faults, hang-ups, RESET clicks, slider moves and store clicks. Exits non-zero on "
        "failure."));
    parser.addHelpOption();
    const QCommandLineOption minutesOption(QStringLiteral("minutes"),
                                           QStringLiteral("How long the phases run (default 1)."),
                                           QStringLiteral("MINUTES"), QStringLiteral("1"));
    const QCommandLineOption seedOption(QStringLiteral("seed"),
                                        QStringLiteral("Seed of the run (default: the clock)."),
                                        QStringLiteral("N"));
    const QCommandLineOption marginOption(
        QStringLiteral("memory-margin"),
        QStringLiteral("Allowed RSS growth from the end of the first minute, KiB (default 2048)."),
        QStringLiteral("KIB"), QStringLiteral("2048"));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"),
                                           QStringLiteral("Print every phase."));
    const QCommandLineOption traceOption(
        QStringLiteral("trace"),
        QStringLiteral("On failure, also print the latest slider changes (implies --verbose)."));
    parser.addOptions({minutesOption, seedOption, marginOption, verboseOption, traceOption});
    parser.process(app);

    bool ok = false;
    minutes = parser.value(minutesOption).toDouble(&ok);
    if (!ok || minutes <= 0) {
        std::fprintf(stderr, "quelo-soak: --minutes needs a positive number\n");
        return std::nullopt;
    }
    SoakOptions options;
    options.seed = parser.isSet(seedOption)
                       ? parser.value(seedOption).toUInt(&ok)
                       : std::uint32_t(QDateTime::currentMSecsSinceEpoch() & 0x7FFFFFFF);
    if (!ok) {
        std::fprintf(stderr, "quelo-soak: --seed needs a number\n");
        return std::nullopt;
    }
    options.memoryMarginKb = parser.value(marginOption).toLong(&ok);
    if (!ok) {
        std::fprintf(stderr, "quelo-soak: --memory-margin needs a number\n");
        return std::nullopt;
    }
    options.durationMs = qint64(minutes * 60000);
    options.progressIntervalMs = 60000;
    options.memoryBaselineMs = std::min<qint64>(60000, options.durationMs / 3);

    options.traceSliders = parser.isSet(traceOption);
    if (parser.isSet(verboseOption) || options.traceSliders) {
        options.onEvent = [](const std::string &line) {
            std::printf("  %s\n", line.c_str());
            std::fflush(stdout);
        };
    }
    return options;
}

void printSummary(const SoakResult &r)
{
    const SoakCounters &c = r.counters;
    std::printf("\nran %.1f min: %d fault windows, %d calm windows, %d babble bursts, %d hang-ups, "
                "%d RESET clicks (%d repeated after a missed scan), %d reconnections (longest "
                "%lld ms)\n",
                r.elapsedMs / 60000.0, c.faultWindows, c.calmWindows, c.babbleBursts, c.hangUps,
                c.resetClicks, c.repeatedResets, c.reconnections, c.longestReconnectMs);
    std::printf("user: %d slider moves (%d with the port closed), %d store clicks; module: %lld "
                "commands, %lld parameter writes\n",
                c.sliderMoves, c.movesWhileClosed, c.storeClicks, c.commands, c.writes);
    std::printf("module limits chosen %d times; %d writes reported refused\n", c.moduleLimits,
                c.refusals);
    std::printf("largest receive buffer %zu characters; handler failures %d; %d sliders checked\n",
                r.maxRxBuffer, r.handlerFailures, r.slidersChecked);
    std::printf("RSS: start %ld KiB, after the first minute %ld KiB, end %ld KiB (%+ld KiB)\n",
                r.rssStartKb, r.rssBaselineKb, r.rssEndKb, r.rssEndKb - r.rssBaselineKb);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quelo-soak"));

    double minutes = 0;
    std::optional<SoakOptions> parsed = parseSoakOptions(app, minutes);
    if (!parsed)
        return 2;
    SoakOptions &options = *parsed;
    std::printf("soak: %.1f min, seed %u (repeat with --seed %u)\n", minutes, options.seed,
                options.seed);
    std::fflush(stdout);
    SoakProgress last;
    options.onProgress = [&last](const SoakProgress &p) {
        const SoakCounters &c = p.counters;
        std::printf("minute %3lld: reconnections %d (+%d), commands %lld (+%lld), writes %lld, "
                    "slider moves %d, stores %d, hang-ups %d, RSS %ld KiB, handler failures %d\n",
                    p.elapsedMs / 60000, c.reconnections,
                    c.reconnections - last.counters.reconnections, c.commands,
                    c.commands - last.counters.commands, c.writes, c.sliderMoves, c.storeClicks,
                    c.hangUps, p.rssKb, p.handlerFailures);
        std::fflush(stdout);
        last = p;
    };

    const SoakResult r = runSoak(options);
    printSummary(r);
    for (const std::string &problem : r.problems)
        std::printf("FAIL %s\n", problem.c_str());
    std::printf("%s (seed %u)\n", r.ok() ? "PASS" : "FAIL", options.seed);
    return r.ok() ? 0 : 1;
}
