// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_file.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <chrono>
#include <cstring>

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
    return QDir::toNativeSeparators(path);
}

} // namespace

RunFile::RunFile(QObject *parent, Clock clock)
    : QObject(parent), m_clock(clock ? std::move(clock) : Clock(&systemStamp))
{
}

RunFile::~RunFile() = default;

bool RunFile::appendable(const QString &path)
{
    QFile existing(path);
    if (!existing.exists() || existing.size() == 0)
        return true;
    const std::size_t length = std::strlen(RunRecorder::header());
    if (!existing.open(QIODevice::ReadOnly) ||
        existing.read(qint64(length)) != QByteArray(RunRecorder::header())) {
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
    QFile file(path);
    const QIODevice::OpenMode how = mode == Mode::Append
                                        ? QIODevice::WriteOnly | QIODevice::Append
                                        : QIODevice::WriteOnly | QIODevice::Truncate;
    if (!file.open(how)) {
        m_error = tr("Cannot record into %1: %2.").arg(shownName(path), file.errorString());
        return false;
    }
    if (file.size() == 0) {
        const char *header = RunRecorder::header();
        if (file.write(header) != qint64(std::strlen(header)) || !file.flush()) {
            m_error = tr("Cannot record into %1: %2.").arg(shownName(path), file.errorString());
            return false;
        }
    }
    file.close();
    stop();
    m_file.setFileName(path);
    // Opened for good only now, so a failure above leaves a running recording as it was.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        m_error = tr("Cannot record into %1: %2.").arg(shownName(path), m_file.errorString());
        return false;
    }
    m_recorder = std::make_unique<RunRecorder>(m_clock());
    return true;
}

void RunFile::stop()
{
    m_file.close();
    m_recorder.reset();
}

void RunFile::telemetry(const TelemetryReport &report)
{
    if (m_recorder)
        writeLine(m_recorder->telemetryRow(report, m_clock()));
}

void RunFile::event(const std::string &text)
{
    if (m_recorder)
        writeLine(m_recorder->eventRow(text, m_clock()));
}

bool RunFile::writeLine(const std::string &line)
{
    // Each row goes to the system at once: a few dozen bytes, no wait for the disk itself.
    if (m_file.write(line.data(), qint64(line.size())) != qint64(line.size()) || !m_file.flush()) {
        fail(m_file.errorString());
        return false;
    }
    // A folder removed under an open file leaves the writes succeeding into nothing.
    if (!QFileInfo::exists(m_file.fileName())) {
        fail(tr("the file or its folder is gone"));
        return false;
    }
    return true;
}

void RunFile::fail(const QString &reason)
{
    const QString name = shownName(m_file.fileName());
    stop();
    m_error = tr("Recording into %1 stopped: %2.").arg(name, reason);
    emit failed(m_error);
}

RecordingRead readRecordingFile(const QString &path)
{
    QFile file(path);
    RecordingRead result;
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QObject::tr("Cannot open %1: %2.")
                           .arg(shownName(path), file.errorString())
                           .toStdString();
        return result;
    }
    result = parseRecording(file.readAll().toStdString());
    if (!result.error.empty())
        result.error = shownName(path).toStdString() + ", " + result.error;
    return result;
}

} // namespace quelo
