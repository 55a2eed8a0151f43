// SPDX-License-Identifier: GPL-3.0-or-later
#include "history_folder.h"

#include "config_file.h"
#include "file_access.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace quelo {

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
    error = QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), error);
    return false;
}

// Only a small regular file is opened, without waiting on a FIFO or a device.
bool readSmallRegularFile(const QFileInfo &info, QByteArray &bytes)
{
    QString error;
    return readSmallFile(info.absoluteFilePath(), kMaxFileBytes, bytes, error);
}

} // namespace

QByteArray snapshotToJson(const Snapshot &snapshot)
{
    QJsonObject root =
        QJsonDocument::fromJson(configToJson(snapshot.config, savedTime(snapshot))).object();
    root.insert("event", QString::fromLatin1(eventName(snapshot.event)));
    root.insert("port", snapshot.port);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool parseSnapshot(const QByteArray &bytes, Snapshot &snapshot, QString &error)
{
    Snapshot read;
    if (!parseConfig(bytes, read.config, error))
        return false;
    const QJsonObject root = QJsonDocument::fromJson(bytes).object();
    const auto event = eventFromName(root.value("event").toString().toStdString());
    if (!event) {
        error = QStringLiteral("\"event\": not a restore point");
        return false;
    }
    const QDateTime saved = QDateTime::fromString(root.value("saved").toString(), Qt::ISODate);
    if (!saved.isValid()) {
        error = QStringLiteral("\"saved\": not a time");
        return false;
    }
    read.event = *event;
    read.utcMs = saved.toMSecsSinceEpoch();
    read.utcOffsetMinutes = saved.offsetFromUtc() / 60;
    read.port = root.value("port").toInt();
    snapshot = read;
    return true;
}

QString defaultHistoryFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("history"));
}

HistoryFolder::HistoryFolder(QString path, std::size_t keep) : m_path(std::move(path)), m_list(keep)
{
}

QString HistoryFolder::filePath(const Snapshot &snapshot) const
{
    return QDir(m_path).filePath(QString::fromStdString(snapshot.fileName));
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
        if (!readSmallRegularFile(info, bytes) || !parseSnapshot(bytes, snapshot, error))
            continue;
        snapshot.fileName = info.fileName().toStdString();
        entries.push_back(std::move(snapshot));
    }
    m_list.assign(std::move(entries));
    m_loaded = true;
    return m_list.entries();
}

QString HistoryFolder::newFileName(const Snapshot &snapshot) const
{
    const QString stem = QDateTime::fromMSecsSinceEpoch(snapshot.utcMs, Qt::UTC)
                             .toString(QStringLiteral("yyyyMMdd-HHmmss-zzz-")) +
                         QString::fromLatin1(eventName(snapshot.event));
    QString name = stem + QStringLiteral(".json");
    for (int n = 2; QFileInfo::exists(QDir(m_path).filePath(name)); ++n)
        name = stem + QStringLiteral("-%1.json").arg(n);
    return name;
}

HistoryFolder::Added HistoryFolder::add(Snapshot snapshot, QString &error)
{
    if (m_off)
        return Added::Off;
    if (!m_loaded)
        load();
    if (m_list.repeatsNewest(snapshot))
        return Added::Repeat;
    if (!QDir().mkpath(m_path)) {
        error = QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(m_path));
        m_off = true;
        return Added::Failed;
    }
    snapshot.fileName = newFileName(snapshot).toStdString();
    if (!writeAtomically(filePath(snapshot), snapshotToJson(snapshot), error)) {
        m_off = true;
        return Added::Failed;
    }
    for (const Snapshot &gone : m_list.add(std::move(snapshot)))
        QFile::remove(filePath(gone));
    return Added::Written;
}

} // namespace quelo
