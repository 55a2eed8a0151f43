// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "live_trend.h"

#include <QCoreApplication>
#include <QList>
#include <QPointF>
#include <QtCore/qnamespace.h>

#include <vector>

namespace quelo {

// How the trends chart shows each quantity. Texts are translated in the TrendsWindow context.
struct TrendLook
{
    const char *name;
    const char *axisTitle;
    double scaleMax; // the gauge's scale: the axis shows at least this much
    Qt::Alignment side;
    double minStep;     // the finest tick step: rpm in hundreds, the others in tenths
    const char *format; // the cursor's reading, in the gauge's unit
};

// Engine speed, advance, bus voltage, in the order of Trend.
inline const TrendLook kLooks[kTrendCount] = {
    {QT_TRANSLATE_NOOP("TrendsWindow", "Engine speed"),
     QT_TRANSLATE_NOOP("TrendsWindow", "Engine speed (rpm)"), 3500, Qt::AlignLeft, 100,
     QT_TRANSLATE_NOOP("TrendsWindow", "%1 rpm")},
    {QT_TRANSLATE_NOOP("TrendsWindow", "Advance"),
     QT_TRANSLATE_NOOP("TrendsWindow", "Advance (degrees)"), 50, Qt::AlignRight, 0.1,
     QT_TRANSLATE_NOOP("TrendsWindow", "%1° advance")},
    {QT_TRANSLATE_NOOP("TrendsWindow", "Bus voltage"),
     QT_TRANSLATE_NOOP("TrendsWindow", "Bus voltage (V)"), 18, Qt::AlignRight, 0.1,
     QT_TRANSLATE_NOOP("TrendsWindow", "%1 V")},
};

// One of the texts above in the user's language.
inline QString lookText(const char *text)
{
    return QCoreApplication::translate("TrendsWindow", text);
}

inline QList<QPointF> toPoints(const std::vector<TrendPoint> &points)
{
    QList<QPointF> list;
    list.reserve(qsizetype(points.size()));
    for (const TrendPoint &p : points)
        list.append(QPointF(p.t, p.v));
    return list;
}

} // namespace quelo
