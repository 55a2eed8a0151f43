// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recording_reader.h"

#include <QObject>
#include <QString>

class QWidget;

namespace quelo {

class LiveTrend;
class RecordingLoader;
class ReplayOpener;
class StatusNotes;
class TrendsWindow;

// The windows that show a run: Trends (the live trend, or a recording opened with File > Open
// recording) and the replay windows (File > Replay recording). Recordings are read off the
// window's thread, so opening returns at once and the link goes on; a file that does not read
// is reported, naming the line at fault, and nothing changes.
class RecordingViews : public QObject
{
    Q_OBJECT

public:
    // `window` is the parent of the trends window, the replay windows and the dialogs.
    RecordingViews(LiveTrend &live, StatusNotes &notes, QWidget &window);

    // The trends window, created on first use.
    TrendsWindow &trends();
    void showTrends();
    // Asks for a recording and shows it in the trends window.
    void chooseRecording();
    void openRecording(const QString &path);
    bool isOpeningRecording() const;
    // Asks for a recording and opens a replay window on it.
    void chooseReplay();
    void openReplay(const QString &path);
    bool isOpeningReplay() const;
    // Closes the trends and replay windows and gives up a replay being read, as the top window
    // closes.
    void closeAll();

signals:
    // A recording opened for the trends window has been read: `error` is empty when it is shown,
    // else the reason, naming the line at fault.
    void recordingRead(const QString &path, const QString &error);

private:
    void recordingLoaded(const QString &path, const RecordingRead &read);
    QString chooseFile(const QString &title);

    LiveTrend &m_live;
    StatusNotes &m_notes;
    QWidget &m_window;
    TrendsWindow *m_trends = nullptr;
    RecordingLoader *m_loader = nullptr;
    ReplayOpener *m_replays = nullptr;
};

} // namespace quelo
