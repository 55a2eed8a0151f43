// SPDX-License-Identifier: GPL-3.0-or-later
#include "replay_opener.h"

#include "model_texts.h"
#include "recording_loader.h"
#include "replay_window.h"

#include <QFileInfo>

namespace quelo {

namespace {

// Points per series a replay keeps: some hours of rows, exactly as recorded, in a few megabytes.
// A longer run is thinned to this, so that its reading, the replay's row times and the window's
// work when it opens stay bounded.
constexpr std::size_t kReplayPoints = 200000;

} // namespace

ReplayOpener::ReplayOpener(QWidget *parent)
    : QObject(parent), m_parent(parent),
      m_loader(new RecordingLoader(parent, tr("Replay recording"), {kReplayPoints, kReplayPoints}))
{
    m_loader->setParent(this);
    connect(m_loader, &RecordingLoader::loaded, this, &ReplayOpener::loaded);
    connect(m_loader, &RecordingLoader::cancelledByUser, this, &ReplayOpener::cancelledByUser);
}

void ReplayOpener::open(const QString &path)
{
    m_loader->load(path);
}

void ReplayOpener::cancel()
{
    m_loader->cancel();
}

bool ReplayOpener::isOpening() const
{
    return m_loader->isLoading();
}

void ReplayOpener::loaded(const QString &path, const RecordingRead &read)
{
    if (!read.error.empty()) {
        emit failed(modelText(read.error));
        return;
    }
    auto *window = new ReplayWindow(read.recording, QFileInfo(path).fileName(), m_parent);
    window->setWindowFlag(Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->replay().play();
    emit opened(window);
}

} // namespace quelo
