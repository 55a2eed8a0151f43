// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_loader.h"

#include "run_file.h"

#include <QFileInfo>
#include <QProgressDialog>
#include <QtConcurrent/QtConcurrentRun>

namespace quelo {

namespace {

constexpr int kProgressIntervalMs = 100;
// A reading shorter than this shows no dialog at all.
constexpr int kDialogDelayMs = 400;

} // namespace

RecordingLoader::RecordingLoader(QWidget *dialogParent, const QString &title, PointBudget budget)
    : QObject(dialogParent), m_dialogParent(dialogParent), m_title(title), m_budget(budget)
{
    connect(&m_watcher, &QFutureWatcher<RecordingRead>::finished, this, &RecordingLoader::finished);
    connect(&m_progressTimer, &QTimer::timeout, this, &RecordingLoader::showProgress);
    m_progressTimer.setInterval(kProgressIntervalMs);
}

RecordingLoader::~RecordingLoader()
{
    cancel();
    if (m_watcher.future().isValid()) // not once its result was taken
        m_watcher.waitForFinished();
    delete m_dialog;
}

void RecordingLoader::load(const QString &path)
{
    cancel();
    m_loading = true;
    m_path = path;
    m_shared = std::make_shared<Shared>();
    const std::shared_ptr<Shared> shared = m_shared;
    m_watcher.setFuture(QtConcurrent::run([path, shared, budget = m_budget] {
        RecordingRead read = readRecordingFile(
            path,
            [shared](qint64 done, qint64 total) {
                shared->done = done;
                shared->total = total;
                return !shared->cancelled;
            },
            budget.whileReading);
        read.recording = thinnedForDrawing(std::move(read.recording), budget.kept);
        return read;
    }));
    if (!m_dialog) {
        m_dialog = new QProgressDialog(m_dialogParent);
        m_dialog->setWindowTitle(m_title);
        m_dialog->setWindowModality(Qt::NonModal);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setMinimumDuration(kDialogDelayMs);
        connect(m_dialog, &QProgressDialog::canceled, this, &RecordingLoader::dialogCancelled);
    }
    m_dialog->setLabelText(tr("Reading %1…").arg(QFileInfo(path).fileName()));
    m_dialog->setRange(0, 1000);
    m_dialog->setValue(0); // starts the dialog's own delay before it shows
    m_progressTimer.start();
}

void RecordingLoader::cancel()
{
    m_loading = false;
    if (m_shared)
        m_shared->cancelled = true;
    m_progressTimer.stop();
    if (m_dialog) {
        m_dialog->reset();
        m_dialog->hide();
    }
}

// The dialog's Cancel, or the dialog closed; reset() and hide() below do not come here.
void RecordingLoader::dialogCancelled()
{
    if (!m_loading)
        return;
    cancel();
    emit cancelledByUser();
}

void RecordingLoader::showProgress()
{
    const qint64 total = m_shared->total;
    if (total > 0 && m_dialog && !m_dialog->wasCanceled())
        m_dialog->setValue(int(1000 * m_shared->done / total));
}

void RecordingLoader::finished()
{
    m_progressTimer.stop();
    if (m_dialog) {
        m_dialog->reset();
        m_dialog->hide();
    }
    // A reading replaced by a newer one, or cancelled, ends without a word.
    if (m_shared->cancelled)
        return;
    m_loading = false;
    // Taken, not copied: the future holds nothing more once it is told.
    emit loaded(m_path, m_watcher.future().takeResult());
}

} // namespace quelo
