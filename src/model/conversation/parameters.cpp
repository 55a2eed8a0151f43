// SPDX-License-Identifier: GPL-3.0-or-later
#include "parameters.h"

#include "convert.h"

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

const std::array<Parameter, kParameterCount> kParameters{{
    {'d', 'D', 3, &ParameterRows::cyclescroll, &ParameterRows::cycledata, countText, true,
     "RUN MODE START DELAY:", "RUN MODE START DELAY", "run_mode_start_delay", "cyclescroll",
     "cycledata"},
    {'l', 'L', 8, &ParameterRows::ledscroll, &ParameterRows::leddata, ledModeText, true,
     "LED MODE:", "LED MODE", "led_mode", "ledscroll", "leddata"},
    {'t', 'T', 9, &ParameterRows::pprscroll, &ParameterRows::pprdata, countText, true,
     "TACH - Pulse / Rev:", "TACH - Pulse / Rev", "tach_pulses_per_rev", "pprscroll", "pprdata"},
    {'v', 'V', 10, &ParameterRows::vscroll, &ParameterRows::vdata, tachVoltsText, false,
     "TACH - VOLTS:", "TACH - VOLTS", "tach_volts", "vscroll", "vdata"},
    {'c', 'C', 2, &ParameterRows::conshiftscroll, &ParameterRows::conshiftdata, degreesText, true,
     "ADVANCE SHIFT:", "ADVANCE SHIFT", "advance_shift", "conshiftscroll", "conshiftdata"},
    {'m', 'M', 11, &ParameterRows::maxrpmscroll, &ParameterRows::maxrpmdata, rpmLimitText, true,
     "MAX RPM LIMIT:", "MAX RPM LIMIT", "max_rpm_limit", "maxrpmscroll", "maxrpmdata"},
    {'n', 'N', 12, &ParameterRows::maxadvancescroll, &ParameterRows::maxadvancedata, degreesText,
     true, "MAX ADVANCE LIMIT:", "MAX ADVANCE LIMIT", "max_advance_limit", "maxadvancescroll",
     "maxadvancedata"},
}};

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

namespace {
const ParameterRows &freshRows()
{
    static const ParameterRows rows;
    return rows;
}
} // namespace

std::int16_t minOf(const Parameter &parameter)
{
    return (freshRows().*parameter.slider).Min();
}

std::int16_t maxOf(const Parameter &parameter)
{
    return (freshRows().*parameter.slider).Max();
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
