// SPDX-License-Identifier: GPL-3.0-or-later
// Configuration history: restore points of the module's configuration and which of them are kept.
#pragma once

#include "parameters.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quelo {

// What made a restore point: a connection that settled, a store the module confirmed, a
// configuration file put into the module (File > Load, --import-config), or a restore point
// put back (History > Restore).
enum class SnapshotEvent
{
    Connected,
    Stored,
    Imported,
    Restored
};

// "connected", "stored", "imported", "restored".
const char *eventName(SnapshotEvent event);
std::optional<SnapshotEvent> eventFromName(const std::string &name);

// The module's configuration at one moment: its firmware version and seven values (in
// `config`), the wall-clock time, what made it and the port it was read on. `fileName` names
// its file in the history folder once it has one. `sequence` counts the restore points in the
// order they were written, whatever the clock said: 0 for one written before they were counted.
struct Snapshot
{
    std::int64_t sequence = 0;
    std::int64_t utcMs = 0;
    int utcOffsetMinutes = 0;
    SnapshotEvent event = SnapshotEvent::Connected;
    int port = 0;
    ConfigValues config;
    std::string fileName;
};

// The same firmware version and the same seven values.
bool sameConfiguration(const ConfigValues &a, const ConfigValues &b);

// Which of a snapshot's seven values differ from the one before it in time; all false when
// there is none before it.
std::array<bool, kParameterCount> changedFrom(const Snapshot &entry, const Snapshot *before);

// What the module reports as its firmware version: one to three decimal digits (it sends two
// hex digits). A restore point naming anything else is not one.
bool isFirmwareVersion(const std::string &text);

// The highest sequence number a restore point may hold: far beyond any number of restore points
// ever written, and exact in a JSON number.
inline constexpr std::int64_t kMaxSequence = 1'000'000'000'000'000;

// Its time is later than `nowUtcMs`: the clock was ahead when it was written, or is behind now.
bool isInTheFuture(const Snapshot &entry, std::int64_t nowUtcMs);

// `text` (UTF-8) with a backslash doubled and every character that could end or rewrite a line
// on a terminal (C0 and C1 controls, DEL, the Unicode line and paragraph separators) written as
// \xHH or \uHHHH, so that it always stays on one line.
std::string escapedForLine(const std::string &text);

// One line for a script: time (followed by "(future)" when later than `nowUtcMs`), event,
// firmware, port, the seven values as the value boxes show them by file key (in double quotes
// when not one word: tach_volts="5 volts"), and the file's path last (so a path with blanks
// stays whole at the end of the line). Every text is escaped: one restore point, one line.
std::string historyLine(const Snapshot &entry, const std::string &path, std::int64_t nowUtcMs);

inline constexpr std::size_t kHistoryKeep = 500;

// The restore points, newest written first, at most `keep` of them. A snapshot that repeats the
// newest one of the same firmware is not added; adding one beyond `keep` lets the one written
// first go. The time a restore point holds never decides which is kept: a clock set ahead once
// must not make every later restore point the first to go.
class HistoryList
{
public:
    explicit HistoryList(std::size_t keep = kHistoryKeep) : m_keep(keep) {}

    // Takes entries in any order; keeps them newest written first (by sequence; those of the
    // same sequence, as restore points written before they were counted, by time, then by file
    // name).
    void assign(std::vector<Snapshot> entries);
    bool repeatsNewest(const Snapshot &snapshot) const;
    // The sequence number of the next restore point: one more than the highest so far (at most
    // kMaxSequence).
    std::int64_t nextSequence() const;
    // Adds the snapshot as the newest written, with nextSequence(); returns the entries that no
    // longer fit, the first written last.
    std::vector<Snapshot> add(Snapshot snapshot);
    // Lets go of the oldest beyond `keep`; returns them.
    std::vector<Snapshot> prune();

    const std::vector<Snapshot> &entries() const { return m_entries; }

private:
    std::size_t m_keep;
    std::vector<Snapshot> m_entries;
};

} // namespace quelo
