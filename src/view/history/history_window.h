// SPDX-License-Identifier: GPL-3.0-or-later
// view/history/: the configuration history: restore points, undo and redo, its window.
#pragma once

#include "history.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace quelo {

class HistoryStore;

// File > History: the restore points (of the aircraft picked above the list, or all) newest
// written first, one row each with its time (to the
// millisecond; "(in the future)" when later than the clock now), event, firmware and the seven
// values as the value boxes show them; a value that differs from the restore point written
// before it is marked (bold on a tinted cell, its old value in the tooltip).
// With one row selected: compare it with the module, or restore it; with two: compare them
// side by side. Show folder opens the folder in the file manager. The window asks the store
// only for what it has already read: opening it never waits for the disk.
class HistoryWindow : public QWidget
{
    Q_OBJECT

public:
    // The role under which a value cell says whether it differs from the row below it.
    static constexpr int kChangedRole = Qt::UserRole + 1;
    // The table's columns before the seven values.
    static constexpr int kFirstValueColumn = 3;

    explicit HistoryWindow(HistoryStore &store, QWidget *parent = nullptr);

    QTableWidget &table() { return *m_table; }
    // The selected restore points, newest first.
    std::vector<Snapshot> selected() const;
    // Shows the two selected restore points side by side, older on the left.
    void compareSelected();

    // The aircraft chosen in the window: its restore points are shown unless another aircraft
    // or all are picked. Empty: none chosen, all are shown.
    void setChosenAircraft(const QString &name);
    // Shows one aircraft's restore points (the fleet's Open history).
    void showAircraft(const QString &name);
    QComboBox &aircraftFilter() { return *m_filter; }

    // "2026-12-20 17:24:25.123" in local time, for the title of a comparison.
    static QString timeText(const Snapshot &snapshot);

signals:
    void compareWithModuleRequested(const Snapshot &snapshot);
    void restoreRequested(const Snapshot &snapshot);

private:
    void refill();
    void selectionChanged();
    void showFolder();
    void fillRow(int row, const Snapshot &entry, const Snapshot *before, qint64 nowUtcMs);
    void sayState();
    void fillFilter();

    HistoryStore &m_store;
    std::vector<Snapshot> m_shown; // the rows, newest first
    QTableWidget *m_table = nullptr;
    QComboBox *m_filter = nullptr;
    QString m_shownAircraft; // whose restore points are shown; empty with m_all
    bool m_all = true;
    QLabel *m_state = nullptr;
    QPushButton *m_compareModule = nullptr;
    QPushButton *m_restore = nullptr;
    QPushButton *m_compare = nullptr;
};

} // namespace quelo
