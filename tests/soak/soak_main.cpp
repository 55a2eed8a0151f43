// SPDX-License-Identifier: GPL-3.0-or-later
// quelo-soak: the fault soak for as long as asked, with a line of progress per minute.
#include "conversation_property.h"
#include "session_property.h"
#include "soak_run.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>

#include <atomic>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

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

// The random-conversation and random-session properties in virtual time, seed after seed in
// turn, on a thread of their own while the soak runs: plain model code, no Qt object is shared.
// Each goes on until its first broken promise.
struct PropertySoak
{
    static constexpr std::int64_t kConversationMs = 40000;
    static constexpr std::int64_t kSessionMs = 60000;

    std::atomic<bool> stop{false};
    int seeds = 0;
    quelo::test::PropertyRun total;
    std::vector<std::string> problems;
    int sessionSeeds = 0;
    quelo::test::SessionRun sessions;
    std::vector<std::string> sessionProblems;

    void run(std::uint32_t firstSeed)
    {
        for (std::uint32_t seed = firstSeed; !stop; ++seed) {
            const bool conversation = problems.empty();
            const bool session = sessionProblems.empty();
            if (!conversation && !session)
                return;
            if (conversation)
                runConversation(seed);
            if (session && !stop)
                runSession(seed);
        }
    }

private:
    void runConversation(std::uint32_t seed)
    {
        const quelo::test::PropertyRun r =
            quelo::test::runConversationProperty(seed, kConversationMs);
        ++seeds;
        problems = r.problems;
        total.userMoves += r.userMoves;
        total.storeClicks += r.storeClicks;
        total.stores += r.stores;
        total.refusals += r.refusals;
        total.unconfirmed += r.unconfirmed;
        total.mostWritesOfOneChange =
            std::max(total.mostWritesOfOneChange, r.mostWritesOfOneChange);
        total.longestPollGapMs = std::max(total.longestPollGapMs, r.longestPollGapMs);
    }
    void runSession(std::uint32_t seed)
    {
        const quelo::test::SessionRun r = quelo::test::runSessionProperty(seed, kSessionMs);
        ++sessionSeeds;
        sessions.add(r);
        sessionProblems = r.problems();
    }
};

void printSummary(const SoakResult &r)
{
    const SoakCounters &c = r.counters;
    std::printf("\nran %.1f min: %d fault windows, %d calm windows, %d babble bursts, %d hang-ups "
                "(%d with the search going on), %d RESET clicks (%d repeated after a missed "
                "scan), %d reconnections (%d after a silence; longest %lld ms)\n",
                r.elapsedMs / 60000.0, c.faultWindows, c.calmWindows, c.babbleBursts, c.hangUps,
                c.reconnectingHangUps, c.resetClicks, c.repeatedResets, c.reconnections,
                c.afterSilence, c.longestReconnectMs);
    std::printf("after a hang-up: %d found by the search, %d searches ended and RESET clicked\n",
                c.foundBySearch, c.searchesEnded);
    std::printf("user: %d slider moves, %d store clicks; with no module connected %d moves and "
                "%d store clicks refused; %d changes told not sent; module: %lld commands, %lld "
                "parameter writes\n",
                c.sliderMoves, c.storeClicks, c.movesWhileDown, c.storesWhileDown, c.changesNotSent,
                c.commands, c.writes);
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

    PropertySoak property;
    std::thread propertyThread([&property, seed = options.seed] { property.run(seed * 1000u); });
    const SoakResult r = runSoak(options);
    property.stop = true;
    propertyThread.join();
    printSummary(r);
    const quelo::test::PropertyRun &p = property.total;
    std::printf("random conversations: %d seeds from %u, %d moves, %d store clicks, %d stores, %d "
                "refusals, %d unconfirmed; at most %d writes of one change; longest poll gap %lld "
                "ms\n",
                property.seeds, options.seed * 1000u, p.userMoves, p.storeClicks, p.stores,
                p.refusals, p.unconfirmed, p.mostWritesOfOneChange,
                static_cast<long long>(p.longestPollGapMs));
    const quelo::test::SessionRun &s = property.sessions;
    std::printf("random sessions: %d seeds from %u, %d connections, %d moves, %d undos, %d loads, "
                "%d store clicks, %d quit questions; %d silences, %d lost links, %d power cycles, "
                "%d other modules; longest poll gap %lld ms\n",
                property.sessionSeeds, options.seed * 1000u, s.connections, s.userMoves, s.undos,
                s.loads, s.storeClicks, s.quitQuestions, s.silences, s.lostLinks, s.powerCycles,
                s.otherModules, static_cast<long long>(s.longestPollGapMs));
    for (const std::string &problem : r.problems)
        std::printf("FAIL %s\n", problem.c_str());
    for (const std::string &problem : property.problems)
        std::printf("FAIL %s\n", problem.c_str());
    for (const std::string &problem : property.sessionProblems)
        std::printf("FAIL %s\n", problem.c_str());
    const bool ok = r.ok() && property.problems.empty() && property.sessionProblems.empty();
    std::printf("%s (seed %u)\n", ok ? "PASS" : "FAIL", options.seed);
    return ok ? 0 : 1;
}
