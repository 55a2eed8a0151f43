// SPDX-License-Identifier: GPL-3.0-or-later
#include "harness.h"

#include "animation.h"

#include <gtest/gtest.h>

using namespace quelo;

namespace {
struct Animation : ::testing::Test
{
    quelo::test::Harness h;
    WindowState &w = h.w;
    NeedleAnimation animation{w};
    void settle()
    {
        // Park every needle on its target so only the one under test moves.
        w.AGauge2.Value = w.proptarget;
        w.rpmdial.Value = w.rpmtarget;
        w.voltsdial.Value = w.voltstarget;
        w.advdial.Value = w.advtarget;
    }
};
} // namespace

TEST_F(Animation, EngineSpeedReachesAThousandOnTheSixtyFirstTick)
{
    settle();
    w.rpmtarget = 1000;
    const std::vector<int> firstSteps{100, 90, 81, 72, 65, 59, 53, 48, 43, 38, 35, 31, 28,
                                      25, 23, 20, 18, 17, 15, 13, 12, 11, 10, 9, 8, 7,
                                      6, 6, 5, 5, 4, 4, 3, 3, 3, 3, 2, 2};
    double before = 0;
    for (std::size_t i = 0; i < firstSteps.size(); ++i) {
        animation.Timer2_Timer();
        EXPECT_EQ(w.rpmdial.Value - before, firstSteps[i]) << "tick " << i + 1;
        before = w.rpmdial.Value;
    }
    EXPECT_EQ(w.rpmdial.Value, 977);
    for (int i = 0; i < 22; ++i)
        animation.Timer2_Timer();
    EXPECT_EQ(w.rpmdial.Value, 999);
    animation.Timer2_Timer();
    EXPECT_EQ(w.rpmdial.Value, 1000);
    animation.Timer2_Timer();
    EXPECT_EQ(w.rpmdial.Value, 1000);
}

TEST_F(Animation, PropellerSnapsOnlyBeyondNinetyAndNeverWraps)
{
    settle();
    w.AGauge2.Value = 10;
    w.proptarget = 350;
    animation.Timer2_Timer();
    EXPECT_EQ(w.AGauge2.Value, 350);

    w.AGauge2.Value = 0;
    w.proptarget = 90;
    animation.Timer2_Timer();
    EXPECT_EQ(w.AGauge2.Value, 1);

    w.AGauge2.Value = 359;
    w.proptarget = 0;
    animation.Timer2_Timer();
    EXPECT_EQ(w.AGauge2.Value, 0);

    w.AGauge2.Value = 10;
    w.proptarget = 80;
    for (int i = 0; i < 70; ++i)
        animation.Timer2_Timer();
    EXPECT_EQ(w.AGauge2.Value, 80);
}

TEST_F(Animation, VoltsRestJustAboveAndAdvanceJustBelowTheirTargets)
{
    settle();
    w.voltstarget = 12;
    w.advtarget = 30;
    w.voltsdial.Value = 11.95;
    w.advdial.Value = 30.05;
    animation.Timer2_Timer();
    EXPECT_GT(w.voltsdial.Value, 12.0);
    EXPECT_LT(w.advdial.Value, 30.0);
    // At rest each needle stays within a tenth of its target, on the same side, tick after tick.
    for (int i = 0; i < 50; ++i) {
        animation.Timer2_Timer();
        EXPECT_GT(w.voltsdial.Value, 12.0);
        EXPECT_NEAR(w.voltsdial.Value, 12.0, 0.1);
        EXPECT_LT(w.advdial.Value, 30.0);
        EXPECT_NEAR(w.advdial.Value, 30.0, 0.1);
    }

    w.voltsdial.Value = 0;
    for (int i = 0; i < 120; ++i)
        animation.Timer2_Timer();
    EXPECT_NEAR(w.voltsdial.Value, 12.0, 0.1);
}

TEST_F(Animation, AnEngineNeedleOnItsTargetStaysPut)
{
    settle();
    w.rpmtarget = 2500;
    w.rpmdial.Value = 2500;
    for (int i = 0; i < 10; ++i)
        animation.Timer2_Timer();
    EXPECT_EQ(w.rpmdial.Value, 2500);
}
