// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "change_history.h"
#include "run_file.h"
#include "run_recording.h"
#include "status_notes.h"
#include "trends_window.h"

#include <QMainWindow>

#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QMessageBox;
class QProgressDialog;

namespace quelo {

class MainWindow;
struct Parameter;
class ReplayWindow;
class RecordingLoader;
class ReplayOpener;
class WindowModel;

// The top-level window: a menu bar above the data link's 800 x 675 client area (MainWindow),
// which keeps every control where it is and is what PRINT and --screenshot capture. Every menu
// action goes through the model's handlers: Print is PRINT, Connection information is
// CONNECTION INFO, Quit is closing the window, and a loaded configuration moves the sliders as
// the user would. The window tells the model's run observer to the recording and to the live
// trend, which is kept from the start so that Trends opens on the last five minutes.
class AppWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit AppWindow(WindowModel &model, QWidget *parent = nullptr);
    ~AppWindow() override;

    MainWindow &client() { return *m_client; }
    // The devices of ports 1..3, for About.
    void setPortDevices(const QStringList &devices) { m_devices = devices; }

    // Loads a configuration file as File > Load configuration does once its file dialog has
    // picked `path`: a bad file is reported and changes nothing; a good one is previewed and,
    // when confirmed, the sliders move to its values. Storing is left to the user.
    void loadFile(const QString &path);
    // History > Restore: the restore point's file goes exactly the way of a loaded file.
    void restoreSnapshot(const Snapshot &snapshot);
    // History > Compare with the module: the module's values now beside the restore point's.
    void compareWithModule(const Snapshot &snapshot);
    // Undo, redo and the configuration history.
    ChangeHistory &changes() { return *m_changes; }

    // Records the run into `path` as File > Record run does once its file dialog has picked
    // it, replacing a recording under way. False, with the reason in `error`, when the file
    // cannot be written; nothing changes then.
    bool startRecording(const QString &path, QString &error);
    void stopRecording();
    bool isRecording() const { return m_runFile.isRecording(); }
    // Shows a recording in the trends window as File > Open recording does. The file is read
    // off the window's thread (with a progress dialog and Cancel when it takes a while), so this
    // returns at once and the link goes on; a file that does not read is reported (naming the
    // line at fault) and the chart stays as it was.
    void openRecording(const QString &path);
    // Writes the next mark ("mark 1", "mark 2", …, counted from the recording's start) into the
    // recording and the live trend, as Mark (M, Ctrl+M) does. Nothing while not recording.
    void mark();
    // Opens a replay window on a recording as File > Replay recording does. The file is read off
    // the window's thread as by openRecording, so this returns at once; the replay window opens
    // when the reading ends. A file that does not read is reported (naming the line at fault)
    // and nothing opens. The link is left alone.
    void openReplay(const QString &path);
    bool isOpeningRecording() const;
    bool isOpeningReplay() const;
    // The trends window, created on first use.
    TrendsWindow &trends();
    // Shows the trends window as View > Trends does.
    void showTrends();
    // The status bar below the client area, for the program's own messages: the model's
    // messages, recording started, stopped or failed, and the results of configuration files.
    StatusNotes &notes() { return *m_notes; }

    // Closing the window or File > Quit while a change the user made is not in the module's
    // stored configuration asks first: Store and quit (waits, at most kStoreAndQuitMs, for the
    // pending writes and the store's echo), Quit without storing, or Cancel. A store that can
    // no longer be confirmed (a change the module did not confirm, the link lost) or that runs
    // out of time is reported and the window stays open.
    static constexpr int kStoreAndQuitMs = 45000;
    // How long Store and quit waits; kStoreAndQuitMs unless set.
    void setStoreAndQuitMs(int ms) { m_storeAndQuitMs = ms; }
    // Closes without asking, as --quit-after and the quit signals do: the port is closed as on
    // unload, a command half sent finished first.
    void quitWithoutAsking();

signals:
    // The recording stopped on a failed write; the message names the file and the reason. It is
    // also in the status bar and the link log.
    void recordingFailed(const QString &message);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void createFileMenu();
    void createEditMenu();
    void createViewMenu();
    void createHelpMenu();
    void recordTriggered(bool on);
    void openRecordingTriggered();
    void replayTriggered();
    void recordingLoaded(const QString &path, const RecordingRead &read);
    void recordingChanged();
    void tell(const QString &title, const QString &text);
    void note(const QString &text);
    void updateActions();
    bool menuInputsChanged();
    void saveConfiguration();
    void loadConfiguration();
    bool explainLoadNotReady();
    void loadConfig(const QString &path, const QString &label, SnapshotEvent event);
    void showAbout();
    QString dataLinkText() const;
    void askAboutUnstored();
    void storeAndQuit();
    void storeProgressed();
    QString storeCannotFinish() const;
    void endStoreWait();
    void storeNotDone(const QString &text, const QString &name);
    void approveQuit();

    WindowModel &m_model;
    MainWindow *m_client = nullptr;
    StatusNotes *m_notes = nullptr;
    ChangeHistory *m_changes = nullptr;
    QAction *m_save = nullptr;
    // What Save's state was last worked out from: the status line, the version's and the
    // parameters' flags and texts. Most model events (the animation's ticks) change none of it.
    std::vector<std::string> m_menuInputs;
    QAction *m_record = nullptr;
    QAction *m_mark = nullptr;
    int m_marks = 0; // marks written into the recording under way
    QStringList m_devices;
    QString m_title;
    RunFile m_runFile;
    LiveTrendFeed m_liveFeed;
    RunObservers m_observers;
    TrendsWindow *m_trends = nullptr;
    RecordingLoader *m_loader = nullptr;
    ReplayOpener *m_replays = nullptr;
    bool m_quitApproved = false;
    QPointer<QMessageBox> m_quitQuestion;
    QPointer<QProgressDialog> m_storeProgress;
    QElapsedTimer m_storeStarted;
    int m_storeAndQuitMs = kStoreAndQuitMs;
    std::vector<const Parameter *> m_storing; // the changes unstored when Store and quit began
};

} // namespace quelo
