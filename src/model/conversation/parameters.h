// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_state.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quelo {

// Scales of the module's numbers.
inline constexpr double kDegreesPerCount = 1.4;       // advance, advance shift, max advance
inline constexpr double kPropDegreesPerCount = 1.406; // propeller angle
inline constexpr int kRpmPerCount = 256;              // max rpm limit
inline constexpr int kMaxPropDegrees = 360;
// Engine speeds below this read as a stopped engine: shown as 0, and the standing poll asks
// for the propeller instead of the advance.
inline constexpr int kRunningRpm = 50;
// The module reports an advance shift s of 20 or less as s, and a negative one as 255 + s.
inline constexpr int kLargestPositiveShift = 20;
inline constexpr int kNegativeShiftBase = 255;

// The slider value of a report that means what it says.
constexpr long long sameValue(long long k)
{
    return k;
}

// The shift the module means by an advance-shift report k.
constexpr long long advanceShiftOf(long long k)
{
    return k <= kLargestPositiveShift ? k : k - kNegativeShiftBase;
}

// Texts the value boxes show.
std::string ledModeText(long long k);   // "Kill Sw", "Mode", "Diag", "Sensor"; else empty
std::string tachVoltsText(long long k); // "OC", "5 volts", "12 volts"; else empty
std::string countText(long long k);     // k in decimal
std::string degreesText(long long k);   // k x 1.4 as a decimal number
std::string rpmLimitText(long long k);  // k x 256 in decimal (wider than 16 bits)

// The order in which a read-back's steps run for a parameter. Where the slider is set before its
// pending flag is cleared, a reported value that differs raises no write; where the flag is
// cleared first, the value the module reported is written back once.
enum class ReadBackOrder
{
    SliderFirst, // slider, value box, reported flag, pending flag
    BoxFirst,    // value box, slider, reported flag, pending flag
    FlagFirst    // value box, reported flag, pending flag, limit band, slider
};

// A slider's range (the values the program ever writes) and the value the window starts with.
struct SliderRange
{
    std::int16_t min;
    std::int16_t max;
    std::int16_t start;
};

// What a read-back line of the parameter means.
struct ReadBackRule
{
    ReadBackOrder order;
    long long (*toSlider)(long long report); // the slider's value for the module's report
    bool dropsAboveRange;      // a report above the range is no setting: the whole line is ignored
    Gauge Needles::*limitDial; // the gauge whose inner band ends at the value; null: none
};

// One of the module's configuration parameters: its row in the window and its commands.
struct Parameter
{
    char letter;      // read command "/d" and read-back line "d..."
    char writeLetter; // write command "/D" and its echo
    int readSlot;     // the scheduler's round-robin slot that asks for it
    ScrollBar ParameterRows::*slider;
    TextBox ParameterRows::*box;
    std::string (*text)(long long value); // what the value box shows for a value, slider units
    bool turnsStoreGreen; // a change means the stored configuration differs (not tach volts)
    const char *caption;  // the row's caption in the window
    const char *name;     // the parameter in messages
    const char *key;      // its key in a configuration file
    const char *sliderName;
    const char *boxName;
    SliderRange range;
    // One slider step in the unit the value box shows (its text applies the same scale); a
    // limit band ends at the value times this.
    double unitsPerCount;
    ReadBackRule readBack;
};

// The parameters in the order the scheduler's write pass visits them. Rows and arrays sized by
// kParameterCount are checked against each other where the table is defined.
extern const std::array<Parameter, kParameterCount> kParameters;

// A count as the program's texts spell it: "seven"; a count above twelve in digits.
std::string countInWords(std::size_t count);

// The parameter read back by a line beginning with letter / echoed by "/" writeLetter.
const Parameter *parameterByLetter(char letter);
const Parameter *parameterByWriteLetter(char writeLetter);
std::size_t indexOf(const Parameter &parameter);

// The slider's range: the values the program ever writes.
std::int16_t minOf(const Parameter &parameter);
std::int16_t maxOf(const Parameter &parameter);

// The values of a configuration in the sliders' units (table order), the firmware
// version text, and the value boxes' texts for a human reader.
struct ConfigValues
{
    std::array<int, kParameterCount> values{};
    std::string firmware;
    std::array<std::string, kParameterCount> shown{};
    std::string saved;    // a file's "saved" time as the file gives it; empty for the module's
    std::string aircraft; // the aircraft it was saved for; empty: no name
};

// The value boxes' texts for values (in the sliders' units).
std::array<std::string, kParameterCount> shownTexts(const ConfigValues &config);

// The slider value whose text is what the value box shows, or none when no value in the
// slider's range shows that text (nothing reported yet, or the module holds a value the slider
// cannot).
std::optional<int> valueFromBoxText(const Parameter &parameter, const std::string &text);

} // namespace quelo
