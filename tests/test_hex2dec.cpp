// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert.h"
#include "int16.h"
#include "hex2dec.h"

#include "errors.h"

#include <gtest/gtest.h>

using namespace quelo;

namespace {
std::string text(std::string_view field)
{
    return hexValueText(Hex2Dec(field));
}
} // namespace

TEST(Hex2Dec, DigitsAndPrefixInEitherCase)
{
    EXPECT_EQ(text("FF"), "255");
    EXPECT_EQ(text("ff"), "255");
    EXPECT_EQ(text("&hFF"), "255");
    EXPECT_EQ(text("&Hff"), "255");
    EXPECT_EQ(text("01F4"), "500");
    EXPECT_EQ(text("01f4"), "500");
    // Only "&h" is a prefix: "&x12" keeps its four places.
    EXPECT_EQ(text("&x12"), "18");
}

TEST(Hex2Dec, EveryCharacterTakesADigitPlace)
{
    EXPECT_EQ(text("5\r"), "80");
    EXPECT_EQ(text("G1"), "1");
    EXPECT_EQ(text("1G"), "16");
    EXPECT_EQ(text(" 1"), "1");
    EXPECT_EQ(text("-1"), "1");
}

TEST(Hex2Dec, EmptyAndPrefixAloneGiveZeroNotNoValue)
{
    ASSERT_TRUE(Hex2Dec("").has_value());
    EXPECT_EQ(text(""), "0");
    ASSERT_TRUE(Hex2Dec("&h").has_value());
    EXPECT_EQ(text("&H"), "0");
}

TEST(Hex2Dec, TwentyThreeDigitsAreExactTwentyFourGiveNoValue)
{
    const std::string f23(23, 'F');
    EXPECT_EQ(text(f23), "4951760157141521099596496895"); // 2^92 - 1
    EXPECT_EQ(text("&h" + f23), "4951760157141521099596496895");
    EXPECT_FALSE(Hex2Dec(f23 + "F").has_value());
    EXPECT_FALSE(Hex2Dec("&H" + f23 + "0").has_value());
    EXPECT_FALSE(Hex2Dec(std::string(24, '0')).has_value());
    EXPECT_EQ(text(std::string(24, '0')), "");
}

TEST(Hex2Dec, BitPositionsAroundFortyNineAreExact)
{
    EXPECT_EQ(text("2000000000000"), "562949953421312");  // 2^49
    EXPECT_EQ(text("4000000000000"), "1125899906842624"); // 2^50
    EXPECT_EQ(text("8000000000000"), "2251799813685248"); // 2^51
    EXPECT_EQ(text("7FFFFFFFFFFFF"), "2251799813685247"); // 2^51 - 1
    EXPECT_EQ(text("20000000000001"), "9007199254740993"); // 2^53 + 1: beyond a double
}

TEST(Convert, SixteenBitConversionsDetectOverflow)
{
    EXPECT_EQ(toInt16(Hex2Dec("7FFF")), 32767);
    EXPECT_THROW(toInt16(Hex2Dec("8000")), OverflowError);
    EXPECT_EQ(toInt16(std::optional<HexValue>{}), 0);
    EXPECT_EQ(roundHalfEven16(12.5), 12);
    EXPECT_EQ(roundHalfEven16(13.5), 14);
    EXPECT_EQ(roundHalfEven16(-2.5), -2);
    EXPECT_EQ(roundHalfEven16(14 * 1.4), 20);
    EXPECT_THROW(roundHalfEven16(32767.5), OverflowError);
    EXPECT_EQ(roundHalfEven16(-32768.4), -32768);
    EXPECT_EQ(dropFraction16(255 * 1.406), 358);
    EXPECT_THROW(toInt16(40000LL), OverflowError);
}

TEST(Convert, DecimalNumberText)
{
    EXPECT_EQ(decimalNumber(25 * 1.4), "35");
    EXPECT_EQ(decimalNumber(14 * 1.4), "19.6");
    EXPECT_EQ(decimalNumber(-8 * 1.4), "-11.2");
    EXPECT_EQ(decimalNumber(-234 * 1.4), "-327.6");
    EXPECT_EQ(decimalNumber(0 * -1.4), "0");
    EXPECT_EQ(decimalNumber(-9 * 1.4), "-12.6");
}
