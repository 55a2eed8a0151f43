// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_file.h"
#include "trends_window.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineSeries>
#include <QTemporaryDir>
#include <QTimer>
#include <QValueAxis>

#include <gtest/gtest.h>

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
    file.event("Connected Comm Port 1");
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
    // Every row carries the latest of each quantity once it has been reported.
    EXPECT_EQ(window.series(Trend::EngineSpeed)->count(), rows);
    EXPECT_EQ(window.series(Trend::Advance)->count(), rows - 1);
    EXPECT_EQ(window.series(Trend::BusVolts)->count(), rows - 1);
    // The time axis spans the telemetry rows: the event row came first, 240 ms before them.
    EXPECT_EQ(window.timeAxis()->min().toMSecsSinceEpoch(), kStartUtc + 480);
    EXPECT_EQ(window.timeAxis()->max().toMSecsSinceEpoch(), kStartUtc + 240 * (rows + 1));
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
    EXPECT_EQ(window.timeAxis()->min().toMSecsSinceEpoch(), 1000);
    EXPECT_EQ(window.timeAxis()->max().toMSecsSinceEpoch(), 2000);
}

// A run of a second once had one time label repeated on every tick; one of days, the same.
TEST(TrendsWindow, TimeLabelsDifferFromTickToTick)
{
    TrendsWindow window;
    const double start = 1772366400000.0;
    for (const double span : {400.0, 1000.0, 15000.0, 60000.0, 3 * 86400000.0}) {
        Recording rec;
        rec.rpm = {{start, 1000}, {start + span, 2000}};
        window.showRecording(rec, "short.csv");
        QDateTimeAxis *axis = window.timeAxis();
        const qint64 from = axis->min().toMSecsSinceEpoch();
        const qint64 to = axis->max().toMSecsSinceEpoch();
        QStringList labels;
        for (int i = 0; i < axis->tickCount(); ++i)
            labels << QDateTime::fromMSecsSinceEpoch(from +
                                                     (to - from) * i / (axis->tickCount() - 1))
                          .toString(axis->format());
        labels.removeDuplicates();
        EXPECT_EQ(labels.size(), axis->tickCount())
            << span << ": " << labels.join(' ').toStdString();
    }
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
    EXPECT_EQ(window.timeAxis()->max().toMSecsSinceEpoch(), kStartUtc + 400000);
    EXPECT_EQ(window.timeAxis()->min().toMSecsSinceEpoch(), kStartUtc + 100000);

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
    EXPECT_EQ(window.timeAxis()->max().toMSecsSinceEpoch(), kStartUtc + 402000);

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
