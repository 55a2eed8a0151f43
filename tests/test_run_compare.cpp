// SPDX-License-Identifier: GPL-3.0-or-later
// The figures beside the trends chart, a second run laid over the first, and the replay's
// numbers, on small runs whose answers are known.
#include "replay_readout.h"
#include "replay_window.h"
#include "run_comparison.h"
#include "summary_panel.h"
#include "trends_window.h"

#include <QApplication>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineSeries>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QValueAxis>

#include <gtest/gtest.h>

using namespace quelo;

namespace {

constexpr double kStart = 1772366400000; // 2026-03-01 12:00:00 UTC

// 61 s of engine speed rising 20 rpm a second from `rpm0`, the limit reported at 10 s, marks
// at `mark1` and 50 s, the link down from 40 s to 45 s; everything `shiftS` seconds later.
Recording run(double shiftS = 0, double rpm0 = 1000, double mark1 = 20)
{
    const double t0 = kStart + shiftS * 1000;
    Recording rec;
    for (int s = 0; s <= 60; ++s) {
        rec.rpm.push_back({t0 + s * 1000.0, rpm0 + 20 * s});
        rec.advanceDeg.push_back({t0 + s * 1000.0, 25.2});
    }
    rec.propAngleDeg.push_back({t0, 90});
    using K = RunEventKind;
    rec.events = {{t0, K::LinkUp, "Connected Comm Port 1"},
                  {t0 + 10000, K::ParameterReported, "max_rpm_limit=2000"},
                  {t0 + mark1 * 1000, K::Mark, "mark 1"},
                  {t0 + 40000, K::LinkLost, "Link lost on Comm Port 1"},
                  {t0 + 45000, K::LinkUp, "Connected Comm Port 1"},
                  {t0 + 50000, K::Mark, "mark 2"}};
    return rec;
}

// The cells of the panel's row for a figure.
QStringList row(const SummaryPanel &panel, const QString &label)
{
    const QTableWidget *table = panel.table();
    for (int r = 0; r < table->rowCount(); ++r) {
        if (table->item(r, 0)->text() != label)
            continue;
        QStringList cells;
        for (int c = 1; c < table->columnCount(); ++c)
            cells << table->item(r, c)->text();
        return cells;
    }
    return {};
}

} // namespace

TEST(TrendsSummary, ThePanelFollowsTheVisibleRangeAndCopiesItsFigures)
{
    TrendsWindow window;
    window.show();
    window.showRecording(run(), "a.csv");
    const SummaryPanel &panel = window.summary();
    EXPECT_EQ(row(panel, "engine speed maximum"), QStringList{"2200 rpm"});
    EXPECT_EQ(row(panel, "link down"), QStringList{"5.0 s"});
    EXPECT_EQ(row(panel, "marks"), QStringList{"2"});
    // Above 2000 rpm from 51 s on: the holds of the samples at 51..59 s.
    EXPECT_EQ(row(panel, "time above max rpm limit"), QStringList{"9.0 s"});

    window.timeAxis()->setRange(kStart, kStart + 9500); // before the limit was reported
    EXPECT_EQ(row(panel, "engine speed maximum"), QStringList{"1180 rpm"});
    EXPECT_EQ(row(panel, "time above max rpm limit"), QStringList{"limit not recorded"});
    panel.copy();
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.contains("span: visible range\n")) << copied.toStdString();
    EXPECT_TRUE(copied.contains("engine speed maximum: 1180 rpm\n")) << copied.toStdString();

    // Live again: nothing of the recording stays in the figures.
    window.showLive();
    EXPECT_EQ(row(panel, "propeller angle maximum"), QStringList{"no values"});
    EXPECT_EQ(row(panel, "marks"), QStringList{"0"});
}

// B starts 100 s later, runs 100 rpm higher and has its mark 1 at 30 s: aligned at the two
// mark 1s it is drawn 110 s earlier, dashed, and the panel puts its figures beside A's.
TEST(TrendsCompare, ASecondRunAlignedAtAMarkIsDashedAndSummedSideBySide)
{
    TrendsWindow window;
    window.show();
    window.showRecording(run(), "a.csv");
    emit window.comparison().loaded("/runs/b.csv", run(100, 1100, 30));
    RunComparison &b = window.comparison();
    ASSERT_TRUE(b.active());
    QLineSeries *dashed = b.series(Trend::EngineSpeed);
    EXPECT_EQ(dashed->pen().style(), Qt::DashLine);
    EXPECT_EQ(dashed->color(), window.series(Trend::EngineSpeed)->color());
    EXPECT_EQ(dashed->at(0).x(), kStart); // aligned at the starts first
    EXPECT_EQ(dashed->name(), "Engine speed — B");
    EXPECT_TRUE(window.findChild<QChartView *>()->chart()->title().contains("B: b.csv, dashed"));

    auto *anchorA = window.findChild<QComboBox *>("anchorA");
    auto *anchorB = window.findChild<QComboBox *>("anchorB");
    ASSERT_EQ(anchorB->count(), 3); // start, mark 1, mark 2
    anchorA->setCurrentIndex(1);
    anchorB->setCurrentIndex(1);
    emit anchorB->activated(1);
    EXPECT_EQ(dashed->at(0).x(), kStart - 10000);
    // A's whole run, 0..60 s, lies over B's 10..70 s, of which it has 10..60 s.
    const SummaryPanel &panel = window.summary();
    EXPECT_EQ(row(panel, "engine speed maximum"), (QStringList{"2200 rpm", "2300 rpm", "100 rpm"}));
    EXPECT_EQ(row(panel, "engine speed minimum"), (QStringList{"1000 rpm", "1300 rpm", "300 rpm"}));
    const QList<QListWidgetItem *> marksB =
        window.marksList()->findItems("B: mark 1", Qt::MatchStartsWith);
    ASSERT_EQ(marksB.size(), 1);
    EXPECT_EQ(marksB[0]->data(Qt::UserRole).toDouble(), kStart + 20000); // on A's mark 1

    b.stop();
    EXPECT_EQ(window.summary().table()->columnCount(), 2);
    EXPECT_EQ(dashed->count(), 0);
}

TEST(TrendsCompare, TheRecordingShownIsRefusedAsTheOneToCompare)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    TrendsWindow window;
    window.showRecording(run(), "a.csv", path);
    QString said;
    QObject::connect(&window.comparison(), &RunComparison::failed,
                     [&said](const QString &message) { said = message; });
    window.comparison().load(dir.filePath("./a.csv"));
    EXPECT_TRUE(said.contains("a.csv is the recording shown")) << said.toStdString();
    EXPECT_FALSE(window.comparison().active());
    EXPECT_NE(window.findChild<QMessageBox *>(), nullptr);
}

// The replay's numbers: the values under the gauges, the configuration in force, and the
// mark buttons jumping the replay.
TEST(ReplayReadout, ValuesConfigurationAndMarksFollowThePosition)
{
    ReplayWindow window(run(), "a.csv");
    window.show();
    Replay &replay = window.replay();
    auto *readout = window.findChild<ReplayReadout *>();
    ASSERT_NE(readout, nullptr);
    EXPECT_EQ(readout->configurationText(), "No configuration reported yet at this point");
    replay.seek(23000);
    EXPECT_EQ(readout->valueText(Quantity::EngineSpeed), "1460 rpm");
    EXPECT_EQ(readout->valueText(Quantity::Advance), "25.2° advance");
    EXPECT_EQ(readout->valueText(Quantity::BusVolts), "—");
    EXPECT_EQ(readout->configurationText(), "In force: max_rpm_limit=2000");
    window.findChild<QPushButton *>("replayNextMark")->click();
    EXPECT_EQ(replay.position(), 50000);
    window.findChild<QPushButton *>("replayPreviousMark")->click();
    EXPECT_EQ(replay.position(), 20000);
    EXPECT_FALSE(window.findChild<QPushButton *>("replayPreviousMark")->isEnabled());
}
