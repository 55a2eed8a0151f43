// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "run_file.h"
#include "run_recording.h"
#include "trends_window.h"

#include <QObject>
#include <QString>

class QWidget;

namespace quelo {

class StatusNotes;

// The run as it happens: the recording file (File > Record run) with its marks, and the live
// trend kept from the start so that Trends opens on the last five minutes. observers() is what
// the model's run observer is set to; more observers may be added to it.
class RunCapture : public QObject
{
    Q_OBJECT

public:
    // `window` is the parent of the file dialog and the warnings.
    RunCapture(StatusNotes &notes, QWidget &window);

    RunObservers &observers() { return m_observers; }
    LiveTrend &liveTrend() { return m_liveFeed.trend(); }

    // Records the run into `path`, replacing a recording under way. False, with the reason in
    // `error`, when the file cannot be written; nothing changes then.
    bool start(const QString &path, QString &error);
    void stop();
    bool isRecording() const { return m_runFile.isRecording(); }
    // The aircraft named at the start of every recording.
    void setAircraft(const std::string &name) { m_runFile.setAircraft(name); }
    QString fileName() const { return m_runFile.fileName(); }
    // Record run ticked (asks for the file) or unticked (stops).
    void toggle(bool on);
    // Writes the next mark ("mark 1", "mark 2", …, counted from the recording's start) into the
    // recording and the live trend. Nothing while not recording.
    void mark();

signals:
    // A recording started or stopped, or was asked for and did not start.
    void changed();
    // The recording stopped on a failed write; the message names the file and the reason.
    void failed(const QString &message);

private:
    StatusNotes &m_notes;
    QWidget &m_window;
    int m_marks = 0; // marks written into the recording under way
    RunFile m_runFile;
    LiveTrendFeed m_liveFeed;
    RunObservers m_observers;
};

} // namespace quelo
