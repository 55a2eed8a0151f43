// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_thin.h"
#include "replay_window.h"
#include "run_file.h"
#include "summary_panel.h"
#include "translations.h"
#include "trends_window.h"

#include <QApplication>
#include <QCategoryAxis>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <cmath>

using namespace quelo;

namespace {

constexpr std::int64_t kStartUtc = 1772366400000; // 2026-03-01 12:00:00 UTC

// Writes a recording of `rows` telemetry rows 240 ms apart, an engine cycle that runs up to
// 2600 rpm with the bus at 14.1 V, and returns its path.
QString writeRun(const QTemporaryDir &dir, int rows)
{
    const QString path = dir.filePath("run.csv");
    auto step = std::make_shared<std::int64_t>(0);
    RunFile file(nullptr, [step] {
        const std::int64_t ms = (*step)++ * 240;
        return Stamp{kStartUtc + ms, 60, ms};
    });
    EXPECT_TRUE(file.start(path));
    file.event({RunEventKind::LinkUp, "Connected Comm Port 1"});
    for (int i = 0; i < rows; ++i) {
        const double rpm = i < rows / 2 ? 1000 + 1600.0 * i / (rows / 2) : 2600;
        if (i % 3 == 0)
            file.telemetry({rpm, {}, {}, {}});
        else
            file.telemetry({{}, 20 + 1.4 * (i % 10), 14.1, {}});
    }
    return path;
}

} // namespace

TEST(TrendsWindow, ShowsAWholeRecordingOnTheGaugesScales)
{
    QTemporaryDir dir;
    const int rows = 15000;
    const QString path = writeRun(dir, rows);
    TrendsWindow window;
    window.show();

    QElapsedTimer load;
    load.start();
    const RecordingRead read = readRecordingFile(path);
    ASSERT_EQ(read.error, "");
    window.showRecording(read.recording, "run.csv");
    window.grab(); // the first paint of all points belongs to the load time
    const qint64 loadMs = load.elapsed();
    EXPECT_LT(loadMs, 1000);
    std::printf("15,000-row recording read and shown in %lld ms\n", static_cast<long long>(loadMs));

    EXPECT_FALSE(window.isLive());
    EXPECT_EQ(window.windowTitle(), QString("Trends — run.csv"));
    // Every row carries the latest of each quantity once it has been reported; the chart draws
    // a chart's worth of them.
    EXPECT_EQ(read.recording.rpm.size(), std::size_t(rows));
    EXPECT_EQ(window.series(Trend::EngineSpeed)->count(), int(kMaxDrawnPoints));
    EXPECT_EQ(window.series(Trend::Advance)->count(), int(kMaxDrawnPoints));
    // The time axis spans the whole run: from its first row, the "Connected" event 240 ms
    // before the telemetry, to the last.
    EXPECT_EQ(window.timeAxis()->min(), kStartUtc + 240);
    EXPECT_EQ(window.timeAxis()->max(), kStartUtc + 240 * (rows + 1));
    EXPECT_DOUBLE_EQ(window.valueAxis(Trend::EngineSpeed)->max(), 3500);
    EXPECT_DOUBLE_EQ(window.valueAxis(Trend::Advance)->max(), 50);
    EXPECT_DOUBLE_EQ(window.valueAxis(Trend::BusVolts)->max(), 18);
    EXPECT_TRUE(window.valueAxis(Trend::EngineSpeed)->titleText().contains("rpm"));
    EXPECT_TRUE(window.valueAxis(Trend::BusVolts)->titleText().contains("(V)"));
}

TEST(TrendsWindow, AxesWidenForValuesBeyondTheGaugeScale)
{
    Recording rec;
    rec.rpm = {{1000, 900}, {2000, 4200}};
    rec.busVolts = {{1500, 12.5}};
    TrendsWindow window;
    window.showRecording(rec, "hot.csv");
    EXPECT_DOUBLE_EQ(window.valueAxis(Trend::EngineSpeed)->max(), 4200);
    EXPECT_DOUBLE_EQ(window.valueAxis(Trend::BusVolts)->max(), 18);
    EXPECT_EQ(window.series(Trend::Advance)->count(), 0);
    EXPECT_EQ(window.timeAxis()->min(), 1000);
    EXPECT_EQ(window.timeAxis()->max(), 2000);
}

TEST(TrendsWindow, LiveModeShowsTheLastFiveMinutesWhenShown)
{
    TrendsWindow window;
    // Reports while hidden are kept, not charted.
    for (int s = 0; s <= 400; ++s)
        window.addLive(kStartUtc + s * 1000.0, {1000.0 + s, {}, 12.0, {}});
    EXPECT_EQ(window.series(Trend::EngineSpeed)->count(), 0);
    window.show();
    EXPECT_EQ(window.series(Trend::EngineSpeed)->count(), 301); // 100 s .. 400 s
    EXPECT_EQ(window.series(Trend::BusVolts)->count(), 301);
    EXPECT_EQ(window.timeAxis()->max(), kStartUtc + 400000);
    EXPECT_EQ(window.timeAxis()->min(), kStartUtc + 100000);

    // New reports reach the chart on the next flush, at most four times a second; points that
    // left the five minutes go.
    window.addLive(kStartUtc + 401000.0, {1401.0, {}, {}, {}});
    window.addLive(kStartUtc + 402000.0, {1402.0, {}, {}, {}});
    QEventLoop loop;
    QObject::connect(window.series(Trend::EngineSpeed), &QXYSeries::pointAdded, &loop,
                     &QEventLoop::quit);
    QTimer::singleShot(5 * TrendsWindow::kFlushIntervalMs, &loop, &QEventLoop::quit);
    QElapsedTimer waited;
    waited.start();
    loop.exec();
    EXPECT_GE(waited.elapsed(), TrendsWindow::kFlushIntervalMs - 20);
    QLineSeries *rpm = window.series(Trend::EngineSpeed);
    ASSERT_EQ(rpm->count(), 301);
    EXPECT_DOUBLE_EQ(rpm->at(0).x(), kStartUtc + 102000.0);
    EXPECT_DOUBLE_EQ(rpm->at(300).y(), 1402);
    EXPECT_EQ(window.series(Trend::BusVolts)->count(), 299); // no new volts: only the drops
    EXPECT_EQ(window.timeAxis()->max(), kStartUtc + 402000);

    // A recording replaces the live view; Live brings it back with what came meanwhile.
    window.showRecording(Recording(), "empty.csv");
    EXPECT_EQ(window.series(Trend::EngineSpeed)->count(), 0);
    window.addLive(kStartUtc + 403000.0, {1500.0, {}, {}, {}});
    window.showLive();
    EXPECT_EQ(window.series(Trend::EngineSpeed)->count(), 301);
    EXPECT_DOUBLE_EQ(window.series(Trend::EngineSpeed)->at(300).y(), 1500);
}

TEST(TrendsWindow, SavesThePictureAsPngOrPdf)
{
    QTemporaryDir dir;
    Recording rec;
    rec.rpm = {{1000, 900}, {2000, 2500}};
    TrendsWindow window;
    window.resize(640, 400);
    window.showRecording(rec, "run.csv");
    ASSERT_TRUE(window.saveChart(dir.filePath("chart.png")));
    ASSERT_TRUE(window.saveChart(dir.filePath("chart.PDF")));
    QFile png(dir.filePath("chart.png")), pdf(dir.filePath("chart.PDF"));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(png.read(4), QByteArray("\x89PNG"));
    EXPECT_EQ(pdf.read(5), QByteArray("%PDF-"));
    EXPECT_FALSE(window.saveChart(dir.filePath("no/folder/chart.png")));
}

namespace {

// A short run with events: a connection, a mark, a max rpm limit, a store and a lost link.
Recording eventfulRun()
{
    Recording rec;
    for (int s = 0; s <= 60; ++s) {
        const double t = kStartUtc + s * 1000.0;
        rec.rpm.push_back({t, 1000.0 + 20 * s});
        rec.advanceDeg.push_back({t, 25.2});
        rec.busVolts.push_back({t, 14.1});
    }
    using K = RunEventKind;
    rec.events = {{kStartUtc, K::LinkUp, "Connected Comm Port 1"},
                  {kStartUtc + 10000.0, K::ParameterReported, "max_rpm_limit=2560"},
                  {kStartUtc + 20000.0, K::Mark, "mark 1"},
                  {kStartUtc + 30000.0, K::StoreConfirmed, "stored"},
                  {kStartUtc + 40000.0, K::LinkLost, "Link lost on Comm Port 1"},
                  {kStartUtc + 45000.0, K::LinkUp, "Connected Comm Port 1"},
                  {kStartUtc + 50000.0, K::Mark, "mark 2"}};
    return rec;
}

int pixelsOf(const QImage &image, QColor colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

} // namespace

// Events, marks and limits become chart items at their times; the marks list jumps to them; the
// picture saved has them.
TEST(TrendsWindow, EventsMarksAndLimitsAreDrawnAndSaved)
{
    QTemporaryDir dir;
    TrendsWindow window;
    window.resize(900, 500);
    window.show();
    Recording plain = eventfulRun();
    plain.events.clear();
    window.showRecording(plain, "plain.csv");
    ASSERT_TRUE(window.saveChart(dir.filePath("plain.png")));

    window.showRecording(eventfulRun(), "run.csv");
    const ChartOverlay &overlay = window.overlay();
    EXPECT_EQ(overlay.marks.events.size(), 7u);
    ASSERT_EQ(overlay.marks.rpmLimit.size(), 1u);
    EXPECT_EQ(overlay.marks.rpmLimit[0].from, kStartUtc + 10000.0);
    EXPECT_EQ(overlay.marks.rpmLimit[0].to, kStartUtc + 60000.0);
    ASSERT_EQ(overlay.marks.linkDown.size(), 1u);
    ASSERT_EQ(window.marksList()->count(), 2);
    EXPECT_TRUE(window.marksList()->item(1)->text().startsWith("mark 2"));
    EXPECT_TRUE(window.marksList()->item(1)->text().contains("00:50"));

    ASSERT_TRUE(window.saveChart(dir.filePath("events.png")));
    const QImage plainImage(dir.filePath("plain.png")), eventsImage(dir.filePath("events.png"));
    const QColor mark(200, 0, 160);
    EXPECT_EQ(pixelsOf(plainImage, mark), 0);
    EXPECT_GT(pixelsOf(eventsImage, mark), 2 * 200); // two mark lines across the plot

    // The marks list jumps: a zoomed view moves to the mark and the cursor stands on it.
    window.timeAxis()->setRange(kStartUtc, kStartUtc + 5000.0);
    window.marksList()->itemClicked(window.marksList()->item(1));
    EXPECT_LE(window.timeAxis()->min(), kStartUtc + 50000.0);
    EXPECT_GE(window.timeAxis()->max(), kStartUtc + 50000.0);
    EXPECT_EQ(window.overlay().cursorMs, kStartUtc + 50000.0);
}

// The cursor reads the three values at the nearest sample, in the gauges' units, with the time
// of day and the time into the run.
TEST(TrendsWindow, TheCursorReadsTheValuesAtKnownTimes)
{
    TrendsWindow window;
    window.resize(900, 500);
    window.show();
    window.showRecording(eventfulRun(), "run.csv");
    window.setCursorTime(kStartUtc + 30400.0); // nearest sample: 30 s
    const QStringList lines = window.overlay().cursorLines;
    ASSERT_EQ(lines.size(), 4) << lines.join('|').toStdString();
    EXPECT_TRUE(lines[0].contains(":00:30")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains("00:30 into the run")) << lines[0].toStdString();
    EXPECT_EQ(lines[1], "1600 rpm");
    EXPECT_EQ(lines[2], "25.2° advance");
    EXPECT_EQ(lines[3], "14.1 V");
    window.setCursorTime(kStartUtc + 30600.0); // nearest sample: 31 s
    EXPECT_EQ(window.overlay().cursorLines.value(1), "1620 rpm");
    window.setCursorTime(std::nullopt);
    EXPECT_FALSE(window.overlay().cursorMs);
}

// Nice ticks on the chart: whole hundreds of rpm, and time at whole seconds or minutes, in
// wall-clock time or as mm:ss since the start.
TEST(TrendsWindow, AxesTickAtRoundValuesInEitherTimeLabelling)
{
    TrendsWindow window;
    window.resize(900, 500);
    window.show();
    window.showRecording(eventfulRun(), "run.csv");
    auto *rpm = qobject_cast<QCategoryAxis *>(window.valueAxis(Trend::EngineSpeed));
    ASSERT_NE(rpm, nullptr);
    for (const QString &label : rpm->categoriesLabels())
        EXPECT_EQ(label.toInt() % 100, 0) << label.toStdString();
    const auto &ticks = window.overlay().timeTicks;
    ASSERT_GE(ticks.size(), 3u);
    for (const AxisTick &t : ticks)
        EXPECT_EQ(std::fmod(t.at, 5000.0), 0) << t.label;
    window.setTimeLabels(TimeLabels::Elapsed);
    EXPECT_EQ(window.overlay().timeTicks.front().label, "00:00");
    EXPECT_EQ(window.overlay().timeTicks.back().label, "01:00");
}

// Less than five minutes of live data fill the chart instead of sitting at its right edge;
// live events reach the chart with the points.
TEST(TrendsWindow, TheLiveChartSpansTheDataWhileThereIsLessThanItsWindow)
{
    TrendsWindow window;
    for (int s = 0; s <= 30; ++s)
        window.addLive(kStartUtc + s * 1000.0, {1000.0 + s, {}, 12.0, {}});
    window.addLiveEvent(kStartUtc + 12000.0, {RunEventKind::Mark, "mark 1"});
    window.show();
    EXPECT_EQ(window.timeAxis()->min(), kStartUtc);
    EXPECT_EQ(window.timeAxis()->max(), kStartUtc + 30000.0);
    ASSERT_EQ(window.overlay().marks.events.size(), 1u);
    EXPECT_EQ(window.marksList()->count(), 1);
    window.setTimeLabels(TimeLabels::Elapsed);
    EXPECT_EQ(window.overlay().timeTicks.front().label, "00:00");
}

// The replay window: its status line, the chart's cursor following the replay, and a click on
// the chart moving the replay there.
TEST(ReplayWindow, TheChartFollowsTheReplayAndAClickMovesIt)
{
    ReplayWindow window(eventfulRun(), "run.csv");
    window.show();
    Replay &replay = window.replay();
    EXPECT_FALSE(replay.playing());
    EXPECT_EQ(window.statusText(), QStringLiteral("Replaying run.csv — 00:00 of 01:00"));
    TrendsWindow &trends = window.trends();
    EXPECT_EQ(trends.windowTitle(), QStringLiteral("Trends — run.csv"));
    EXPECT_EQ(trends.overlay().cursorMs, kStartUtc);

    emit trends.timeClicked(kStartUtc + 23000.0);
    EXPECT_EQ(replay.position(), 23000);
    EXPECT_EQ(window.statusText(), QStringLiteral("Replaying run.csv — 00:23 of 01:00"));
    EXPECT_EQ(replay.targets().rpmtarget, 1000 + 20 * 23);
    EXPECT_EQ(trends.overlay().cursorMs, kStartUtc + 23000.0);
    EXPECT_TRUE(trends.overlay().cursorLines.value(1).startsWith("1460 rpm"));
}

// In German the chart, its cursor, the summary's figures and the replay's numbers all read
// German: texts marked in another class's context are looked up in that context.
TEST(TrendsWindow, ReadsGermanWhereTheUserAsksForIt)
{
    ASSERT_EQ(installTranslations(*qApp, {"de"}), "de");
    {
        TrendsWindow window;
        window.resize(900, 500);
        window.show();
        window.showRecording(eventfulRun(), "run.csv");
        EXPECT_EQ(window.valueAxis(Trend::EngineSpeed)->titleText(), "Drehzahl (1/min)");
        window.setCursorTime(kStartUtc + 30400.0);
        const QStringList lines = window.overlay().cursorLines;
        ASSERT_EQ(lines.size(), 4);
        EXPECT_TRUE(lines[0].contains("00:30 nach Laufbeginn")) << lines[0].toStdString();
        EXPECT_EQ(lines[1], "1600 1/min");
        EXPECT_EQ(lines[2], "25.2° vor OT");
        const QTableWidget *table = window.summary().table();
        QStringList rows;
        for (int r = 0; r < table->rowCount(); ++r)
            rows << table->item(r, 0)->text() + "=" + table->item(r, 1)->text();
        EXPECT_TRUE(rows.contains("Drehzahl, Maximum=2200 1/min")) << rows.join('|').toStdString();
        EXPECT_TRUE(rows.contains("Propellerwinkel, Minimum=keine Werte"));

        ReplayWindow replay(eventfulRun(), "run.csv");
        emit replay.trends().timeClicked(kStartUtc + 23000.0);
        const auto *rpm = replay.findChild<QLabel *>("replayValue0");
        ASSERT_TRUE(rpm);
        EXPECT_EQ(rpm->text(), "1460 1/min");
    }
    for (QTranslator *t : qApp->findChildren<QTranslator *>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}
