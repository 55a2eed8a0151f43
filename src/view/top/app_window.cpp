// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_window.h"

#include "aircraft_memory.h"
#include "aircraft_room.h"
#include "app_menus.h"
#include "config_files.h"
#include "history_window.h"
#include "main_window.h"
#include "model_texts.h"
#include "recording_views.h"
#include "run_capture.h"
#include "window_model.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace quelo {

AppWindow::AppWindow(WindowModel &model, QWidget *parent)
    : QMainWindow(parent), m_model(model), m_client(new MainWindow(model, this)),
      m_title(m_client->windowTitle()), m_notes(new StatusNotes(statusBar(), this)),
      m_changes(new ChangeHistory(model, this)),
      m_menus(new AppMenus(*menuBar(), model, *m_changes, *this)),
      m_files(new ConfigFiles(model, *m_changes, *m_notes, *this)),
      m_quit(new QuitFlow(model, *m_client, *this)), m_recorder(new RunCapture(*m_notes, *this)),
      m_views(new RecordingViews(m_recorder->liveTrend(), *m_notes, *this)),
      m_aircraft(new AircraftRoom(model, *m_changes, *m_recorder, *m_notes, *this)),
      m_baseTitle(m_title)
{
    setWindowTitle(m_title);
    setCentralWidget(m_client);
    m_model.setMessageListener([this](const std::string &text) { m_notes->post(modelText(text)); });
    // The client area has a fixed size; the window is that plus the menu bar, never more.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    wireMenus();
    // Before the history's watcher: a remembered name is the connection's before its restore
    // point is taken.
    connect(m_client, &MainWindow::modelChanged, m_aircraft, &AircraftRoom::modelChanged);
    connect(m_client, &MainWindow::modelChanged, m_menus, &AppMenus::updateActions);
    connect(m_client, &MainWindow::modelChanged, m_changes, &ChangeHistory::modelChanged);
    connect(m_client, &MainWindow::sliderMovedByUser, m_changes, &ChangeHistory::sliderMoved);
    connect(m_changes, &ChangeHistory::historyFailed, m_notes, &StatusNotes::post);
    connect(m_changes, &ChangeHistory::compareWithModuleRequested, m_files,
            &ConfigFiles::compareWithModule);
    connect(m_changes, &ChangeHistory::restoreRequested, m_files, &ConfigFiles::restoreSnapshot);
    m_menus->updateActions();

    // The model's run events go to the recording, the live trend and the history's watcher.
    m_recorder->observers().add(&m_changes->watcher());
    m_model.setRunObserver(&m_recorder->observers());
    connect(m_recorder, &RunCapture::changed, this, &AppWindow::recordingChanged);
    connect(m_recorder, &RunCapture::failed, this, &AppWindow::recordingFailed);
    connect(m_views, &RecordingViews::recordingRead, this, &AppWindow::recordingRead);
}

AppWindow::~AppWindow()
{
    m_model.setRunObserver(nullptr);
    m_model.setMessageListener({});
}

void AppWindow::wireMenus()
{
    connect(m_menus, &AppMenus::saveRequested, m_files, &ConfigFiles::save);
    connect(m_menus, &AppMenus::loadRequested, m_files, &ConfigFiles::load);
    connect(m_menus, &AppMenus::recordToggled, m_recorder, &RunCapture::toggle);
    connect(m_menus, &AppMenus::markRequested, m_recorder, &RunCapture::mark);
    connect(m_menus, &AppMenus::openRecordingRequested, m_views, &RecordingViews::chooseRecording);
    connect(m_menus, &AppMenus::replayRequested, m_views, &RecordingViews::chooseReplay);
    connect(m_menus, &AppMenus::trendsRequested, m_views, &RecordingViews::showTrends);
    connect(m_menus, &AppMenus::quitRequested, this, &QWidget::close);
    QMenu *file = menuBar()->actions().constFirst()->menu();
    m_aircraft->addToMenu(*file, m_changes->historyAction());
    connect(m_aircraft, &AircraftRoom::chosenChanged, this, &AppWindow::aircraftChanged);
}

void AppWindow::chooseAircraft(const QString &name)
{
    m_aircraft->setMemoryPath(defaultAircraftMemoryPath());
    m_aircraft->choose(name);
}

// The title names the aircraft; History shows its restore points; a file for another warns.
void AppWindow::aircraftChanged(const QString &name)
{
    m_baseTitle = name.isEmpty() ? m_title : tr("%1 \u2014 %2").arg(m_title, name);
    recordingChanged();
    m_files->setAircraft(name);
    if (HistoryWindow *history = m_changes->historyWindow())
        history->setChosenAircraft(name);
}

// The item is ticked and the title names the file while, and only while, a recording runs.
void AppWindow::recordingChanged()
{
    const bool on = m_recorder->isRecording();
    m_menus->setRecording(on);
    setWindowTitle(
        on ? tr("%1 — recording %2").arg(m_baseTitle, QFileInfo(m_recorder->fileName()).fileName())
           : m_baseTitle);
}

void AppWindow::setPortDevices(const QStringList &devices)
{
    m_menus->setPortDevices(devices);
    m_aircraft->setPortDevices(devices);
}

void AppWindow::loadFile(const QString &path)
{
    m_files->loadFile(path);
}

void AppWindow::restoreSnapshot(const Snapshot &snapshot)
{
    m_files->restoreSnapshot(snapshot);
}

void AppWindow::compareWithModule(const Snapshot &snapshot)
{
    m_files->compareWithModule(snapshot);
}

bool AppWindow::startRecording(const QString &path, QString &error)
{
    return m_recorder->start(path, error);
}

void AppWindow::stopRecording()
{
    m_recorder->stop();
}

bool AppWindow::isRecording() const
{
    return m_recorder->isRecording();
}

void AppWindow::mark()
{
    m_recorder->mark();
}

void AppWindow::openRecording(const QString &path)
{
    m_views->openRecording(path);
}

void AppWindow::openReplay(const QString &path)
{
    m_views->openReplay(path);
}

bool AppWindow::isOpeningRecording() const
{
    return m_views->isOpeningRecording();
}

bool AppWindow::isOpeningReplay() const
{
    return m_views->isOpeningReplay();
}

TrendsWindow &AppWindow::trends()
{
    return m_views->trends();
}

void AppWindow::showTrends()
{
    m_views->showTrends();
}

void AppWindow::quitWithoutAsking()
{
    m_quit->approve();
}

// Closing the window is the window's unload: the port is closed as the model does it, and the
// recording ends after the status line's last change. A change of the user's that no store the
// module confirmed holds is not dropped silently: the user is asked first.
void AppWindow::closeEvent(QCloseEvent *event)
{
    if (!m_quit->mayClose()) {
        event->ignore();
        m_quit->ask();
        return;
    }
    m_quit->closing();
    m_model.Form_Unload();
    m_recorder->stop();
    m_views->closeAll();
    event->accept();
}

// The status bar is for the program's messages: a menu's hover text (empty for every item
// here) would otherwise wipe the message shown.
bool AppWindow::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

} // namespace quelo
