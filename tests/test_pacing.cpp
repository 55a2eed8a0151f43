// SPDX-License-Identifier: GPL-3.0-or-later
#include "harness.h"

#include <gtest/gtest.h>

using namespace quelo;
using quelo::test::Harness;

namespace {
struct PacingTest : ::testing::Test
{
    Harness h;
    WindowState &w = h.w;

    // Time (ms) at which each character reached the port.
    std::vector<std::pair<std::int64_t, char>> sendTimes(std::int64_t untilMs)
    {
        std::vector<std::pair<std::int64_t, char>> sent;
        std::size_t seen = h.comm.written.size();
        while (h.clock.now() < untilMs) {
            h.clock.advance(1);
            for (; seen < h.comm.written.size(); ++seen)
                sent.emplace_back(h.clock.now(), h.comm.written[seen]);
        }
        return sent;
    }
};
} // namespace

TEST_F(PacingTest, TheProbeLeavesInSixTicksPlusAQuarterSecondPause)
{
    h.comm.presentPorts = {1};
    h.model.Form_Load();
    h.clock.advance(1499);
    const auto sent = sendTimes(2200);
    ASSERT_GE(sent.size(), 6u);
    const std::string chars{sent[0].second, sent[1].second, sent[2].second,
                            sent[3].second, sent[4].second, sent[5].second};
    EXPECT_EQ(chars, "/*\r/u\r");
    // Pacing ticks fall every 30 ms; the fourth tick meets the marker and holds 250 ms.
    EXPECT_EQ(sent[1].first - sent[0].first, 30);
    EXPECT_EQ(sent[2].first - sent[1].first, 30);
    EXPECT_EQ(sent[3].first - sent[2].first, 30 + 250);
    EXPECT_EQ(sent[4].first - sent[3].first, 20); // next pacing tick after the pause
    EXPECT_EQ(sent[5].first - sent[4].first, 30);
    EXPECT_LE(sent[5].first - sent[0].first, 400);
}

TEST_F(PacingTest, ThePauseKeepsTheMarkerQueuedAndTheWindowRunning)
{
    h.connect();
    w.txqueue = "%/x\r";
    const int animationTicks = h.clock.ticks("Timer2");
    h.clock.advance(40); // the marker is met
    ASSERT_TRUE(h.model.pacing().pausing());
    EXPECT_EQ(w.txqueue.front(), '%');
    h.clock.advance(200);
    EXPECT_EQ(w.txqueue, "%/x\r"); // the scheduler found the queue busy
    EXPECT_GE(h.clock.ticks("Timer2") - animationTicks, 23);
    h.model.Command4_Click(); // clicks are answered during the pause
    EXPECT_TRUE(w.connection.Visible);
    EXPECT_EQ(h.comm.written.find("/x"), std::string::npos);
    h.clock.advance(100);
    EXPECT_NE(h.comm.written.find("/"), std::string::npos);
}

TEST_F(PacingTest, TextThatReplacesTheQueueDuringAPauseGoesOutWhole)
{
    h.connect();
    w.readInConnection.fill(true); // every value reported: nothing holds the store back
    w.cyclescroll.setValue(4); // as a read-back would: no write pending, so the store goes at once
    w.cyclescroll.Tag = "0";
    w.txqueue = "%/x\r";
    h.clock.advance(40);
    ASSERT_TRUE(h.model.pacing().pausing());
    h.comm.written.clear();
    h.model.Command3_Click();
    EXPECT_EQ(w.txqueue, "/W4\r");
    h.clock.advance(400);
    EXPECT_EQ(h.comm.written.substr(0, 4), "/W4\r");
}

TEST_F(PacingTest, TheStoreButtonLetsAHalfSentCommandFinish)
{
    h.connect();
    w.readInConnection.fill(true);
    h.clock.advance(1);
    w.txqueue = "/D5\r";
    h.comm.written.clear();
    while (h.comm.written.size() < 2)
        h.clock.advance(1);
    h.model.Command3_Click();
    h.clock.advance(300);
    EXPECT_EQ(h.comm.written.substr(0, 8), "/D5\r/W0\r");
}

TEST_F(PacingTest, MarkerCases)
{
    h.connect();
    h.clock.advance(1);
    // Two markers in a row: the second goes out as a character.
    w.txqueue = "%%/";
    h.comm.written.clear();
    ASSERT_TRUE(h.clock.runUntil([&] { return !h.comm.written.empty(); }, 400));
    EXPECT_EQ(h.comm.written, "%");
    EXPECT_EQ(w.txqueue, "/");
    h.clock.advance(30);
    EXPECT_EQ(h.comm.written, "%/");
    // A queue holding only a marker pauses and sends nothing.
    w.Timer1.setEnabled(false);
    w.txqueue = "%";
    h.comm.written.clear();
    h.clock.advance(400);
    EXPECT_EQ(h.comm.written, "");
    EXPECT_EQ(w.txqueue, "");
}

TEST_F(PacingTest, AClosedPortDrainsTheQueueAtTheSamePace)
{
    w.txqueue = "/x\r";
    h.clock.advance(60);
    EXPECT_EQ(w.txqueue, "\r");
    h.clock.advance(30);
    EXPECT_EQ(w.txqueue, "");
    EXPECT_EQ(h.comm.written, "");
    EXPECT_EQ(h.model.failureCount(), 0);
}

TEST_F(PacingTest, RefillOnlyIntoAnEmptyQueue)
{
    w.Timer4.setEnabled(true);
    w.txqueue = "abc";
    w.pollstring = "probe";
    w.Timer3.setEnabled(false);
    h.clock.advance(500);
    EXPECT_EQ(w.txqueue, "abc");
    w.txqueue.clear();
    h.clock.advance(500);
    EXPECT_EQ(w.txqueue, "probe");
    w.txqueue.clear();
    w.pollstring.clear();
    h.clock.advance(500);
    EXPECT_EQ(w.txqueue, "");
}

TEST_F(PacingTest, AFailingWriteIsReportedAndRetriedNotLost)
{
    h.connect();
    h.clock.advance(1);
    w.Timer1.setEnabled(false);
    w.txqueue = "%/x\r";
    h.comm.outputFailure = "/dev/ttyUSB0: write failed";
    h.clock.advance(400); // fails right after the pause, and on the ticks after it
    EXPECT_GE(h.model.failureCount(), 1);
    EXPECT_NE(w.statusbox.ToolTip.find("write failed"), std::string::npos);
    EXPECT_EQ(w.txqueue, "/x\r"); // the character stays queued
    h.comm.outputFailure.clear();
    h.clock.advance(200);
    EXPECT_EQ(w.txqueue, "");
    EXPECT_NE(h.comm.written.find("/x\r"), std::string::npos);
}
