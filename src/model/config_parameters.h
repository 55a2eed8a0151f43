#pragma once

#include "window_state.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace quelo {

// One configuration parameter as a configuration file and a transfer see it: the file's key,
// the slider that holds it (in the slider's units), the value box that shows the module's
// report, the slider's range, and the text the value box shows for a slider value.
struct ConfigParameter
{
    const char *key;
    const char *caption; // as the window labels the row
    ScrollBar WindowState::*slider;
    TextBox WindowState::*box;
    int min;
    int max;
    std::string (*text)(int value);
};

inline constexpr std::size_t kConfigParameterCount = 7;

// The seven parameters in file order.
extern const std::array<ConfigParameter, kConfigParameterCount> kConfigParameters;

// The seven values of a configuration in the sliders' units (file order), the firmware version
// text, and the value boxes' texts for a human reader.
struct ConfigValues
{
    std::array<int, kConfigParameterCount> values{};
    std::string firmware;
    std::array<std::string, kConfigParameterCount> shown{};
};

// The value boxes' texts for values (in the sliders' units).
std::array<std::string, kConfigParameterCount> shownTexts(const ConfigValues &config);

// The slider value whose text is what the value box shows, or none when no value in the
// slider's range shows that text (nothing reported yet, or the module holds a value the slider
// cannot).
std::optional<int> valueFromBoxText(const ConfigParameter &parameter, const std::string &text);

} // namespace quelo
