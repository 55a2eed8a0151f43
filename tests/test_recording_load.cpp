// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a large recording while the link runs, in real time over a pseudo-terminal: the file
// is read off the window's thread, so the module keeps being polled and the window keeps
// answering; memory stays bounded because the chart gets a thinned copy.
#include "app_window.h"
#include "pty_server.h"
#include "qt_serial_comm.h"
#include "qt_timer_host.h"
#include "replay_window.h"
#include "window_model.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineSeries>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include "event_wait.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

using namespace quelo;
using quelo::sim::PtyServer;
using quelo::test::waitFor;
using quelo::test::waitUntil;

namespace {

// AddressSanitizer's shadow memory makes the resident size say nothing about the program's.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryMeasured = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMemoryMeasured = false;
#else
constexpr bool kMemoryMeasured = true;
#endif
#else
constexpr bool kMemoryMeasured = true;
#endif

// Rows every 100 ms from 2026-03-01 12:00 UTC, written in large pieces.
bool writeRecording(const QString &path, int rows)
{
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\r\n";
    std::string piece;
    char row[128];
    for (int i = 0; i < rows; ++i) {
        const long long ms = 100LL * i;
        const long long s = ms / 1000;
        std::snprintf(row, sizeof row,
                      "2026-03-%02lldT%02lld:%02lld:%02lld.%03lldZ,%lld.%03lld,%d,%.1f,13.8,,\r\n",
                      1 + s / 86400, s / 3600 % 24, s / 60 % 60, s % 60, ms % 1000, s, ms % 1000,
                      1000 + i % 3000, 10 + (i % 200) / 10.0);
        piece += row;
        if (piece.size() > (1 << 20)) {
            out << piece;
            piece.clear();
        }
    }
    out << piece;
    return bool(out);
}

long peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace

TEST(RecordingLoad, TwoMillionRowsLoadWhileTheLinkKeepsPolling)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("two-million.csv"));
    ASSERT_TRUE(writeRecording(path, 2'000'000));

    PtyServer module;
    ASSERT_TRUE(module.start()) << module.errorString().toStdString();
    QtTimerHost timers;
    QtSerialComm comm({module.devicePath(), QString(), QString()});
    WindowModel model(comm, timers);
    AppWindow window(model);
    model.Form_Load();
    ASSERT_TRUE(
        waitUntil([&] { return model.state().statusbox.Text == "Connected Comm Port 1"; }, 15000));

    // Opens the file with `open` and waits until `opened`; the time it took, and the longest the
    // window's thread went meanwhile without running a 20 ms timer.
    qint64 longestGap = 0;
    const auto timeOpening = [&](const std::function<void()> &open,
                                 const std::function<bool()> &opened) {
        QElapsedTimer sinceTick;
        longestGap = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout,
                         [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        module.module().clearCommandLog();
        sinceTick.start();
        ticker.start(20);
        open();
        return waitFor(opened, 180000);
    };
    const auto report = [&](const char *what, qint64 loadMs) {
        const auto polls = module.module().commandLog().size();
        std::printf("2,000,000 rows %s in %lld ms; %lld commands polled meanwhile; longest "
                    "stall of the window's thread %lld ms; peak RSS %ld kB\n",
                    what, static_cast<long long>(loadMs), static_cast<long long>(polls),
                    static_cast<long long>(longestGap), peakResidentKb());
        // A command group (a read-back, or /p or /b, /x, /w with two 0.25 s pauses) takes at
        // most about a second.
        EXPECT_GE(qint64(polls), loadMs / 1000) << "the link stopped while the file was read";
        EXPECT_LT(longestGap, 1000) << "the window's thread was held up";
    };

    const qint64 loadMs =
        timeOpening([&] { window.openRecording(path); },
                    [&] { return !window.isOpeningRecording() && window.trends().isVisible(); });
    ASSERT_GE(loadMs, 0) << "the recording did not open";
    report("opened", loadMs);
    const int drawn = window.trends().series(Trend::EngineSpeed)->count();
    EXPECT_GT(drawn, 1000);
    EXPECT_LE(drawn, 4000);

    // Replayed: the same reading, and the replay window opens when it ends.
    const qint64 replayMs = timeOpening(
        [&] { window.openReplay(path); },
        [&] { return !window.isOpeningReplay() && window.findChild<ReplayWindow *>(); });
    ASSERT_GE(replayMs, 0) << "the replay did not open";
    report("opened for replay", replayMs);
    EXPECT_TRUE(window.findChild<ReplayWindow *>()->replay().playing());
    if (kMemoryMeasured) {
        EXPECT_LT(peakResidentKb(), 150 * 1024);
    }
    EXPECT_EQ(model.state().statusbox.Text, "Connected Comm Port 1");
}
