// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_views.h"

#include "model_texts.h"
#include "recording_loader.h"
#include "replay_opener.h"
#include "replay_window.h"
#include "run_comparison.h"
#include "status_notes.h"
#include "trends_window.h"
#include "warning_box.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace quelo {

RecordingViews::RecordingViews(LiveTrend &live, StatusNotes &notes, QWidget &window)
    : QObject(&window), m_live(live), m_notes(notes), m_window(window),
      // A summary's worth of points: the Trends window draws a chart's worth of them.
      m_loader(new RecordingLoader(&window, RecordingLoader::tr("Open recording"),
                                   PointBudget{500000, RunComparison::kKeptPoints})),
      m_replays(new ReplayOpener(&window))
{
    connect(m_loader, &RecordingLoader::loaded, this, &RecordingViews::recordingLoaded);
    connect(m_replays, &ReplayOpener::failed, this,
            [this](const QString &error) { showWarning(m_window, tr("Replay recording"), error); });
}

TrendsWindow &RecordingViews::trends()
{
    if (!m_trends) {
        m_trends = new TrendsWindow(m_live, &m_window);
        m_trends->setWindowFlag(Qt::Window);
    }
    return *m_trends;
}

void RecordingViews::showTrends()
{
    TrendsWindow &window = trends();
    window.show();
    window.raise();
    window.activateWindow();
}

QString RecordingViews::chooseFile(const QString &title)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileDialog::getOpenFileName(&m_window, title, folder,
                                        tr("Recordings (*.csv);;All files (*)"));
}

void RecordingViews::chooseRecording()
{
    const QString path = chooseFile(tr("Open recording"));
    if (!path.isEmpty())
        openRecording(path);
}

void RecordingViews::openRecording(const QString &path)
{
    m_loader->load(path);
}

bool RecordingViews::isOpeningRecording() const
{
    return m_loader->isLoading();
}

void RecordingViews::recordingLoaded(const QString &path, const RecordingRead &read)
{
    if (!read.error.empty()) {
        const QString error = modelText(read.error);
        m_notes.post(error);
        showWarning(m_window, tr("Open recording"), error);
        return emit recordingRead(path, error);
    }
    trends().showRecording(read.recording, QFileInfo(path).fileName(), path);
    showTrends();
    const QString name = QDir::toNativeSeparators(path);
    m_notes.post(read.rowsOutOfOrder == 0
                     ? tr("Opened recording %1").arg(name)
                     : tr("Opened recording %1; %n row(s) earlier than the row before were put "
                          "in time order",
                          nullptr, int(read.rowsOutOfOrder))
                           .arg(name));
    emit recordingRead(path, {});
}

void RecordingViews::chooseReplay()
{
    const QString path = chooseFile(tr("Replay recording"));
    if (!path.isEmpty())
        openReplay(path);
}

void RecordingViews::openReplay(const QString &path)
{
    m_replays->open(path);
}

bool RecordingViews::isOpeningReplay() const
{
    return m_replays->isOpening();
}

void RecordingViews::closeAll()
{
    if (m_trends)
        m_trends->close();
    m_replays->cancel();
    for (ReplayWindow *replay : m_window.findChildren<ReplayWindow *>())
        replay->close();
}

} // namespace quelo
