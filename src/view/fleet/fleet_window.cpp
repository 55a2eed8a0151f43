// SPDX-License-Identifier: GPL-3.0-or-later
#include "fleet_window.h"

#include "config_compare_dialog.h"
#include "history_store.h"
#include "history_window.h"
#include "value_cells.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace quelo {

namespace {

QString localTime(std::int64_t utcMs)
{
    return QDateTime::fromMSecsSinceEpoch(utcMs).toLocalTime().toString(
        QStringLiteral("yyyy-MM-dd HH:mm"));
}

} // namespace

FleetWindow::FleetWindow(HistoryStore &store, QWidget *parent) : QWidget(parent), m_store(store)
{
    setWindowTitle(tr("Fleet"));
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("fleetTable"));
    QStringList headers{tr("Aircraft"), tr("Last connected"), tr("Firmware")};
    for (const Parameter &p : kParameters)
        headers << QString::fromLatin1(p.name);
    headers << tr("Restore points");
    m_table->setColumnCount(static_cast<int>(headers.size()));
    m_table->setHorizontalHeaderLabels(headers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto *note = new QLabel(tr("Marked values differ from what most of the fleet holds."), this);
    m_compare = new QPushButton(tr("Compare"), this);
    m_compare->setObjectName(QStringLiteral("compareAircraft"));
    m_open = new QPushButton(tr("Open history"), this);
    m_open->setObjectName(QStringLiteral("openHistory"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_compare);
    buttons->addWidget(m_open);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(note);
    layout->addLayout(buttons);
    resize(1240, 360); // every value's column and the restore points in view
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &FleetWindow::selectionChanged);
    connect(m_compare, &QPushButton::clicked, this, &FleetWindow::compareSelected);
    connect(m_open, &QPushButton::clicked, this,
            [this] { emit openHistory(QString::fromStdString(selected().front().name)); });
    connect(&m_store, &HistoryStore::entriesChanged, this, &FleetWindow::refill);
    refill();
}

void FleetWindow::showEvent(QShowEvent *event)
{
    m_store.reload(); // what is on disk now, another program's restore points included
    QWidget::showEvent(event);
}

void FleetWindow::refill()
{
    m_fleet = fleetOf(m_store.entries());
    m_table->clearSelection();
    m_table->setRowCount(static_cast<int>(m_fleet.size()));
    for (std::size_t row = 0; row < m_fleet.size(); ++row) {
        const FleetAircraft &a = m_fleet[row];
        const int r = static_cast<int>(row);
        m_table->setItem(r, 0, readOnlyCell(QString::fromStdString(a.name)));
        m_table->setItem(
            r, 1,
            readOnlyCell(a.lastConnectedUtcMs ? localTime(*a.lastConnectedUtcMs) : tr("(never)")));
        m_table->setItem(r, 2, readOnlyCell(QString::fromStdString(a.newest.config.firmware)));
        const auto texts = shownTexts(a.newest.config);
        for (std::size_t i = 0; i < kParameterCount; ++i) {
            QTableWidgetItem *value = readOnlyCell(QString::fromStdString(texts[i]));
            value->setTextAlignment(Qt::AlignCenter);
            value->setData(kDiffersRole, a.differs[i]);
            if (a.differs[i])
                markValue(*value, tr("Most of the fleet holds another value"));
            m_table->setItem(r, kFirstValueColumn + static_cast<int>(i), value);
        }
        m_table->setItem(r, kFirstValueColumn + static_cast<int>(kParameterCount),
                         readOnlyCell(QString::number(a.restorePoints)));
    }
    selectionChanged();
}

std::vector<FleetAircraft> FleetWindow::selected() const
{
    std::vector<FleetAircraft> chosen;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        if (index.row() < static_cast<int>(m_fleet.size()))
            chosen.push_back(m_fleet[static_cast<std::size_t>(index.row())]);
    return chosen;
}

void FleetWindow::selectionChanged()
{
    const std::size_t count = selected().size();
    m_compare->setEnabled(count == 2);
    m_open->setEnabled(count == 1);
}

void FleetWindow::compareSelected()
{
    const std::vector<FleetAircraft> two = selected();
    if (two.size() != 2)
        return;
    const auto side = [](const FleetAircraft &a) {
        return ConfigCompareDialog::Side{QString::fromStdString(a.name) + QLatin1Char(' ') +
                                             HistoryWindow::timeText(a.newest),
                                         a.newest.config};
    };
    auto *dialog =
        new ConfigCompareDialog(tr("Compare aircraft"), side(two[0]), side(two[1]), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

} // namespace quelo
