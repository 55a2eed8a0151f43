// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_faults.h"
#include "run_file.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace quelo;
using quelo::test::FileSizeLimit;

namespace {

// A clock that moves 250 ms per look, from 2026-03-01 12:00:00 UTC at offset +01:00.
RunFile::Clock steppingClock()
{
    auto ms = std::make_shared<std::int64_t>(0);
    return [ms] {
        const std::int64_t now = *ms;
        *ms += 250;
        return Stamp{1772366400000 + now, 60, now};
    };
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

TEST(RunFile, WritesTheHeaderAndOneFlushedLinePerReport)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("run.csv");
    RunFile file(nullptr, steppingClock());
    ASSERT_TRUE(file.start(path)) << file.errorString().toStdString();
    file.event({RunEventKind::LinkUp, "Connected Comm Port 1"});
    file.telemetry({1000.0, 19.6, 12.5, {}});
    // Read while the recording is still open: every line is on disk already.
    EXPECT_EQ(contents(path).toStdString(),
              "time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\r\n"
              "2026-03-01T13:00:00.250+01:00,0.250,,,,,Connected Comm Port 1\r\n"
              "2026-03-01T13:00:00.500+01:00,0.500,1000,19.6,12.5,,\r\n");
    file.stop();
    file.telemetry({2000.0, {}, {}, {}}); // after stop: nothing is written
    EXPECT_EQ(contents(path).count('\n'), 3);
}

TEST(RunFile, TruncateStartsAfreshAndAppendAddsToARecording)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("run.csv");
    RunFile file(nullptr, steppingClock());
    ASSERT_TRUE(file.start(path));
    file.telemetry({1000.0, {}, {}, {}});
    file.stop();
    ASSERT_TRUE(file.start(path, RunFile::Mode::Append));
    file.telemetry({1100.0, {}, {}, {}});
    file.stop();
    const QByteArray appended = contents(path);
    EXPECT_EQ(appended.count("time,elapsed_s"), 1); // one header
    EXPECT_EQ(appended.count('\n'), 3);
    EXPECT_EQ(readRecordingFile(path).recording.rpm.size(), 2u);

    ASSERT_TRUE(file.start(path));
    file.stop();
    EXPECT_EQ(contents(path).count('\n'), 1);
}

TEST(RunFile, AppendRefusesAFileThatIsNotARecording)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("notes.csv");
    QFile notes(path);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("my notes\n");
    notes.close();
    RunFile file;
    EXPECT_FALSE(file.start(path, RunFile::Mode::Append));
    EXPECT_TRUE(file.errorString().contains("not a recording"));
    EXPECT_EQ(contents(path), QByteArray("my notes\n"));
}

TEST(RunFile, AnUnwritablePathGivesAMessageAndChangesNothing)
{
    QTemporaryDir dir;
    const QString running = dir.filePath("running.csv");
    RunFile file(nullptr, steppingClock());
    QStringList failed;
    QObject::connect(&file, &RunFile::failed, [&failed](const QString &m) { failed << m; });
    ASSERT_TRUE(file.start(running));
    for (const QString &bad : {dir.filePath("no/such/folder/run.csv"), QString("/dev/full")}) {
        EXPECT_FALSE(file.start(bad)) << bad.toStdString();
        EXPECT_TRUE(file.errorString().startsWith("Cannot record into " + bad + ": "))
            << file.errorString().toStdString();
        // The recording that was running carries on into its own file.
        EXPECT_TRUE(file.isRecording());
        EXPECT_EQ(file.fileName(), running);
    }
    file.telemetry({900.0, {}, {}, {}});
    EXPECT_EQ(contents(running).count('\n'), 2);
    EXPECT_EQ(failed.count(), 0);
}

TEST(RunFile, AFullDiskStopsTheRecordingWithOneMessage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("run.csv");
    RunFile file(nullptr, steppingClock());
    QStringList failed;
    QObject::connect(&file, &RunFile::failed, [&failed](const QString &m) { failed << m; });
    ASSERT_TRUE(file.start(path));
    {
        FileSizeLimit limit(180); // the header (63 bytes) and two rows (46 each) fit, not a third
        for (int i = 0; i < 10; ++i)
            file.telemetry({1000.0 + i, {}, {}, {}});
    }
    ASSERT_EQ(failed.count(), 1);
    const QString message = failed.at(0);
    EXPECT_TRUE(message.startsWith("Recording into " + path + " stopped: "))
        << message.toStdString();
    EXPECT_FALSE(file.isRecording());
    // The third row, cut short by the disk, is taken off again: the file ends with a whole row.
    const QByteArray written = contents(path);
    EXPECT_EQ(written.size(), 63 + 2 * 46) << written.toStdString();
    EXPECT_TRUE(written.endsWith("\r\n"));
    EXPECT_EQ(readRecordingFile(path).recording.rpm.size(), 2u);
}

// A FIFO or a device is never recorded into (nor waited on): only a regular file or a new name.
TEST(RunFile, RefusesAFifoOrADeviceWithoutBlocking)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo.csv");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    QStringList paths{fifo, dir.path()};
    std::string why;
    if (test::makeDeviceNode(dir.filePath("node.csv"), why))
        paths << dir.filePath("node.csv");
    for (const QString &path : paths) {
        const int code = test::exitCodeInChild(
            [&] {
                RunFile file(nullptr, steppingClock());
                if (file.start(path))
                    return 1;
                return file.errorString().contains("not a regular file") ? 0 : 2;
            },
            3000);
        EXPECT_EQ(code, 0) << path.toStdString() << (code < 0 ? ": blocked" : ": not refused");
    }
    if (!why.empty())
        GTEST_SKIP() << "the device node was not tried: " << why;
}

// "-" is standard output, as for --export-config: a CSV stream, and no file named "-".
TEST(RunFile, DashRecordsToStandardOutput)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("stdout.csv");
    const int code = test::exitCodeInChild(
        [&] {
            const int fd = ::open(out.toLocal8Bit().constData(), O_WRONLY | O_CREAT, 0600);
            if (fd < 0 || ::dup2(fd, STDOUT_FILENO) < 0 || !QDir::setCurrent(dir.path()))
                return 3;
            RunFile file(nullptr, steppingClock());
            if (!file.start("-"))
                return 1;
            file.telemetry({1000.0, {}, {}, {}});
            file.stop();
            return 0;
        },
        3000);
    ASSERT_EQ(code, 0);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("-")));
    const QStringList lines = QString::fromUtf8(contents(out)).split("\r\n");
    ASSERT_EQ(lines.size(), 3) << contents(out).toStdString();
    EXPECT_EQ(lines[0] + "\r\n", RunRecorder::header());
    EXPECT_TRUE(lines[1].endsWith(",1000,,,,")) << lines[1].toStdString();
}

// "-" into a pipe whose reader has stopped reading: the recording never waits for it. Rows
// wait in a bounded buffer; a reader that takes nothing for five seconds (virtual), or leaves a
// mebibyte waiting, ends the recording with one message. In a child process, so that a write
// that blocks fails the test instead of hanging it.
TEST(RunFile, AStandardOutputNobodyReadsEndsTheRecordingWithoutWaiting)
{
    const int code = test::exitCodeInChild(
        [] {
            int fds[2];
            if (::pipe(fds) != 0 || ::dup2(fds[1], STDOUT_FILENO) < 0)
                return 10;
            const auto fill = [](RunFile &file, int rows) {
                QStringList failed;
                QObject::connect(&file, &RunFile::failed, [&](const QString &m) { failed << m; });
                if (!file.start("-"))
                    return QStringList{"not started"};
                for (int i = 0; i < rows && file.isRecording(); ++i)
                    file.telemetry({1000.0 + i, 20.0, 12.5, {}});
                return failed;
            };
            // The stepping clock: 250 ms per row, so five seconds pass while the pipe is full.
            RunFile stalled(nullptr, steppingClock());
            const QStringList stall = fill(stalled, 100'000);
            if (stall.size() != 1 || !stall[0].contains("standard output stopped: it is not "
                                                        "being read (nothing taken for 5 s)"))
                return 1;
            // A clock that stands still: the buffer's bound ends it.
            RunFile frozen(nullptr, [] { return Stamp{1772366400000, 60, 0}; });
            const QStringList full = fill(frozen, 100'000);
            if (full.size() != 1 || !full[0].contains("it is not being read (1024 KiB waiting)"))
                return 2;
            return frozen.isRecording() || stalled.isRecording() ? 3 : 0;
        },
        10000);
    EXPECT_EQ(code, 0) << (code < 0 ? "a write blocked" : "wrong messages");
}

TEST(RunFile, AVanishedFolderStopsTheRecordingWithOneMessage)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("usb");
    ASSERT_TRUE(QDir().mkpath(folder));
    RunFile file(nullptr, steppingClock());
    QStringList failed;
    QObject::connect(&file, &RunFile::failed, [&failed](const QString &m) { failed << m; });
    ASSERT_TRUE(file.start(folder + "/run.csv"));
    file.telemetry({1000.0, {}, {}, {}});
    ASSERT_TRUE(QDir(folder).removeRecursively());
    file.telemetry({1001.0, {}, {}, {}});
    file.event({RunEventKind::StoreConfirmed, "stored"});
    file.telemetry({1002.0, {}, {}, {}});
    ASSERT_EQ(failed.count(), 1);
    EXPECT_TRUE(failed.at(0).contains("gone"));
    EXPECT_FALSE(file.isRecording());
}

TEST(RecordingFile, MessagesNameTheFileAndTheLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.csv");
    QFile bad(path);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("time,elapsed_s,rpm,advance_deg,bus_volts,prop_angle_deg,event\r\n"
              "2026-03-01T13:00:00.250+01:00,0.250,1000,,,,\r\n"
              "2026-03-01T13:00:00.500+01:00,0.500,abc,,,,\r\n");
    bad.close();
    EXPECT_EQ(readRecordingFile(path).error,
              (path + ", line 3: \"abc\" in column rpm is not a number").toStdString());
    EXPECT_TRUE(QString::fromStdString(readRecordingFile(dir.filePath("none.csv")).error)
                    .startsWith("Cannot open " + dir.filePath("none.csv")));
}

// Opening a recording never waits on a FIFO or reads a device; a 50 MB field ends the reading
// at its bound with a short message; a reading can be followed and cancelled.
TEST(RecordingFile, ReadsARegularFileInPiecesThatCanBeCancelled)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo.csv");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    for (const QString &path : {fifo, QString("/dev/zero")}) {
        const int code = test::exitCodeInChild(
            [&] {
                const std::string error = readRecordingFile(path).error;
                return error.find("not a regular file") != std::string::npos ? 0 : 1;
            },
            3000);
        EXPECT_EQ(code, 0) << path.toStdString() << (code < 0 ? ": blocked" : ": not refused");
    }

    const QString big = dir.filePath("field.csv");
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(RunRecorder::header());
    file.write("2026-03-01T13:00:00.250+01:00,0.250,1000,,,,\"");
    file.write(QByteArray(50 * 1000 * 1000, 'x'));
    file.write("\"\r\n");
    file.close();
    std::vector<qint64> seen;
    const RecordingRead read = readRecordingFile(big, [&](qint64 done, qint64 total) {
        seen.push_back(done);
        EXPECT_EQ(total, file.size());
        return true;
    });
    EXPECT_NE(read.error.find(", line 2: a quoted field not closed within"), std::string::npos)
        << read.error.substr(0, 300);
    EXPECT_LT(read.error.size(), 120u + std::size_t(big.toUtf8().size()));
    EXPECT_LE(seen.size(), 2u) << "read on past the malformed field";

    const QString rows = dir.filePath("rows.csv");
    QFile many(rows);
    ASSERT_TRUE(many.open(QIODevice::WriteOnly));
    many.write(RunRecorder::header());
    const QByteArray row("2026-03-01T13:00:00.250+01:00,0.250,1000,,,,\r\n");
    for (int i = 0; i < 100000; ++i)
        many.write(row);
    many.close();
    int calls = 0;
    const RecordingRead cancelled =
        readRecordingFile(rows, [&](qint64, qint64) { return ++calls < 2; });
    EXPECT_EQ(cancelled.error, "cancelled");
    EXPECT_TRUE(cancelled.recording.rpm.empty());
    EXPECT_EQ(calls, 2);
}
