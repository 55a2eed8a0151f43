// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "recording_reader.h"

#include <QObject>
#include <QString>

class QWidget;

namespace quelo {

class RecordingLoader;
class ReplayWindow;

// Opens replay windows on recording files, File > Replay recording's and --replay's. The file is
// read off the window's thread (a progress dialog with Cancel when it takes a while) within a
// point budget, so neither the link nor the window waits for it and memory stays bounded
// however large the file: a run longer than the budget plays back its thinned series, every
// peak and dip kept. open() returns at once; the window opens, playing, when the reading ends.
class ReplayOpener : public QObject
{
    Q_OBJECT

public:
    // `parent` (may be null) is the dialog's parent and each replay window's.
    explicit ReplayOpener(QWidget *parent);

    // Starts reading `path`; a reading under way is given up first.
    void open(const QString &path);
    void cancel();
    bool isOpening() const;

signals:
    // The window is shown and playing; it deletes itself when closed.
    void opened(quelo::ReplayWindow *window);
    // The file did not read: the message names the file and, for a malformed file, the line.
    void failed(const QString &message);
    // The user cancelled the reading; nothing opens.
    void cancelledByUser();

private:
    void loaded(const QString &path, const quelo::RecordingRead &read);

    QWidget *m_parent;
    RecordingLoader *m_loader;
};

} // namespace quelo
