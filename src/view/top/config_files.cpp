// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_files.h"

#include "aircraft.h"
#include "change_history.h"
#include "config_compare_dialog.h"
#include "config_file.h"
#include "config_preview_dialog.h"
#include "config_transfer.h"
#include "history_store.h"
#include "history_window.h"
#include "model_texts.h"
#include "status_notes.h"
#include "window_model.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace quelo {

namespace {

// Asked for when a dialog opens: the translation is installed after static initialisation.
QString fileFilter()
{
    return QObject::tr("Quelo configuration (*.json);;All files (*)");
}

} // namespace

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

ConfigFiles::ConfigFiles(WindowModel &model, ChangeHistory &changes, StatusNotes &notes,
                         QWidget &window)
    : QObject(&window), m_model(model), m_changes(changes), m_notes(notes), m_window(window)
{
}

void ConfigFiles::save()
{
    std::optional<ConfigValues> config = reportedConfig(m_model);
    if (!config || !m_model.isConnected())
        return;
    config->aircraft = m_aircraft.toStdString();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name =
        defaultConfigFileName(QString::fromStdString(config->firmware), QDate::currentDate());
    const QString path = QFileDialog::getSaveFileName(&m_window, tr("Save configuration"),
                                                      QDir(folder).filePath(name), fileFilter());
    if (path.isEmpty())
        return;
    QString error;
    if (!writeConfig(path, *config, QDateTime::currentDateTime(), error)) {
        m_notes.post(tr("The configuration was not saved: %1").arg(error));
        QMessageBox::warning(&m_window, tr("Save configuration"),
                             tr("The configuration was not saved.\n%1").arg(error));
        return;
    }
    m_notes.post(tr("Configuration saved to %1").arg(QDir::toNativeSeparators(path)));
}

// While the module is not connected or has not reported everything, there is nothing to
// compare a file with and nowhere to put it: says so and returns true.
bool ConfigFiles::explainLoadNotReady()
{
    QString why;
    if (!m_model.isConnected())
        why = tr("The module is not connected.");
    else if (!reportedConfig(m_model))
        why = tr("The module has not yet reported: %1.").arg(missingText(m_model));
    else
        return false;
    QMessageBox::information(&m_window, tr("Load configuration"),
                             why + QLatin1Char('\n') +
                                 tr("A configuration can be loaded once the module is connected "
                                    "and has reported all %1 parameters.")
                                     .arg(modelText(countInWords(kParameterCount))));
    return true;
}

void ConfigFiles::load()
{
    if (explainLoadNotReady())
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path =
        QFileDialog::getOpenFileName(&m_window, tr("Load configuration"), folder, fileFilter());
    if (!path.isEmpty())
        loadFile(path);
}

void ConfigFiles::loadFile(const QString &path)
{
    loadConfig(path, tr("Load %1").arg(QFileInfo(path).fileName()), SnapshotEvent::Imported);
}

void ConfigFiles::restoreSnapshot(const Snapshot &snapshot)
{
    const HistoryStore *store = m_changes.store();
    if (!store)
        return;
    loadConfig(
        store->filePath(snapshot),
        tr("Restore %1 (%2)")
            .arg(HistoryWindow::timeText(snapshot), QString::fromLatin1(eventName(snapshot.event))),
        SnapshotEvent::Restored);
}

void ConfigFiles::compareWithModule(const Snapshot &snapshot)
{
    if (explainLoadNotReady())
        return;
    auto *dialog = new ConfigCompareDialog(
        tr("Compare with the module"), {tr("Module now"), *reportedConfig(m_model)},
        {HistoryWindow::timeText(snapshot) + QLatin1Char(' ') + eventName(snapshot.event),
         snapshot.config},
        m_changes.historyWindow());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

// One undo step, and a restore point once the module has confirmed the values.
void ConfigFiles::loadConfig(const QString &path, const QString &label, SnapshotEvent event)
{
    ConfigValues file;
    QString error;
    if (!readConfig(path, file, error)) {
        m_notes.post(tr("%1 was not loaded; nothing was changed: %2")
                         .arg(QDir::toNativeSeparators(path), error));
        QMessageBox::warning(&m_window, tr("Load configuration"),
                             tr("%1 was not loaded; nothing was changed.\n%2")
                                 .arg(QDir::toNativeSeparators(path), error));
        return;
    }
    if (explainLoadNotReady())
        return;
    ConfigPreviewDialog preview(*reportedConfig(m_model), file, QFileInfo(path).fileName(),
                                &m_window);
    preview.warnOtherAircraft(
        modelText(otherAircraftWarning(file.aircraft, m_aircraft.toStdString())));
    if (preview.exec() != QDialog::Accepted)
        return m_notes.post(tr("Loading %1 was cancelled; nothing was changed")
                                .arg(QDir::toNativeSeparators(path)));
    // The link may have changed while the preview was open: compare with the module as it is.
    if (explainLoadNotReady())
        return;
    const ConfigValues before = *reportedConfig(m_model);
    const int moved = moveSlidersTo(m_model, before, file);
    m_changes.fileLoaded(label, before, file, event);
    const QString name = QFileInfo(path).fileName();
    if (moved == 0)
        m_notes.post(tr("Loaded %1: the module already holds its values").arg(name));
    else
        m_notes.post(tr("Loaded %1: %2 being written; press STORE CONFIGURATION to store them")
                         .arg(name, moved == 1 ? tr("1 value") : tr("%1 values").arg(moved)));
}

} // namespace quelo
