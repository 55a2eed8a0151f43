#pragma once

#include "protocol/hex2dec.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quelo {

// Conversions into the window's 16-bit integers. A value outside -32768..32767 throws
// OverflowError: it is never wrapped.
std::int16_t toInt16(long long value);
std::int16_t toInt16(const std::optional<HexValue> &value); // no value converts to 0
std::int16_t roundHalfEven16(double value);
std::int16_t dropFraction16(double value);

// Whether a Hex2Dec result fits a 16-bit signed integer.
bool fitsInt16(const std::optional<HexValue> &value);

// "as a decimal number": at most 15 significant digits, no trailing zeros, no point when whole,
// a point as the separator whatever the locale (19.6, 35, -11.2).
std::string decimalNumber(double value);

// "in decimal": optional "-" then the digits.
std::string decimalInteger(long long value);

} // namespace quelo
