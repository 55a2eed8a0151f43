// SPDX-License-Identifier: GPL-3.0-or-later
// A run's figures on small recordings whose answers are worked out by hand.
#include "run_alignment.h"
#include "run_position.h"
#include "run_summary.h"
#include "summary_report.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

using namespace quelo;

namespace {

const std::string kHeader = "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\n";

// A row at `s` seconds after 12:00:00.
std::string row(int s, const std::string &values, const std::string &event = {})
{
    char time[64];
    std::snprintf(time, sizeof time, "2026-03-01T12:%02d:%02d.000Z,%d,", s / 60, s % 60, s);
    return time + values + "," + event + "\n";
}

Recording read(const std::string &rows)
{
    const RecordingRead r = parseRecording(kHeader + rows);
    EXPECT_EQ(r.error, "");
    return r.recording;
}

constexpr double kT0 = 1772366400000; // 2026-03-01 12:00:00 UTC
double at(int s)
{
    return kT0 + s * 1000.0;
}

// The limit rises from 2000 to 3000 at 20 s; the link is down from 40 s to 50 s; marks at 10 s
// and 45 s.
const std::string kRun = row(0, ",,,", "Connected Comm Port 1") + row(0, "1000,20.0,14.0,") +
                         row(0, ",,,", "max_rpm_limit=2000") + row(10, "2500,,,") +
                         row(10, ",,,", "mark 1") + row(20, ",,,", "max_rpm_limit=3000") +
                         row(30, "3500,,,") + row(40, ",,,", "Link lost on Comm Port 1") +
                         row(45, ",,,", "mark 2") + row(50, ",,,", "Connected Comm Port 1") +
                         row(60, "1000,,,");

} // namespace

TEST(RunSummary, TimeAboveALimitThatChangesAndTheLinkDownTimeLeftOut)
{
    const RunSummary s = summarize(read(kRun));
    EXPECT_DOUBLE_EQ(s.lengthS, 60);
    EXPECT_DOUBLE_EQ(s.linkDownS, 10);
    EXPECT_EQ(s.marks, 2u);
    // 2500 above 2000 for 10 s; 3500 above 3000 from 30 s to 60 s, less the 10 s without a link.
    EXPECT_TRUE(s.rpmLimit.recorded);
    EXPECT_DOUBLE_EQ(s.rpmLimit.secondsAbove, 30);
    const SeriesFigures &rpm = s.series[0];
    EXPECT_EQ(rpm.count, 4u);
    EXPECT_DOUBLE_EQ(rpm.min, 1000);
    EXPECT_DOUBLE_EQ(rpm.max, 3500);
    EXPECT_DOUBLE_EQ(rpm.mean, 2000);
    // 1000 x 10 s + 2500 x 20 s + 3500 x 20 s (known) over 50 s.
    EXPECT_DOUBLE_EQ(*rpm.timeWeightedMean, 2600);
    EXPECT_FALSE(s.advanceLimit.recorded);
    const std::vector<SummaryFigure> figures = summaryFigures(s);
    const auto advanceAbove = std::find_if(figures.begin(), figures.end(), [](const auto &f) {
        return f.key == "above_max_advance_limit_s";
    });
    ASSERT_NE(advanceAbove, figures.end());
    EXPECT_EQ(shownValue(*advanceAbove), "limit not recorded");
}

TEST(RunSummary, ASpanBetweenMarksHoldsTheValueFromBeforeIt)
{
    const Recording run = read(kRun);
    const RunSummary s = summarize(run, chartMarks(run.events, at(60)),
                                   {*markTime(run, "1"), *markTime(run, "mark 2")});
    EXPECT_DOUBLE_EQ(s.lengthS, 35);
    EXPECT_DOUBLE_EQ(s.linkDownS, 5);
    EXPECT_EQ(s.series[0].count, 2u); // 2500 at 10 s and 3500 at 30 s
    // 2500 x 20 s + 3500 x 10 s (40..45 s down) over 30 s.
    EXPECT_NEAR(*s.series[0].timeWeightedMean, 85000.0 / 30, 1e-9);
    EXPECT_DOUBLE_EQ(s.rpmLimit.secondsAbove, 20); // 10..20 and 30..40
    EXPECT_EQ(s.marks, 2u);
    // Advance was reported once, before the span: no samples, but its value held.
    EXPECT_EQ(s.series[1].count, 0u);
    EXPECT_DOUBLE_EQ(*s.series[1].timeWeightedMean, 20);
    EXPECT_FALSE(markTime(run, "mark 3"));
    bool twice = false;
    EXPECT_FALSE(markTime(read(kRun + row(61, ",,,", "mark 1")), "mark 1", &twice));
    EXPECT_TRUE(twice);
}

TEST(RunSummary, OneRowAndAllEqualValues)
{
    const RunSummary one = summarize(read(row(5, "1500,20.0,14.0,90.0")));
    EXPECT_DOUBLE_EQ(one.lengthS, 0);
    for (const SeriesFigures &f : one.series) {
        EXPECT_EQ(f.count, 1u);
        EXPECT_EQ(f.min, f.max);
        EXPECT_EQ(*f.timeWeightedMean, f.mean);
    }
    EXPECT_DOUBLE_EQ(one.series[3].mean, 90);
    const RunSummary flat =
        summarize(read(row(0, "1200,,,") + row(7, "1200,,,") + row(30, "1200,,,")));
    EXPECT_DOUBLE_EQ(flat.series[0].min, 1200);
    EXPECT_DOUBLE_EQ(flat.series[0].max, 1200);
    EXPECT_DOUBLE_EQ(*flat.series[0].timeWeightedMean, 1200);
    EXPECT_EQ(flat.series[2].count, 0u);
    EXPECT_FALSE(flat.series[2].timeWeightedMean);
}

// What a replay shows at a position: the values held, the marks either side, and the limit in
// force, also when the position goes back.
TEST(RunPosition, ValuesMarksAndTheConfigurationInForce)
{
    const Recording run = read(kRun);
    const std::vector<double> marks = markTimes(run);
    const RunPosition p = positionIn(run, marks, at(25));
    EXPECT_EQ(p.values[0], 2500);
    EXPECT_EQ(p.values[1], 20);
    EXPECT_FALSE(p.values[3]);
    EXPECT_EQ(p.previousMark, at(10));
    EXPECT_EQ(p.nextMark, at(45));
    const RunPosition onMark = positionIn(run, marks, at(10));
    EXPECT_FALSE(onMark.previousMark);
    EXPECT_EQ(onMark.nextMark, at(45));
    ConfigurationTrack track(run.events);
    const Configuration before{{"max_rpm_limit", "2000"}}, after{{"max_rpm_limit", "3000"}};
    EXPECT_EQ(track.at(at(15)), before);
    EXPECT_EQ(track.at(at(25)), after);
    EXPECT_EQ(track.at(at(5)), before);
}

// B's mark 1 comes 25 s after its start; aligned with A's mark 1 (10 s into A), B's moments
// land 15 s earlier on A's time axis, and A's visible span maps back onto B's.
TEST(RunAlignment, AtAMarkOfEachRun)
{
    const Recording a = read(kRun);
    const Recording b = read(row(100, "800,,,") + row(125, ",,,", "mark 1") + row(130, "2000,,,") +
                             row(140, "900,,,"));
    const auto aligned = alignRuns(a, "mark 1", b, "mark 1");
    ASSERT_TRUE(aligned);
    EXPECT_DOUBLE_EQ(aligned->toA(at(125)), at(10));
    EXPECT_DOUBLE_EQ(shiftedBy(b, aligned->offsetMs).rpm[1].t, at(15));
    const TimeSpan inB = aligned->toB({at(10), at(20)});
    EXPECT_DOUBLE_EQ(inB.from, at(125));
    const RunSummary s = summarize(b, chartMarks(b.events, at(140)), inB);
    EXPECT_DOUBLE_EQ(s.series[0].max, 2000);
    EXPECT_DOUBLE_EQ(*s.series[0].timeWeightedMean, (800 * 5 + 2000 * 5) / 10.0);
    const auto atStarts = alignRuns(a, "", b, "");
    EXPECT_DOUBLE_EQ(atStarts->toA(at(100)), at(0));
    EXPECT_FALSE(alignRuns(a, "mark 9", b, ""));
}

// The JSON holds the figures the text shows, rounded alike; the text and the differences of two
// runs agree with them.
TEST(SummaryReport, JsonParsesAndHoldsTheTextsFigures)
{
    SummaryReport a{"a\x1b[2J.csv", "whole run", startingConfiguration(read(kRun).events),
                    summaryFigures(summarize(read(kRun)))};
    SummaryReport b{"b.csv",
                    "whole run",
                    {{"max_rpm_limit", "2816"}},
                    summaryFigures(summarize(read(row(0, "1234.56,,,") + row(10, "1300,,,"))))};
    const QJsonObject json =
        QJsonDocument::fromJson(QByteArray::fromStdString(summaryJson(a))).object();
    ASSERT_FALSE(json.isEmpty()) << summaryJson(a);
    EXPECT_EQ(json["file"].toString(), QString::fromUtf8("a\x1b[2J.csv"));
    EXPECT_EQ(json["start"].toObject()["max_rpm_limit"].toString(), "2000");
    const QStringList lines = QString::fromStdString(summaryText(a)).split('\n');
    EXPECT_EQ(lines[0], "file: a\\x1b[2J.csv");
    const QJsonObject figures = json["figures"].toObject();
    int checked = 0;
    for (const SummaryFigure &f : a.figures) {
        const QStringList line = lines.filter(QString::fromStdString(f.label + ": "));
        ASSERT_FALSE(line.isEmpty()) << f.label;
        const QString shown = line[0].section(": ", 1).section(' ', 0, 0);
        const QJsonValue value = figures[QString::fromStdString(f.key)];
        if (value.isNull()) {
            EXPECT_FALSE(f.value) << f.key;
            continue;
        }
        EXPECT_EQ(shown.toDouble(), value.toDouble()) << f.key;
        ++checked;
    }
    EXPECT_GT(checked, 10);

    const QJsonObject both =
        QJsonDocument::fromJson(QByteArray::fromStdString(comparisonJson(a, b))).object();
    const QJsonObject diff = both["difference"].toObject();
    EXPECT_EQ(both["b"].toObject()["figures"].toObject()["rpm_min"].toDouble(), 1235);
    EXPECT_EQ(diff["rpm_min"].toDouble(), 235);
    EXPECT_TRUE(diff["advance_deg_max"].isNull());
    const QString text = QString::fromStdString(comparisonText(a, b));
    EXPECT_TRUE(text.contains("engine speed minimum: A 1000 rpm, B 1235 rpm, difference 235 rpm"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("at the start, max_rpm_limit: A 2000, B 2816, difference 816"))
        << text.toStdString();
}
