// SPDX-License-Identifier: GPL-3.0-or-later
// view/top/: the top window and its rooms: menus, files, quitting, the run's capture.
#pragma once

#include "change_history.h"
#include "quit_flow.h"
#include "status_notes.h"
#include "trends_window.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

namespace quelo {

class AircraftRoom;
class AppMenus;
class ConfigFiles;
class MainWindow;
class RecordingViews;
class RunCapture;
class WindowModel;

// The top-level window: a menu bar above the data link's 800 x 675 client area (MainWindow),
// which keeps every control where it is and is what PRINT and --screenshot capture, and a status
// bar below it. It wires its rooms, each doing one job: the menus (AppMenus), configuration
// files and the history's restore points (ConfigFiles), the quit and store-and-quit flow
// (QuitFlow), the recording with its marks and the live trend (RunCapture), and the trends and
// replay windows (RecordingViews). The functions below are the menus' items, for the program
// and its tests; each says which room does it.
class AppWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit AppWindow(WindowModel &model, QWidget *parent = nullptr);
    ~AppWindow() override;

    MainWindow &client() { return *m_client; }
    // The devices of ports 1..3, for About and the names remembered per device.
    void setPortDevices(const QStringList &devices);
    // File > Aircraft: the aircraft the module sits in (`name` checked; empty: none), shown in
    // the title and kept with restore points and recordings (AircraftRoom).
    void chooseAircraft(const QString &name);
    AircraftRoom &aircraft() { return *m_aircraft; }

    // File > Load configuration once its file dialog has picked `path` (ConfigFiles).
    void loadFile(const QString &path);
    // History > Restore and Compare with the module (ConfigFiles).
    void restoreSnapshot(const Snapshot &snapshot);
    void compareWithModule(const Snapshot &snapshot);
    // Undo, redo and the configuration history.
    ChangeHistory &changes() { return *m_changes; }

    // File > Record run once its file dialog has picked `path`, and Mark (RunCapture).
    bool startRecording(const QString &path, QString &error);
    void stopRecording();
    bool isRecording() const;
    void mark();
    // File > Open recording and Replay recording, View > Trends (RecordingViews).
    void openRecording(const QString &path);
    void openReplay(const QString &path);
    bool isOpeningRecording() const;
    bool isOpeningReplay() const;
    TrendsWindow &trends();
    void showTrends();
    // The status bar below the client area, for the program's own messages: the model's
    // messages, recording started, stopped or failed, and the results of configuration files.
    StatusNotes &notes() { return *m_notes; }

    // Closing the window or File > Quit asks first while a change is unstored (QuitFlow).
    static constexpr int kStoreAndQuitMs = QuitFlow::kStoreAndQuitMs;
    void setStoreAndQuitMs(int ms) { m_quit->setStoreAndQuitMs(ms); }
    // Closes without asking, as --quit-after and the quit signals do: the port is closed as on
    // unload, a command half sent finished first.
    void quitWithoutAsking();

signals:
    // The recording stopped on a failed write; the message names the file and the reason. It is
    // also in the status bar and the link log.
    void recordingFailed(const QString &message);
    // A recording opened for Trends has been read: `error` is empty when it is shown, else the
    // reason, naming the line at fault (RecordingViews).
    void recordingRead(const QString &path, const QString &error);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void wireMenus();
    void recordingChanged();
    void aircraftChanged(const QString &name);

    WindowModel &m_model;
    MainWindow *m_client;
    QString m_title;
    StatusNotes *m_notes;
    ChangeHistory *m_changes;
    AppMenus *m_menus;
    ConfigFiles *m_files;
    QuitFlow *m_quit;
    RunCapture *m_recorder;
    RecordingViews *m_views;
    AircraftRoom *m_aircraft;
    QString m_baseTitle; // the title with the aircraft's name
};

} // namespace quelo
