// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quelo::test {

// What one random conversation did and every breach of the program's promises it saw.
struct PropertyRun
{
    std::vector<std::string> problems; // empty when every invariant held
    int userMoves = 0;
    int storeClicks = 0;
    int behaviourChanges = 0; // letters whose module behaviour was drawn anew
    int writes = 0;           // parameter writes on the wire after the user began
    int mostWritesOfOneChange = 0;
    std::int64_t longestPollGapMs = 0;
    int refusals = 0;    // changes the program told the user the module kept out
    int unconfirmed = 0; // changes the program gave up unconfirmed
    int stores = 0;      // stores the module received

    bool ok() const { return problems.empty(); }
};

// Connects the window model to a simulated module in virtual time, lets it settle, then for
// hostileMs draws module behaviours at random per letter and over time (refusing, clamping,
// echo without read-back, read-back without echo, one silent letter, lines nobody asked for,
// latency up to 0.9 s, short silences) while a user moves sliders and presses STORE at random
// moments. Checks throughout: the writes caused by one user change are bounded; no gap between
// standing polls exceeds kMaxPollGapMs; no value goes on the wire that the user did not choose
// (but the connection's write-backs); the store button is never dark grey while a change of the
// user's is not in the module's stored configuration. At the end, on a well-behaved module,
// every slider shows what the module holds and every change the user made either reached the
// module or was reported to the user.
PropertyRun runConversationProperty(std::uint32_t seed, std::int64_t hostileMs);

// An ordinary change holds the standing poll back until its read slot comes round, as the
// original scheduler does: up to a full round of the twelve slots after the poll's own 0.8 s,
// and a slow module's answer on top; a STORE clicked on top replaces a poll not yet begun, and
// a change the user makes just then goes out at once. The forced poll bounds everything longer.
inline constexpr std::int64_t kMaxPollGapMs = 6000;

} // namespace quelo::test
