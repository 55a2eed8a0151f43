// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history.h"

#include <QObject>
#include <QString>

class QWidget;

namespace quelo {

class ChangeHistory;
class StatusNotes;
class WindowModel;

// What the module has not yet reported, as the window labels it.
QString missingText(const WindowModel &model);

// Configuration files and the history's restore points, as File > Save and Load configuration
// and History > Restore and Compare with the module do them. A loaded file or a restore point
// is previewed and, when confirmed, moves the sliders as the user would: one undo step, and a
// restore point once the module has confirmed the values. Storing is left to the user. Results
// go to the status bar; a file that cannot be read or written is also said in a box.
class ConfigFiles : public QObject
{
    Q_OBJECT

public:
    // `window` is the parent of the file dialogs and message boxes.
    ConfigFiles(WindowModel &model, ChangeHistory &changes, StatusNotes &notes, QWidget &window);

    // Asks for a file and saves the module's reported configuration into it.
    void save();
    // Asks for a file and loads it, once the module can take it.
    void load();
    // Loads `path` as load() does once its file dialog has picked it: a bad file is reported
    // and changes nothing.
    void loadFile(const QString &path);
    // The restore point's file goes exactly the way of a loaded file.
    void restoreSnapshot(const Snapshot &snapshot);
    // The module's values now beside the restore point's.
    void compareWithModule(const Snapshot &snapshot);
    // The aircraft chosen: a file or restore point saved for another one is warned of.
    void setAircraft(const QString &name) { m_aircraft = name; }

private:
    bool explainLoadNotReady();
    void loadConfig(const QString &path, const QString &label, SnapshotEvent event);

    WindowModel &m_model;
    ChangeHistory &m_changes;
    StatusNotes &m_notes;
    QWidget &m_window;
    QString m_aircraft;
};

} // namespace quelo
