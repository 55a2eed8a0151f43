// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "file_access.h"
#include "recording_reader.h"
#include "run_recording.h"

#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

#include <functional>
#include <memory>

namespace quelo {

// Records a run into a CSV file ("-": standard output): the header when the file is new, then
// one row per report, each written whole at once so that a crash loses at most the row being
// written. Only a regular file or a new path is written. The first failed write (a full disk, a
// vanished folder) cuts the file back to its last whole row, closes it, ends the recording and
// emits failed() once; later reports are ignored until the next start(). Standard output that
// is a pipe is never waited for: rows its reader has not taken yet are handed over as it makes
// room, and a reader that takes nothing for kMaxStallMs, or leaves RecordFile::kMaxPendingBytes
// waiting, ends the recording as a failed write does.
class RunFile final : public QObject, public RunObserver
{
    Q_OBJECT

public:
    enum class Mode
    {
        Truncate,
        Append
    };
    using Clock = std::function<Stamp()>;
    static constexpr std::int64_t kMaxStallMs = 5000;

    // The clock defaults to the system's wall clock with the local offset and a steady clock.
    explicit RunFile(QObject *parent = nullptr, Clock clock = {});
    ~RunFile() override;

    // Opens the file and writes the header (in Append mode only into an empty file; a file that
    // does not begin with the header is refused). On failure returns false, errorString() says
    // why in one sentence naming the file, and nothing else changes.
    bool start(const QString &path, Mode mode = Mode::Truncate);
    void stop();
    // The aircraft the run is for: an "aircraft NAME" event opens every recording (the columns
    // stay as they are), and comes again when the name changes while recording.
    void setAircraft(const std::string &name);

    bool isRecording() const { return m_file && m_file->isOpen(); }
    QString fileName() const { return m_path; }
    QString errorString() const { return m_error; }

    void telemetry(const TelemetryReport &report) override;
    using QObject::event; // QObject::event(QEvent *) stays callable beside the run event
    void event(const RunEvent &event) override;

signals:
    // Recording stopped by a failed write; message names the file and the reason.
    void failed(const QString &message);

private:
    bool appendable(const QString &path);
    bool writeLine(const std::string &line);
    void fail(const QString &reason);
    void flushWaiting();
    void watchWaiting();

    Clock m_clock;
    QString m_path;
    std::unique_ptr<RecordFile> m_file;
    std::unique_ptr<RunRecorder> m_recorder;
    QString m_error;
    std::string m_aircraft;
    // While rows wait for standard output's reader: room to write, and a look at the stall
    // when no report comes to look.
    QSocketNotifier *m_room = nullptr;
    QTimer *m_stallCheck = nullptr;
    bool m_waiting = false;
    qint64 m_takenSeen = 0;
    std::int64_t m_takenAtMs = 0;
};

// How far a reading has come, in bytes; returning false cancels it.
using ReadProgress = std::function<bool(qint64 done, qint64 total)>;

// Reads a recording file, a regular file only and without blocking, a piece at a time (never
// the whole file in memory), calling `progress` after each piece. The error names the file and,
// for a malformed file, the line. A cancelled reading returns an empty recording with the error
// "cancelled". A `pointLimit` bounds the points kept (RecordingParser::limitPoints).
RecordingRead readRecordingFile(const QString &path, const ReadProgress &progress = {},
                                std::size_t pointLimit = 0);

} // namespace quelo
