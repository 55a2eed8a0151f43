#include "config_parameters.h"

#include "convert.h"
#include "decoder.h"

namespace quelo {

namespace {

std::string integerText(int value)
{
    return decimalInteger(value);
}
std::string ledText(int value)
{
    return ledModeText(value);
}
std::string voltsText(int value)
{
    return tachVoltsText(value);
}
// Advance shift and maximum advance step by 1.4 degrees.
std::string degreesText(int value)
{
    return decimalNumber(value * 1.4);
}
// The maximum rpm steps by 256 rpm.
std::string rpmText(int value)
{
    return decimalInteger(static_cast<long long>(value) * 256);
}

} // namespace

const std::array<ConfigParameter, kConfigParameterCount> kConfigParameters{{
    {"run_mode_start_delay", "RUN MODE START DELAY", &WindowState::cyclescroll,
     &WindowState::cycledata, 0, 8, integerText},
    {"led_mode", "LED MODE", &WindowState::ledscroll, &WindowState::leddata, 0, 3, ledText},
    {"tach_pulses_per_rev", "TACH - Pulse / Rev", &WindowState::pprscroll, &WindowState::pprdata, 0,
     2, integerText},
    {"tach_volts", "TACH - VOLTS", &WindowState::vscroll, &WindowState::vdata, 0, 2, voltsText},
    {"advance_shift", "ADVANCE SHIFT", &WindowState::conshiftscroll, &WindowState::conshiftdata, -9,
     9, degreesText},
    {"max_rpm_limit", "MAX RPM LIMIT", &WindowState::maxrpmscroll, &WindowState::maxrpmdata, 0, 16,
     rpmText},
    {"max_advance_limit", "MAX ADVANCE LIMIT", &WindowState::maxadvancescroll,
     &WindowState::maxadvancedata, 14, 35, degreesText},
}};

std::array<std::string, kConfigParameterCount> shownTexts(const ConfigValues &config)
{
    std::array<std::string, kConfigParameterCount> texts;
    for (std::size_t i = 0; i < kConfigParameterCount; ++i)
        texts[i] = kConfigParameters[i].text(config.values[i]);
    return texts;
}

std::optional<int> valueFromBoxText(const ConfigParameter &parameter, const std::string &text)
{
    if (text.empty())
        return std::nullopt;
    for (int value = parameter.min; value <= parameter.max; ++value)
        if (parameter.text(value) == text)
            return value;
    return std::nullopt;
}

} // namespace quelo
