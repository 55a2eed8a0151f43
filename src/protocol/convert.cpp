// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace quelo {

bool fitsInt16(const std::optional<HexValue> &value)
{
    return !value || *value <= static_cast<HexValue>(std::numeric_limits<std::int16_t>::max());
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
