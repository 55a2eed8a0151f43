// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recording_reader.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <memory>

class QProgressDialog;
class QWidget;

namespace quelo {

// Reads a recording file off the window's thread, so that a large or slow file never stops the
// link: a progress dialog with Cancel appears when the reading takes more than a moment.
// loaded() comes on the window's thread once the reading has ended, unless it was cancelled,
// with each series thinned for drawing (thinnedForDrawing) on the reading's thread too.
class RecordingLoader : public QObject
{
    Q_OBJECT

public:
    explicit RecordingLoader(QWidget *dialogParent);
    // Cancels a reading under way and waits for its thread to notice (one piece of the file).
    ~RecordingLoader() override;

    // Starts reading `path`; a reading under way is cancelled first.
    void load(const QString &path);
    void cancel();
    // From load() until loaded() has been emitted or the reading was cancelled.
    bool isLoading() const { return m_loading; }

signals:
    void loaded(const QString &path, const quelo::RecordingRead &read);

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

    QWidget *m_dialogParent;
    QFutureWatcher<RecordingRead> m_watcher;
    std::shared_ptr<Shared> m_shared;
    QString m_path;
    QProgressDialog *m_dialog = nullptr;
    QTimer m_progressTimer;
    bool m_loading = false;
};

} // namespace quelo
