// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "aircraft.h"

#include <QWidget>

class QPushButton;
class QTableWidget;

namespace quelo {

class HistoryStore;

// File > Fleet: every aircraft of the history folder, one row each: name, last connected,
// firmware, the newest configuration's seven values as the value boxes show them (a value
// that differs from what most of the fleet holds is bold on a tinted cell) and the number of
// restore points. The folder is read again each time the window is shown, so it shows what
// is on disk now. With two rows selected Compare shows them side by side; Open history shows
// one aircraft's restore points.
class FleetWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kDiffersRole = Qt::UserRole + 1;
    static constexpr int kFirstValueColumn = 3;

    explicit FleetWindow(HistoryStore &store, QWidget *parent = nullptr);

    QTableWidget &table() { return *m_table; }
    const std::vector<FleetAircraft> &fleet() const { return m_fleet; }
    std::vector<FleetAircraft> selected() const;
    void compareSelected();

signals:
    void openHistory(const QString &name);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void refill();
    void selectionChanged();

    HistoryStore &m_store;
    std::vector<FleetAircraft> m_fleet;
    QTableWidget *m_table = nullptr;
    QPushButton *m_compare = nullptr;
    QPushButton *m_open = nullptr;
};

} // namespace quelo
