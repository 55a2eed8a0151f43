// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_widget.h"

#include <QPainter>

namespace quelo {

PictureWidget::PictureWidget(Draw draw, const QColor &background, QWidget *parent)
    : QWidget(parent), m_draw(std::move(draw)), m_background(background)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureWidget::paintEvent(QPaintEvent *)
{
    const qreal dpr = devicePixelRatioF();
    if (m_picture.isNull() || m_picture.devicePixelRatio() != dpr ||
        m_picture.deviceIndependentSize() != QSizeF(size())) {
        m_picture = QPixmap(size() * dpr);
        m_picture.setDevicePixelRatio(dpr);
        m_picture.fill(m_background);
        QPainter picturePainter(&m_picture);
        picturePainter.setRenderHint(QPainter::Antialiasing);
        picturePainter.setRenderHint(QPainter::TextAntialiasing);
        m_draw(picturePainter, size());
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

} // namespace quelo
