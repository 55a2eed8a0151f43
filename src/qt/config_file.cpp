// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_file.h"

#include "aircraft.h"
#include "file_access.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

namespace quelo {

namespace {

// The messages of this file, in the user's language.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(ConfigFile)
};

} // namespace

namespace {

constexpr auto kFormat = "quelo-config";
constexpr int kVersion = 1;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// ISO 8601 with the offset always written out, "+00:00" rather than "Z".
QString isoWithOffset(const QDateTime &when)
{
    const int offset = when.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
           (offset < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

// What a JSON reader does not tell: keys repeated in one object (a document keeps only one of
// them) and the literal text of each value in "parameters" (1.0 and 1 read the same).
struct RawScan
{
    QString duplicate; // "key" or "parameters.key"; empty when none
    std::map<QString, QString> parameterText;
};

// A string token starting at `i`; returns its decoded text and moves `i` past it.
QString scanString(const QByteArray &bytes, qsizetype &i)
{
    const qsizetype start = i++;
    while (i < bytes.size() && bytes[i] != '"')
        i += bytes[i] == '\\' ? 2 : 1;
    ++i;
    const QByteArray token = "[" + bytes.mid(start, i - start) + "]";
    return QJsonDocument::fromJson(token).array().at(0).toString();
}

// Runs over text a JSON reader has already accepted, so it only has to follow the nesting; it
// still checks every step as if the text were anything at all (a closing bracket with nothing
// open, a string without its end), so that no input can take it outside the text or its stack.
RawScan scanRaw(const QByteArray &bytes)
{
    struct Level
    {
        bool object;
        QString path;
        bool expectKey = true;
        QString key;
        std::set<QString> keys;
    };
    RawScan scan;
    std::vector<Level> stack;
    for (qsizetype i = 0; i < bytes.size();) {
        const char ch = bytes[i];
        Level *top = stack.empty() ? nullptr : &stack.back();
        if (ch == '{' || ch == '[') {
            const QString path = top && top->object
                                     ? (top->path.isEmpty() ? top->key : top->path + "." + top->key)
                                     : QString();
            stack.push_back({ch == '{', path, true, {}, {}});
            ++i;
        } else if (ch == '}' || ch == ']') {
            if (!stack.empty())
                stack.pop_back();
            ++i;
        } else if (ch == ',') {
            if (top && top->object)
                top->expectKey = true;
            ++i;
        } else if (ch == '"' && top && top->object && top->expectKey) {
            top->key = scanString(bytes, i);
            top->expectKey = false;
            if (!top->keys.insert(top->key).second && scan.duplicate.isEmpty())
                scan.duplicate = top->path.isEmpty() ? top->key : top->path + "." + top->key;
        } else if (ch == '"') {
            scanString(bytes, i);
        } else if (ch == ':' || QChar::isSpace(ch)) {
            ++i;
        } else {
            const qsizetype start = i;
            while (i < bytes.size() && !QByteArray(",}] \t\r\n").contains(bytes[i]))
                ++i;
            i = std::max(i, start + 1);
            if (top && top->object && stack.size() == 2 && top->path == "parameters")
                scan.parameterText[top->key] = QString::fromUtf8(bytes.mid(start, i - start));
        }
    }
    return scan;
}

// "aircraft" is optional (files without it, and every file before names, hold none); when given
// it is a name as the window takes one. A reader that knows no names ignores it.
bool readAircraft(const QJsonObject &root, std::string &aircraft, QString &error)
{
    const QJsonValue value = root.value("aircraft");
    if (value.isUndefined())
        return true;
    std::string why = "not a text";
    const std::optional<std::string> name =
        value.isString() ? aircraftName(value.toString().toStdString(), why) : std::nullopt;
    if (!name) {
        error = QStringLiteral("\"aircraft\": not an aircraft name (%1)")
                    .arg(QString::fromStdString(why));
        return false;
    }
    aircraft = *name;
    return true;
}

bool checkHeader(const QJsonObject &root, QString &error)
{
    if (root.value("format").toString() != kFormat) {
        error = Text::tr("\"format\": not a configuration file (expected \"%1\")").arg(kFormat);
        return false;
    }
    const QJsonValue version = root.value("version");
    if (!version.isDouble() || version.toDouble() != kVersion) {
        error = Text::tr("\"version\": unknown version %1 (this program reads version %2)")
                    .arg(QString::fromUtf8(
                             QJsonDocument(QJsonArray{version}).toJson(QJsonDocument::Compact))
                             .mid(1)
                             .chopped(1))
                    .arg(kVersion);
        return false;
    }
    if (!root.value("parameters").isObject()) {
        error = Text::tr("\"parameters\": missing or not an object");
        return false;
    }
    return true;
}

// The seven values, each present, an integer written as one, and inside its slider's range.
bool checkParameters(const QJsonObject &parameters, const RawScan &raw,
                     std::array<int, kParameterCount> &values, QString &error)
{
    std::set<QString> known;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        const QString key = QString::fromLatin1(p.key);
        known.insert(key);
        if (!parameters.contains(key)) {
            error = Text::tr("%1: missing from \"parameters\"").arg(quoted(key));
            return false;
        }
        const auto text = raw.parameterText.find(key);
        static const QRegularExpression integer(QStringLiteral("^-?[0-9]{1,6}$"));
        if (text == raw.parameterText.end() || !integer.match(text->second).hasMatch()) {
            const QString shown =
                text == raw.parameterText.end() ? Text::tr("the value") : text->second;
            error = Text::tr("%1: %2 is not an integer").arg(quoted(key), shown);
            return false;
        }
        const int value = text->second.toInt();
        if (value < minOf(p) || value > maxOf(p)) {
            error = Text::tr("%1: %2 is outside %3..%4")
                        .arg(quoted(key), QString::number(value), QString::number(minOf(p)),
                             QString::number(maxOf(p)));
            return false;
        }
        values[i] = value;
    }
    for (auto it = parameters.begin(); it != parameters.end(); ++it)
        if (!known.count(it.key())) {
            error = Text::tr("%1: unknown key in \"parameters\"").arg(quoted(it.key()));
            return false;
        }
    return true;
}

} // namespace

QByteArray configToJson(const ConfigValues &config, const QDateTime &saved)
{
    QJsonObject parameters;
    QJsonObject shown;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        parameters.insert(kParameters[i].key, config.values[i]);
        shown.insert(kParameters[i].key, QString::fromStdString(config.shown[i]));
    }
    QJsonObject root;
    root.insert("format", kFormat);
    root.insert("version", kVersion);
    root.insert("saved", isoWithOffset(saved));
    root.insert("firmware", QString::fromStdString(config.firmware));
    if (!config.aircraft.empty())
        root.insert("aircraft", QString::fromStdString(config.aircraft));
    root.insert("parameters", parameters);
    root.insert("shown", shown);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool writeConfig(const QString &path, const ConfigValues &config, const QDateTime &saved,
                 QString &error)
{
    // Not QSaveFile: Qt 6.4's commits a file cut short by a full disk as if it were whole.
    if (writeFileAtomically(path, configToJson(config, saved), error))
        return true;
    error = Text::tr("cannot write %1: %2").arg(path, error);
    return false;
}

bool parseConfig(const QByteArray &file, ConfigValues &config, QString &error)
{
    // What several editors put at the start of a file saved as "UTF-8 with BOM".
    const QByteArray bytes = file.startsWith(kByteOrderMark) ? file.mid(3) : file;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = Text::tr("not a JSON file: %1 at offset %2")
                    .arg(parseError.errorString())
                    .arg(parseError.offset);
        return false;
    }
    if (!document.isObject()) {
        error = Text::tr("not a configuration file: the top level is not an object");
        return false;
    }
    const RawScan raw = scanRaw(bytes);
    if (!raw.duplicate.isEmpty()) {
        error = Text::tr("%1: duplicate key").arg(quoted(raw.duplicate));
        return false;
    }
    const QJsonObject root = document.object();
    ConfigValues read;
    if (!checkHeader(root, error) ||
        !checkParameters(root.value("parameters").toObject(), raw, read.values, error) ||
        !readAircraft(root, read.aircraft, error))
        return false;
    read.firmware = root.value("firmware").toString().toStdString();
    read.saved = root.value("saved").toString().toStdString();
    read.shown = shownTexts(read);
    config = read;
    return true;
}

bool readConfig(const QString &path, ConfigValues &config, QString &error)
{
    QByteArray bytes;
    if (readSmallFile(path, kMaxConfigBytes, bytes, error))
        return parseConfig(bytes, config, error);
    error = Text::tr("cannot read it: %1").arg(error);
    return false;
}

QString defaultConfigFileName(const QString &firmware, const QDate &date)
{
    return QStringLiteral("quelo-config-%1-%2.json")
        .arg(firmware, date.toString(QStringLiteral("yyyy-MM-dd")));
}

} // namespace quelo
