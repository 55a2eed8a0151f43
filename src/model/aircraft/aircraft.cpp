// SPDX-License-Identifier: GPL-3.0-or-later
#include "aircraft.h"

#include "stamp.h"

#include <algorithm>
#include <map>

namespace quelo {

namespace {

// The next code point of valid UTF-8 at `i` (moved past it); none for a bad sequence.
std::optional<char32_t> nextCodePoint(const std::string &text, std::size_t &i)
{
    const auto byte = static_cast<unsigned char>(text[i]);
    const int length = byte < 0x80         ? 1
                       : (byte >> 5) == 6  ? 2
                       : (byte >> 4) == 14 ? 3
                       : (byte >> 3) == 30 ? 4
                                           : 0;
    if (length == 0 || i + std::size_t(length) > text.size())
        return std::nullopt;
    char32_t code = length == 1 ? byte : byte & (0x7f >> length);
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + std::size_t(k)]);
        if ((next & 0xc0) != 0x80)
            return std::nullopt;
        code = (code << 6) | (next & 0x3f);
    }
    static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
        return std::nullopt; // overlong, beyond Unicode, or a surrogate
    i += std::size_t(length);
    return code;
}

// Controls, separators and the invisible characters that format or turn text around.
bool isPrintable(char32_t c)
{
    if (c < 0x20 || (c >= 0x7f && c <= 0x9f))
        return false;
    if (c == 0xad || c == 0x61c || c == 0x180e || c == 0xfeff || (c >= 0xfff9 && c <= 0xfffb))
        return false;
    if ((c >= 0x200b && c <= 0x200f) || (c >= 0x2028 && c <= 0x202e) ||
        (c >= 0x2060 && c <= 0x206f))
        return false;
    return !(c >= 0xe0000 && c <= 0xe007f);
}

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

std::string nameKey(const std::string &name)
{
    std::string key = name;
    std::transform(key.begin(), key.end(), key.begin(), upper);
    return key;
}

} // namespace

std::optional<std::string> aircraftName(const std::string &text, std::string &error)
{
    if (text.size() > kMaxAircraftNameBytes) {
        error = "longer than " + std::to_string(kMaxAircraftNameChars) + " characters";
        return std::nullopt;
    }
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        error = "empty: a name needs at least one character besides spaces";
        return std::nullopt;
    }
    const std::string name = text.substr(first, text.find_last_not_of(' ') - first + 1);
    std::size_t count = 0;
    for (std::size_t i = 0; i < name.size(); ++count) {
        const std::optional<char32_t> c = nextCodePoint(name, i);
        if (!c) {
            error = "not valid UTF-8 text";
            return std::nullopt;
        }
        if (!isPrintable(*c)) {
            error = "holds a control or invisible character";
            return std::nullopt;
        }
    }
    if (count > kMaxAircraftNameChars) {
        error = "longer than " + std::to_string(kMaxAircraftNameChars) + " characters";
        return std::nullopt;
    }
    return name;
}

bool sameAircraft(const std::string &a, const std::string &b)
{
    return a.size() == b.size() && nameKey(a) == nameKey(b);
}

std::string aircraftFileTag(const std::string &name)
{
    std::string tag;
    for (const char c : name) {
        const bool kept =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
        // A character of several bytes becomes one '_'.
        if (kept)
            tag += c;
        else if ((static_cast<unsigned char>(c) & 0xc0) != 0x80)
            tag += '_';
    }
    return tag;
}

std::string differsFromLastText(const std::string &name)
{
    return "This module's configuration differs from " + name + "'s last one \u2014 is it " + name +
           "?";
}

std::string otherAircraftWarning(const std::string &fileAircraft, const std::string &chosen)
{
    if (fileAircraft.empty() || chosen.empty() || sameAircraft(fileAircraft, chosen))
        return {};
    return "saved for aircraft " + fileAircraft + "; the aircraft chosen is " + chosen;
}

std::vector<Snapshot> entriesOf(const std::vector<Snapshot> &entries, const std::string &name)
{
    std::vector<Snapshot> chosen;
    std::copy_if(entries.begin(), entries.end(), std::back_inserter(chosen),
                 [&](const Snapshot &s) { return sameAircraft(s.config.aircraft, name); });
    return chosen;
}

std::vector<FleetAircraft> fleetOf(const std::vector<Snapshot> &entries)
{
    std::map<std::string, FleetAircraft> byKey;
    for (const Snapshot &entry : entries) { // newest first: the first seen is the newest
        if (entry.config.aircraft.empty())
            continue;
        auto [it, added] = byKey.try_emplace(nameKey(entry.config.aircraft));
        FleetAircraft &aircraft = it->second;
        if (added) {
            aircraft.name = entry.config.aircraft;
            aircraft.newest = entry;
        }
        ++aircraft.restorePoints;
        if (entry.event == SnapshotEvent::Connected && !aircraft.lastConnectedUtcMs) {
            aircraft.lastConnectedUtcMs = entry.utcMs;
            aircraft.lastConnectedOffsetMinutes = entry.utcOffsetMinutes;
        }
    }
    std::vector<FleetAircraft> fleet;
    for (auto &pair : byKey)
        fleet.push_back(std::move(pair.second));
    for (std::size_t p = 0; p < kParameterCount; ++p) {
        std::map<int, std::size_t> holders;
        for (const FleetAircraft &aircraft : fleet)
            ++holders[aircraft.newest.config.values[p]];
        const auto most =
            std::max_element(holders.begin(), holders.end(),
                             [](const auto &a, const auto &b) { return a.second < b.second; });
        if (most == holders.end() || most->second * 2 <= fleet.size())
            continue; // no value held by most of the fleet
        for (FleetAircraft &aircraft : fleet)
            aircraft.differs[p] = aircraft.newest.config.values[p] != most->first;
    }
    return fleet;
}

void addChangesFromHistory(ConfigRecord &record, const std::vector<Snapshot> &entries)
{
    const std::vector<Snapshot> own = entriesOf(entries, record.aircraft);
    const auto previous = std::find_if(own.begin(), own.end(), [&](const Snapshot &s) {
        return !sameConfiguration(s.config, record.config);
    });
    record.previous.reset();
    record.changedAt.reset();
    record.changes.clear();
    if (previous == own.end())
        return;
    record.previous = *previous;
    if (previous != own.begin())
        record.changedAt = *(previous - 1); // the first written after it holds this one
    const auto before = shownTexts(previous->config);
    const auto after = shownTexts(record.config);
    for (std::size_t i = 0; i < kParameterCount; ++i)
        if (previous->config.values[i] != record.config.values[i])
            record.changes.push_back({i, before[i], after[i]});
}

std::vector<std::string> recordLines(const ConfigRecord &record)
{
    std::vector<std::string> lines{
        "Aircraft: " + (record.aircraft.empty() ? std::string("(no name)") : record.aircraft),
        "Date and time: " + isoTime(record.utcMs, record.utcOffsetMinutes).substr(0, 19),
        "Port: " + std::to_string(record.port) +
            (record.device.empty() ? std::string() : " (" + record.device + ")"),
        "Firmware version: " + record.config.firmware};
    const auto texts = shownTexts(record.config);
    for (std::size_t i = 0; i < kParameterCount; ++i)
        lines.push_back(std::string(kParameters[i].name) + ": " + texts[i]);
    if (!record.previous) {
        lines.push_back("Changes: the history holds no earlier configuration of this aircraft");
    } else {
        const std::string when =
            record.changedAt
                ? "on " + isoTime(record.changedAt->utcMs, record.changedAt->utcOffsetMinutes)
                              .substr(0, 19)
                : std::string("now (not yet in the history)");
        lines.push_back(
            "Changes since " +
            isoTime(record.previous->utcMs, record.previous->utcOffsetMinutes).substr(0, 19) +
            ", made " + when + ":");
        for (const RecordChange &change : record.changes)
            lines.push_back(std::string(kParameters[change.parameter].name) + ": " +
                            change.before + " \u2192 " + change.after);
        if (record.changes.empty())
            lines.push_back("(firmware only: " + record.previous->config.firmware + " \u2192 " +
                            record.config.firmware + ")");
    }
    if (record.unstored.empty()) {
        lines.push_back("The module has stored the values shown.");
    } else {
        std::string names;
        for (const std::string &name : record.unstored)
            names += (names.empty() ? "" : ", ") + name;
        lines.push_back("NOT STORED: the module has not stored the values shown (" + names +
                        "); it returns to its stored values when powered off.");
    }
    return lines;
}

} // namespace quelo
