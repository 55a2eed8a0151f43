// SPDX-License-Identifier: GPL-3.0-or-later
#include "change_history.h"

#include "config_transfer.h"
#include "config_undo_command.h"
#include "history_store.h"
#include "history_window.h"
#include "window_model.h"

#include <QAction>
#include <QUndoStack>

namespace quelo {

ChangeHistory::ChangeHistory(WindowModel &model, QWidget *window)
    : QObject(window), m_model(model), m_window(window), m_undo(new QUndoStack(this)),
      m_undoAction(m_undo->createUndoAction(this, tr("&Undo"))),
      m_redoAction(m_undo->createRedoAction(this, tr("&Redo"))),
      m_historyAction(new QAction(tr("&History…"), this)),
      m_keepAction(new QAction(tr("&Keep restore points"), this)),
      m_watcher(model, wallClockNow, [this](const Snapshot &snapshot) {
          if (m_store)
              m_store->add(snapshot);
      })
{
    m_undoAction->setObjectName(QStringLiteral("actionUndo"));
    m_undoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    m_redoAction->setObjectName(QStringLiteral("actionRedo"));
    m_redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    m_historyAction->setObjectName(QStringLiteral("actionHistory"));
    m_historyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    m_historyAction->setEnabled(false);
    m_historyAction->setToolTip(tr("No history folder"));
    connect(m_historyAction, &QAction::triggered, this, &ChangeHistory::showHistory);
    m_keepAction->setObjectName(QStringLiteral("actionKeepRestorePoints"));
    m_keepAction->setCheckable(true);
    m_keepAction->setChecked(true);
    m_keepAction->setToolTip(tr("Write a restore point of the module's configuration when it "
                                "connects, stores or takes a file (this session)"));
    connect(m_keepAction, &QAction::toggled, this, &ChangeHistory::keepToggled);
}

ChangeHistory::~ChangeHistory() = default;

void ChangeHistory::startHistory(const QString &folder)
{
    delete m_historyWindow; // it shows the store being replaced
    m_historyWindow = nullptr;
    m_store = std::make_unique<HistoryStore>(folder);
    m_store->setKeeping(m_keepAction->isChecked());
    connect(m_store.get(), &HistoryStore::failed, this, &ChangeHistory::historyFailed);
    connect(m_store.get(), &HistoryStore::dropped, this, &ChangeHistory::historyFailed);
    m_historyAction->setEnabled(true);
    m_historyAction->setToolTip(tr("The module's configurations kept in %1").arg(folder));
}

void ChangeHistory::setKeeping(bool keep)
{
    m_keepAction->setChecked(keep);
}

void ChangeHistory::keepToggled(bool keep)
{
    if (m_store)
        m_store->setKeeping(keep);
}

HistoryWindow *ChangeHistory::historyWindow()
{
    if (!m_historyWindow && m_store) {
        m_historyWindow = new HistoryWindow(*m_store, m_window);
        m_historyWindow->setWindowFlag(Qt::Window);
        connect(m_historyWindow, &HistoryWindow::compareWithModuleRequested, this,
                &ChangeHistory::compareWithModuleRequested);
        connect(m_historyWindow, &HistoryWindow::restoreRequested, this,
                &ChangeHistory::restoreRequested);
    }
    return m_historyWindow;
}

void ChangeHistory::showHistory()
{
    HistoryWindow *window = historyWindow();
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

// A module that connects may hold other values than the sliders were moved from: what was
// undoable no longer is. Without a connected module there is nothing to undo into.
void ChangeHistory::modelChanged()
{
    const bool connected = m_model.isConnected();
    if (connected != m_connected || m_model.connectionId() != m_connection)
        m_undo->clear();
    m_connected = connected;
    m_connection = m_model.connectionId();
    m_watcher.update();
}

void ChangeHistory::sliderMoved(int parameter, int before, int after)
{
    push(ConfigChange::sliderMove(static_cast<std::size_t>(parameter), before, after));
}

void ChangeHistory::fileLoaded(const QString &label, const ConfigValues &before,
                               const ConfigValues &after, SnapshotEvent event)
{
    push(ConfigChange::fileLoad(label.toStdString(), before, after));
    m_watcher.expect(event);
}

void ChangeHistory::push(ConfigChange change)
{
    if (!change.empty())
        m_undo->push(new ConfigUndoCommand(m_model, std::move(change)));
}

} // namespace quelo
