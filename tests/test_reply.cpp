// SPDX-License-Identifier: GPL-3.0-or-later
#include "reply.h"

#include <gtest/gtest.h>

using namespace quelo;

TEST(Reply, FieldWindowsKeepWhatTheLineHolds)
{
    // A field cut short by the line end keeps the CR, which converts as a digit 0.
    EXPECT_EQ(parseReply("u5\r").field, "5\r");
    EXPECT_EQ(parseReply("x0032\r").field, "0032");
    EXPECT_EQ(parseReply("x\r").field, "\r");
    EXPECT_EQ(parseReply("p").field, "");
    const Reply frame = parseReply("=01F40E00001C\r");
    EXPECT_EQ(frame.kind, ReplyKind::Telemetry);
    EXPECT_EQ(frame.field, "01F4");
    EXPECT_EQ(frame.advanceField, "0E");
    EXPECT_EQ(frame.voltsField, "1C");
    EXPECT_EQ(parseReply("=01F4\r").voltsField, "");
}

TEST(Reply, KindsFollowTheFirstCharacterExactly)
{
    EXPECT_EQ(parseReply("X0031\r").kind, ReplyKind::Ignored);
    EXPECT_EQ(parseReply("\n").kind, ReplyKind::Ignored);
    EXPECT_EQ(parseReply("").kind, ReplyKind::Ignored);
    EXPECT_EQ(parseReply("c14\r").kind, ReplyKind::AdvanceShift);
    EXPECT_EQ(parseReply("n19\r").kind, ReplyKind::MaxAdvance);
    EXPECT_EQ(parseReply("j01\r").kind, ReplyKind::ShiftEnable);
    EXPECT_EQ(parseReply("w7D\r").kind, ReplyKind::BusVolts);
}

TEST(Reply, ConfigurationAndVersionLinesMustHaveTheModulesShape)
{
    for (const char *good : {"u1A\r", "c14\r", "tff\r", "v02\r\n", "d03\n", "j00\r"})
        EXPECT_TRUE(parseReply(good).shapeOk) << good;
    // Noise that merely begins with one of the letters.
    for (const char *bad : {"u\x93\xa7\r", "u5\r", "n2\r", "m0C0\r", "dG1\r", "l 3\r", "c14x\r"})
        EXPECT_FALSE(parseReply(bad).shapeOk) << bad;
    // Measurements are decoded as they come.
    EXPECT_TRUE(parseReply("x\x93\r").shapeOk);
    EXPECT_TRUE(parseReply("=\r").shapeOk);
}

TEST(Reply, EchoesCarryTheirLetterAndValue)
{
    const Reply negative = parseReply("/C-9\r");
    EXPECT_EQ(negative.kind, ReplyKind::Echo);
    EXPECT_EQ(negative.letter, 'C');
    ASSERT_TRUE(negative.echoValue.has_value());
    EXPECT_EQ(*negative.echoValue, -9);
    EXPECT_TRUE(negative.shapeOk);

    const Reply bare = parseReply("/W\r");
    EXPECT_TRUE(bare.shapeOk);
    EXPECT_FALSE(bare.echoValue.has_value());

    for (const char *bad : {"/\r", "/w\r", "/N3x\r", "/N-\r", "/N1234567\r", "/N 35\r"})
        EXPECT_FALSE(parseReply(bad).shapeOk) << bad;
}
