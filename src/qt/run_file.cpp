// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_file.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <vector>

namespace quelo {

namespace {

Stamp systemStamp()
{
    const QDateTime now = QDateTime::currentDateTime();
    const auto steady = std::chrono::steady_clock::now().time_since_epoch();
    return {now.toMSecsSinceEpoch(), now.offsetFromUtc() / 60,
            std::chrono::duration_cast<std::chrono::milliseconds>(steady).count()};
}

QString shownName(const QString &path)
{
    return isStandardStream(path) ? QObject::tr("standard output") : QDir::toNativeSeparators(path);
}

} // namespace

RunFile::RunFile(QObject *parent, Clock clock)
    : QObject(parent), m_clock(clock ? std::move(clock) : Clock(&systemStamp)),
      m_stallCheck(new QTimer(this))
{
    m_stallCheck->setSingleShot(true);
    connect(m_stallCheck, &QTimer::timeout, this, &RunFile::watchWaiting);
}

RunFile::~RunFile() = default;

bool RunFile::appendable(const QString &path)
{
    RegularFileReader existing;
    QString reason;
    if (!QFileInfo::exists(path) || isStandardStream(path) || !existing.open(path, reason) ||
        existing.size() == 0)
        return true; // a path that cannot be read is left for start() to report
    const QByteArray header(RunRecorder::header());
    QByteArray start(header.size(), Qt::Uninitialized);
    qint64 got = 0;
    for (qint64 n = 1; got < start.size() && n > 0; got += n)
        n = std::max<qint64>(existing.read(start.data() + got, start.size() - got, reason), 0);
    if (got < start.size() || start != header) {
        m_error = tr("Cannot record into %1: it is not a recording.").arg(shownName(path));
        return false;
    }
    return true;
}

bool RunFile::start(const QString &path, Mode mode)
{
    m_error.clear();
    if (mode == Mode::Append && !appendable(path))
        return false;
    // Opened beside a running recording, so a failure here leaves that one as it was.
    auto file = std::make_unique<RecordFile>();
    QString reason;
    const QByteArray header(RunRecorder::header());
    const auto how = mode == Mode::Append ? RecordFile::Mode::Append : RecordFile::Mode::Truncate;
    // The header starts a new or empty file, and standard output (size 0) always.
    if (!file->open(path, how, reason) || (file->size() == 0 && !file->write(header, reason))) {
        m_error = tr("Cannot record into %1: %2.").arg(shownName(path), reason);
        return false;
    }
    stop();
    m_path = path;
    m_file = std::move(file);
    m_recorder = std::make_unique<RunRecorder>(m_clock());
    if (!m_aircraft.empty())
        event({RunEventKind::Aircraft, aircraftEventText(m_aircraft)});
    watchWaiting(); // the header may wait already
    return isRecording();
}

void RunFile::setAircraft(const std::string &name)
{
    if (name == m_aircraft)
        return;
    m_aircraft = name;
    if (m_recorder && !name.empty())
        event({RunEventKind::Aircraft, aircraftEventText(name)});
}

void RunFile::stop()
{
    if (m_room) {
        // stop() may run inside the notifier's own signal (a failed hand-over).
        m_room->setEnabled(false);
        m_room->deleteLater();
        m_room = nullptr;
    }
    m_stallCheck->stop();
    m_waiting = false;
    m_file.reset();
    m_recorder.reset();
}

void RunFile::telemetry(const TelemetryReport &report)
{
    if (m_recorder)
        writeLine(m_recorder->telemetryRow(report, m_clock()));
}

void RunFile::event(const RunEvent &event)
{
    if (m_recorder)
        writeLine(m_recorder->eventRow(event, m_clock()));
}

bool RunFile::writeLine(const std::string &line)
{
    // Each row goes to the system at once: a few dozen bytes, no wait for the disk itself.
    QString reason;
    if (!m_file->write(QByteArray::fromStdString(line), reason)) {
        fail(reason);
        return false;
    }
    // A folder removed under an open file leaves the writes succeeding into nothing.
    if (!isStandardStream(m_path) && !QFileInfo::exists(m_path)) {
        fail(tr("the file or its folder is gone"));
        return false;
    }
    watchWaiting();
    return isRecording();
}

void RunFile::flushWaiting()
{
    QString reason;
    if (m_file && !m_file->flush(reason))
        return fail(reason);
    watchWaiting();
}

// Called after each hand-over: a reader that has taken nothing for kMaxStallMs while rows wait
// has stopped reading.
void RunFile::watchWaiting()
{
    if (!m_file || m_file->pendingBytes() == 0) {
        m_waiting = false;
        if (m_room)
            m_room->setEnabled(false);
        m_stallCheck->stop();
        return;
    }
    const std::int64_t now = m_clock().steadyMs;
    if (!m_waiting || m_file->bytesTaken() != m_takenSeen) {
        m_waiting = true;
        m_takenSeen = m_file->bytesTaken();
        m_takenAtMs = now;
    } else if (now - m_takenAtMs >= kMaxStallMs) {
        return fail(tr("it is not being read (nothing taken for %1 s)").arg(kMaxStallMs / 1000));
    }
    if (!m_room) {
        m_room = new QSocketNotifier(m_file->descriptor(), QSocketNotifier::Write, this);
        connect(m_room, &QSocketNotifier::activated, this, &RunFile::flushWaiting);
    }
    m_room->setEnabled(true);
    if (!m_stallCheck->isActive())
        m_stallCheck->start(int(kMaxStallMs - (now - m_takenAtMs)) + 1);
}

void RunFile::fail(const QString &reason)
{
    const QString name = shownName(m_path);
    stop();
    m_error = tr("Recording into %1 stopped: %2.").arg(name, reason);
    emit failed(m_error);
}

RecordingRead readRecordingFile(const QString &path, const ReadProgress &progress,
                                std::size_t pointLimit)
{
    constexpr qint64 kPiece = 1 << 20;
    RegularFileReader file;
    RecordingRead failed;
    QString reason;
    if (!file.open(path, reason)) {
        failed.error =
            QObject::tr("Cannot open %1: %2.").arg(shownName(path), reason).toStdString();
        return failed;
    }
    RecordingParser parser;
    parser.limitPoints(pointLimit);
    std::vector<char> piece(kPiece);
    qint64 done = 0;
    for (qint64 n; (n = file.read(piece.data(), kPiece, reason)) != 0; done += n) {
        if (n < 0) {
            failed.error =
                QObject::tr("Cannot read %1: %2.").arg(shownName(path), reason).toStdString();
            return failed;
        }
        if (!parser.feed(piece.data(), std::size_t(n)))
            break;
        if (progress && !progress(done + n, std::max(file.size(), done + n))) {
            failed.error = "cancelled";
            return failed;
        }
    }
    RecordingRead result = parser.finish();
    if (!result.error.empty())
        result.error = shownName(path).toStdString() + ", " + result.error;
    return result;
}

} // namespace quelo
