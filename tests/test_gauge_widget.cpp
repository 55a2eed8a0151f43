// SPDX-License-Identifier: GPL-3.0-or-later
#include "gauge_widget.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

using quelo::Gauge;
using quelo::GaugeFace;
using quelo::GaugeWidget;

namespace {

// Where a point of the face's coordinate window (y up) lands in a widget of the given size.
QPointF onWidget(const GaugeFace &face, const QSize &size, double x, double y)
{
    return {(x + face.halfWidth) / (2 * face.halfWidth) * size.width(),
            (face.halfHeight - y) / (2 * face.halfHeight) * size.height()};
}

// A point at a radius from the pivot, at an angle clockwise from 12 o'clock.
QPointF atAngle(const GaugeFace &face, const QSize &size, double degrees, double radius)
{
    const double a = degrees * M_PI / 180.0;
    return onWidget(face, size, face.pivotX + radius * std::sin(a),
                    face.pivotY + radius * std::cos(a));
}

bool near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <
           60;
}

// True when a pixel of the colour lies within one pixel of the point.
bool colourAt(const QImage &image, QPointF p, QColor colour)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint q(static_cast<int>(std::lround(p.x())) + dx,
                           static_cast<int>(std::lround(p.y())) + dy);
            if (image.rect().contains(q) && near(image.pixelColor(q), colour))
                return true;
        }
    return false;
}

QImage render(GaugeWidget &widget)
{
    widget.sync();
    return widget.grab().toImage();
}

const QColor kNeedleBlue(0x00, 0x00, 0xA0);

} // namespace

TEST(GaugeWidgetNeedle, DialPointsLeftAtMinimumAndUpAtMaximum)
{
    Gauge gauge(GaugeFace::rpm());
    GaugeWidget widget(gauge);
    widget.resize(201, 169);
    const QSize size = widget.size();
    const GaugeFace &face = gauge.face();
    const QPointF left = atAngle(face, size, 270, 1.2);
    const QPointF up = atAngle(face, size, 0, 1.2);

    gauge.Value = face.scaleMin;
    QImage image = render(widget);
    EXPECT_TRUE(colourAt(image, left, kNeedleBlue));
    EXPECT_FALSE(colourAt(image, up, kNeedleBlue));

    gauge.Value = face.scaleMax;
    image = render(widget);
    EXPECT_TRUE(colourAt(image, up, kNeedleBlue));
    EXPECT_FALSE(colourAt(image, left, kNeedleBlue));

    // Beyond the scale the needle stays pinned at its end.
    gauge.Value = face.scaleMax * 2;
    image = render(widget);
    EXPECT_TRUE(colourAt(image, up, kNeedleBlue));
}

TEST(GaugeWidgetNeedle, PropellerArrowFollowsTheAngleClockwise)
{
    Gauge gauge(GaugeFace::propeller());
    GaugeWidget widget(gauge);
    widget.resize(217, 193);
    const GaugeFace &face = gauge.face();
    const QColor red(0xFF, 0x00, 0x00);

    gauge.Value = 90;
    QImage image = render(widget);
    EXPECT_TRUE(colourAt(image, atAngle(face, widget.size(), 90, 0.9), red));
    EXPECT_FALSE(colourAt(image, atAngle(face, widget.size(), 0, 0.9), red));
    EXPECT_FALSE(colourAt(image, atAngle(face, widget.size(), 270, 0.9), red));
    // The head stays inside the ticks.
    EXPECT_FALSE(colourAt(image, atAngle(face, widget.size(), 90, 1.12), red));
}

TEST(GaugeWidgetFace, OctagonOnOutsideColourAndCaptionsDrawn)
{
    Gauge gauge(GaugeFace::rpm());
    GaugeWidget widget(gauge);
    widget.resize(201, 169);
    const QImage image = render(widget);
    EXPECT_EQ(image.pixelColor(1, 1), QColor(0xFF, 0xFF, 0xFF)); // cut corner
    EXPECT_EQ(image.pixelColor(100, 2), QColor(0x40, 0x80, 0x80));
    EXPECT_EQ(image.pixelColor(2, 84), QColor(0x40, 0x80, 0x80));
    // Some black caption ink around the "RPM" caption's centre.
    const QPointF rpm = onWidget(gauge.face(), widget.size(), 0.47, -0.18);
    int ink = 0;
    for (int dx = -20; dx <= 20; ++dx)
        ink += near(image.pixelColor(QPointF(rpm.x() + dx, rpm.y()).toPoint()), Qt::black) ? 1 : 0;
    EXPECT_GT(ink, 3);
}

TEST(GaugeWidgetFace, MovingBandEndRedrawsTheBandAndKeepsItsStart)
{
    Gauge gauge(GaugeFace::rpm());
    GaugeWidget widget(gauge);
    widget.resize(201, 169);
    const GaugeFace &face = gauge.face();
    const QColor green(0x00, 0xFF, 0x00);
    const double radius = 1.635; // middle of band 3
    auto at = [&](double value) {
        return atAngle(face, widget.size(), face.angleOf(value), radius);
    };

    QImage image = render(widget);
    EXPECT_TRUE(colourAt(image, at(1100), green));
    EXPECT_TRUE(colourAt(image, at(2900), green));
    EXPECT_FALSE(colourAt(image, at(3250), green));
    EXPECT_FALSE(colourAt(image, at(900), green));

    gauge.setBandSelector(3);
    gauge.setBandEndValue(3400);
    image = render(widget);
    EXPECT_TRUE(colourAt(image, at(3250), green));
    EXPECT_TRUE(colourAt(image, at(1100), green));
    EXPECT_FALSE(colourAt(image, at(900), green));

    gauge.setBandEndValue(2000);
    image = render(widget);
    EXPECT_FALSE(colourAt(image, at(2500), green));
    EXPECT_TRUE(colourAt(image, at(1500), green));

    // An end past the scale stops at the scale's end.
    gauge.setBandEndValue(9000);
    image = render(widget);
    EXPECT_TRUE(colourAt(image, at(3450), green));
    EXPECT_FALSE(colourAt(image, atAngle(face, widget.size(), face.angleMax + 8, radius), green));
}

TEST(GaugeWidgetRepaint, OnlyVisibleChangesRepaint)
{
    Gauge gauge(GaugeFace::rpm());
    bool shown = true;
    GaugeWidget widget(gauge, &shown);
    widget.resize(201, 169);
    widget.show();
    QApplication::processEvents();
    const int settled = widget.paintCount();
    EXPECT_GT(settled, 0);

    widget.sync();
    QApplication::processEvents();
    EXPECT_EQ(widget.paintCount(), settled);

    // A hundredth of an rpm moves the tip far less than a pixel.
    gauge.Value += 0.01;
    widget.sync();
    QApplication::processEvents();
    EXPECT_EQ(widget.paintCount(), settled);

    gauge.Value = 1500;
    widget.sync();
    QApplication::processEvents();
    EXPECT_EQ(widget.paintCount(), settled + 1);

    shown = false;
    widget.sync();
    EXPECT_TRUE(widget.isHidden());
    shown = true;
    widget.sync();
    EXPECT_FALSE(widget.isHidden());
}
