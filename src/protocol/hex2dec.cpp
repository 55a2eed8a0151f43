// SPDX-License-Identifier: GPL-3.0-or-later
#include "hex2dec.h"

#include <algorithm>

namespace quelo {

namespace {
constexpr std::size_t kMaxDigits = 23;

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}
} // namespace

std::optional<HexValue> Hex2Dec(std::string_view HexString)
{
    if (HexString.size() >= 2 && HexString[0] == '&' && (HexString[1] == 'h' || HexString[1] == 'H'))
        HexString.remove_prefix(2);
    if (HexString.size() > kMaxDigits)
        return std::nullopt;
    HexValue value = 0;
    for (char c : HexString)
        value = value * 16 + static_cast<HexValue>(digitValue(c));
    return value;
}

std::string hexValueText(const std::optional<HexValue> &value)
{
    if (!value)
        return {};
    HexValue v = *value;
    std::string digits;
    do {
        digits.push_back(static_cast<char>('0' + static_cast<int>(v % 10)));
        v /= 10;
    } while (v != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

} // namespace quelo
