#include "app_window.h"

#include "config_file.h"
#include "config_preview_dialog.h"
#include "config_transfer.h"
#include "main_window.h"
#include "mscomm.h"
#include "window_model.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QStandardPaths>

namespace quelo {

namespace {

const QString kFileFilter = QObject::tr("Quelo configuration (*.json);;All files (*)");

// What the module has not yet reported, as the window labels it.
QString missingText(const WindowState &w)
{
    QStringList names;
    for (const std::string &key : missingReports(w)) {
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
    setWindowTitle(m_client->windowTitle());
    setCentralWidget(m_client);
    // The client area has a fixed size; the window is that plus the menu bar, never more.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    createFileMenu();
    createHelpMenu();
    connect(m_client, &MainWindow::modelChanged, this, &AppWindow::updateActions);
    updateActions();
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
    file->addSeparator();
    QAction *print =
        addMenuAction(file, "actionPrint", tr("&Print"),
                      shortcutFor(QKeySequence::Print, QKeySequence(Qt::CTRL | Qt::Key_P)));
    connect(print, &QAction::triggered, this, [this] { m_model.Command2_Click(); });
    file->addSeparator();
    QAction *quit =
        addMenuAction(file, "actionQuit", tr("&Quit"),
                      shortcutFor(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, this, &QWidget::close);
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

// Save is offered once the module has reported everything since it connected.
void AppWindow::updateActions()
{
    const WindowState &w = m_model.state();
    const bool connected = moduleConnected(w);
    const bool ready = connected && reportedConfig(w).has_value();
    m_save->setEnabled(ready);
    if (ready)
        m_save->setToolTip(tr("Save the module's seven parameters to a file"));
    else if (!connected)
        m_save->setToolTip(tr("The module is not connected"));
    else
        m_save->setToolTip(tr("Waiting for the module to report: %1").arg(missingText(w)));
}

void AppWindow::saveConfiguration()
{
    const std::optional<ConfigValues> config = reportedConfig(m_model.state());
    if (!config || !moduleConnected(m_model.state()))
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name =
        defaultConfigFileName(QString::fromStdString(config->firmware), QDate::currentDate());
    const QString path = QFileDialog::getSaveFileName(this, tr("Save configuration"),
                                                      QDir(folder).filePath(name), kFileFilter);
    if (path.isEmpty())
        return;
    QString error;
    if (!writeConfig(path, *config, QDateTime::currentDateTime(), error))
        QMessageBox::warning(this, tr("Save configuration"),
                             tr("The configuration was not saved.\n%1").arg(error));
}

// While the module is not connected or has not reported everything, there is nothing to
// compare a file with and nowhere to put it: says so and returns true.
bool AppWindow::explainLoadNotReady()
{
    const WindowState &w = m_model.state();
    QString why;
    if (!moduleConnected(w))
        why = tr("The module is not connected.");
    else if (!reportedConfig(w))
        why = tr("The module has not yet reported: %1.").arg(missingText(w));
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
    ConfigValues file;
    QString error;
    if (!readConfig(path, file, error)) {
        QMessageBox::warning(this, tr("Load configuration"),
                             tr("%1 was not loaded; nothing was changed.\n%2")
                                 .arg(QDir::toNativeSeparators(path), error));
        return;
    }
    if (explainLoadNotReady())
        return;
    ConfigPreviewDialog preview(*reportedConfig(m_model.state()), file, this);
    if (preview.exec() != QDialog::Accepted)
        return;
    // The link may have changed while the preview was open: compare with the module as it is.
    if (explainLoadNotReady())
        return;
    moveSlidersTo(m_model, *reportedConfig(m_model.state()), file);
}

QString AppWindow::dataLinkText() const
{
    const WindowState &w = m_model.state();
    QString ports;
    for (int i = 0; i < 3; ++i) {
        const QString device = m_devices.value(i);
        ports += tr("Port %1: %2\n").arg(i + 1).arg(device.isEmpty() ? tr("(none)") : device);
    }
    const QString link = moduleConnected(w)
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

// Closing the window is the window's unload: the port is closed as the model does it.
void AppWindow::closeEvent(QCloseEvent *event)
{
    m_model.Form_Unload();
    event->accept();
}

} // namespace quelo
