// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

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

TEST(ConfigFile, TableRangesAreTheSliders)
{
    const WindowState w;
    for (const Parameter &p : kParameters) {
        EXPECT_EQ((w.*p.slider).Min(), minOf(p)) << p.key;
        EXPECT_EQ((w.*p.slider).Max(), maxOf(p)) << p.key;
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

    // A directory nobody may write to: the file already there stays whole.
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(dir.path()).isWritable())
        GTEST_SKIP() << "running with rights that ignore directory permissions";
    ConfigValues other = sample();
    other.values[0] = 8;
    EXPECT_FALSE(writeConfig(path, other, kSaved, error));
    EXPECT_FALSE(error.isEmpty());
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(readConfig(path, back, error)) << error.toStdString();
    EXPECT_EQ(back.values[0], 3);
}

TEST(ConfigFile, DefaultName)
{
    EXPECT_EQ(defaultConfigFileName("26", QDate(2024, 5, 7)), "quelo-config-26-2024-05-07.json");
}
