// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config_change.h"
#include "history_watcher.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

class QAction;
class QUndoStack;
class QWidget;

namespace quelo {

class HistoryStore;
class HistoryWindow;
class WindowModel;

// The user's configuration changes and the module's restore points, for the top-level window:
// Edit > Undo and Redo of slider moves, Loads and Restores (the stack is emptied when a module
// connects, as its values may differ), File > History with the restore points taken as the run
// goes, and File > Keep restore points (checked unless --no-history) to stop writing them for
// the session. Without a history folder (startHistory not called) History stays disabled.
class ChangeHistory : public QObject
{
    Q_OBJECT

public:
    ChangeHistory(WindowModel &model, QWidget *window);
    ~ChangeHistory() override;

    // Keeps restore points in `folder` from now on.
    void startHistory(const QString &folder);

    QUndoStack &undoStack() { return *m_undo; }
    QAction *undoAction() const { return m_undoAction; }
    QAction *redoAction() const { return m_redoAction; }
    QAction *historyAction() const { return m_historyAction; }
    // Checkable: restore points are written while it is checked.
    QAction *keepAction() const { return m_keepAction; }
    // Checks or unchecks keepAction (--no-history unchecks it).
    void setKeeping(bool keep);
    // Hears what the module reports (the store's confirmation); for the window's observers.
    HistoryWatcher &watcher() { return m_watcher; }
    HistoryStore *store() { return m_store.get(); }
    // The History window, created on first use; null without a history folder.
    HistoryWindow *historyWindow();
    void showHistory();

    // After every model event.
    void modelChanged();
    // The user moved the slider of kParameters[parameter].
    void sliderMoved(int parameter, int before, int after);
    // A configuration file has moved the sliders from the module's values `before` to its
    // own, `after`: one undo step named `label`, and a restore point of `event` once the
    // module has confirmed them.
    void fileLoaded(const QString &label, const ConfigValues &before, const ConfigValues &after,
                    SnapshotEvent event);

signals:
    // History is off for the session, or a restore point was not kept; `message` says why
    // (for the status bar).
    void historyFailed(const QString &message);
    void compareWithModuleRequested(const Snapshot &snapshot);
    void restoreRequested(const Snapshot &snapshot);

private:
    void push(ConfigChange change);
    void keepToggled(bool keep);

    WindowModel &m_model;
    QWidget *m_window;
    QUndoStack *m_undo;
    QAction *m_undoAction;
    QAction *m_redoAction;
    QAction *m_historyAction;
    QAction *m_keepAction;
    HistoryWatcher m_watcher;
    std::unique_ptr<HistoryStore> m_store;
    HistoryWindow *m_historyWindow = nullptr;
    bool m_connected = false;
    std::uint64_t m_connection = 0;
};

} // namespace quelo
