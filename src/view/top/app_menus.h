// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenuBar;
class QWidget;

namespace quelo {

class ChangeHistory;
class WindowModel;

// The top window's menu bar: File, Edit, View and Help, and when each item is offered. The
// items that are one of the model's handlers call it straight away (Print is PRINT, Connection
// information is CONNECTION INFO, Reconnect automatically the model's flag) and About is shown
// here; every other item is a signal for the room that does it. Save is offered once the module
// has reported everything since it connected, its tooltip saying what it still waits for.
class AppMenus : public QObject
{
    Q_OBJECT

public:
    // `window` is the top window: the menus go into its bar, About is its child.
    AppMenus(QMenuBar &bar, WindowModel &model, ChangeHistory &changes, QWidget &window);

    // The devices of ports 1..3, for About.
    void setPortDevices(const QStringList &devices) { m_devices = devices; }
    // Works Save's state out again when something it depends on has changed.
    void updateActions();
    // Record run is ticked, and Mark offered, while and only while a recording runs.
    void setRecording(bool on);

signals:
    void saveRequested();
    void loadRequested();
    void recordToggled(bool on);
    void markRequested();
    void openRecordingRequested();
    void replayRequested();
    void trendsRequested();
    void quitRequested();

private:
    void createFileMenu(QMenuBar &bar, ChangeHistory &changes);
    void createEditMenu(QMenuBar &bar, ChangeHistory &changes);
    void createViewMenu(QMenuBar &bar);
    void createHelpMenu(QMenuBar &bar);
    void showAbout();
    QString dataLinkText() const;

    WindowModel &m_model;
    QWidget &m_window;
    QAction *m_save = nullptr;
    QAction *m_record = nullptr;
    QAction *m_mark = nullptr;
    QStringList m_devices;
    // What Save's state was last worked out from: connected, every value reported, and what is
    // still missing.
    struct SaveInputs
    {
        bool connected = false;
        bool ready = false;
        std::vector<std::string> missing;
        bool operator==(const SaveInputs &o) const
        {
            return connected == o.connected && ready == o.ready && missing == o.missing;
        }
    };
    std::optional<SaveInputs> m_saveInputs;
};

} // namespace quelo
