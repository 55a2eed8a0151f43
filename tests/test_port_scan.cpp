// SPDX-License-Identifier: GPL-3.0-or-later
#include "harness.h"

#include <gtest/gtest.h>

using namespace quelo;
using quelo::test::Harness;

namespace {
struct PortScanTest : ::testing::Test
{
    Harness h;
    WindowState &w = h.w;
};
} // namespace

TEST_F(PortScanTest, NoPortAtAllGivesUpAfterSixSeconds)
{
    h.model.Form_Load();
    EXPECT_EQ(w.statusbox.Text, "");
    EXPECT_EQ(w.Tag, "0");
    bool timer4Seen = false;
    auto statusAt = [&](std::int64_t t) {
        while (h.clock.now() < t) {
            h.clock.advance(10);
            timer4Seen = timer4Seen || w.Timer4.Enabled();
        }
        return w.statusbox.Text;
    };
    EXPECT_EQ(statusAt(1490), "");
    EXPECT_EQ(statusAt(1500), "Comm port: 1");
    EXPECT_EQ(statusAt(2990), "Comm port: 1");
    EXPECT_EQ(statusAt(3000), "Comm port: 2");
    EXPECT_EQ(statusAt(4500), "Comm port: 3");
    EXPECT_EQ(statusAt(5990), "Comm port: 3");
    EXPECT_EQ(statusAt(6000), "Valid comm port not found");
    EXPECT_FALSE(w.Timer5.Enabled());
    EXPECT_FALSE(timer4Seen);
    EXPECT_EQ(h.comm.opens, 0);
    // The reason for each port reaches the user without a dialog.
    EXPECT_NE(w.statusbox.ToolTip.find("Port 1: no such device"), std::string::npos);
    EXPECT_NE(w.statusbox.ToolTip.find("Port 3: no such device"), std::string::npos);
    // Nothing retries by itself.
    h.clock.advance(20000);
    EXPECT_EQ(w.statusbox.Text, "Valid comm port not found");
}

TEST_F(PortScanTest, ModuleOnPortTwoBehindASilentPortOne)
{
    h.comm.presentPorts = {1, 2};
    h.model.Form_Load();
    h.clock.advance(1500);
    EXPECT_EQ(w.statusbox.Text, "Waiting for connection - Port 1");
    EXPECT_EQ(h.comm.CommPort(), 1);
    EXPECT_TRUE(h.comm.PortOpen());
    EXPECT_TRUE(w.Timer4.Enabled());
    EXPECT_EQ(w.Tag, "1");
    EXPECT_EQ(w.pollstring, "/*\r%/u\r");

    h.clock.advance(1500); // reset tick: port 1 stays open
    EXPECT_EQ(w.statusbox.Text, "");
    EXPECT_FALSE(w.Timer4.Enabled());
    EXPECT_EQ(w.Tag, "0");
    EXPECT_TRUE(h.comm.PortOpen());
    EXPECT_EQ(h.comm.CommPort(), 1);

    h.clock.advance(1500);
    EXPECT_EQ(w.statusbox.Text, "Waiting for connection - Port 2");
    EXPECT_EQ(h.comm.CommPort(), 2);
    // The probe went out on port 1 several times while it was probed.
    EXPECT_GE(std::count(h.comm.written.begin(), h.comm.written.end(), 'u'), 2);

    h.feed("u1A\r");
    EXPECT_EQ(w.statusbox.Text, "Connected Comm Port 2");
    EXPECT_FALSE(w.Timer5.Enabled());
    EXPECT_TRUE(w.Timer1.Enabled());
    h.clock.advance(10000); // the search is over: port 2 stays the one in use
    EXPECT_FALSE(w.Timer5.Enabled());
    EXPECT_EQ(h.comm.CommPort(), 2);
    EXPECT_EQ(h.comm.opens, 2);
}

TEST_F(PortScanTest, AReplyAfterTheResetTickDoesNotConnect)
{
    h.comm.presentPorts = {1, 2, 3};
    h.model.Form_Load();
    h.clock.advance(3000); // port 1 probed, then reset
    h.feed("u1A\r");
    EXPECT_EQ(w.statusbox.Text, "");
    EXPECT_FALSE(w.Timer1.Enabled());
    EXPECT_EQ(w.revdata.Text, "26");
    h.clock.advance(1500);
    EXPECT_EQ(w.statusbox.Text, "Waiting for connection - Port 2");
}

TEST_F(PortScanTest, ThreeSilentPortsGiveUpAfterTenAndAHalfSecondsWithoutClosingPortThree)
{
    h.comm.presentPorts = {1, 2, 3};
    h.model.Form_Load();
    h.clock.advance(10499);
    EXPECT_NE(w.statusbox.Text, "Valid comm port not found");
    h.clock.advance(1);
    EXPECT_EQ(w.statusbox.Text, "Valid comm port not found");
    EXPECT_TRUE(h.comm.PortOpen());
    EXPECT_EQ(h.comm.CommPort(), 3);
}

TEST_F(PortScanTest, ResetWhileConnectedScansAgainFromPortOne)
{
    h.connect();
    h.clock.advance(2000);
    const std::int16_t slot = w.readslot;
    const std::string queue = w.txqueue;
    h.model.Command5_Click();
    EXPECT_FALSE(h.comm.PortOpen());
    EXPECT_EQ(w.statusbox.Text, "");
    EXPECT_EQ(w.readslot, slot);
    EXPECT_EQ(w.txqueue, queue);
    EXPECT_TRUE(w.Timer1.Enabled()); // the scheduler keeps running
    h.clock.advance(1499);
    EXPECT_FALSE(h.comm.PortOpen());
    h.clock.advance(1);
    EXPECT_TRUE(h.comm.PortOpen());
    EXPECT_EQ(w.statusbox.Text, "Waiting for connection - Port 1");
    h.feed("u1A\r");
    EXPECT_EQ(w.statusbox.Text, "Connected Comm Port 1");
}

TEST_F(PortScanTest, ClosingTheWindowClosesAnOpenPort)
{
    h.model.Form_Unload();
    EXPECT_EQ(h.model.failureCount(), 0);
    h.connect();
    h.model.Form_Unload();
    EXPECT_FALSE(h.comm.PortOpen());
}

TEST_F(PortScanTest, DeniedAccessIsReportedAndResetTriesAgain)
{
    h.comm.presentPorts = {1};
    h.comm.failure = "/dev/ttyUSB0: access denied. To get access, join the group dialout";
    h.model.Form_Load();
    h.clock.advance(1500);
    EXPECT_EQ(w.statusbox.Text, "Comm port: 1");
    EXPECT_NE(w.statusbox.ToolTip.find("join the group dialout"), std::string::npos);

    h.comm.failure.clear();
    h.model.Command5_Click();
    h.clock.advance(1500);
    h.feed("u1A\r");
    EXPECT_EQ(w.statusbox.Text, "Connected Comm Port 1");
    EXPECT_EQ(w.statusbox.ToolTip, "");
}

TEST_F(PortScanTest, ResetFinishesAHalfSentCommandBeforeClosing)
{
    h.connect();
    h.clock.advance(1);
    w.Timer1.setEnabled(false);
    w.txqueue = "/M14\r";
    h.comm.written.clear();
    ASSERT_TRUE(h.clock.runUntil([&] { return h.comm.written.size() == 2; }, 100));
    h.model.Command5_Click();
    EXPECT_FALSE(h.comm.PortOpen());
    EXPECT_EQ(w.txqueue, "");
    h.clock.advance(1600); // port 1 again: the probe does not run into the cut write
    EXPECT_EQ(h.comm.written.substr(0, 7), "/M14\r/*");
}
