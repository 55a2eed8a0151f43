// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_file.h"
#include "file_faults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <array>
#include <map>

using namespace quelo;

namespace {

ConfigValues sample()
{
    ConfigValues c;
    c.values = {3, 2, 0, 1, -5, 14, 30};
    c.firmware = "26";
    c.shown = shownTexts(c);
    return c;
}

const QDateTime kSaved(QDate(2024, 5, 17), QTime(14, 3, 9), QTimeZone(2 * 3600));

// A valid file with one member of "parameters" replaced by raw JSON text.
QByteArray withParameter(const char *key, const char *rawValue)
{
    QByteArray json = configToJson(sample(), kSaved);
    const QRegularExpression member(QStringLiteral("\"%1\": [^,\\n]+").arg(key));
    QString text = QString::fromUtf8(json);
    const auto match = member.match(text);
    text.replace(match.capturedStart(), match.capturedLength(),
                 QStringLiteral("\"%1\": %2").arg(key, rawValue));
    return text.toUtf8();
}

} // namespace

// The sliders take their ranges and starting values from the table: the values a file may hold
// and the program ever writes.
TEST(ConfigFile, SlidersHoldTheModulesRanges)
{
    const WindowState w;
    const std::map<std::string, std::array<int, 3>> expected{
        {"run_mode_start_delay", {0, 8, 0}}, {"led_mode", {0, 3, 0}},
        {"tach_pulses_per_rev", {0, 2, 0}},  {"tach_volts", {0, 2, 0}},
        {"advance_shift", {-9, 9, 0}},       {"max_rpm_limit", {0, 16, 0}},
        {"max_advance_limit", {14, 35, 14}}};
    ASSERT_EQ(kParameters.size(), expected.size());
    for (const Parameter &p : kParameters) {
        const ScrollBar &slider = w.*p.slider;
        EXPECT_EQ((std::array<int, 3>{slider.Min(), slider.Max(), slider.Value()}),
                  expected.at(p.key))
            << p.key;
    }
}

TEST(ConfigFile, WrittenFileHasEveryFieldAndReadsBack)
{
    const ConfigValues c = sample();
    const QByteArray json = configToJson(c, kSaved);
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    EXPECT_EQ(root.value("format").toString(), "quelo-config");
    EXPECT_EQ(root.value("version").toInt(), 1);
    EXPECT_EQ(root.value("saved").toString(), "2024-05-17T14:03:09+02:00");
    EXPECT_EQ(root.value("firmware").toString(), "26");
    const QJsonObject parameters = root.value("parameters").toObject();
    EXPECT_EQ(parameters.size(), 7);
    EXPECT_EQ(parameters.value("advance_shift").toInt(), -5);
    EXPECT_EQ(parameters.value("max_rpm_limit").toInt(), 14);
    const QJsonObject shown = root.value("shown").toObject();
    EXPECT_EQ(shown.value("led_mode").toString(), "Diag");
    EXPECT_EQ(shown.value("tach_volts").toString(), "5 volts");
    EXPECT_EQ(shown.value("advance_shift").toString(), "-7");
    EXPECT_EQ(shown.value("max_rpm_limit").toString(), "3584");
    EXPECT_EQ(shown.value("max_advance_limit").toString(), "42");

    ConfigValues back;
    QString error;
    ASSERT_TRUE(parseConfig(json, back, error)) << error.toStdString();
    EXPECT_EQ(back.values, c.values);
    EXPECT_EQ(back.firmware, "26");
    EXPECT_EQ(back.shown, c.shown);

    // West of Greenwich the offset is negative and still written out.
    const QDateTime west(QDate(2024, 1, 2), QTime(3, 4, 5), QTimeZone(-(3 * 3600 + 30 * 60)));
    EXPECT_EQ(QJsonDocument::fromJson(configToJson(c, west)).object().value("saved").toString(),
              "2024-01-02T03:04:05-03:30");
}

TEST(ConfigFile, ShownTextsAreIgnoredOnLoad)
{
    QByteArray json = configToJson(sample(), kSaved);
    json.replace("\"Diag\"", "\"whatever\"");
    ConfigValues back;
    QString error;
    ASSERT_TRUE(parseConfig(json, back, error)) << error.toStdString();
    EXPECT_EQ(back.values[1], 2);
    EXPECT_EQ(back.shown[1], "Diag");
}

TEST(ConfigFile, EachProblemIsNamedAndNothingIsTaken)
{
    const QByteArray good = configToJson(sample(), kSaved);
    QByteArray duplicate = good;
    duplicate.replace("\"led_mode\": 2", "\"led_mode\": 2,\n        \"led_mode\": 3");
    QByteArray missing = good;
    missing.replace("\"led_mode\": 2,", "");
    QByteArray unknown = good;
    unknown.replace("\"led_mode\": 2", "\"led_mode\": 2, \"spark_gap\": 1");

    const struct
    {
        const char *name;
        QByteArray bytes;
        const char *expected; // the message must contain this
    } cases[] = {
        {"not JSON", "{\"format\": \"quelo-config\",", "not a JSON file"},
        {"array", "[1, 2]", "not an object"},
        {"format", QByteArray(good).replace("quelo-config", "other-config"), "\"format\""},
        {"version", QByteArray(good).replace("\"version\": 1", "\"version\": 2"),
         "unknown version 2"},
        {"missing", missing, "\"led_mode\": missing"},
        {"unknown", unknown, "\"spark_gap\": unknown key"},
        {"duplicate", duplicate, "\"parameters.led_mode\": duplicate key"},
        {"fraction", withParameter("max_rpm_limit", "1.5"),
         "\"max_rpm_limit\": 1.5 is not an integer"},
        {"written as real", withParameter("max_rpm_limit", "12.0"), "12.0 is not an integer"},
        {"string", withParameter("led_mode", "\"3\""), "\"led_mode\": the value is not an integer"},
        {"boolean", withParameter("tach_volts", "true"), "\"tach_volts\": true is not an integer"},
        {"above", withParameter("max_advance_limit", "36"),
         "\"max_advance_limit\": 36 is outside 14..35"},
        {"below", withParameter("advance_shift", "-10"), "\"advance_shift\": -10 is outside -9..9"},
        {"huge", withParameter("run_mode_start_delay", "99999999999"), "is not an integer"},
    };
    for (const auto &c : cases) {
        ConfigValues config;
        config.values.fill(77);
        config.firmware = "untouched";
        QString error;
        EXPECT_FALSE(parseConfig(c.bytes, config, error)) << c.name;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.expected)))
            << c.name << ": " << error.toStdString();
        EXPECT_EQ(config.values[0], 77) << c.name;
        EXPECT_EQ(config.firmware, "untouched") << c.name;
    }
}

TEST(ConfigFile, WritingIsAllOrNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("config.json");
    QString error;
    ASSERT_TRUE(writeConfig(path, sample(), kSaved, error)) << error.toStdString();
    ConfigValues back;
    ASSERT_TRUE(readConfig(path, back, error)) << error.toStdString();
    EXPECT_EQ(back.values, sample().values);

    // A directory that does not exist: a reason, and no file.
    const QString nowhere = dir.filePath("no/such/dir/config.json");
    EXPECT_FALSE(writeConfig(nowhere, sample(), kSaved, error));
    EXPECT_TRUE(error.contains(nowhere)) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(nowhere));

    // The reason only: every caller names the file itself, once.
    EXPECT_FALSE(readConfig(dir.filePath("absent.json"), back, error));
    EXPECT_TRUE(error.startsWith("cannot read it: ")) << error.toStdString();
    EXPECT_FALSE(error.contains("absent.json")) << error.toStdString();

    // A full disk, as root too: the write fails, says so, and the file already there stays
    // whole, with no temporary file left beside it.
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray oldBytes = old.readAll();
    old.close();
    ConfigValues other = sample();
    other.values[0] = 8;
    {
        test::FileSizeLimit full(100);
        EXPECT_FALSE(writeConfig(path, other, kSaved, error));
    }
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), oldBytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"config.json"});

    // A directory nobody may write to: the same, where permissions bind this process.
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (!QFileInfo(dir.path()).isWritable()) {
        EXPECT_FALSE(writeConfig(path, other, kSaved, error));
        EXPECT_FALSE(error.isEmpty());
    }
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(readConfig(path, back, error)) << error.toStdString();
    EXPECT_EQ(back.values[0], 3);
}

// Several editors on Windows save UTF-8 "with BOM"; the mark once crashed the key scanner.
TEST(ConfigFile, AByteOrderMarkIsAcceptedAndNoTextCrashesTheParser)
{
    ConfigValues back;
    QString error;
    const QByteArray bom("\xEF\xBB\xBF");
    ASSERT_TRUE(parseConfig(bom + configToJson(sample(), kSaved), back, error))
        << error.toStdString();
    EXPECT_EQ(back.values, sample().values);
    for (const QByteArray &text : {bom + "{}", bom + "[]", bom + "{\"a\":[}]}", QByteArray("}]"),
                                   bom + "{\"parameters\":{\"led_mode\":1,\"led_mode\":1}}"}) {
        back.firmware = "untouched";
        EXPECT_FALSE(parseConfig(text, back, error)) << text.toStdString();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(back.firmware, "untouched");
    }
}

// A FIFO, a device, /dev/zero, a folder or a huge file are refused at once, without blocking
// and without reading them whole; in a child, so a hang fails rather than stops the test.
TEST(ConfigFile, ReadsOnlyARegularFileOfAtMostOneMebibyte)
{
    constexpr int kOneMebibyte = 1024 * 1024; // the cap, written out: not the program's constant
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo.json");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString huge = dir.filePath("huge.json");
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(qint64(8) << 30)); // sparse: 8 GiB that reading would need
    }
    const QString big = dir.filePath("big.json");
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(kOneMebibyte, ' ') + configToJson(sample(), kSaved));
    }
    // A file of exactly 1 MiB is read.
    const QString atCap = dir.filePath("at-cap.json");
    {
        QFile f(atCap);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QByteArray json = configToJson(sample(), kSaved);
        ASSERT_EQ(f.write(QByteArray(kOneMebibyte - json.size(), ' ') + json), kOneMebibyte);
    }
    ConfigValues read;
    QString error;
    EXPECT_TRUE(readConfig(atCap, read, error)) << error.toStdString();
    EXPECT_EQ(read.values, sample().values);
    QStringList refused{fifo, "/dev/zero", dir.path(), huge, big};
    std::string why;
    if (test::makeDeviceNode(dir.filePath("node.json"), why))
        refused << dir.filePath("node.json");
    for (const QString &path : refused) {
        const int code = test::exitCodeInChild(
            [&] {
                ConfigValues back;
                QString error;
                const bool read = readConfig(path, back, error);
                const bool why = error.contains("not a regular file") || error.contains("larger");
                return read ? 1 : why ? 0 : 2;
            },
            3000);
        EXPECT_EQ(code, 0) << path.toStdString() << (code < 0 ? ": blocked" : ": not refused");
    }
    if (!why.empty())
        GTEST_SKIP() << "the device node was not tried: " << why;
}

// Writing never replaces a device node or a FIFO (a typo naming a serial device); a link to a
// file is followed and stays a link.
TEST(ConfigFile, WritesOnlyARegularFileOrANewName)
{
    QTemporaryDir dir;
    QString error;
    const QString fifo = dir.filePath("fifo.json");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(writeConfig(fifo, sample(), kSaved, error));
    EXPECT_TRUE(error.contains("not a regular file")) << error.toStdString();
    EXPECT_FALSE(writeConfig(dir.path(), sample(), kSaved, error));
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());

    const QString target = dir.filePath("real.json");
    ASSERT_TRUE(writeConfig(target, sample(), kSaved, error)) << error.toStdString();
    const QString link = dir.filePath("link.json");
    ASSERT_TRUE(QFile::link(target, link));
    ConfigValues other = sample();
    other.values[0] = 8;
    ASSERT_TRUE(writeConfig(link, other, kSaved, error)) << error.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    ConfigValues back;
    ASSERT_TRUE(readConfig(target, back, error));
    EXPECT_EQ(back.values[0], 8);

    std::string why;
    const QString node = dir.filePath("ttyUSB0");
    if (!test::makeDeviceNode(node, why))
        GTEST_SKIP() << why;
    EXPECT_FALSE(writeConfig(node, sample(), kSaved, error));
    EXPECT_TRUE(test::isCharacterDevice(node)) << "the device node was replaced";
}

TEST(ConfigFile, DefaultName)
{
    EXPECT_EQ(defaultConfigFileName("26", QDate(2024, 5, 7)), "quelo-config-26-2024-05-07.json");
}
