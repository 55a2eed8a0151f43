// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_window.h"

#include "chart_marks.h"
#include "config_compare_dialog.h"
#include "config_file.h"
#include "config_preview_dialog.h"
#include "config_transfer.h"
#include "history_store.h"
#include "history_window.h"
#include "main_window.h"
#include "mscomm.h"
#include "recording_loader.h"
#include "replay_opener.h"
#include "replay_window.h"
#include "store_progress.h"
#include "window_model.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

namespace quelo {

namespace {

const QString kFileFilter = QObject::tr("Quelo configuration (*.json);;All files (*)");
const QString kRecordingFilter = QObject::tr("Recordings (*.csv);;All files (*)");

// What the module has not yet reported, as the window labels it.
QString missingText(const WindowModel &model)
{
    QStringList names;
    for (const std::string &key : missingReports(model)) {
        QString name = QString::fromStdString(key);
        for (const Parameter &p : kParameters)
            if (key == p.key)
                name = QString::fromLatin1(p.caption);
        names << (key == "firmware version" ? QObject::tr("Firmware Version") : name);
    }
    return names.join(QStringLiteral(", "));
}

// The standard key where the platform has one, else the usual one.
QList<QKeySequence> shortcutFor(QKeySequence::StandardKey key, const QKeySequence &fallback)
{
    const QList<QKeySequence> bindings = QKeySequence::keyBindings(key);
    return bindings.isEmpty() ? QList<QKeySequence>{fallback} : bindings;
}

QAction *addMenuAction(QMenu *menu, const char *name, const QString &text,
                       const QList<QKeySequence> &shortcuts)
{
    QAction *action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(shortcuts);
    return action;
}

} // namespace

AppWindow::AppWindow(WindowModel &model, QWidget *parent)
    : QMainWindow(parent), m_model(model), m_client(new MainWindow(model, this))
{
    m_title = m_client->windowTitle();
    setWindowTitle(m_title);
    setCentralWidget(m_client);
    m_notes = new StatusNotes(statusBar(), this);
    m_model.setMessageListener(
        [this](const std::string &text) { m_notes->post(QString::fromStdString(text)); });
    m_changes = new ChangeHistory(model, this);
    // The client area has a fixed size; the window is that plus the menu bar, never more.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    createFileMenu();
    createEditMenu();
    createViewMenu();
    createHelpMenu();
    connect(m_client, &MainWindow::modelChanged, this, &AppWindow::updateActions);
    connect(m_client, &MainWindow::modelChanged, m_changes, &ChangeHistory::modelChanged);
    connect(m_client, &MainWindow::sliderMovedByUser, m_changes, &ChangeHistory::sliderMoved);
    connect(m_changes, &ChangeHistory::historyFailed, m_notes, &StatusNotes::post);
    connect(m_changes, &ChangeHistory::compareWithModuleRequested, this,
            &AppWindow::compareWithModule);
    connect(m_changes, &ChangeHistory::restoreRequested, this, &AppWindow::restoreSnapshot);
    updateActions();

    m_observers.add(&m_runFile);
    m_observers.add(&m_liveFeed);
    m_observers.add(&m_changes->watcher());
    m_model.setRunObserver(&m_observers);
    connect(&m_runFile, &RunFile::failed, this, [this](const QString &message) {
        recordingChanged();
        note(message);
        tell(tr("Record run"), message);
        emit recordingFailed(message);
    });
    m_loader = new RecordingLoader(this);
    connect(m_loader, &RecordingLoader::loaded, this, &AppWindow::recordingLoaded);
    m_replays = new ReplayOpener(this);
    connect(m_replays, &ReplayOpener::failed, this,
            [this](const QString &error) { tell(tr("Replay recording"), error); });
}

AppWindow::~AppWindow()
{
    m_model.setRunObserver(nullptr);
    m_model.setMessageListener({});
}

void AppWindow::createFileMenu()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->setToolTipsVisible(true); // Save's tooltip says what it still waits for
    m_save = addMenuAction(file, "actionSave", tr("&Save configuration…"),
                           shortcutFor(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)));
    connect(m_save, &QAction::triggered, this, &AppWindow::saveConfiguration);
    QAction *load =
        addMenuAction(file, "actionLoad", tr("&Load configuration…"),
                      shortcutFor(QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)));
    connect(load, &QAction::triggered, this, &AppWindow::loadConfiguration);
    file->addAction(m_changes->historyAction());
    file->addAction(m_changes->keepAction());
    file->addSeparator();
    m_record = addMenuAction(file, "actionRecord", tr("&Record run…"),
                             {QKeySequence(Qt::CTRL | Qt::Key_R)});
    m_record->setCheckable(true);
    connect(m_record, &QAction::triggered, this, &AppWindow::recordTriggered);
    m_mark = addMenuAction(file, "actionMark", tr("&Mark"),
                           {QKeySequence(Qt::CTRL | Qt::Key_M), QKeySequence(Qt::Key_M)});
    m_mark->setToolTip(tr("Mark this moment in the recording"));
    m_mark->setEnabled(false);
    connect(m_mark, &QAction::triggered, this, &AppWindow::mark);
    QAction *open = addMenuAction(file, "actionOpenRecording", tr("&Open recording…"), {});
    connect(open, &QAction::triggered, this, &AppWindow::openRecordingTriggered);
    QAction *replay = addMenuAction(file, "actionReplay", tr("Repla&y recording…"), {});
    connect(replay, &QAction::triggered, this, &AppWindow::replayTriggered);
    file->addSeparator();
    QAction *print =
        addMenuAction(file, "actionPrint", tr("&Print"),
                      shortcutFor(QKeySequence::Print, QKeySequence(Qt::CTRL | Qt::Key_P)));
    connect(print, &QAction::triggered, this, [this] { m_model.Command2_Click(); });
    file->addSeparator();
    // After a lost link the search runs once, as RESET's does, unless this is ticked: then it
    // goes round ports 1-3 until a module answers, probing whatever device appears there.
    QAction *reconnect =
        addMenuAction(file, "actionReconnect", tr("Reconnect &automatically"), {});
    reconnect->setCheckable(true);
    reconnect->setChecked(m_model.reconnect());
    connect(reconnect, &QAction::toggled, this, [this](bool on) { m_model.setReconnect(on); });
    file->addSeparator();
    QAction *quit =
        addMenuAction(file, "actionQuit", tr("&Quit"),
                      shortcutFor(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, this, &QWidget::close);
}

void AppWindow::createEditMenu()
{
    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(m_changes->undoAction());
    edit->addAction(m_changes->redoAction());
}

void AppWindow::createViewMenu()
{
    QMenu *view = menuBar()->addMenu(tr("&View"));
    QAction *trendsAction =
        addMenuAction(view, "actionTrends", tr("&Trends"), {QKeySequence(Qt::CTRL | Qt::Key_T)});
    connect(trendsAction, &QAction::triggered, this, &AppWindow::showTrends);
}

void AppWindow::showTrends()
{
    TrendsWindow &window = trends();
    window.show();
    window.raise();
    window.activateWindow();
}

void AppWindow::createHelpMenu()
{
    QMenu *help = menuBar()->addMenu(tr("&Help"));
    QAction *info = addMenuAction(help, "actionConnectionInfo", tr("&Connection information"), {});
    connect(info, &QAction::triggered, this, [this] { m_model.Command4_Click(); });
    QAction *about = addMenuAction(help, "actionAbout", tr("&About"), {});
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, &AppWindow::showAbout);
}

bool AppWindow::menuInputsChanged()
{
    const WindowState &w = m_model.state();
    std::size_t i = 0;
    bool changed = m_menuInputs.empty();
    auto take = [&](const std::string &value) {
        if (i == m_menuInputs.size())
            m_menuInputs.emplace_back();
        if (m_menuInputs[i] != value) {
            m_menuInputs[i] = value;
            changed = true;
        }
        ++i;
    };
    take(w.statusbox.Text);
    take(w.revdata.Tag);
    for (const Parameter &p : kParameters) {
        take((w.*p.box).Tag);
        take((w.*p.box).Text);
        take((w.*p.slider).Tag);
    }
    return changed;
}

// Save is offered once the module has reported everything since it connected. Worked out
// again only when something it depends on has changed.
void AppWindow::updateActions()
{
    if (!menuInputsChanged())
        return;
    const bool connected = m_model.isConnected();
    const bool ready = connected && reportedConfig(m_model).has_value();
    m_save->setEnabled(ready);
    if (ready)
        m_save->setToolTip(tr("Save the module's seven parameters to a file"));
    else if (!connected)
        m_save->setToolTip(tr("The module is not connected"));
    else
        m_save->setToolTip(tr("Waiting for the module to report: %1").arg(missingText(m_model)));
}

void AppWindow::saveConfiguration()
{
    const std::optional<ConfigValues> config = reportedConfig(m_model);
    if (!config || !m_model.isConnected())
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name =
        defaultConfigFileName(QString::fromStdString(config->firmware), QDate::currentDate());
    const QString path = QFileDialog::getSaveFileName(this, tr("Save configuration"),
                                                      QDir(folder).filePath(name), kFileFilter);
    if (path.isEmpty())
        return;
    QString error;
    if (!writeConfig(path, *config, QDateTime::currentDateTime(), error)) {
        note(tr("The configuration was not saved: %1").arg(error));
        QMessageBox::warning(this, tr("Save configuration"),
                             tr("The configuration was not saved.\n%1").arg(error));
        return;
    }
    note(tr("Configuration saved to %1").arg(QDir::toNativeSeparators(path)));
}

// While the module is not connected or has not reported everything, there is nothing to
// compare a file with and nowhere to put it: says so and returns true.
bool AppWindow::explainLoadNotReady()
{
    QString why;
    if (!m_model.isConnected())
        why = tr("The module is not connected.");
    else if (!reportedConfig(m_model))
        why = tr("The module has not yet reported: %1.").arg(missingText(m_model));
    else
        return false;
    QMessageBox::information(this, tr("Load configuration"),
                             why + QLatin1Char('\n') +
                                 tr("A configuration can be loaded once the module is connected "
                                    "and has reported all seven parameters."));
    return true;
}

void AppWindow::loadConfiguration()
{
    if (explainLoadNotReady())
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Load configuration"), folder, kFileFilter);
    if (!path.isEmpty())
        loadFile(path);
}

void AppWindow::loadFile(const QString &path)
{
    loadConfig(path, tr("Load %1").arg(QFileInfo(path).fileName()), SnapshotEvent::Imported);
}

void AppWindow::restoreSnapshot(const Snapshot &snapshot)
{
    const HistoryStore *store = m_changes->store();
    if (!store)
        return;
    loadConfig(
        store->filePath(snapshot),
        tr("Restore %1 (%2)")
            .arg(HistoryWindow::timeText(snapshot), QString::fromLatin1(eventName(snapshot.event))),
        SnapshotEvent::Restored);
}

void AppWindow::compareWithModule(const Snapshot &snapshot)
{
    if (explainLoadNotReady())
        return;
    auto *dialog = new ConfigCompareDialog(
        tr("Compare with the module"), {tr("Module now"), *reportedConfig(m_model)},
        {HistoryWindow::timeText(snapshot) + QLatin1Char(' ') + eventName(snapshot.event),
         snapshot.config},
        m_changes->historyWindow());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

// One undo step, and a restore point once the module has confirmed the values.
void AppWindow::loadConfig(const QString &path, const QString &label, SnapshotEvent event)
{
    ConfigValues file;
    QString error;
    if (!readConfig(path, file, error)) {
        note(tr("%1 was not loaded; nothing was changed: %2")
                 .arg(QDir::toNativeSeparators(path), error));
        QMessageBox::warning(this, tr("Load configuration"),
                             tr("%1 was not loaded; nothing was changed.\n%2")
                                 .arg(QDir::toNativeSeparators(path), error));
        return;
    }
    if (explainLoadNotReady())
        return;
    ConfigPreviewDialog preview(*reportedConfig(m_model), file, QFileInfo(path).fileName(), this);
    if (preview.exec() != QDialog::Accepted)
        return note(tr("Loading %1 was cancelled; nothing was changed")
                        .arg(QDir::toNativeSeparators(path)));
    // The link may have changed while the preview was open: compare with the module as it is.
    if (explainLoadNotReady())
        return;
    const ConfigValues before = *reportedConfig(m_model);
    const int moved = moveSlidersTo(m_model, before, file);
    m_changes->fileLoaded(label, before, file, event);
    const QString name = QFileInfo(path).fileName();
    if (moved == 0)
        note(tr("Loaded %1: the module already holds its values").arg(name));
    else
        note(tr("Loaded %1: %2 being written; press STORE CONFIGURATION to store them")
                 .arg(name, moved == 1 ? tr("1 value") : tr("%1 values").arg(moved)));
}

QString AppWindow::dataLinkText() const
{
    QString ports;
    for (int i = 0; i < 3; ++i) {
        const QString device = m_devices.value(i);
        ports += tr("Port %1: %2\n").arg(i + 1).arg(device.isEmpty() ? tr("(none)") : device);
    }
    const QString link = m_model.isConnected()
                             ? tr("Connected on Comm Port %1").arg(m_model.comm().CommPort())
                             : tr("Not connected");
    return tr("%1\n%2Settings: 9600 baud, 8 data bits, no parity, 1 stop bit (9600 8N1)")
        .arg(link, ports);
}

void AppWindow::showAbout()
{
    QMessageBox::about(this, tr("About Quelo Data Link"),
                       tr("Quelo Data Link %1\nData link for the Quelo Series 508 ignition "
                          "module.\nLicence: GPL-3.0-or-later\n\n%2")
                           .arg(QCoreApplication::applicationVersion(), dataLinkText()));
}

// Closing the window is the window's unload: the port is closed as the model does it, and the
// recording ends after the status line's last change. A change of the user's that no store the
// module confirmed holds is not dropped silently: the user is asked first.
void AppWindow::closeEvent(QCloseEvent *event)
{
    if (!m_quitApproved && !m_model.unstoredChanges().empty()) {
        event->ignore();
        askAboutUnstored();
        return;
    }
    if (m_quitQuestion)
        m_quitQuestion->close();
    if (m_storeProgress)
        endStoreWait();
    m_model.Form_Unload();
    stopRecording();
    if (m_trends)
        m_trends->close();
    m_replays->cancel();
    for (ReplayWindow *replay : findChildren<ReplayWindow *>())
        replay->close();
    event->accept();
}

void AppWindow::quitWithoutAsking()
{
    approveQuit();
}

void AppWindow::approveQuit()
{
    m_quitApproved = true;
    close();
}

// The question does not stop the link: the window-modal box lets writes and polls go on.
void AppWindow::askAboutUnstored()
{
    if (m_quitQuestion || m_storeProgress)
        return;
    const bool connected = m_model.isConnected();
    QString text = tr("The module has not stored your changes to %1.")
                       .arg(QString::fromStdString(namesOf(m_model.unstoredChanges())));
    if (!connected)
        text +=
            QLatin1Char('\n') + tr("The module is not connected, so they cannot be stored now.");
    auto *box =
        new QMessageBox(QMessageBox::Question, tr("Quit"), text, QMessageBox::NoButton, this);
    box->setObjectName(QStringLiteral("quitQuestion"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *store = box->addButton(tr("Store and quit"), QMessageBox::AcceptRole);
    store->setObjectName(QStringLiteral("storeAndQuit"));
    store->setEnabled(connected);
    QPushButton *discard = box->addButton(tr("Quit without storing"), QMessageBox::DestructiveRole);
    discard->setObjectName(QStringLiteral("quitWithoutStoring"));
    box->addButton(QMessageBox::Cancel)->setObjectName(QStringLiteral("cancelQuit"));
    box->setDefaultButton(connected ? store : discard);
    connect(store, &QPushButton::clicked, this, &AppWindow::storeAndQuit, Qt::QueuedConnection);
    connect(discard, &QPushButton::clicked, this, &AppWindow::approveQuit, Qt::QueuedConnection);
    m_quitQuestion = box;
    box->open();
}

// Presses STORE and waits, with the progress shown, for the pending writes and the store's echo;
// the window closes once the module confirmed a store holding every change of the user's.
void AppWindow::storeAndQuit()
{
    m_storing = m_model.unstoredChanges();
    m_model.Command3_Click();
    auto *progress = new QProgressDialog(this);
    progress->setObjectName(QStringLiteral("storeProgress"));
    progress->setAttribute(Qt::WA_DeleteOnClose);
    progress->setWindowTitle(tr("Store and quit"));
    progress->setRange(0, m_storeAndQuitMs / 1000);
    progress->setMinimumDuration(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    m_storeProgress = progress;
    m_storeStarted.start();
    connect(&client(), &MainWindow::modelChanged, progress, [this] { storeProgressed(); });
    connect(progress, &QProgressDialog::canceled, this, &AppWindow::storeProgressed);
    auto *deadline = new QTimer(progress);
    deadline->setInterval(250);
    connect(deadline, &QTimer::timeout, progress, [this] { storeProgressed(); });
    deadline->start();
    progress->open();
    storeProgressed();
}

// What follows the wait runs after the model's event that ended it.
void AppWindow::storeProgressed()
{
    if (!m_storeProgress)
        return;
    if (m_storeProgress->wasCanceled()) // the user's Cancel: back to the window
        return endStoreWait();
    if (const QString why = storeCannotFinish(); !why.isEmpty()) {
        endStoreWait();
        QTimer::singleShot(0, this,
                           [this, why] { storeNotDone(why, QStringLiteral("storeNotConfirmed")); });
        return;
    }
    if (m_model.unstoredChanges().empty()) {
        endStoreWait();
        QTimer::singleShot(0, this, &AppWindow::approveQuit);
        return;
    }
    const qint64 elapsed = m_storeStarted.elapsed();
    if (elapsed >= m_storeAndQuitMs) {
        endStoreWait();
        const QString why =
            tr("The module did not confirm the store within %1 s: your changes to %2 may not be "
               "stored.")
                .arg(m_storeAndQuitMs / 1000)
                .arg(QString::fromStdString(namesOf(m_model.unstoredChanges())));
        QTimer::singleShot(0, this,
                           [this, why] { storeNotDone(why, QStringLiteral("storeTimedOut")); });
        return;
    }
    const std::vector<const Parameter *> pending = pendingWrites(m_model.state());
    m_storeProgress->setLabelText(m_model.storeWaiting() && !pending.empty()
                                      ? tr("Waiting for the module to confirm %1…")
                                            .arg(QString::fromStdString(namesOf(pending)))
                                      : tr("Waiting for the module to confirm the store…"));
    m_storeProgress->setValue(int(elapsed / 1000));
}

// Why the store can never be confirmed, or nothing while it still may be: a change of the
// user's the module did not confirm (given up: no store can hold it), or the link lost.
QString AppWindow::storeCannotFinish() const
{
    const std::vector<const Parameter *> unstored = m_model.unstoredChanges();
    const auto among = [](const std::vector<const Parameter *> &list, const Parameter *p) {
        return std::find(list.begin(), list.end(), p) != list.end();
    };
    std::vector<const Parameter *> givenUp;
    for (const Parameter &p : kParameters)
        if (m_model.unconfirmed(p) && (among(m_storing, &p) || among(unstored, &p)))
            givenUp.push_back(&p);
    if (!givenUp.empty())
        return tr("The module did not confirm your change to %1, so no store can hold it: your "
                  "changes are not stored.")
            .arg(QString::fromStdString(namesOf(givenUp)));
    if (!m_model.isConnected())
        return tr("The link to the module was lost, so the store cannot be confirmed: your "
                  "changes are not stored.");
    return {};
}

// Closing the dialog marks it cancelled; it is no longer waited on by then.
void AppWindow::endStoreWait()
{
    QProgressDialog *progress = m_storeProgress;
    m_storeProgress = nullptr;
    progress->close();
}

// The store did not finish: said so, and the user chooses again.
void AppWindow::storeNotDone(const QString &text, const QString &name)
{
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Store and quit"), text,
                                QMessageBox::NoButton, this);
    box->setObjectName(name);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *quit = box->addButton(tr("Quit without storing"), QMessageBox::DestructiveRole);
    quit->setObjectName(QStringLiteral("quitWithoutStoring"));
    box->addButton(QMessageBox::Cancel)->setObjectName(QStringLiteral("cancelQuit"));
    connect(quit, &QPushButton::clicked, this, &AppWindow::approveQuit, Qt::QueuedConnection);
    box->open();
}

TrendsWindow &AppWindow::trends()
{
    if (!m_trends) {
        m_trends = new TrendsWindow(m_liveFeed.trend(), this);
        m_trends->setWindowFlag(Qt::Window);
    }
    return *m_trends;
}

bool AppWindow::startRecording(const QString &path, QString &error)
{
    const bool started = m_runFile.start(path);
    if (started) {
        note(tr("Recording to %1").arg(QDir::toNativeSeparators(m_runFile.fileName())));
    } else {
        error = m_runFile.errorString();
        note(tr("Recording not started: %1").arg(error));
    }
    if (started)
        m_marks = 0;
    recordingChanged();
    return started;
}

void AppWindow::stopRecording()
{
    const bool wasRecording = m_runFile.isRecording();
    const QString file = m_runFile.fileName();
    m_runFile.stop();
    if (wasRecording)
        note(tr("Recording stopped: %1").arg(QDir::toNativeSeparators(file)));
    recordingChanged();
}

// The item is ticked and the title names the file while, and only while, a recording runs.
void AppWindow::recordingChanged()
{
    const bool on = m_runFile.isRecording();
    m_record->setChecked(on);
    m_mark->setEnabled(on);
    m_record->setText(on ? tr("Stop &recording") : tr("&Record run…"));
    setWindowTitle(
        on ? tr("%1 — recording %2").arg(m_title, QFileInfo(m_runFile.fileName()).fileName())
           : m_title);
}

void AppWindow::recordTriggered(bool on)
{
    if (!on)
        return stopRecording();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name =
        QStringLiteral("quelo-run-%1.csv")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Record run"), QDir(folder).filePath(name), kRecordingFilter);
    QString error;
    if (!path.isEmpty() && !startRecording(path, error))
        tell(tr("Record run"), error);
    recordingChanged();
}

void AppWindow::openRecordingTriggered()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Open recording"), folder, kRecordingFilter);
    if (!path.isEmpty())
        openRecording(path);
}

void AppWindow::openRecording(const QString &path)
{
    m_loader->load(path);
}

bool AppWindow::isOpeningRecording() const
{
    return m_loader->isLoading();
}

void AppWindow::recordingLoaded(const QString &path, const RecordingRead &read)
{
    if (!read.error.empty()) {
        const QString error = QString::fromStdString(read.error);
        m_notes->post(error);
        return tell(tr("Open recording"), error);
    }
    TrendsWindow &window = trends();
    window.showRecording(read.recording, QFileInfo(path).fileName());
    showTrends();
    const QString name = QDir::toNativeSeparators(path);
    m_notes->post(read.rowsOutOfOrder == 0
                      ? tr("Opened recording %1").arg(name)
                      : tr("Opened recording %1; %n row(s) earlier than the row before were put "
                           "in time order",
                           nullptr, int(read.rowsOutOfOrder))
                            .arg(name));
}

void AppWindow::note(const QString &text)
{
    m_notes->post(text);
}

// The status bar is for the program's messages: a menu's hover text (empty for every item
// here) would otherwise wipe the message shown.
bool AppWindow::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

void AppWindow::mark()
{
    if (!m_runFile.isRecording())
        return;
    const std::string text = markText(++m_marks);
    m_observers.event(text);
    m_notes->post(tr("Marked: %1").arg(QString::fromStdString(text)));
}

void AppWindow::replayTriggered()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Replay recording"), folder, kRecordingFilter);
    if (!path.isEmpty())
        openReplay(path);
}

void AppWindow::openReplay(const QString &path)
{
    m_replays->open(path);
}

bool AppWindow::isOpeningReplay() const
{
    return m_replays->isOpening();
}

// A message that does not stop the window: the link and the gauges go on behind it.
void AppWindow::tell(const QString &title, const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

} // namespace quelo
