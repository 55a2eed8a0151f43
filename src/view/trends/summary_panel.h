// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "summary_report.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QTableWidget;

namespace quelo {

// The figures of the run the chart shows, over the chart's visible range: one row per figure,
// or, while a second run is compared, the two runs side by side and the difference. Copy puts
// them on the clipboard as text, one line per figure. While comparing, two lists choose where
// each run is aligned: its start or one of its marks.
class SummaryPanel final : public QWidget
{
    Q_OBJECT

public:
    explicit SummaryPanel(QWidget *parent = nullptr);

    void showRun(const SummaryReport &run);
    void showComparison(const SummaryReport &a, const SummaryReport &b);
    // The marks each run can be aligned at (the start is always offered first).
    void setAnchors(const QStringList &marksA, const QStringList &marksB);

    // What Copy puts on the clipboard.
    QString text() const { return m_text; }
    QTableWidget *table() const { return m_table; }
    void copy() const;

signals:
    // The user chose where to align: empty for a run's start, else a mark's name.
    void anchorsChosen(const QString &markA, const QString &markB);

private:
    void fill(const std::vector<QStringList> &rows, const QStringList &headers);
    void anchorChanged();

    QLabel *m_runs = nullptr;
    QTableWidget *m_table = nullptr;
    QWidget *m_alignRow = nullptr;
    QComboBox *m_anchorA = nullptr;
    QComboBox *m_anchorB = nullptr;
    QString m_text;
};

} // namespace quelo
