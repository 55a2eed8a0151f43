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
// its file in the history folder once it has one.
struct Snapshot
{
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

// One line for a script: time, event, firmware, port, the seven values by file key, and the
// file's path last (so a path with blanks stays whole at the end of the line).
std::string historyLine(const Snapshot &entry, const std::string &path);

inline constexpr std::size_t kHistoryKeep = 500;

// The restore points, newest first, at most `keep` of them. A snapshot that repeats the newest
// one of the same firmware is not added; adding one beyond `keep` lets the oldest go.
class HistoryList
{
public:
    explicit HistoryList(std::size_t keep = kHistoryKeep) : m_keep(keep) {}

    // Takes entries in any order; keeps them newest first (by time, then by file name).
    void assign(std::vector<Snapshot> entries);
    bool repeatsNewest(const Snapshot &snapshot) const;
    // Adds the snapshot as the newest; returns the entries that no longer fit, oldest last.
    std::vector<Snapshot> add(Snapshot snapshot);
    // Lets go of the oldest beyond `keep`; returns them.
    std::vector<Snapshot> prune();

    const std::vector<Snapshot> &entries() const { return m_entries; }

private:
    std::size_t m_keep;
    std::vector<Snapshot> m_entries;
};

} // namespace quelo
