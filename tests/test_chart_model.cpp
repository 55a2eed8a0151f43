// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart_marks.h"
#include "chart_ticks.h"
#include "recording_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace quelo;

namespace {

constexpr double kT0 = 1772366400000; // 2026-03-01 12:00:00 UTC

// A run as the recorder writes it: a connection, a limit reported twice, a mark, a store, a
// lost link and its return, and telemetry rows between them.
const char *const kRun =
    "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\r\n"
    "2026-03-01T12:00:00.000Z,0.000,,,,,Comm port: 1\r\n"
    "2026-03-01T12:00:01.500Z,1.500,,,,,Connected Comm Port 1\r\n"
    "2026-03-01T12:00:02.000Z,2.000,1000,25.2,13.8,12.7,\r\n"
    "2026-03-01T12:00:03.000Z,3.000,,,,,max_rpm_limit=2560\r\n"
    "2026-03-01T12:00:04.000Z,4.000,1500,28.0,14.1,12.7,\r\n"
    "2026-03-01T12:00:05.000Z,5.000,,,,,mark 1\r\n"
    "2026-03-01T12:00:06.000Z,6.000,,,,,max_rpm_limit=2816\r\n"
    "2026-03-01T12:00:06.500Z,6.500,,,,,max_advance_limit=30.8\r\n"
    "2026-03-01T12:00:07.000Z,7.000,,,,,stored\r\n"
    "2026-03-01T12:00:08.000Z,8.000,2100,30.8,14.2,12.7,\r\n"
    "2026-03-01T12:00:09.000Z,9.000,,,,,Link lost on Comm Port 1\r\n"
    "2026-03-01T12:00:12.000Z,12.000,,,,,Connected Comm Port 1\r\n"
    "2026-03-01T12:00:13.000Z,13.000,,,,,mark 2\r\n"
    "2026-03-01T12:00:14.000Z,14.000,2200,31.0,14.0,12.7,\r\n"
    "2026-03-01T12:00:15.000Z,15.000,,,,,No answer from the module on Comm Port 1\r\n";

Recording run()
{
    const RecordingRead read = parseRecording(kRun);
    EXPECT_EQ(read.error, "");
    return read.recording;
}

double at(double seconds)
{
    return kT0 + seconds * 1000;
}

std::vector<std::string> labels(const std::vector<AxisTick> &ticks)
{
    std::vector<std::string> out;
    for (const AxisTick &t : ticks)
        out.push_back(t.label);
    return out;
}

} // namespace

TEST(ChartMarks, EventsMarksAndLimitsOfAKnownRunAtTheirTimes)
{
    const Recording r = run();
    const ChartMarks marks = chartMarks(r.events, at(15));

    ASSERT_EQ(marks.events.size(), 11u);
    EXPECT_EQ(marks.events[3].t, at(5));
    EXPECT_EQ(marks.events[3].kind, RunEventKind::Mark);
    EXPECT_EQ(marks.events[2].kind, RunEventKind::ParameterReported);
    EXPECT_EQ(marks.events[2].label, "max_rpm_limit=2560");
    EXPECT_EQ(marks.events[6].kind, RunEventKind::StoreConfirmed);
    EXPECT_EQ(marks.events[0].kind, RunEventKind::Status);

    const auto listed = marks.marks();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].label, "mark 1");
    EXPECT_EQ(listed[1].t, at(13));

    // Without a working link: before the first connection, the loss, and the silence at the end.
    ASSERT_EQ(marks.linkDown.size(), 3u);
    EXPECT_EQ(marks.linkDown[0].from, at(0));
    EXPECT_EQ(marks.linkDown[0].to, at(1.5));
    EXPECT_EQ(marks.linkDown[1].from, at(9));
    EXPECT_EQ(marks.linkDown[1].to, at(12));
    EXPECT_EQ(marks.linkDown[2].from, at(15));

    // The max rpm limit in two stretches, the second open to the end; the advance limit once.
    ASSERT_EQ(marks.rpmLimit.size(), 2u);
    EXPECT_EQ(marks.rpmLimit[0].from, at(3));
    EXPECT_EQ(marks.rpmLimit[0].to, at(6));
    EXPECT_EQ(marks.rpmLimit[0].value, 2560);
    EXPECT_EQ(marks.rpmLimit[1].to, at(15));
    EXPECT_EQ(marks.rpmLimit[1].value, 2816);
    ASSERT_EQ(marks.advanceLimit.size(), 1u);
    EXPECT_DOUBLE_EQ(marks.advanceLimit[0].value, 30.8);
    EXPECT_EQ(marks.advanceLimit[0].from, at(6.5));
}

// Only what says the link is not working shades the chart: an event no table classified (a
// text a later version writes) is a neutral line, whether told live or read from a recording.
TEST(ChartMarks, AnUnclassifiedEventIsNotDrawnAsALostLink)
{
    const ChartMarks told = chartMarks({{at(0), RunEventKind::LinkUp, "Connected Comm Port 1"},
                                        {at(1), RunEventKind::Unclassified, "Connected?"},
                                        {at(2), RunEventKind::LinkLost, "lost"}},
                                       at(3));
    ASSERT_EQ(told.linkDown.size(), 1u);
    EXPECT_EQ(told.linkDown[0].from, at(2));
    EXPECT_EQ(told.events[1].kind, RunEventKind::Unclassified);

    const RecordingRead read =
        parseRecording("time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\r\n"
                       "2026-03-01T12:00:00.000Z,0.000,,,,,Connected Comm Port 1\r\n"
                       "2026-03-01T12:00:01.000Z,1.000,,,,,recording paused\r\n"
                       "2026-03-01T12:00:02.000Z,2.000,900,,,,\r\n");
    ASSERT_EQ(read.error, "");
    const ChartMarks marks = chartMarks(read.recording.events, at(2));
    ASSERT_EQ(marks.events.size(), 2u);
    EXPECT_EQ(marks.events[1].label, "recording paused");
    EXPECT_TRUE(marks.linkDown.empty());
}

TEST(ChartMarks, HostileEventTextsAreLabelledNotTrusted)
{
    // As a recording reads them: the kind from the text.
    std::vector<RecordedEvent> events;
    for (const std::string &text :
         {std::string("max_rpm_limit=lots"),        // not a number: no limit line
          std::string("mark 1x"),                   // not a mark
          std::string("Mark 2"),                    // nor this
          std::string(200, 'A'),                    // long: a short label
          std::string("mark 99999999999999999999"), // a number beyond any mark
          std::string(22, 'a') + "\xC3\xA9\xC3\xA9\xC3\xA9"})
        events.push_back({double(events.size() + 1), eventKindOf(text), text});
    const ChartMarks marks = chartMarks(events, 10);
    EXPECT_TRUE(marks.rpmLimit.empty());
    EXPECT_TRUE(marks.marks().empty());
    EXPECT_LE(marks.events[3].label.size(), 30u);
    // A cut label never splits a UTF-8 character.
    const std::string &cut = marks.events[5].label;
    EXPECT_EQ(cut.substr(cut.size() - 3), "…");
    EXPECT_NE(static_cast<unsigned char>(cut[cut.size() - 4]) & 0xC0, 0xC0);
    EXPECT_EQ(markNumber("mark 3"), 3);
    EXPECT_EQ(markText(3), "mark 3");
}

TEST(ChartCursor, ValuesAtKnownTimes)
{
    const Recording r = run();
    // Halfway between two samples the earlier one wins; past the end, the last one.
    EXPECT_EQ(nearestSample(r.rpm, at(3))->v, 1000);
    EXPECT_EQ(nearestSample(r.rpm, at(3.01))->v, 1500);
    EXPECT_EQ(nearestSample(r.busVolts, at(7.9))->v, 14.2);
    EXPECT_EQ(nearestSample(r.advanceDeg, at(100))->v, 31.0);
    EXPECT_EQ(nearestSample(r.rpm, at(-5))->v, 1000);
    EXPECT_FALSE(nearestSample({}, at(1)));
    EXPECT_FALSE(sampleAtOrBefore(r.rpm, at(1.9)));
    EXPECT_EQ(sampleAtOrBefore(r.rpm, at(2))->v, 1000);
    EXPECT_EQ(sampleAtOrBefore(r.rpm, at(7.99))->v, 1500);
}

TEST(ChartTicks, ValueLabelsNeverRepeatAndCarryNoNeedlessDecimals)
{
    struct Case
    {
        double lo, hi, minStep;
    };
    const Case cases[] = {{0, 3500, 100},    {0, 4200, 100},    {1200, 1260, 100},
                          {0, 18, 0.1},      {13.9, 14.3, 0.1}, {20, 50, 0.1},
                          {28.3, 28.9, 0.1}, {0, 1e6, 100},     {-3, 3, 0.1}};
    for (const Case &c : cases) {
        for (int count : {3, 5, 8, 12}) {
            const auto ticks = valueTicks(c.lo, c.hi, count, c.minStep);
            SCOPED_TRACE(std::to_string(c.lo) + ".." + std::to_string(c.hi) + " x" +
                         std::to_string(count));
            EXPECT_LE(int(ticks.size()), count);
            std::set<std::string> seen;
            for (const AxisTick &t : ticks) {
                EXPECT_TRUE(seen.insert(t.label).second) << t.label;
                EXPECT_GE(t.at, c.lo - 1e-9);
                EXPECT_LE(t.at, c.hi + 1e-9);
                EXPECT_EQ(t.label.find('.') == std::string::npos || t.label.back() != '0', true)
                    << t.label;
                EXPECT_NEAR(std::stod(t.label), t.at, 1e-9) << t.label;
                if (c.minStep >= 100) { // rpm in whole hundreds
                    EXPECT_EQ(std::fmod(t.at, 100), 0) << t.label;
                } else if (t.label.find('.') != std::string::npos) { // one decimal at most
                    EXPECT_EQ(t.label.size() - t.label.find('.'), 2u) << t.label;
                }
            }
        }
    }
    EXPECT_EQ(
        labels(valueTicks(0, 3500, 8, 100)),
        (std::vector<std::string>{"0", "500", "1000", "1500", "2000", "2500", "3000", "3500"}));
    EXPECT_EQ(labels(valueTicks(13.9, 14.3, 5, 0.1)),
              (std::vector<std::string>{"13.9", "14", "14.1", "14.2", "14.3"}));
    EXPECT_TRUE(valueTicks(5, 5, 5, 0.1).empty());
}

TEST(ChartTicks, TimesFallOnWholeSecondsOrMinutes)
{
    // Five minutes of wall clock in local time (UTC+1): whole minutes, "HH:mm".
    TimeAxisFrame wall{TimeLabels::WallClock, kT0, 60};
    EXPECT_EQ(labels(timeTicks(at(-1.5), at(299), 7, wall)),
              (std::vector<std::string>{"13:00", "13:01", "13:02", "13:03", "13:04"}));
    // Twenty seconds: every five seconds, with seconds, starting at the first whole multiple.
    const auto short_ = timeTicks(at(0.3), at(20.3), 6, wall);
    EXPECT_EQ(labels(short_),
              (std::vector<std::string>{"13:00:05", "13:00:10", "13:00:15", "13:00:20"}));
    EXPECT_EQ(short_[0].at, at(5));
    // Elapsed time counts from the origin, in mm:ss, and shows nothing before it.
    TimeAxisFrame elapsed{TimeLabels::Elapsed, at(0.3), 60};
    EXPECT_EQ(labels(timeTicks(at(-10), at(150), 4, elapsed)),
              (std::vector<std::string>{"00:00", "01:00", "02:00"}));
    EXPECT_EQ(timeTicks(at(-10), at(150), 4, elapsed)[1].at, at(60.3));
    // A long run: hours appear on every label.
    EXPECT_EQ(labels(timeTicks(at(0), at(7200), 3, {TimeLabels::Elapsed, at(0), 0})),
              (std::vector<std::string>{"0:00:00", "1:00:00", "2:00:00"}));
    EXPECT_EQ(elapsedText(83), "01:23");
    EXPECT_EQ(elapsedText(600), "10:00");
    EXPECT_EQ(elapsedText(3723.9), "1:02:03");
    // No label repeats over a day of zoom levels.
    for (double span : {3.0, 40.0, 700.0, 5000.0, 40000.0, 80000.0}) {
        for (TimeLabels mode : {TimeLabels::WallClock, TimeLabels::Elapsed}) {
            std::set<std::string> seen;
            for (const AxisTick &t : timeTicks(at(17), at(17 + span), 7, {mode, at(0), 120}))
                EXPECT_TRUE(seen.insert(t.label).second) << t.label << " over " << span;
        }
    }
}
