// SPDX-License-Identifier: GPL-3.0-or-later
#include "aircraft_memory.h"

#include "aircraft.h"
#include "file_access.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace quelo {

namespace {

// A few devices' names; a file much larger is not one of ours.
constexpr qint64 kMaxMemoryBytes = 64 * 1024;
constexpr int kMaxDevices = 64;

} // namespace

QMap<QString, QString> readAircraftMemory(const QString &path)
{
    QMap<QString, QString> names;
    QByteArray bytes;
    QString error;
    if (!readSmallFile(path, kMaxMemoryBytes, bytes, error))
        return names;
    const QJsonObject root = QJsonDocument::fromJson(bytes).object();
    for (auto it = root.begin(); it != root.end() && names.size() < kMaxDevices; ++it) {
        std::string why;
        const auto name = aircraftName(it.value().toString().toStdString(), why);
        if (name && !it.key().isEmpty())
            names.insert(it.key(), QString::fromStdString(*name));
    }
    return names;
}

bool writeAircraftMemory(const QString &path, const QMap<QString, QString> &names, QString &error)
{
    QJsonObject root;
    for (auto it = names.begin(); it != names.end() && root.size() < kMaxDevices; ++it)
        root.insert(it.key(), it.value());
    QDir().mkpath(QFileInfo(path).absolutePath());
    return writeFileAtomically(path, QJsonDocument(root).toJson(), error);
}

QString defaultAircraftMemoryPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("aircraft-ports.json"));
}

} // namespace quelo
