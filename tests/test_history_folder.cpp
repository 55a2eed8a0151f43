// SPDX-License-Identifier: GPL-3.0-or-later
// The history folder on disk: restore point files that Load reads as they are, repeats not
// written, the last 500 written kept whatever times they claim, hostile files passed over, and
// an unwritable folder turning history off with one message.
#include "config_file.h"
#include "history_folder.h"
#include "history_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
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
constexpr std::int64_t k2099 = 4070908800000;  // 2099-01-01 00:00:00 UTC

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// A restore point as the program wrote it before it counted them: no "sequence", "saved" to
// the second.
QByteArray earlierVersionFile(const Snapshot &s)
{
    QJsonObject root = QJsonDocument::fromJson(snapshotToJson(s)).object();
    root.remove("sequence");
    root.insert(
        "saved",
        QDateTime::fromMSecsSinceEpoch(s.utcMs - s.utcMs % 1000, Qt::UTC).toString(Qt::ISODate));
    return QJsonDocument(root).toJson();
}

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
    EXPECT_EQ(back.utcMs, kStart + 123);
    EXPECT_EQ(back.fileName, files[0].toStdString());
    EXPECT_EQ(back.sequence, 1);

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

// A clock once set ahead left 2099 restore points (written before they were counted) filling
// the folder: what is written now is kept, run after run, and the first written of the others
// goes; the milliseconds of the earlier files come from their names.
TEST(HistoryFolder, KeepsWhatIsWrittenNowBesideRestorePointsFromTheFuture)
{
    QTemporaryDir dir;
    for (int i = 0; i < 5; ++i) {
        Snapshot old = snapshot(k2099 + i * 1000 + 250, i);
        writeFile(dir.filePath(QStringLiteral("20990101-00000%1-250-stored.json").arg(i)),
                  earlierVersionFile(old));
    }
    for (int run = 0; run < 2; ++run) {
        HistoryFolder folder(dir.path(), 5);
        QString error;
        ASSERT_EQ(folder.add(snapshot(kStart + run * 1000, 12 - run), error),
                  HistoryFolder::Added::Written)
            << error.toStdString();
        EXPECT_TRUE(QFile::exists(folder.filePath(folder.entries().front())));
    }
    const QStringList files = jsonFiles(dir.path());
    ASSERT_EQ(files.size(), 5);
    EXPECT_FALSE(files.contains(QStringLiteral("20990101-000000-250-stored.json")));
    EXPECT_FALSE(files.contains(QStringLiteral("20990101-000001-250-stored.json")));
    HistoryFolder reread(dir.path(), 5);
    const std::vector<Snapshot> &entries = reread.load();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].utcMs, kStart + 1000);
    EXPECT_EQ(entries[1].utcMs, kStart);
    EXPECT_EQ(entries[2].utcMs, k2099 + 4250);
    EXPECT_TRUE(isInTheFuture(entries[2], kStart + 1000));

    // The one it cannot keep is said: with nothing kept, the new one goes at once.
    HistoryFolder none(dir.path(), 0);
    QString error;
    EXPECT_EQ(none.add(snapshot(kStart + 9000, 3), error), HistoryFolder::Added::Dropped);
    EXPECT_TRUE(error.contains("removed at once")) << error.toStdString();
}

// A restore point holds what a module can report: a file whose firmware is any other text (a
// forged --history line) or whose name holds a control character is neither listed nor ever
// removed; what is listed prints as one line, raw and as the value boxes show it.
TEST(HistoryFolder, PassesOverForgedRestorePointsAndListsEachOnOneLine)
{
    QTemporaryDir dir;
    Snapshot forged = snapshot(kStart, 9);
    const QStringList hostile{QStringLiteral("forged.json"), QStringLiteral("empty.json"),
                              QStringLiteral("a\nb.json"), QStringLiteral("sequence.json"),
                              QStringLiteral("rtl\u202Egnp.json")};
    forged.config.firmware = "26\n2026-12-07T18:24:25.000+01:00 stored firmware=26 /tmp/evil.json";
    writeFile(dir.filePath(hostile[0]), snapshotToJson(forged));
    forged.config.firmware = "";
    writeFile(dir.filePath(hostile[1]), snapshotToJson(forged));
    writeFile(dir.filePath(hostile[2]), snapshotToJson(snapshot(kStart, 8)));
    writeFile(dir.filePath(hostile[3]),
              snapshotToJson(snapshot(kStart, 7)).replace("\"sequence\": 0", "\"sequence\": -1"));
    writeFile(dir.filePath(hostile[4]), snapshotToJson(snapshot(kStart, 6)));

    HistoryFolder folder(dir.path(), 1);
    QString error;
    ASSERT_EQ(folder.add(snapshot(kStart + 1000, 12), error), HistoryFolder::Added::Written);
    ASSERT_EQ(folder.add(snapshot(kStart + 2000, 11), error), HistoryFolder::Added::Written);
    for (const QString &name : hostile)
        EXPECT_TRUE(QFile::exists(dir.filePath(name))) << name.toStdString();
    HistoryFolder reread(dir.path());
    ASSERT_EQ(reread.load().size(), 1u);
    const Snapshot &entry = reread.entries().front();
    EXPECT_EQ(entry.config.values[5], 11);

    const QString path = QStringLiteral("/h/x\ny.json");
    const QByteArray line = snapshotJsonLine(entry, path, kStart);
    EXPECT_FALSE(line.contains('\n'));
    const QJsonObject json = QJsonDocument::fromJson(line).object();
    EXPECT_EQ(json.value("file").toString(), path);
    EXPECT_EQ(json.value("time").toString(), "2025-12-07T19:24:27.000+02:00");
    EXPECT_TRUE(json.value("future").toBool());
    EXPECT_EQ(json.value("event").toString(), "stored");
    EXPECT_EQ(json.value("firmware").toString(), "26");
    EXPECT_EQ(json.value("parameters").toObject().value("max_rpm_limit").toInt(), 11);
    EXPECT_EQ(json.value("shown").toObject().value("max_rpm_limit").toString(), "2816");
    EXPECT_EQ(json.value("shown").toObject().value("led_mode").toString(), "Mode");
}

TEST(HistoryFolder, ListsOnlyAFolderItCanRead)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("file")), "x");
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
    QString error;
    EXPECT_TRUE(HistoryFolder(dir.filePath(QStringLiteral("missing"))).canList(error));
    EXPECT_TRUE(HistoryFolder(dir.path()).canList(error)) << error.toStdString();
    for (const QString &path : {dir.filePath("file"), dir.filePath("fifo"), QString("/dev/null")}) {
        error.clear();
        EXPECT_FALSE(HistoryFolder(path).canList(error)) << path.toStdString();
        EXPECT_TRUE(error.contains("is not a folder")) << error.toStdString();
    }
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

// The aircraft's name is kept in the file and its name, and read back; a file without one
// (every earlier file) loads as before; a hostile name is refused by its key.
TEST(HistoryFolder, KeepsTheAircraftsNameInTheFileAndItsNameAndReadsItBack)
{
    QTemporaryDir dir;
    HistoryFolder folder(dir.path());
    Snapshot named = snapshot(kStart, 12);
    named.config.aircraft = "My Cub";
    QString error;
    ASSERT_EQ(folder.add(named, error), HistoryFolder::Added::Written) << error.toStdString();
    ASSERT_EQ(jsonFiles(dir.path()), QStringList{"20251207-172425-000-My_Cub-stored.json"});
    HistoryFolder again(dir.path());
    ASSERT_EQ(again.load().size(), 1u);
    EXPECT_EQ(again.entries()[0].config.aircraft, "My Cub");
    ConfigValues read;
    ASSERT_TRUE(readConfig(again.filePath(again.entries()[0]), read, error));
    EXPECT_EQ(read.aircraft, "My Cub");

    QJsonObject root = QJsonDocument::fromJson(configToJson(named.config, {})).object();
    root.remove("aircraft");
    ASSERT_TRUE(parseConfig(QJsonDocument(root).toJson(), read, error)) << error.toStdString();
    EXPECT_EQ(read.aircraft, "");
    for (const QJsonValue &bad : {QJsonValue("N1\x1b[2J"), QJsonValue(QString(10000, 'x')),
                                  QJsonValue("   "), QJsonValue(7)}) {
        root.insert("aircraft", bad);
        EXPECT_FALSE(parseConfig(QJsonDocument(root).toJson(), read, error));
        EXPECT_TRUE(error.startsWith("\"aircraft\"")) << error.toStdString();
    }
}

// Two programs share one folder (a synced or network folder): each reads it again before it
// adds and prunes, so neither prunes from a stale list and the folder keeps its bound.
TEST(HistoryFolder, TwoProgramsAddingToOneFolderKeepItsBound)
{
    QTemporaryDir dir;
    HistoryFolder first(dir.path(), 3);
    HistoryFolder second(dir.path(), 3);
    QString error;
    for (int i = 0; i < 6; ++i) {
        HistoryFolder &writer = i % 2 ? second : first;
        ASSERT_EQ(writer.add(snapshot(kStart + i * 1000, i), error), HistoryFolder::Added::Written)
            << error.toStdString();
    }
    const QStringList files = jsonFiles(dir.path());
    ASSERT_EQ(files.size(), 3) << files.join(' ').toStdString();
    EXPECT_TRUE(files.last().startsWith("20251207-172430-000")) << "the newest is kept";
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
