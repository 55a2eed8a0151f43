// SPDX-License-Identifier: GPL-3.0-or-later
#include "focus_mark.h"

#include <QPainter>
#include <QPen>
#include <QRect>

namespace quelo {

void drawFocusMark(QPainter &painter, const QRect &area)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    const QRectF frame = QRectF(area).adjusted(1, 1, -1, -1);
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawRect(frame);
    QPen dashes(Qt::white, 2, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    dashes.setDashPattern({2, 2});
    painter.setPen(dashes);
    painter.drawRect(frame);
    painter.restore();
}

} // namespace quelo
