// SPDX-License-Identifier: GPL-3.0-or-later
#include "caption_frame.h"

#include <QPainter>

namespace quelo {

CaptionFrame::CaptionFrame(const QString &caption, const QColor &background,
                           const QColor &captionColour, QWidget *parent)
    : QWidget(parent), m_caption(caption), m_background(background), m_captionColour(captionColour)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CaptionFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);

    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;
    const QRect edge = rect().adjusted(0, lineY, -2, -2);
    painter.setPen(m_background.darker(170));
    painter.drawRect(edge);
    painter.setPen(m_background.lighter(170));
    painter.drawRect(edge.translated(1, 1));

    if (m_caption.isEmpty())
        return;
    const QRect captionBox(8, 0, metrics.horizontalAdvance(m_caption) + 4, metrics.height());
    painter.fillRect(captionBox, m_background);
    painter.setPen(m_captionColour);
    painter.drawText(captionBox, Qt::AlignCenter, m_caption);
}

} // namespace quelo
