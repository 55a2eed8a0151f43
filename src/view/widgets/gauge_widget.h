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

    // What assistive tools are told: the gauge's name ("Engine speed"), and its reading, the
    // needle's value with `decimals` places and the unit ("1020 rpm").
    void setReading(const QString &name, const QString &unit, int decimals);
    double reading() const;
    QString valueText() const;
    double scaleMinimum() const;
    double scaleMaximum() const;

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
    QString m_unit;
    int m_decimals = 0;
    QString m_toldText; // the reading last announced to assistive tools
    int m_paintCount = 0;
};

} // namespace quelo
