// SPDX-License-Identifier: GPL-3.0-or-later
#include "int16.h"

#include "convert.h"
#include "errors.h"

#include <cmath>
#include <limits>
#include <string>

namespace quelo {

std::int16_t toInt16(long long value)
{
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        throw OverflowError(std::to_string(value) + " does not fit a 16-bit integer");
    return static_cast<std::int16_t>(value);
}

std::int16_t toInt16(const std::optional<HexValue> &value)
{
    if (!fitsInt16(value))
        throw OverflowError(hexValueText(value) + " does not fit a 16-bit integer");
    return value ? static_cast<std::int16_t>(*value) : std::int16_t{0};
}

std::int16_t roundHalfEven16(double value)
{
    // The default floating-point environment rounds to nearest, ties to even.
    const double r = std::nearbyint(value);
    if (!(r >= -32768.0 && r <= 32767.0))
        throw OverflowError(decimalNumber(value) + " does not fit a 16-bit integer");
    return static_cast<std::int16_t>(r);
}

std::int16_t dropFraction16(double value)
{
    const double r = std::floor(value);
    if (!(r >= -32768.0 && r <= 32767.0))
        throw OverflowError(decimalNumber(value) + " does not fit a 16-bit integer");
    return static_cast<std::int16_t>(r);
}

} // namespace quelo
