// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hex2dec.h"

#include <cstdint>
#include <optional>

namespace quelo {

// Conversions into the window's 16-bit integers. A value outside -32768..32767 throws
// OverflowError: it is never wrapped, and the handler doing the conversion ends there.
std::int16_t toInt16(long long value);
std::int16_t toInt16(const std::optional<HexValue> &value); // no value converts to 0
std::int16_t roundHalfEven16(double value);
std::int16_t dropFraction16(double value);

} // namespace quelo
