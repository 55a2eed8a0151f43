// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hex2dec.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quelo {

// Whether a Hex2Dec result fits a 16-bit signed integer.
bool fitsInt16(const std::optional<HexValue> &value);

// "as a decimal number": at most 15 significant digits, no trailing zeros, no point when whole,
// a point as the separator whatever the locale (19.6, 35, -11.2).
std::string decimalNumber(double value);

// "in decimal": optional "-" then the digits.
std::string decimalInteger(long long value);

} // namespace quelo
