// SPDX-License-Identifier: GPL-3.0-or-later
#include "summary_panel.h"

#include "model_texts.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quelo {

namespace {

constexpr int kRunWidth = 360;
constexpr int kComparisonWidth = 600;

QString fromStd(const std::string &text)
{
    return QString::fromStdString(text);
}

// "A: run.csv — max_rpm_limit=3072, ..." (the configuration the run began with).
QString runLine(const QString &prefix, const SummaryReport &r)
{
    QStringList parameters;
    for (const auto &kv : r.start)
        parameters << fromStd(printableText(kv.first) + "=" + printableText(kv.second));
    const QString name = prefix + fromStd(printableText(r.name));
    return parameters.isEmpty() ? name : name + QStringLiteral(" — ") + parameters.join(", ");
}

void setAnchorList(QComboBox *box, const QStringList &marks)
{
    const QString chosen = box->currentData().toString();
    const QSignalBlocker quiet(box);
    box->clear();
    box->addItem(SummaryPanel::tr("start"), QString());
    for (const QString &mark : marks)
        box->addItem(mark, mark);
    box->setCurrentIndex(std::max(0, box->findData(chosen)));
}

} // namespace

SummaryPanel::SummaryPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("summaryPanel"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_runs = new QLabel(this);
    m_runs->setWordWrap(true);
    m_runs->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("summaryTable"));
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_alignRow = new QWidget(this);
    auto *align = new QHBoxLayout(m_alignRow);
    align->setContentsMargins(0, 0, 0, 0);
    m_anchorA = new QComboBox(m_alignRow);
    m_anchorB = new QComboBox(m_alignRow);
    m_anchorA->setObjectName(QStringLiteral("anchorA"));
    m_anchorB->setObjectName(QStringLiteral("anchorB"));
    align->addWidget(new QLabel(tr("Align A at"), m_alignRow));
    align->addWidget(m_anchorA, 1);
    align->addWidget(new QLabel(tr("B at"), m_alignRow));
    align->addWidget(m_anchorB, 1);
    m_alignRow->hide();
    auto *copyButton = new QPushButton(tr("Copy"), this);
    copyButton->setObjectName(QStringLiteral("summaryCopy"));
    copyButton->setToolTip(tr("Copy the figures as text, one line each"));
    connect(copyButton, &QPushButton::clicked, this, &SummaryPanel::copy);
    for (QComboBox *box : {m_anchorA, m_anchorB})
        connect(box, &QComboBox::activated, this, &SummaryPanel::anchorChanged);
    layout->addWidget(m_runs);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_alignRow);
    layout->addWidget(copyButton);
}

void SummaryPanel::showRun(const SummaryReport &run)
{
    setMinimumWidth(kRunWidth);
    m_alignRow->hide();
    m_runs->setText(runLine({}, run) + QStringLiteral("\n") + modelText(run.spanText));
    std::vector<QStringList> rows;
    for (const SummaryFigure &f : run.figures)
        rows.push_back({modelText(f.label), modelText(shownValue(f))});
    fill(rows, {tr("Figure"), tr("Value")});
    m_text = fromStd(summaryText(run));
}

void SummaryPanel::showComparison(const SummaryReport &a, const SummaryReport &b)
{
    setMinimumWidth(kComparisonWidth); // four columns
    m_alignRow->show();
    m_runs->setText(runLine(QStringLiteral("A: "), a) + QStringLiteral("\n") +
                    runLine(QStringLiteral("B: "), b) + QStringLiteral("\n") +
                    modelText(a.spanText));
    std::vector<QStringList> rows;
    for (std::size_t i = 0; i < a.figures.size() && i < b.figures.size(); ++i) {
        SummaryFigure d = a.figures[i];
        d.value = difference(a.figures[i], b.figures[i]);
        d.absent = "n/a";
        rows.push_back({modelText(d.label), modelText(shownValue(a.figures[i])),
                        modelText(shownValue(b.figures[i])), modelText(shownValue(d))});
    }
    fill(rows, {tr("Figure"), tr("A"), tr("B"), tr("B − A")});
    m_text = fromStd(comparisonText(a, b));
}

void SummaryPanel::setAnchors(const QStringList &marksA, const QStringList &marksB)
{
    setAnchorList(m_anchorA, marksA);
    setAnchorList(m_anchorB, marksB);
}

// Cells are set only where their text changed: the panel follows every zoom and live update.
void SummaryPanel::fill(const std::vector<QStringList> &rows, const QStringList &headers)
{
    if (m_table->columnCount() != headers.size()) {
        m_table->setColumnCount(int(headers.size()));
        m_table->setHorizontalHeaderLabels(headers);
    }
    m_table->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        for (int c = 0; c < int(headers.size()); ++c) {
            const QString &text = rows[std::size_t(r)][c];
            QTableWidgetItem *item = m_table->item(r, c);
            if (!item)
                m_table->setItem(r, c, new QTableWidgetItem(text));
            else if (item->text() != text)
                item->setText(text);
        }
    }
    m_table->resizeColumnsToContents();
}

void SummaryPanel::copy() const
{
    QApplication::clipboard()->setText(m_text);
}

void SummaryPanel::anchorChanged()
{
    emit anchorsChosen(m_anchorA->currentData().toString(), m_anchorB->currentData().toString());
}

} // namespace quelo
