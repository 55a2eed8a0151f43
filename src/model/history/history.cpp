// SPDX-License-Identifier: GPL-3.0-or-later
#include "history.h"

#include "aircraft.h"
#include "convert.h"
#include "stamp.h"

#include <algorithm>

namespace quelo {

namespace {

constexpr std::array<const char *, 4> kEventNames{"connected", "stored", "imported", "restored"};

bool newerFirst(const Snapshot &a, const Snapshot &b)
{
    if (a.sequence != b.sequence)
        return a.sequence > b.sequence;
    if (a.utcMs != b.utcMs)
        return a.utcMs > b.utcMs;
    return a.fileName > b.fileName;
}

// An aircraft name as one word of a line: escaped, its blanks written \x20.
std::string oneWord(const std::string &name)
{
    std::string word;
    for (const char c : escapedForLine(name))
        word += c == ' ' ? std::string("\\x20") : std::string(1, c);
    return word;
}

// A value box's text as one field of a line, escaped as every text is: as it is when it is one
// word, else in double quotes ("5 volts"), a quote inside it written \".
std::string shownField(const std::string &text)
{
    const std::string escaped = escapedForLine(text);
    if (!escaped.empty() && escaped.find_first_of(" \"") == std::string::npos)
        return escaped;
    std::string quoted = "\"";
    for (char c : escaped) {
        if (c == '"')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
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

bool isFirmwareVersion(const std::string &text)
{
    return !text.empty() && text.size() <= 3 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isInTheFuture(const Snapshot &entry, std::int64_t nowUtcMs)
{
    return entry.utcMs > nowUtcMs;
}

std::string escapedForLine(const std::string &text)
{
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        const auto third = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0;
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte == 0x7f) {
            out += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
        } else if (byte == 0xc2 && next >= 0x80 && next <= 0x9f) { // U+0080..U+009F
            out += std::string("\\u00") + kHex[next >> 4] + kHex[next & 15];
            ++i;
        } else if (byte == 0xe2 && next == 0x80 && (third == 0xa8 || third == 0xa9)) {
            out += third == 0xa8 ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out;
}

std::string historyLine(const Snapshot &entry, const std::string &path, std::int64_t nowUtcMs)
{
    std::string line = isoTime(entry.utcMs, entry.utcOffsetMinutes) +
                       (isInTheFuture(entry, nowUtcMs) ? "(future) " : " ") +
                       eventName(entry.event) +
                       " firmware=" + escapedForLine(entry.config.firmware) +
                       " port=" + decimalInteger(entry.port);
    line += " aircraft=" + oneWord(entry.config.aircraft);
    const auto shown = shownTexts(entry.config);
    for (std::size_t i = 0; i < kParameterCount; ++i)
        line += std::string(" ") + kParameters[i].key + "=" + shownField(shown[i]);
    return line + " " + escapedForLine(path);
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
            return entry.config.firmware == snapshot.config.firmware &&
                   sameAircraft(entry.config.aircraft, snapshot.config.aircraft);
        });
    return newest != m_entries.end() && sameConfiguration(newest->config, snapshot.config);
}

std::int64_t HistoryList::nextSequence() const
{
    std::int64_t highest = 0;
    for (const Snapshot &entry : m_entries)
        highest = std::max(highest, entry.sequence);
    return std::min(highest + 1, kMaxSequence);
}

// First, whatever its time: it is the one written last. (Only at kMaxSequence, which a forged
// file can reach, does it share its number; it is still first until the folder is read again.)
std::vector<Snapshot> HistoryList::add(Snapshot snapshot)
{
    snapshot.sequence = nextSequence();
    m_entries.insert(m_entries.begin(), std::move(snapshot));
    return prune();
}

// Beyond `keep`, an aircraft's newest restore point stays: one aircraft connected often must not
// push the others out of the fleet.
std::vector<Snapshot> HistoryList::prune()
{
    std::vector<Snapshot> gone;
    std::vector<Snapshot> kept;
    std::vector<std::string> seen; // aircraft whose newest is kept, as written
    for (Snapshot &entry : m_entries) {
        const std::string &name = entry.config.aircraft;
        const bool newestOfAircraft =
            !name.empty() && std::none_of(seen.begin(), seen.end(), [&](const std::string &s) {
                return sameAircraft(s, name);
            });
        if (newestOfAircraft)
            seen.push_back(name);
        if (kept.size() < m_keep || newestOfAircraft)
            kept.push_back(std::move(entry));
        else
            gone.push_back(std::move(entry));
    }
    m_entries = std::move(kept);
    std::reverse(gone.begin(), gone.end());
    return gone;
}

} // namespace quelo
