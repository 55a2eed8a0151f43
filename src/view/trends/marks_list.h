// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart_marks.h"

#include <QListWidget>

#include <vector>

namespace quelo {

struct ListedMark
{
    QString label;
    double t = 0; // where a click goes, UTC ms on the chart's time axis
};

// A run's marks as the list shows them: "mark 1  00:05" with the time into the run (from
// originMs, when known), "B: mark 1  00:05" with a run's letter; clicked, each goes to its time
// moved by shiftMs (where an alignment draws that run).
std::vector<ListedMark> listedMarks(const ChartMarks &marks, double originMs, const char *run,
                                    double shiftMs);

// The Marks list beside the chart: a click on a mark asks the chart to go there.
class MarksList final : public QListWidget
{
    Q_OBJECT

public:
    explicit MarksList(QWidget *parent = nullptr);

    // Filled again only when the marks changed, not on every live update.
    void setMarks(const std::vector<ListedMark> &marks);

signals:
    void jump(double utcMs);

private:
    std::vector<ListedMark> m_listed;
};

} // namespace quelo
