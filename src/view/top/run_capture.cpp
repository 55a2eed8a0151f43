// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_capture.h"

#include "chart_marks.h"
#include "status_notes.h"
#include "warning_box.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace quelo {

RunCapture::RunCapture(StatusNotes &notes, QWidget &window)
    : QObject(&window), m_notes(notes), m_window(window)
{
    m_observers.add(&m_runFile);
    m_observers.add(&m_liveFeed);
    connect(&m_runFile, &RunFile::failed, this, [this](const QString &message) {
        emit changed();
        m_notes.post(message);
        showWarning(m_window, tr("Record run"), message);
        emit failed(message);
    });
}

bool RunCapture::start(const QString &path, QString &error)
{
    const bool started = m_runFile.start(path);
    if (started) {
        m_marks = 0;
        m_notes.post(tr("Recording to %1").arg(QDir::toNativeSeparators(m_runFile.fileName())));
    } else {
        error = m_runFile.errorString();
        m_notes.post(tr("Recording not started: %1").arg(error));
    }
    emit changed();
    return started;
}

void RunCapture::stop()
{
    const bool wasRecording = m_runFile.isRecording();
    const QString file = m_runFile.fileName();
    m_runFile.stop();
    if (wasRecording)
        m_notes.post(tr("Recording stopped: %1").arg(QDir::toNativeSeparators(file)));
    emit changed();
}

void RunCapture::toggle(bool on)
{
    if (!on)
        return stop();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name =
        QStringLiteral("quelo-run-%1.csv")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString path =
        QFileDialog::getSaveFileName(&m_window, tr("Record run"), QDir(folder).filePath(name),
                                     tr("Recordings (*.csv);;All files (*)"));
    QString error;
    if (!path.isEmpty() && !start(path, error))
        showWarning(m_window, tr("Record run"), error);
    emit changed();
}

void RunCapture::mark()
{
    if (!m_runFile.isRecording())
        return;
    const std::string text = markText(++m_marks);
    m_observers.event({RunEventKind::Mark, text});
    m_notes.post(tr("Marked: %1").arg(QString::fromStdString(text)));
}

} // namespace quelo
