// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_file.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace quelo;

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

// Lowers the largest file this process may write, so that a write past it fails as on a full
// disk; SIGXFSZ is ignored so the write returns an error instead of ending the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = m_old;
        lower.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

TEST(RunFile, WritesTheHeaderAndOneFlushedLinePerReport)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("run.csv");
    RunFile file(nullptr, steppingClock());
    ASSERT_TRUE(file.start(path)) << file.errorString().toStdString();
    file.event("Connected Comm Port 1");
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
    // What was written before the failure stays readable.
    EXPECT_EQ(readRecordingFile(path).recording.rpm.size(), 2u);
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
    file.event("stored");
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
