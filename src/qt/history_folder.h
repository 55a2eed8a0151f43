// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace quelo {

// A restore point's file: a configuration file (format "quelo-config", version 1, so Load and
// --import-config take it as it is) with two members more, "event" and "port".
QByteArray snapshotToJson(const Snapshot &snapshot);
// False, with the reason, for bytes that are not a restore point's file.
bool parseSnapshot(const QByteArray &bytes, Snapshot &snapshot, QString &error);

// Where restore points are kept unless --history-dir says otherwise: "history" in the user's
// application data folder. Needs the application's name set.
QString defaultHistoryFolder();

// The history folder, read and written synchronously: one file per restore point, named by its
// UTC time ("20261207-172425-123-connected.json") so that the names sort by age. Used from one
// thread at a time (the history store's worker, or a run without a window).
class HistoryFolder
{
public:
    enum class Added
    {
        Written,
        Repeat, // the same as the newest restore point of its firmware: not written
        Failed, // the folder or the file could not be written: history is off from now on
        Off
    };

    explicit HistoryFolder(QString path, std::size_t keep = kHistoryKeep);

    const QString &path() const { return m_path; }
    QString filePath(const Snapshot &snapshot) const;

    // Reads every restore point in the folder, newest first. A missing folder is an empty
    // history; what is not a restore point (another file, a folder, a device, a file over
    // 64 KiB) is passed over without being opened.
    const std::vector<Snapshot> &load();
    // Adds a restore point unless it repeats the newest one of its firmware: creates the
    // folder, writes the file atomically, then removes the oldest beyond the number kept.
    // Loads the folder first if it was not loaded yet.
    Added add(Snapshot snapshot, QString &error);

    const std::vector<Snapshot> &entries() const { return m_list.entries(); }

private:
    QString newFileName(const Snapshot &snapshot) const;

    QString m_path;
    HistoryList m_list;
    bool m_loaded = false;
    bool m_off = false;
};

} // namespace quelo
