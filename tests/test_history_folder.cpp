// SPDX-License-Identifier: GPL-3.0-or-later
// The history folder on disk: restore point files that Load reads as they are, repeats not
// written, the newest 500 kept, hostile files passed over, and an unwritable folder turning
// history off with one message.
#include "config_file.h"
#include "history_folder.h"
#include "history_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace quelo;

namespace {

Snapshot snapshot(std::int64_t utcMs, int maxRpm, SnapshotEvent event = SnapshotEvent::Stored)
{
    Snapshot s;
    s.utcMs = utcMs;
    s.utcOffsetMinutes = 120;
    s.event = event;
    s.port = 3;
    s.config.firmware = "26";
    s.config.values = {2, 1, 1, 2, -4, maxRpm, 25};
    s.config.shown = shownTexts(s.config);
    return s;
}

QStringList jsonFiles(const QString &path)
{
    return QDir(path).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
}

constexpr std::int64_t kStart = 1765128265000; // 2025-12-07 17:24:25 UTC

} // namespace

TEST(HistoryFolder, ARestorePointIsAConfigurationFileLoadTakesAsItIs)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("deep/history"));
    HistoryFolder folder(path);
    QString error;
    ASSERT_EQ(folder.add(snapshot(kStart + 123, 12), error), HistoryFolder::Added::Written)
        << error.toStdString();
    const QStringList files = jsonFiles(path);
    ASSERT_EQ(files, QStringList{QStringLiteral("20251207-172425-123-stored.json")});

    ConfigValues read;
    ASSERT_TRUE(readConfig(QDir(path).filePath(files[0]), read, error)) << error.toStdString();
    EXPECT_EQ(read.values, snapshot(0, 12).config.values);
    EXPECT_EQ(read.firmware, "26");

    HistoryFolder again(path);
    ASSERT_EQ(again.load().size(), 1u);
    const Snapshot &back = again.entries().front();
    EXPECT_EQ(back.event, SnapshotEvent::Stored);
    EXPECT_EQ(back.port, 3);
    EXPECT_EQ(back.utcOffsetMinutes, 120);
    EXPECT_EQ(back.utcMs, kStart); // "saved" holds whole seconds
    EXPECT_EQ(back.fileName, files[0].toStdString());

    // The same values again (even from another event) are not written; another firmware is.
    EXPECT_EQ(again.add(snapshot(kStart + 5000, 12, SnapshotEvent::Connected), error),
              HistoryFolder::Added::Repeat);
    Snapshot other = snapshot(kStart + 6000, 12);
    other.config.firmware = "43";
    EXPECT_EQ(again.add(other, error), HistoryFolder::Added::Written);
    EXPECT_EQ(jsonFiles(path).size(), 2u);
}

TEST(HistoryFolder, KeepsTheNewest500AndRemovesTheOldestFiles)
{
    QTemporaryDir dir;
    HistoryFolder folder(dir.path());
    QString error;
    for (int i = 0; i < 503; ++i)
        ASSERT_EQ(folder.add(snapshot(kStart + i * 1000, i % 2 ? 12 : 11), error),
                  HistoryFolder::Added::Written)
            << i << " " << error.toStdString();
    const QStringList files = jsonFiles(dir.path());
    ASSERT_EQ(files.size(), 500);
    EXPECT_EQ(files.front(), QStringLiteral("20251207-172428-000-stored.json"));
    HistoryFolder reread(dir.path());
    EXPECT_EQ(reread.load().size(), 500u);
    EXPECT_EQ(reread.entries().front().utcMs, kStart + 502 * 1000);
}

TEST(HistoryFolder, PassesOverWhatIsNotARestorePointWithoutOpeningIt)
{
    QTemporaryDir dir;
    HistoryFolder folder(dir.path());
    QString error;
    ASSERT_EQ(folder.add(snapshot(kStart, 12), error), HistoryFolder::Added::Written);
    const auto write = [&](const char *name, const QByteArray &bytes) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write("garbage.json", "\xef\xbb\xbf{");
    write("plain-config.json",
          configToJson(snapshot(kStart, 9).config, QDateTime::currentDateTime()));
    write("big.json", QByteArray(70 * 1024, ' '));
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("fifo.json")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.json")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir.filePath("zero.json")));

    HistoryFolder reread(dir.path()); // a FIFO opened for reading would block here
    ASSERT_EQ(reread.load().size(), 1u);
    EXPECT_EQ(reread.entries().front().config.values[5], 12);
}

TEST(HistoryFolder, AnUnwritableFolderFailsOnceThenHistoryIsOff)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    HistoryFolder folder(dir.filePath(QStringLiteral("not-a-folder/history")));
    QString error;
    EXPECT_EQ(folder.add(snapshot(kStart, 12), error), HistoryFolder::Added::Failed);
    EXPECT_TRUE(error.contains("not-a-folder")) << error.toStdString();
    EXPECT_EQ(folder.add(snapshot(kStart + 1000, 11), error), HistoryFolder::Added::Off);
}

TEST(HistoryStore, TheCallerNeverWaitsForTheDiskAndHearsOnceWhenItCannotWrite)
{
    QTemporaryDir dir;
    HistoryStore store(dir.filePath(QStringLiteral("h")));
    int changed = 0;
    QObject::connect(&store, &HistoryStore::entriesChanged, [&] { ++changed; });
    store.add(snapshot(kStart, 12));
    store.add(snapshot(kStart + 1000, 12)); // a repeat
    store.add(snapshot(kStart + 2000, 11));
    // What the worker did comes back through the event loop, never inside add().
    EXPECT_TRUE(store.entries().empty());
    EXPECT_EQ(changed, 0);
    store.flush();
    ASSERT_EQ(store.entries().size(), 2u);
    EXPECT_EQ(store.entries().front().config.values[5], 11);
    EXPECT_EQ(changed, 4); // the first reading of the folder, then each write or repeat
    EXPECT_TRUE(QFile::exists(store.filePath(store.entries().front())));

    QFile file(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    HistoryStore off(dir.filePath(QStringLiteral("file/history")));
    QStringList failed;
    QObject::connect(&off, &HistoryStore::failed, [&](const QString &text) { failed << text; });
    off.add(snapshot(kStart, 12));
    off.add(snapshot(kStart + 1000, 11));
    off.flush();
    off.add(snapshot(kStart + 2000, 10));
    off.flush();
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed[0].startsWith("History is off: ")) << failed[0].toStdString();
    EXPECT_TRUE(off.isOff());
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
