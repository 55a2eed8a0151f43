// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_menus.h"

#include "change_history.h"
#include "config_files.h"
#include "config_transfer.h"
#include "model_texts.h"
#include "mscomm.h"
#include "window_model.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

namespace quelo {

namespace {

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

AppMenus::AppMenus(QMenuBar &bar, WindowModel &model, ChangeHistory &changes, QWidget &window)
    : QObject(&window), m_model(model), m_window(window)
{
    createFileMenu(bar, changes);
    createEditMenu(bar, changes);
    createViewMenu(bar);
    createHelpMenu(bar);
}

void AppMenus::createFileMenu(QMenuBar &bar, ChangeHistory &changes)
{
    QMenu *file = bar.addMenu(tr("&File"));
    file->setToolTipsVisible(true); // Save's tooltip says what it still waits for
    m_save = addMenuAction(file, "actionSave", tr("&Save configuration…"),
                           shortcutFor(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)));
    connect(m_save, &QAction::triggered, this, &AppMenus::saveRequested);
    QAction *load =
        addMenuAction(file, "actionLoad", tr("&Load configuration…"),
                      shortcutFor(QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)));
    connect(load, &QAction::triggered, this, &AppMenus::loadRequested);
    file->addAction(changes.historyAction());
    file->addAction(changes.keepAction());
    file->addSeparator();
    m_record = addMenuAction(file, "actionRecord", tr("&Record run…"),
                             {QKeySequence(Qt::CTRL | Qt::Key_R)});
    m_record->setCheckable(true);
    connect(m_record, &QAction::triggered, this, &AppMenus::recordToggled);
    m_mark = addMenuAction(file, "actionMark", tr("&Mark"),
                           {QKeySequence(Qt::CTRL | Qt::Key_M), QKeySequence(Qt::Key_M)});
    m_mark->setToolTip(tr("Mark this moment in the recording"));
    m_mark->setEnabled(false);
    connect(m_mark, &QAction::triggered, this, &AppMenus::markRequested);
    QAction *open = addMenuAction(file, "actionOpenRecording", tr("&Open recording…"), {});
    connect(open, &QAction::triggered, this, &AppMenus::openRecordingRequested);
    QAction *replay = addMenuAction(file, "actionReplay", tr("Repla&y recording…"), {});
    connect(replay, &QAction::triggered, this, &AppMenus::replayRequested);
    file->addSeparator();
    QAction *print =
        addMenuAction(file, "actionPrint", tr("&Print"),
                      shortcutFor(QKeySequence::Print, QKeySequence(Qt::CTRL | Qt::Key_P)));
    connect(print, &QAction::triggered, this, [this] { m_model.Command2_Click(); });
    file->addSeparator();
    // After a lost link the search runs once, as RESET's does, unless this is ticked: then it
    // goes round ports 1-3 until a module answers, probing whatever device appears there.
    QAction *reconnect = addMenuAction(file, "actionReconnect", tr("Reconnect &automatically"), {});
    reconnect->setCheckable(true);
    reconnect->setChecked(m_model.reconnect());
    connect(reconnect, &QAction::toggled, this, [this](bool on) { m_model.setReconnect(on); });
    file->addSeparator();
    QAction *quit =
        addMenuAction(file, "actionQuit", tr("&Quit"),
                      shortcutFor(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, this, &AppMenus::quitRequested);
}

void AppMenus::createEditMenu(QMenuBar &bar, ChangeHistory &changes)
{
    QMenu *edit = bar.addMenu(tr("&Edit"));
    edit->addAction(changes.undoAction());
    edit->addAction(changes.redoAction());
}

void AppMenus::createViewMenu(QMenuBar &bar)
{
    QMenu *view = bar.addMenu(tr("&View"));
    QAction *trendsAction =
        addMenuAction(view, "actionTrends", tr("&Trends"), {QKeySequence(Qt::CTRL | Qt::Key_T)});
    connect(trendsAction, &QAction::triggered, this, &AppMenus::trendsRequested);
}

void AppMenus::createHelpMenu(QMenuBar &bar)
{
    QMenu *help = bar.addMenu(tr("&Help"));
    QAction *info = addMenuAction(help, "actionConnectionInfo", tr("&Connection information"), {});
    connect(info, &QAction::triggered, this, [this] { m_model.Command4_Click(); });
    QAction *about = addMenuAction(help, "actionAbout", tr("&About"), {});
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, &AppMenus::showAbout);
}

void AppMenus::setRecording(bool on)
{
    m_record->setChecked(on);
    m_mark->setEnabled(on);
    m_record->setText(on ? tr("Stop &recording") : tr("&Record run…"));
}

// Runs after every model event, and most (the animation's ticks, the poll's replies) change
// none of Save's inputs: the tooltip's words are made only when they do.
void AppMenus::updateActions()
{
    // Connected with nothing missing is what reportedConfig() answers, without its texts.
    const bool connected = m_model.isConnected();
    std::vector<std::string> missing =
        connected ? missingReports(m_model) : std::vector<std::string>{};
    const bool ready = connected && missing.empty();
    SaveInputs inputs{connected, ready, std::move(missing)};
    if (m_saveInputs && *m_saveInputs == inputs)
        return;
    m_saveInputs = std::move(inputs);
    m_save->setEnabled(ready);
    if (ready)
        m_save->setToolTip(tr("Save the module's %1 parameters to a file")
                               .arg(modelText(countInWords(kParameterCount))));
    else if (!connected)
        m_save->setToolTip(tr("The module is not connected"));
    else
        m_save->setToolTip(tr("Waiting for the module to report: %1").arg(missingText(m_model)));
}

QString AppMenus::dataLinkText() const
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

void AppMenus::showAbout()
{
    QMessageBox::about(&m_window, tr("About Quelo Data Link"),
                       tr("Quelo Data Link %1\nData link for the Quelo Series 508 ignition "
                          "module.\nLicence: GPL-3.0-or-later\n\n%2")
                           .arg(QCoreApplication::applicationVersion(), dataLinkText()));
}

} // namespace quelo
