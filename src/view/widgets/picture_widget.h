// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

#include <functional>

class QPainter;

namespace quelo {

// A fixed picture drawn by a function over a background colour, kept in a pixmap at the
// screen's pixel ratio and redrawn only when the size or the ratio changes.
class PictureWidget : public QWidget
{
    Q_OBJECT

public:
    using Draw = std::function<void(QPainter &, const QSize &)>;

    PictureWidget(Draw draw, const QColor &background, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Draw m_draw;
    QColor m_background;
    QPixmap m_picture;
};

} // namespace quelo
