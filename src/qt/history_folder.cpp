// SPDX-License-Identifier: GPL-3.0-or-later
#include "history_folder.h"

#include "aircraft.h"
#include "config_file.h"
#include "file_access.h"
#include "stamp.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cmath>
#include <optional>

namespace quelo {

namespace {

// The messages of this file, in the user's language.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(HistoryFolder)
};

} // namespace

namespace {

// A restore point is a few hundred bytes; anything much larger is not one.
constexpr qint64 kMaxFileBytes = 64 * 1024;

QDateTime savedTime(const Snapshot &snapshot)
{
    return QDateTime::fromMSecsSinceEpoch(snapshot.utcMs, Qt::OffsetFromUTC,
                                          snapshot.utcOffsetMinutes * 60);
}

// Whole file or nothing, through the file layer: the old file (if any) stays when any step
// fails, a short write on a full disk included.
bool writeAtomically(const QString &path, const QByteArray &bytes, QString &error)
{
    if (writeFileAtomically(path, bytes, error))
        return true;
    error = Text::tr("cannot write %1: %2").arg(QDir::toNativeSeparators(path), error);
    return false;
}

// Only a small regular file is opened, without waiting on a FIFO or a device.
bool readSmallRegularFile(const QFileInfo &info, QByteArray &bytes)
{
    QString error;
    return readSmallFile(info.absoluteFilePath(), kMaxFileBytes, bytes, error);
}

// The UTC time a file name written by the program starts with ("20261207-172425-123-...").
std::optional<qint64> nameTimeMs(const QString &name)
{
    static const QRegularExpression stamp(QStringLiteral("^([0-9]{8})-([0-9]{6})-([0-9]{3})-"));
    const QRegularExpressionMatch match = stamp.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date = QDate::fromString(match.captured(1), QStringLiteral("yyyyMMdd"));
    const QTime time =
        QTime::fromString(match.captured(2) + match.captured(3), QStringLiteral("HHmmsszzz"));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch();
}

// A restore point written before "saved" held milliseconds has them in its file name only:
// they are taken from there when the name's time is within that second.
void takeMillisecondsFromName(Snapshot &snapshot, const QString &name)
{
    const std::optional<qint64> named = nameTimeMs(name);
    if (named && snapshot.utcMs % 1000 == 0 && *named >= snapshot.utcMs &&
        *named < snapshot.utcMs + 1000)
        snapshot.utcMs = *named;
}

// "N123AB-" for a restore point of aircraft N123AB; nothing for one without a name.
QString tagged(const Snapshot &snapshot)
{
    const std::string tag = aircraftFileTag(snapshot.config.aircraft);
    return tag.empty() ? QString() : QString::fromStdString(tag) + QLatin1Char('-');
}

bool readSequence(const QJsonObject &root, Snapshot &read, QString &error)
{
    const QJsonValue sequence = root.value("sequence");
    if (sequence.isUndefined())
        return true; // written before restore points were counted
    const double number = sequence.toDouble(-1);
    if (!sequence.isDouble() || number < 0 || number > double(kMaxSequence) ||
        std::floor(number) != number) {
        error = Text::tr("\"sequence\": not a whole number from 0 to %1").arg(kMaxSequence);
        return false;
    }
    read.sequence = static_cast<std::int64_t>(number);
    return true;
}

} // namespace

QByteArray snapshotToJson(const Snapshot &snapshot)
{
    QJsonObject root =
        QJsonDocument::fromJson(configToJson(snapshot.config, savedTime(snapshot))).object();
    root.insert("saved",
                QString::fromStdString(isoTime(snapshot.utcMs, snapshot.utcOffsetMinutes)));
    root.insert("event", QString::fromLatin1(eventName(snapshot.event)));
    root.insert("port", snapshot.port);
    root.insert("sequence", static_cast<qint64>(snapshot.sequence));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool parseSnapshot(const QByteArray &bytes, Snapshot &snapshot, QString &error)
{
    Snapshot read;
    if (!parseConfig(bytes, read.config, error))
        return false;
    if (!isFirmwareVersion(read.config.firmware)) {
        error = Text::tr("\"firmware\": not a firmware version");
        return false;
    }
    const QJsonObject root = QJsonDocument::fromJson(bytes).object();
    const auto event = eventFromName(root.value("event").toString().toStdString());
    if (!event) {
        error = Text::tr("\"event\": not a restore point");
        return false;
    }
    const QDateTime saved =
        QDateTime::fromString(root.value("saved").toString(), Qt::ISODateWithMs);
    if (!saved.isValid()) {
        error = Text::tr("\"saved\": not a time");
        return false;
    }
    read.event = *event;
    read.utcMs = saved.toMSecsSinceEpoch();
    read.utcOffsetMinutes = saved.offsetFromUtc() / 60;
    read.port = root.value("port").toInt();
    if (!readSequence(root, read, error))
        return false;
    snapshot = read;
    return true;
}

bool isPlainFileName(const QString &name)
{
    for (const QChar c : name) {
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return false;
        default:
            if (c == QChar::ReplacementCharacter)
                return false;
        }
    }
    return !name.isEmpty();
}

QByteArray snapshotJsonLine(const Snapshot &snapshot, const QString &path, qint64 nowUtcMs)
{
    QJsonObject parameters;
    QJsonObject shown;
    const auto texts = shownTexts(snapshot.config);
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        parameters.insert(kParameters[i].key, snapshot.config.values[i]);
        shown.insert(kParameters[i].key, QString::fromStdString(texts[i]));
    }
    QJsonObject line;
    line.insert("time", QString::fromStdString(isoTime(snapshot.utcMs, snapshot.utcOffsetMinutes)));
    line.insert("utcMs", static_cast<qint64>(snapshot.utcMs));
    line.insert("future", isInTheFuture(snapshot, nowUtcMs));
    line.insert("event", QString::fromLatin1(eventName(snapshot.event)));
    line.insert("firmware", QString::fromStdString(snapshot.config.firmware));
    line.insert("aircraft", snapshot.config.aircraft.empty()
                                ? QJsonValue()
                                : QJsonValue(QString::fromStdString(snapshot.config.aircraft)));
    line.insert("port", snapshot.port);
    line.insert("sequence", static_cast<qint64>(snapshot.sequence));
    line.insert("parameters", parameters);
    line.insert("shown", shown);
    line.insert("file", path);
    return QJsonDocument(line).toJson(QJsonDocument::Compact);
}

QString defaultHistoryFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("history"));
}

HistoryFolder::HistoryFolder(QString path, std::size_t keep)
    : m_path(std::move(path)), m_keep(keep), m_list(keep)
{
}

QString HistoryFolder::filePath(const Snapshot &snapshot) const
{
    return QDir(m_path).filePath(QString::fromStdString(snapshot.fileName));
}

bool HistoryFolder::canList(QString &error) const
{
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return true;
    const QString shown = QDir::toNativeSeparators(m_path);
    if (!info.isDir())
        error = Text::tr("%1 is not a folder").arg(shown);
    else if (!info.isReadable() || !info.isExecutable())
        error = Text::tr("the folder %1 cannot be read").arg(shown);
    return error.isEmpty();
}

const std::vector<Snapshot> &HistoryFolder::load()
{
    std::vector<Snapshot> entries;
    const QFileInfoList files =
        QDir(m_path).entryInfoList({QStringLiteral("*.json")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo &info : files) {
        QByteArray bytes;
        Snapshot snapshot;
        QString error;
        if (!isPlainFileName(info.fileName()) || !readSmallRegularFile(info, bytes) ||
            !parseSnapshot(bytes, snapshot, error))
            continue;
        takeMillisecondsFromName(snapshot, info.fileName());
        snapshot.fileName = info.fileName().toStdString();
        entries.push_back(std::move(snapshot));
    }
    m_list.assign(std::move(entries));
    return m_list.entries();
}

QString HistoryFolder::newFileName(const Snapshot &snapshot) const
{
    const QString stem = QDateTime::fromMSecsSinceEpoch(snapshot.utcMs, Qt::UTC)
                             .toString(QStringLiteral("yyyyMMdd-HHmmss-zzz-")) +
                         tagged(snapshot) + QString::fromLatin1(eventName(snapshot.event));
    QString name = stem + QStringLiteral(".json");
    for (int n = 2; QFileInfo::exists(QDir(m_path).filePath(name)); ++n)
        name = stem + QStringLiteral("-%1.json").arg(n);
    return name;
}

HistoryFolder::Added HistoryFolder::add(Snapshot snapshot, QString &error)
{
    if (m_off)
        return Added::Off;
    // Read again every time: another program (on another computer, in a shared folder) may have
    // written or removed restore points since, and pruning from a stale list would keep too
    // many or count from the wrong newest.
    load();
    if (m_list.repeatsNewest(snapshot))
        return Added::Repeat;
    if (!QDir().mkpath(m_path)) {
        error = Text::tr("cannot create the folder %1").arg(QDir::toNativeSeparators(m_path));
        m_off = true;
        return Added::Failed;
    }
    snapshot.fileName = newFileName(snapshot).toStdString();
    snapshot.sequence = m_list.nextSequence();
    if (!writeAtomically(filePath(snapshot), snapshotToJson(snapshot), error)) {
        m_off = true;
        return Added::Failed;
    }
    const std::string added = snapshot.fileName;
    Added result = Added::Written;
    for (const Snapshot &gone : m_list.add(std::move(snapshot))) {
        // Already gone when another program pruned it first: nothing is lost.
        QFile::remove(filePath(gone));
        if (gone.fileName == added) {
            error = Text::tr("the restore point %1 was removed at once: only %2 are kept")
                        .arg(QString::fromStdString(added))
                        .arg(m_keep);
            result = Added::Dropped;
        }
    }
    return result;
}

} // namespace quelo
