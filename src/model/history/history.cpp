// SPDX-License-Identifier: GPL-3.0-or-later
#include "history.h"

#include "convert.h"
#include "run_recording.h"

#include <algorithm>

namespace quelo {

namespace {

constexpr std::array<const char *, 4> kEventNames{"connected", "stored", "imported", "restored"};

bool newerFirst(const Snapshot &a, const Snapshot &b)
{
    if (a.utcMs != b.utcMs)
        return a.utcMs > b.utcMs;
    return a.fileName > b.fileName;
}

} // namespace

const char *eventName(SnapshotEvent event)
{
    return kEventNames[static_cast<std::size_t>(event)];
}

std::optional<SnapshotEvent> eventFromName(const std::string &name)
{
    for (std::size_t i = 0; i < kEventNames.size(); ++i)
        if (name == kEventNames[i])
            return static_cast<SnapshotEvent>(i);
    return std::nullopt;
}

bool sameConfiguration(const ConfigValues &a, const ConfigValues &b)
{
    return a.firmware == b.firmware && a.values == b.values;
}

std::array<bool, kParameterCount> changedFrom(const Snapshot &entry, const Snapshot *before)
{
    std::array<bool, kParameterCount> changed{};
    if (!before)
        return changed;
    for (std::size_t i = 0; i < kParameterCount; ++i)
        changed[i] = entry.config.values[i] != before->config.values[i];
    return changed;
}

std::string historyLine(const Snapshot &entry, const std::string &path)
{
    std::string line = isoTime(entry.utcMs, entry.utcOffsetMinutes) + " " + eventName(entry.event) +
                       " firmware=" + entry.config.firmware + " port=" + decimalInteger(entry.port);
    for (std::size_t i = 0; i < kParameterCount; ++i)
        line +=
            std::string(" ") + kParameters[i].key + "=" + decimalInteger(entry.config.values[i]);
    return line + " " + path;
}

void HistoryList::assign(std::vector<Snapshot> entries)
{
    m_entries = std::move(entries);
    std::sort(m_entries.begin(), m_entries.end(), newerFirst);
}

bool HistoryList::repeatsNewest(const Snapshot &snapshot) const
{
    const auto newest =
        std::find_if(m_entries.begin(), m_entries.end(), [&](const Snapshot &entry) {
            return entry.config.firmware == snapshot.config.firmware;
        });
    return newest != m_entries.end() && sameConfiguration(newest->config, snapshot.config);
}

std::vector<Snapshot> HistoryList::add(Snapshot snapshot)
{
    m_entries.insert(std::upper_bound(m_entries.begin(), m_entries.end(), snapshot, newerFirst),
                     std::move(snapshot));
    return prune();
}

std::vector<Snapshot> HistoryList::prune()
{
    std::vector<Snapshot> gone;
    while (m_entries.size() > m_keep) {
        gone.push_back(std::move(m_entries.back()));
        m_entries.pop_back();
    }
    return gone;
}

} // namespace quelo
