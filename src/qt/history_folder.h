// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace quelo {

// A restore point's file: a configuration file (format "quelo-config", version 1, so Load and
// --import-config take it as it is) with three members more, "event", "port" and "sequence"
// (the order it was written in; missing from the files of earlier versions), its "saved" time
// to the millisecond.
QByteArray snapshotToJson(const Snapshot &snapshot);
// False, with the reason, for bytes that are not a restore point's file: among others a
// firmware that is not a firmware version (digits only) and a sequence that is not a whole
// number from 0 to kMaxSequence.
bool parseSnapshot(const QByteArray &bytes, Snapshot &snapshot, QString &error);

// A file name the history takes: no control character, no line or paragraph separator, no
// invisible formatting character and nothing that did not decode (so that it prints as it is
// and names the file it came from).
bool isPlainFileName(const QString &name);

// One restore point as one line of compact JSON for a script (--history --json): "time" (ISO
// 8601 with its offset, to the millisecond), "utcMs", "future" (its time is later than
// `nowUtcMs`), "event", "firmware", "aircraft" (null for none), "port", "sequence", "parameters"
// (the seven values by file key), "shown" (the value boxes' texts for them) and "file" (`path`). No
// newline at the end.
QByteArray snapshotJsonLine(const Snapshot &snapshot, const QString &path, qint64 nowUtcMs);

// Where restore points are kept unless --history-dir says otherwise: "history" in the user's
// application data folder. Needs the application's name set.
QString defaultHistoryFolder();

// The history folder, read and written synchronously: one file per restore point, named by its
// UTC time ("20261207-172425-123-connected.json"). Which are the newest is told by their
// sequence numbers, not by their names or times, which come from a clock that may have jumped.
// Used from one thread at a time (the history store's worker, or a run without a window).
class HistoryFolder
{
public:
    enum class Added
    {
        Written,
        Repeat,  // the same as the newest restore point of its firmware: not written
        Dropped, // written, and removed at once as beyond the number kept: `error` says so
        Failed,  // the folder or the file could not be written: history is off from now on
        Off
    };

    explicit HistoryFolder(QString path, std::size_t keep = kHistoryKeep);

    const QString &path() const { return m_path; }
    QString filePath(const Snapshot &snapshot) const;

    // Whether the folder can be listed: a folder that can be read, or nothing at all (an empty
    // history). False, with the reason, for a file, a device, a FIFO or a folder that cannot be
    // read.
    bool canList(QString &error) const;
    // Reads every restore point in the folder, newest written first. A missing folder is an
    // empty history; what is not a restore point (another file, a folder, a device, a file over
    // 64 KiB, a name that is not plain, a firmware that is not a version) is passed over: it is
    // neither listed nor ever removed.
    const std::vector<Snapshot> &load();
    // Adds a restore point unless it repeats the newest one of its firmware and aircraft: reads
    // the folder again (another program may share it), creates it, writes the file atomically
    // with the next sequence number, then removes the first written beyond the number kept
    // (each aircraft's newest stays). The file name holds the aircraft's name
    // ("20261207-172425-123-N123AB-stored.json").
    Added add(Snapshot snapshot, QString &error);

    const std::vector<Snapshot> &entries() const { return m_list.entries(); }

private:
    QString newFileName(const Snapshot &snapshot) const;

    QString m_path;
    std::size_t m_keep;
    HistoryList m_list;
    bool m_off = false;
};

} // namespace quelo
