// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quelo::test {

// What one random session did, and the first breach of each of the program's promises.
struct SessionRun
{
    // By the promise's letter (see runSessionProperty): the first breach, naming seed and time.
    std::map<char, std::string> firstProblem;
    int problemCount = 0;

    int userMoves = 0;
    int storeClicks = 0;
    int undos = 0;
    int redos = 0;
    int loads = 0;
    int quitQuestions = 0; // the quit question asked at a random moment
    int quitsWithoutAsking = 0;
    int resets = 0;
    int silences = 0;
    int lostLinks = 0;
    int powerCycles = 0;
    int otherModules = 0; // a different module plugged in
    int connections = 0;
    int refusals = 0; // changes the program told the user the module kept out
    int givenUp = 0;  // changes the program gave up unconfirmed
    int writes = 0;   // parameter writes the modules received
    int stores = 0;   // stores the modules received
    std::int64_t longestPollGapMs = 0;

    bool ok() const { return problemCount == 0; }
    std::vector<std::string> problems() const;
    void add(const SessionRun &run); // sums the counts of another run, keeps no problems
};

// One session in virtual time: the window model connects to a simulated module and, for
// hostileMs, a user moves sliders, undoes and redoes, loads several values at once, presses
// STORE and RESET and asks whether the program would quit without asking, while the module
// refuses, clamps, echoes without read-back, falls silent (shorter and longer than the answer
// timeout), loses its link, is power-cycled back to its stored values, or is replaced by a
// different module with other values and maybe other firmware. Checked on every event of the
// model and every line on the wire:
//  (a) a parameter the window counts as reported (lastReported, or its value box's flag) holds
//      a value the connected module sent in a read-back since this connection began;
//  (b) reportedConfig (restore points, saves, comparisons) holds only such values and the
//      firmware version that module sent;
//  (c) a module receives no write but a value the user chose while it was connected and had
//      reported all seven values, or its own last read-back written back ("d", "n", "m"), and
//      no store unless STORE was pressed while it was connected;
//  (d) with nothing unstored and the store button dark grey, or when the program would quit
//      without asking, every change of the user's is in its module's stored configuration
//      unless the user was told it was refused, given up or not sent; and a change given up
//      unconfirmed stays among the unstored changes until a read-back settles it;
//  (e) while connected the standing poll never pauses longer than kMaxPollGapMs.
// At the end, on a well-behaved module ('f'): each slider shows the module's value and each
// change reached the module, or the user was told. 'x': a handler failed.
// `trace`, when given, is told every action, module event, connection and line, with its time.
using SessionTrace = std::function<void(const std::string &)>;
SessionRun runSessionProperty(std::uint32_t seed, std::int64_t hostileMs, SessionTrace trace = {});

} // namespace quelo::test
