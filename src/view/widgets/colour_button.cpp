// SPDX-License-Identifier: GPL-3.0-or-later
#include "colour_button.h"

#include "focus_mark.h"

#include <QPainter>

namespace quelo {

ColourButton::ColourButton(const QString &text, QWidget *parent) : QPushButton(text, parent) {}

void ColourButton::setFaceColour(const QColor &colour)
{
    if (colour == m_face)
        return;
    m_face = colour;
    update();
}

void ColourButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect();
    const bool sunken = isDown() || isChecked();
    painter.fillRect(r, m_face);

    // A raised bevel, pressed in while the button is down.
    const QColor outer = palette().color(QPalette::Shadow);
    const QColor light = m_face.lighter(160);
    const QColor dark = m_face.darker(200);
    painter.setPen(outer);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    const QRect inner = r.adjusted(1, 1, -2, -2);
    painter.setPen(sunken ? dark : light);
    painter.drawLine(inner.topLeft(), inner.topRight());
    painter.drawLine(inner.topLeft(), inner.bottomLeft());
    painter.setPen(sunken ? light : dark);
    painter.drawLine(inner.bottomLeft(), inner.bottomRight());
    painter.drawLine(inner.topRight(), inner.bottomRight());

    const QColor ink = qGray(m_face.rgb()) < 100 && isEnabled() ? QColor(Qt::white)
                       : isEnabled()                            ? QColor(Qt::black)
                                                                : m_face.darker(150);
    painter.setPen(ink);
    painter.setFont(font());
    const QRect textArea = r.translated(sunken ? 1 : 0, sunken ? 1 : 0);
    painter.drawText(textArea, Qt::AlignCenter | Qt::TextShowMnemonic, text());

    if (hasFocus())
        drawFocusMark(painter, r.adjusted(2, 2, -2, -2));
}

void FocusMarkedButton::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    drawFocusMark(painter, rect().adjusted(2, 2, -2, -2));
}

} // namespace quelo
