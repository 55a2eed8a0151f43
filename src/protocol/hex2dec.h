// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quelo {

using HexValue = unsigned __int128;

// Exact value of a hexadecimal field of up to 23 digits after an optional "&h"/"&H" prefix.
// Every character that is not a hex digit counts as the digit 0 and still takes its place.
// More than 23 characters after the prefix give no value (std::nullopt), distinct from 0.
std::optional<HexValue> Hex2Dec(std::string_view HexString);

// Decimal digits of a result; no value gives the empty text.
std::string hexValueText(const std::optional<HexValue> &value);

} // namespace quelo
