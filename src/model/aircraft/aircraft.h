// SPDX-License-Identifier: GPL-3.0-or-later
// Aircraft: the name the user gives the aircraft a module sits in (the module cannot tell), the
// fleet known from the history, and the configuration record for the aircraft's logbook.
#pragma once

#include "history.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quelo {

inline constexpr std::size_t kMaxAircraftNameChars = 32;
// Longer text is refused from its length alone, before it is looked at character by character.
inline constexpr std::size_t kMaxAircraftNameBytes = 4 * kMaxAircraftNameChars + 256;

// `text` (UTF-8) with leading and trailing blanks trimmed, when that is a name: 1 to 32
// characters, each printable (no control character, no line or paragraph separator, no
// invisible formatting or direction character, valid UTF-8). Otherwise none, with `error`
// saying why in a few words.
std::optional<std::string> aircraftName(const std::string &text, std::string &error);

// Names are compared without regard to the case of the letters A-Z: "n123ab" is N123AB.
// Other letters are compared as they are. Two empty names (no name) are the same.
bool sameAircraft(const std::string &a, const std::string &b);

// The part of a file name that says the aircraft: letters A-Z and a-z, digits and '-' kept,
// anything else '_' ("G-ABCD" stays, "My Cub" becomes "My_Cub"). Empty for no name.
std::string aircraftFileTag(const std::string &name);

// The status bar's words when a remembered name is applied to a module whose configuration
// differs from that aircraft's last restore point.
std::string differsFromLastText(const std::string &name);

// A file or restore point saved for `fileAircraft` about to go into `chosen`'s module: the
// warning naming both, or empty when there is nothing to warn of (either has no name, or they
// are the same aircraft).
std::string otherAircraftWarning(const std::string &fileAircraft, const std::string &chosen);

// `entries` (newest written first) of one aircraft, in the same order.
std::vector<Snapshot> entriesOf(const std::vector<Snapshot> &entries, const std::string &name);

// One aircraft of the fleet: its name as last written, its newest restore point, when it last
// connected, how many restore points it has, and which of its seven values differ from what
// most of the fleet holds.
struct FleetAircraft
{
    std::string name;
    Snapshot newest;
    std::optional<std::int64_t> lastConnectedUtcMs;
    int lastConnectedOffsetMinutes = 0;
    std::size_t restorePoints = 0;
    std::array<bool, kParameterCount> differs{};
};

// Every named aircraft in `entries` (newest written first), in name order. A value is marked
// when more than half of the fleet holds one other value for that parameter.
std::vector<FleetAircraft> fleetOf(const std::vector<Snapshot> &entries);

// One parameter that changed since the aircraft's previous configuration.
struct RecordChange
{
    std::size_t parameter = 0;
    std::string before; // as the value box shows it
    std::string after;
};

// What a configuration record says, as plain data: the view lays it out on a page.
struct ConfigRecord
{
    std::string aircraft;
    std::int64_t utcMs = 0;
    int utcOffsetMinutes = 0;
    int port = 0;
    std::string device;
    ConfigValues config;
    // Parameters the user changed that no confirmed store holds; empty when the module has
    // stored the values shown.
    std::vector<std::string> unstored;
    // The newest earlier configuration of the aircraft that differs from this one, and what
    // differs; none when the history holds no other configuration of it.
    std::optional<Snapshot> previous;
    std::vector<RecordChange> changes;
    // When the history first held this configuration after `previous`; none when it does not
    // hold it yet.
    std::optional<Snapshot> changedAt;
};

// Fills `previous`, `changes` and `changedAt` of `record` from the history (newest written
// first); the record's aircraft and config must be set.
void addChangesFromHistory(ConfigRecord &record, const std::vector<Snapshot> &entries);

// The record's lines of text, in order, for the page and for a test: the facts, each parameter
// "CAPTION: value", the changes ("CAPTION: old -> new"), and the stored state.
std::vector<std::string> recordLines(const ConfigRecord &record);

} // namespace quelo
