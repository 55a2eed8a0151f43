// SPDX-License-Identifier: GPL-3.0-or-later
#include "parameters.h"

#include "convert.h"

#include <iterator>
#include <stdexcept>
#include <tuple>

namespace quelo {

std::string ledModeText(long long k)
{
    switch (k) {
    case 0:
        return "Kill Sw";
    case 1:
        return "Mode";
    case 2:
        return "Diag";
    case 3:
        return "Sensor";
    default:
        return {};
    }
}

std::string tachVoltsText(long long k)
{
    switch (k) {
    case 0:
        return "OC";
    case 1:
        return "5 volts";
    case 2:
        return "12 volts";
    default:
        return {};
    }
}

std::string countText(long long k)
{
    return decimalInteger(k);
}

std::string degreesText(long long k)
{
    return decimalNumber(static_cast<double>(k) * kDegreesPerCount);
}

std::string rpmLimitText(long long k)
{
    return decimalInteger(k * kRpmPerCount);
}

namespace {

constexpr SliderRange range(std::int16_t min, std::int16_t max, std::int16_t start)
{
    return SliderRange{min, max, start};
}

// How the parameters' read-backs are taken.
constexpr ReadBackRule kSliderFirst{ReadBackOrder::SliderFirst, sameValue, false, nullptr};
constexpr ReadBackRule kBoxFirst{ReadBackOrder::BoxFirst, sameValue, false, nullptr};
constexpr ReadBackRule kFlagFirst{ReadBackOrder::FlagFirst, sameValue, false, nullptr};
// The module reports only tach-volts settings: anything above the range is not one.
constexpr ReadBackRule kTachVolts{ReadBackOrder::SliderFirst, sameValue, true, nullptr};
// A shift the slider can hold is put on it before its flag is cleared, so the module's own
// value is never written back.
constexpr ReadBackRule kShift{ReadBackOrder::SliderFirst, advanceShiftOf, false, nullptr};
// The limits end the inner band of their gauges.
constexpr ReadBackRule kRpmLimit{ReadBackOrder::FlagFirst, sameValue, false, &Needles::rpmdial};
constexpr ReadBackRule kAdvanceLimit{ReadBackOrder::FlagFirst, sameValue, false, &Needles::advdial};

} // namespace

constexpr std::array<Parameter, kParameterCount> kParameters{{
    {'d', 'D', 3, &ParameterRows::cyclescroll, &ParameterRows::cycledata, countText, true,
     "RUN MODE START DELAY:", "RUN MODE START DELAY", "run_mode_start_delay", "cyclescroll",
     "cycledata", range(0, 8, 0), 1.0, kFlagFirst},
    {'l', 'L', 8, &ParameterRows::ledscroll, &ParameterRows::leddata, ledModeText, true,
     "LED MODE:", "LED MODE", "led_mode", "ledscroll", "leddata", range(0, 3, 0), 1.0, kBoxFirst},
    {'t', 'T', 9, &ParameterRows::pprscroll, &ParameterRows::pprdata, countText, true,
     "TACH - Pulse / Rev:", "TACH - Pulse / Rev", "tach_pulses_per_rev", "pprscroll", "pprdata",
     range(0, 2, 0), 1.0, kSliderFirst},
    {'v', 'V', 10, &ParameterRows::vscroll, &ParameterRows::vdata, tachVoltsText, false,
     "TACH - VOLTS:", "TACH - VOLTS", "tach_volts", "vscroll", "vdata", range(0, 2, 0), 1.0,
     kTachVolts},
    {'c', 'C', 2, &ParameterRows::conshiftscroll, &ParameterRows::conshiftdata, degreesText, true,
     "ADVANCE SHIFT:", "ADVANCE SHIFT", "advance_shift", "conshiftscroll", "conshiftdata",
     range(-9, 9, 0), kDegreesPerCount, kShift},
    {'m', 'M', 11, &ParameterRows::maxrpmscroll, &ParameterRows::maxrpmdata, rpmLimitText, true,
     "MAX RPM LIMIT:", "MAX RPM LIMIT", "max_rpm_limit", "maxrpmscroll", "maxrpmdata",
     range(0, 16, 0), kRpmPerCount, kRpmLimit},
    {'n', 'N', 12, &ParameterRows::maxadvancescroll, &ParameterRows::maxadvancedata, degreesText,
     true, "MAX ADVANCE LIMIT:", "MAX ADVANCE LIMIT", "max_advance_limit", "maxadvancescroll",
     "maxadvancedata", range(14, 35, 14), kDegreesPerCount, kAdvanceLimit},
}};

// The table and the arrays sized by kParameterCount must agree: raising the count without a new
// row leaves an empty row, and an array sized otherwise would be indexed past its end.
namespace {
constexpr bool everyRowFilled()
{
    for (const Parameter &p : kParameters)
        // Function addresses are not compared here: under the sanitizers they are not
        // constants. A row left empty has no letter and no key.
        if (p.letter == 0 || !p.slider || !p.box || !p.key)
            return false;
    return true;
}

constexpr bool rowsDistinct()
{
    for (std::size_t i = 0; i < kParameterCount; ++i)
        for (std::size_t j = i + 1; j < kParameterCount; ++j) {
            const Parameter &a = kParameters[i];
            const Parameter &b = kParameters[j];
            if (a.letter == b.letter || a.writeLetter == b.writeLetter ||
                a.readSlot == b.readSlot || a.slider == b.slider || a.box == b.box)
                return false;
        }
    return true;
}

constexpr bool rangesHoldTheirStart()
{
    for (const Parameter &p : kParameters)
        if (p.range.min > p.range.start || p.range.start > p.range.max)
            return false;
    return true;
}

template <typename Array>
constexpr bool perParameter = std::tuple_size<Array>::value == kParameters.size();
} // namespace

static_assert(everyRowFilled(), "a parameter row is missing: kParameterCount exceeds the rows");
static_assert(rowsDistinct(), "two parameter rows share a letter, read slot, slider or box");
static_assert(rangesHoldTheirStart(), "a slider starts outside its range");
static_assert(perParameter<decltype(ParameterRows::traffic)>, "traffic: not one per parameter");
static_assert(perParameter<decltype(ParameterRows::readInConnection)>,
              "readInConnection: not one per parameter");
static_assert(perParameter<StoreProgress::Serials>,
              "StoreProgress::Serials: not one per parameter");
static_assert(perParameter<decltype(ConfigValues::values)>, "ConfigValues: not one per parameter");
static_assert(perParameter<decltype(ConfigValues::shown)>, "ConfigValues: not one per parameter");

std::string countInWords(std::size_t count)
{
    static constexpr const char *kWords[] = {"no",   "one",    "two",   "three", "four",
                                             "five", "six",    "seven", "eight", "nine",
                                             "ten",  "eleven", "twelve"};
    return count < std::size(kWords) ? kWords[count]
                                     : decimalInteger(static_cast<long long>(count));
}

ScrollBar tableSlider(ScrollBar ParameterRows::*slider)
{
    for (const Parameter &p : kParameters)
        if (p.slider == slider)
            return ScrollBar(p.range.min, p.range.max, p.range.start);
    throw std::logic_error("a slider with no row in the parameter table");
}

const Parameter *parameterByLetter(char letter)
{
    for (const Parameter &p : kParameters)
        if (p.letter == letter)
            return &p;
    return nullptr;
}

const Parameter *parameterByWriteLetter(char writeLetter)
{
    for (const Parameter &p : kParameters)
        if (p.writeLetter == writeLetter)
            return &p;
    return nullptr;
}

std::size_t indexOf(const Parameter &parameter)
{
    return static_cast<std::size_t>(&parameter - kParameters.data());
}

std::int16_t minOf(const Parameter &parameter)
{
    return parameter.range.min;
}

std::int16_t maxOf(const Parameter &parameter)
{
    return parameter.range.max;
}

std::array<std::string, kParameterCount> shownTexts(const ConfigValues &config)
{
    std::array<std::string, kParameterCount> texts;
    for (std::size_t i = 0; i < kParameterCount; ++i)
        texts[i] = kParameters[i].text(config.values[i]);
    return texts;
}

std::optional<int> valueFromBoxText(const Parameter &parameter, const std::string &text)
{
    if (text.empty())
        return std::nullopt;
    for (int value = minOf(parameter); value <= maxOf(parameter); ++value)
        if (parameter.text(value) == text)
            return value;
    return std::nullopt;
}

} // namespace quelo
