// SPDX-License-Identifier: GPL-3.0-or-later
#include "history_window.h"

#include "aircraft.h"
#include "config_compare_dialog.h"
#include "history_store.h"
#include "value_cells.h"

#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace quelo {

namespace {

void markChanged(QTableWidgetItem &cell, const QString &before)
{
    markValue(cell, QObject::tr("was %1").arg(before));
    cell.setData(HistoryWindow::kChangedRole, true);
}

// A parameter's name on two lines, broken at the blank nearest its middle, so that the ten
// columns fit the window.
QString columnTitle(const char *name)
{
    QString title = QString::fromLatin1(name);
    int best = -1;
    for (int i = 0; i < title.size(); ++i)
        if (title[i] == QLatin1Char(' ') &&
            (best < 0 || std::abs(i - title.size() / 2) < std::abs(best - title.size() / 2)))
            best = i;
    if (best > 0 && title.size() > 10)
        title[best] = QLatin1Char('\n');
    return title;
}

QPushButton *button(QWidget *parent, const QString &text, const char *name)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

HistoryWindow::HistoryWindow(HistoryStore &store, QWidget *parent) : QWidget(parent), m_store(store)
{
    setWindowTitle(tr("History"));
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("historyTable"));
    QStringList headers{tr("Time"), tr("Event"), tr("Firmware")};
    for (const Parameter &p : kParameters)
        headers << columnTitle(p.name);
    m_table->setColumnCount(static_cast<int>(headers.size()));
    m_table->setHorizontalHeaderLabels(headers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_state = new QLabel(this);
    m_state->setObjectName(QStringLiteral("historyState"));
    m_state->setWordWrap(true);
    m_compareModule = button(this, tr("Compare with the module"), "compareWithModule");
    m_restore = button(this, tr("Restore…"), "restore");
    m_compare = button(this, tr("Compare"), "compareTwo");
    QPushButton *folder = button(this, tr("Show folder"), "showFolder");
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {m_compareModule, m_restore, m_compare})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(folder);
    m_filter = new QComboBox(this);
    m_filter->setObjectName(QStringLiteral("aircraftFilter"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_filter);
    layout->addWidget(m_table);
    layout->addWidget(m_state);
    layout->addLayout(buttons);
    resize(860, 400);

    connect(m_table, &QTableWidget::itemSelectionChanged, this, &HistoryWindow::selectionChanged);
    connect(m_compareModule, &QPushButton::clicked, this,
            [this] { emit compareWithModuleRequested(selected().front()); });
    connect(m_restore, &QPushButton::clicked, this,
            [this] { emit restoreRequested(selected().front()); });
    connect(m_compare, &QPushButton::clicked, this, &HistoryWindow::compareSelected);
    connect(folder, &QPushButton::clicked, this, &HistoryWindow::showFolder);
    connect(m_filter, &QComboBox::activated, this, [this](int index) {
        m_all = index == 0;
        m_shownAircraft = m_all ? QString() : m_filter->itemData(index).toString();
        refill();
    });
    connect(&m_store, &HistoryStore::entriesChanged, this, &HistoryWindow::refill);
    connect(&m_store, &HistoryStore::failed, this, &HistoryWindow::refill);
    refill();
}

QString HistoryWindow::timeText(const Snapshot &snapshot)
{
    return QDateTime::fromMSecsSinceEpoch(snapshot.utcMs)
        .toLocalTime()
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

// A restore point added while rows are selected shifts the rows: the selection follows the
// restore points, not the row numbers.
void HistoryWindow::refill()
{
    std::vector<std::string> chosen;
    for (const Snapshot &s : selected())
        chosen.push_back(s.fileName);
    fillFilter();
    m_shown =
        m_all ? m_store.entries() : entriesOf(m_store.entries(), m_shownAircraft.toStdString());
    const std::vector<Snapshot> &entries = m_shown;
    const QSignalBlocker blocker(m_table);
    m_table->clearSelection();
    m_table->setRowCount(static_cast<int>(entries.size()));
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (std::size_t row = 0; row < entries.size(); ++row) {
        fillRow(static_cast<int>(row), entries[row],
                row + 1 < entries.size() ? &entries[row + 1] : nullptr, now);
        if (std::find(chosen.begin(), chosen.end(), entries[row].fileName) != chosen.end())
            m_table->selectionModel()->select(m_table->model()->index(static_cast<int>(row), 0),
                                              QItemSelectionModel::Select |
                                                  QItemSelectionModel::Rows);
    }
    sayState();
    selectionChanged();
}

void HistoryWindow::setChosenAircraft(const QString &name)
{
    showAircraft(name);
}

void HistoryWindow::showAircraft(const QString &name)
{
    m_all = name.isEmpty();
    m_shownAircraft = name;
    refill();
}

// "All aircraft", then every name the folder holds (the one shown among them).
void HistoryWindow::fillFilter()
{
    QStringList names;
    for (const FleetAircraft &aircraft : fleetOf(m_store.entries()))
        names << QString::fromStdString(aircraft.name);
    if (!m_all && std::none_of(names.begin(), names.end(), [this](const QString &n) {
            return sameAircraft(n.toStdString(), m_shownAircraft.toStdString());
        }))
        names << m_shownAircraft;
    const QSignalBlocker blocker(m_filter);
    m_filter->clear();
    m_filter->addItem(tr("All aircraft"));
    for (const QString &name : names) {
        m_filter->addItem(tr("Aircraft %1").arg(name), name);
        if (!m_all && sameAircraft(name.toStdString(), m_shownAircraft.toStdString()))
            m_filter->setCurrentIndex(m_filter->count() - 1);
    }
}

void HistoryWindow::sayState()
{
    const QString folder = QDir::toNativeSeparators(m_store.folder());
    QString text = tr("%n restore point(s) in %1; marked values differ from the one before.",
                      nullptr, static_cast<int>(m_shown.size()))
                       .arg(folder);
    if (m_store.isOff())
        text = tr("History is off for this session (%1 cannot be written).").arg(folder);
    else if (!m_store.isKeeping())
        text += QLatin1Char(' ') + tr("No restore point is kept in this session (File > Keep "
                                      "restore points).");
    m_state->setText(text);
}

void HistoryWindow::fillRow(int row, const Snapshot &entry, const Snapshot *before, qint64 nowUtcMs)
{
    QTableWidgetItem *time = readOnlyCell(timeText(entry));
    if (isInTheFuture(entry, nowUtcMs)) {
        time->setText(time->text() + QLatin1Char(' ') + tr("(in the future)"));
        time->setToolTip(tr("Later than the clock now: the clock was ahead when it was written. "
                            "The list is in the order restore points were written."));
    }
    m_table->setItem(row, 0, time);
    m_table->setItem(row, 1, readOnlyCell(QString::fromLatin1(eventName(entry.event))));
    QTableWidgetItem *firmware = readOnlyCell(QString::fromStdString(entry.config.firmware));
    if (before && before->config.firmware != entry.config.firmware)
        markChanged(*firmware, QString::fromStdString(before->config.firmware));
    m_table->setItem(row, 2, firmware);
    const auto texts = shownTexts(entry.config);
    const auto changed = changedFrom(entry, before);
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        QTableWidgetItem *cell = readOnlyCell(QString::fromStdString(texts[i]));
        cell->setTextAlignment(Qt::AlignCenter);
        if (changed[i])
            markChanged(*cell,
                        QString::fromStdString(kParameters[i].text(before->config.values[i])));
        m_table->setItem(row, kFirstValueColumn + static_cast<int>(i), cell);
    }
}

std::vector<Snapshot> HistoryWindow::selected() const
{
    std::vector<int> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    std::vector<Snapshot> chosen;
    for (int row : rows)
        if (row < static_cast<int>(m_shown.size()))
            chosen.push_back(m_shown[static_cast<std::size_t>(row)]);
    return chosen;
}

void HistoryWindow::selectionChanged()
{
    const std::size_t count = selected().size();
    m_compareModule->setEnabled(count == 1);
    m_restore->setEnabled(count == 1);
    m_compare->setEnabled(count == 2);
}

void HistoryWindow::compareSelected()
{
    const std::vector<Snapshot> two = selected();
    if (two.size() != 2)
        return;
    const auto side = [](const Snapshot &s) {
        return ConfigCompareDialog::Side{timeText(s) + QLatin1Char(' ') + eventName(s.event),
                                         s.config};
    };
    auto *dialog =
        new ConfigCompareDialog(tr("Compare restore points"), side(two[1]), side(two[0]), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void HistoryWindow::showFolder()
{
    QDir().mkpath(m_store.folder());
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_store.folder()));
}

} // namespace quelo
