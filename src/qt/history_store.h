// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history_folder.h"
#include "stamp.h"

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <memory>
#include <vector>

namespace quelo {

// The wall clock with the local offset, for the time of a restore point.
Stamp wallClockNow();

// The configuration history of a run: the folder is read and written on a worker thread of
// its own, one task after the other, so a slow disk never holds the window; what is known of
// the folder comes back to the caller's thread as entries(). The first write that fails turns
// history off for the rest of the session and emits failed() once; the run goes on. A restore
// point written but not kept is said once by dropped(). With keeping off (--no-history, or
// File > Keep restore points unchecked) nothing is written; the folder is still listed.
class HistoryStore : public QObject
{
    Q_OBJECT

public:
    explicit HistoryStore(const QString &folder, std::size_t keep = kHistoryKeep,
                          QObject *parent = nullptr);
    // Waits for the write under way, if any (a few hundred bytes).
    ~HistoryStore() override;

    const QString &folder() const { return m_folderPath; }
    QString filePath(const Snapshot &snapshot) const;
    // Newest first, as last read or written; empty until the folder has been read.
    const std::vector<Snapshot> &entries() const { return m_entries; }
    bool isOff() const { return m_off; }
    bool isKeeping() const { return m_keeping; }
    // Whether restore points are written from now on (entriesChanged, for the window's words).
    void setKeeping(bool keeping);

    // Reads the folder again (entriesChanged when done).
    void reload();
    // Keeps a restore point unless it repeats the newest one of its firmware or keeping is off.
    void add(const Snapshot &snapshot);
    // Waits until every task has run and its result has come back (a run without a window
    // calls it before it exits).
    void flush();

signals:
    void entriesChanged();
    // History is off for the session: `message` says why.
    void failed(const QString &message);
    // One restore point was not kept (history goes on): `message` says which and why.
    void dropped(const QString &message);

private:
    struct Result
    {
        std::vector<Snapshot> entries;
        QString error;   // history is off
        QString dropped; // one restore point was not kept
    };
    void post(std::function<Result(HistoryFolder &)> work);
    void take(const Result &result);

    QString m_folderPath;
    std::shared_ptr<HistoryFolder> m_folder; // touched only by the worker
    QThreadPool m_worker;
    std::vector<Snapshot> m_entries;
    bool m_off = false;
    bool m_keeping = true;
};

} // namespace quelo
