// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quelo::soak {

// What a soak has done so far.
struct SoakCounters
{
    int faultWindows = 0;
    int calmWindows = 0;
    int babbleBursts = 0;
    int hangUps = 0;
    int resetClicks = 0;    // every RESET click, the ones after a hang-up included
    int repeatedResets = 0; // RESET clicked again because a scan under faults missed the module
    int reconnections = 0;  // new connections after the first (RESET, a lost link, a silence)
    int afterSilence = 0;   // among them: the module answered again after falling silent
    int reconnectingHangUps = 0; // hang-ups with the search after a lost link going on
    int foundBySearch = 0;       // hang-ups the search that followed found the module after
    int searchesEnded = 0;       // hang-ups whose one search ended without the module: RESET it was
    int sliderMoves = 0;
    int movesWhileDown = 0;  // slider moves with no module connected: refused and told
    int storesWhileDown = 0; // STORE clicks with no module connected: refused and told
    int changesNotSent = 0;  // changes cut off by the end of a connection, told not sent
    int storeClicks = 0;
    int moduleLimits = 0; // times the module's accepted ranges were chosen anew
    int refusals = 0;     // writes the program reported the module refused
    qint64 commands = 0;  // command lines the module received
    qint64 writes = 0;    // parameter writes among them
    qint64 longestReconnectMs = 0;
};

struct SoakProgress
{
    qint64 elapsedMs = 0;
    SoakCounters counters;
    long rssKb = 0;
    int handlerFailures = 0;
};

struct SoakOptions
{
    std::uint32_t seed = 1;
    qint64 durationMs = 45000; // phases start until then; the final settle follows
    qint64 progressIntervalMs = 60000;
    qint64 memoryBaselineMs = 60000; // the RSS taken then is compared with the RSS at the end
    long memoryMarginKb = 2048;
    std::function<void(const SoakProgress &)> onProgress;
    std::function<void(const std::string &)> onEvent; // one line per phase
    bool traceSliders = false; // on failure, also report the latest slider changes
};

struct SoakResult
{
    std::vector<std::string> problems; // empty when the soak passed
    SoakCounters counters;
    qint64 elapsedMs = 0;
    long rssStartKb = 0;
    long rssBaselineKb = 0;
    long rssEndKb = 0;
    std::size_t maxRxBuffer = 0;
    int handlerFailures = 0;
    int slidersChecked = 0; // sliders whose final value was compared with the module

    bool ok() const { return problems.empty(); }
};

// Runs the program's link (timer host, serial component on a real pseudo-terminal reached
// through a symbolic link, window model) against the simulated module through seeded phases
// of line faults, calm, hang-ups, RESET clicks and a babbling line, with a user moving sliders
// and clicking STORE throughout, while the module takes only part of some parameters' ranges
// (refusing, clamping or ignoring the rest). Each connection is checked as a unit: it shows
// what its module holds once it has read every value, a change cut off by its end is told and
// never reaches the module, and nothing changes while no module is connected. Then settles and
// checks that the module holds the user's values, or that the program told the user the module
// refused them or that they were not sent.
// Needs a running Q(Core)Application; drives its event loop for the whole run.
SoakResult runSoak(const SoakOptions &options);

// Resident memory of this process in KiB (VmRSS), 0 when unknown.
long residentKb();

} // namespace quelo::soak
