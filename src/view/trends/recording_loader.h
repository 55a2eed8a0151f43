// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recording_reader.h"
#include "recording_thin.h"

#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <atomic>
#include <memory>

class QProgressDialog;
class QWidget;

namespace quelo {

// The points each series of a recording read holds: at most 2 * whileReading while the file is
// read (what bounds the memory a reading takes, whatever the file's size), then at most `kept`.
struct PointBudget
{
    std::size_t whileReading = 500000;
    std::size_t kept = kMaxDrawnPoints; // a chart's
};

// Reads a recording file off the window's thread, so that a large or slow file never stops the
// link: a progress dialog with Cancel appears when the reading takes more than a moment.
// loaded() comes on the window's thread once the reading has ended, unless it was cancelled,
// with each series thinned (thinSeries) to the budget's `kept` points on the reading's thread too.
class RecordingLoader : public QObject
{
    Q_OBJECT

public:
    // `dialogParent` may be null (a dialog of its own); `title` is the dialog's.
    explicit RecordingLoader(QWidget *dialogParent, const QString &title = tr("Open recording"),
                             PointBudget budget = {});
    // Cancels a reading under way and waits for its thread to notice (one piece of the file).
    ~RecordingLoader() override;

    // Starts reading `path`; a reading under way is cancelled first.
    void load(const QString &path);
    void cancel();
    // From load() until loaded() has been emitted or the reading was cancelled.
    bool isLoading() const { return m_loading; }

signals:
    void loaded(const QString &path, const quelo::RecordingRead &read);
    // The user pressed the dialog's Cancel (or closed it); nothing is loaded.
    void cancelledByUser();

private:
    // Shared with the reading thread, which may outlive a cancelled load() by one piece.
    struct Shared
    {
        std::atomic<qint64> done{0};
        std::atomic<qint64> total{0};
        std::atomic<bool> cancelled{false};
    };

    void finished();
    void showProgress();
    void dialogCancelled();

    QWidget *m_dialogParent;
    QString m_title;
    PointBudget m_budget;
    QFutureWatcher<RecordingRead> m_watcher;
    std::shared_ptr<Shared> m_shared;
    QString m_path;
    QPointer<QProgressDialog> m_dialog; // the parent's child, or (no parent) the loader's own
    QTimer m_progressTimer;
    bool m_loading = false;
};

} // namespace quelo
