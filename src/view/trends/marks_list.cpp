// SPDX-License-Identifier: GPL-3.0-or-later
#include "marks_list.h"

#include "chart_ticks.h"

namespace quelo {

std::vector<ListedMark> listedMarks(const ChartMarks &marks, double originMs, const char *run,
                                    double shiftMs)
{
    std::vector<ListedMark> listed;
    for (const ChartEvent &mark : marks.marks()) {
        const QString when = originMs > 0
                                 ? QString::fromStdString(elapsedText((mark.t - originMs) / 1000))
                                 : QString();
        const QString label = QString::fromStdString(mark.label);
        listed.push_back({run ? MarksList::tr("%1: %2  %3").arg(QLatin1String(run), label, when)
                              : MarksList::tr("%1  %2").arg(label, when),
                          mark.t + shiftMs});
    }
    return listed;
}

MarksList::MarksList(QWidget *parent) : QListWidget(parent)
{
    setObjectName(QStringLiteral("marksList"));
    setToolTip(tr("Marks set while recording (M or Ctrl+M); click one to go there"));
    setMaximumWidth(400);
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { emit jump(item->data(Qt::UserRole).toDouble()); });
}

void MarksList::setMarks(const std::vector<ListedMark> &marks)
{
    const bool same = std::equal(
        marks.begin(), marks.end(), m_listed.begin(), m_listed.end(),
        [](const ListedMark &a, const ListedMark &b) { return a.t == b.t && a.label == b.label; });
    if (same)
        return;
    m_listed = marks;
    clear();
    for (const ListedMark &mark : marks) {
        auto *item = new QListWidgetItem(mark.label, this);
        item->setData(Qt::UserRole, mark.t);
    }
}

} // namespace quelo
