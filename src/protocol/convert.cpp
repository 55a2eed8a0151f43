#include "protocol/convert.h"

#include "app/errors.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace quelo {

std::int16_t toInt16(long long value)
{
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        throw OverflowError(std::to_string(value) + " does not fit a 16-bit integer");
    return static_cast<std::int16_t>(value);
}

bool fitsInt16(const std::optional<HexValue> &value)
{
    return !value || *value <= static_cast<HexValue>(std::numeric_limits<std::int16_t>::max());
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

std::string decimalNumber(double value)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string text(buf, res.ptr);
    // to_chars keeps an exponent for very large or small values; the decoder never makes those.
    if (text == "-0")
        text = "0";
    return text;
}

std::string decimalInteger(long long value)
{
    return std::to_string(value);
}

} // namespace quelo
