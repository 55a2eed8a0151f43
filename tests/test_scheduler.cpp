// SPDX-License-Identifier: GPL-3.0-or-later
#include "harness.h"

#include "parameters.h"
#include "scheduler.h"

#include <gtest/gtest.h>

using namespace quelo;

namespace {
// The scheduler alone, ticked by hand.
struct Scheduler : ::testing::Test
{
    quelo::test::Harness h;
    WindowState &w = h.w;
    CommandScheduler scheduler{w};
    // Ticked for a connected module whose sliders have been read back.
    Scheduler()
    {
        w.linkUp = true;
        w.readInConnection.fill(true);
        for (const Parameter &p : kParameters)
            (w.*p.slider).Visible = true;
    }

    // Marks every value as reported, as after a full read-back.
    void allReported()
    {
        for (TextBox *box : {&w.revdata, &w.cycledata, &w.leddata, &w.pprdata, &w.vdata,
                             &w.conshiftdata, &w.maxrpmdata, &w.maxadvancedata})
            box->Tag = "1";
        w.rpmdial.Tag = "1";
        w.voltsdial.Tag = "1";
    }
    std::string tick()
    {
        w.txqueue.clear();
        scheduler.Timer1_Timer();
        return w.txqueue;
    }
};
} // namespace

TEST_F(Scheduler, ABusyQueueStopsTheTickAltogether)
{
    w.txqueue = "x";
    scheduler.Timer1_Timer();
    EXPECT_EQ(w.txqueue, "x");
    EXPECT_EQ(w.readslot, 0);
}

TEST_F(Scheduler, FirstTicksAfterConnecting)
{
    w.revdata.Tag = "1";
    EXPECT_EQ(tick(), "/p\r%/x\r%/w\r");
    EXPECT_EQ(w.readslot, 1);
    EXPECT_TRUE(w.propellerPoll);
    EXPECT_EQ(tick(), "/c\r");
    EXPECT_EQ(tick(), "/d\r");
    EXPECT_EQ(tick(), "/p\r%/x\r%/w\r"); // slot 4
    EXPECT_EQ(tick(), "/p\r%/x\r%/w\r"); // slot 5
    EXPECT_EQ(tick(), "/w\r");
    EXPECT_EQ(tick(), "/x\r");
    EXPECT_EQ(tick(), "/l\r");
    EXPECT_EQ(tick(), "/t\r");
    EXPECT_EQ(tick(), "/v\r");
    EXPECT_EQ(tick(), "/m\r");
    EXPECT_EQ(tick(), "/n\r");
    EXPECT_EQ(w.readslot, 12);
    tick();
    EXPECT_EQ(w.readslot, 1);
}

TEST_F(Scheduler, StandingPollFollowsEngineSpeed)
{
    allReported();
    w.rpmtarget = 49;
    EXPECT_EQ(tick(), "/p\r%/x\r%/w\r");
    EXPECT_TRUE(w.propellerPoll);
    w.rpmtarget = 50;
    EXPECT_EQ(tick(), "/b\r%/x\r%/w\r");
    EXPECT_FALSE(w.propellerPoll);
    w.rpmtarget = -5;
    EXPECT_EQ(tick(), "/p\r%/x\r%/w\r");
}

TEST_F(Scheduler, OnlyTheLastPendingSliderIsWrittenButEveryBoxIsMarked)
{
    allReported();
    w.readslot = 3; // next slot is 4: asks for nothing
    h.model.moveSlider(w.cyclescroll, 2);
    h.model.moveSlider(w.maxadvancescroll, 30);
    EXPECT_EQ(tick(), "/N30\r");
    EXPECT_EQ(w.cycledata.Tag, "0");
    EXPECT_EQ(w.maxadvancedata.Tag, "0");
    EXPECT_EQ(w.cyclescroll.Tag, "1");
    // The write repeats on every acting tick until the read-back; slot 6 has nothing to ask.
    EXPECT_EQ(tick(), "/N30\r");
}

TEST_F(Scheduler, NegativeValuesAndTheReadSlotReplacingAWrite)
{
    allReported();
    w.readslot = 4;
    h.model.moveSlider(w.conshiftscroll, -9);
    EXPECT_EQ(tick(), "/C-9\r");
    // conshiftdata's flag was cleared by the write: slot 2 asks for the value instead.
    w.readslot = 1;
    EXPECT_EQ(tick(), "/c\r");
}

TEST_F(Scheduler, StoreButtonQueuesAtOnceAndTurnsGreen)
{
    w.cyclescroll.setValue(8);
    w.cyclescroll.Tag = "0";
    w.Command3.BackColor = kDarkGrey;
    w.txqueue = "/p\r%/x\r%/w\r";
    h.model.Command3_Click();
    EXPECT_EQ(w.txqueue, "/W8\r");
    EXPECT_EQ(w.Command3.BackColor, kGreen);
    h.model.Command3_Click();
    EXPECT_EQ(w.txqueue, "/W8\r");
    EXPECT_FALSE(h.model.storeWaiting());
}

// A store pressed right after a slider would store the module's old value and then report it
// stored: it waits until the write is confirmed, and goes out before anything else then.
TEST_F(Scheduler, AStoreWaitsForAPendingWriteToBeConfirmed)
{
    allReported();
    std::vector<std::string> told;
    h.model.linkLog().setSink([&told](const std::string &text) { told.push_back(text); });
    w.readslot = 3;
    h.model.moveSlider(w.cyclescroll, 5);
    w.txqueue = "/p\r%/x\r%/w\r";
    h.model.Command3_Click();
    EXPECT_EQ(w.txqueue, "/p\r%/x\r%/w\r"); // nothing replaced
    EXPECT_TRUE(h.model.storeWaiting());
    EXPECT_EQ(w.Command3.BackColor, kGreen);
    EXPECT_EQ(told, std::vector<std::string>{
                        "store: Store waiting for RUN MODE START DELAY to be confirmed"});

    EXPECT_EQ(tick(), "/D5\r"); // slot 4
    w.readslot = 2;
    EXPECT_EQ(tick(), "/d\r"); // slot 3
    h.feed("/D5\r");
    h.feed("d05\r");
    ASSERT_EQ(w.cyclescroll.Tag, "0");
    EXPECT_EQ(tick(), "/W5\r");
    EXPECT_FALSE(h.model.storeWaiting());
    EXPECT_EQ(w.Command3.BackColor, kGreen); // until the module echoes the store
    h.feed("/W5\r");
    EXPECT_EQ(w.Command3.BackColor, kDarkGrey);
    EXPECT_TRUE(h.model.unstoredChanges().empty());
}

TEST_F(Scheduler, TachVoltsChangeLeavesTheStoreButtonAlone)
{
    w.vscroll.Visible = true;
    h.model.moveSlider(w.vscroll, 1);
    EXPECT_EQ(w.vscroll.Tag, "1");
    EXPECT_EQ(w.Command3.BackColor, kDarkGrey);
    h.model.moveSlider(w.vscroll, 1); // the same value raises nothing
    h.model.moveSlider(w.ledscroll, 2);
    EXPECT_EQ(w.Command3.BackColor, kGreen);
}
