// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "controls.h"

#include <QPixmap>
#include <QPointF>
#include <QTransform>
#include <QWidget>

#include <vector>

namespace quelo {

// Shows one needle gauge. The face, bands, ticks and captions never change between band moves,
// so they are drawn once into a pixmap; a paint is that pixmap plus the needle.
class GaugeWidget : public QWidget
{
    Q_OBJECT

public:
    // Shown while *shown is true (the model decides), always when shown is null.
    explicit GaugeWidget(const Gauge &gauge, const bool *shown = nullptr,
                         QWidget *parent = nullptr);

    // Brings the widget up to date with the gauge; repaints only when something visible moved.
    void sync();

    int paintCount() const { return m_paintCount; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QTransform faceToWidget() const;
    QPointF needleTip(double value) const; // widget pixels
    double needleReach() const;            // face units from the pivot
    std::vector<double> bandEnds() const;
    void drawFace(QPainter &painter) const;
    void drawNeedle(QPainter &painter) const;

    const Gauge &m_gauge;
    const bool *m_shown;
    QPixmap m_face;
    double m_shownValue;
    std::vector<double> m_shownBandEnds;
    int m_paintCount = 0;
};

} // namespace quelo
