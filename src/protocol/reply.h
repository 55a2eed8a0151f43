// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quelo {

// The kinds of line the module sends, told apart by the first character (for an echo, the
// second). Tested in this order: "=", "/", then p c u t v d l n m x b j w.
enum class ReplyKind
{
    Ignored,      // empty, or a first character the module does not begin a line with
    Telemetry,    // "=": engine speed, advance count, bus voltage
    Echo,         // "/" and the letter of a write or store command
    Propeller,    // "p": propeller count
    AdvanceShift, // "c": advance shift read-back
    Version,      // "u": firmware version
    TachPulses,   // "t"
    TachVolts,    // "v"
    StartDelay,   // "d"
    LedMode,      // "l"
    MaxAdvance,   // "n"
    MaxRpm,       // "m"
    EngineSpeed,  // "x": four digits
    Advance,      // "b": advance count
    ShiftEnable,  // "j"
    BusVolts,     // "w": tenths of a volt
};

// One reply line cut into its fields. A field is the window of characters at its fixed
// position, as received: a window past the end of the line keeps only the characters there
// (a line end inside it stays, and counts as a digit 0 when converted).
struct Reply
{
    ReplyKind kind = ReplyKind::Ignored;
    // The line's first character; for an echo the letter after "/" (0 when there is none).
    char letter = 0;
    // Characters 2-3 ("x": 2-5). For a telemetry frame, the engine speed (2-5).
    std::string field;
    // Telemetry frame only: advance count (6-7) and bus voltage (12-13).
    std::string advanceField;
    std::string voltsField;
    // The value an echo repeats after its letter, when it carries one.
    std::optional<long long> echoValue;
    // Whether the line has exactly the shape the module sends for its kind. Read-backs and the
    // "u" and "j" lines are the letter and two hex digits; an echo is "/", an upper-case
    // letter and an optional decimal value. Measurement lines ("=", p, x, b, w) are decoded as
    // they come, so this is true for them whatever they hold.
    bool shapeOk = false;
};

// Cuts one line (up to and including its CR or LF) into a reply. Pure: no state.
Reply parseReply(std::string_view line);

} // namespace quelo
