// SPDX-License-Identifier: GPL-3.0-or-later
#include "gauge_widget.h"

#include "view_fonts.h"

#include <QAccessible>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace quelo {

namespace {

constexpr double kDialNeedleLength = 1.6; // face units
constexpr double kNeedleTipMargin = 0.02; // gap between the arrow head's tip and the ticks
constexpr double kMinTipTravel = 0.25;    // device pixels worth a repaint
constexpr int kArcSegmentsPerTurn = 720;

QColor rgb(std::uint32_t packed)
{
    return QColor::fromRgb(static_cast<QRgb>(packed));
}

double radians(double degrees)
{
    return degrees * M_PI / 180.0;
}

// Angle a, clockwise from 12 o'clock, points along (sin a, cos a) in face units.
QPointF polar(const GaugeFace &face, double angle, double radius)
{
    const double a = radians(angle);
    return {face.pivotX + radius * std::sin(a), face.pivotY + radius * std::cos(a)};
}

// Annular sector around the pivot between two angles, in face units.
QPainterPath sector(const GaugeFace &face, double fromAngle, double toAngle, double inner,
                    double outer)
{
    if (toAngle < fromAngle)
        std::swap(fromAngle, toAngle);
    const int steps = std::max(
        1, static_cast<int>(std::ceil((toAngle - fromAngle) / 360.0 * kArcSegmentsPerTurn)));
    QPolygonF outline;
    for (int i = 0; i <= steps; ++i)
        outline << polar(face, fromAngle + (toAngle - fromAngle) * i / steps, outer);
    for (int i = steps; i >= 0; --i)
        outline << polar(face, fromAngle + (toAngle - fromAngle) * i / steps, inner);
    QPainterPath path;
    path.addPolygon(outline);
    path.closeSubpath();
    return path;
}

} // namespace

GaugeWidget::GaugeWidget(const Gauge &gauge, const bool *shown, QWidget *parent)
    : QWidget(parent), m_gauge(gauge), m_shown(shown), m_shownValue(gauge.Value),
      m_shownBandEnds(bandEnds())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setVisible(!m_shown || *m_shown);
}

void GaugeWidget::sync()
{
    const bool visible = !m_shown || *m_shown;
    if (visible == isHidden())
        setVisible(visible);

    // Runs after every event: compare in place rather than building a new list each time.
    bool bandMoved = false;
    for (std::size_t i = 0; i < m_shownBandEnds.size() && !bandMoved; ++i)
        bandMoved = m_gauge.bandEnd(static_cast<int>(i)) != m_shownBandEnds[i];
    if (bandMoved) {
        m_shownBandEnds = bandEnds();
        m_face = QPixmap();
        m_shownValue = m_gauge.Value;
        update();
        return;
    }

    if (m_gauge.Value != m_shownValue) {
        const QPointF travel = needleTip(m_gauge.Value) - needleTip(m_shownValue);
        if (std::hypot(travel.x(), travel.y()) * devicePixelRatioF() >= kMinTipTravel) {
            m_shownValue = m_gauge.Value;
            update();
        }
    }
    // Only while an assistive tool listens, and only when the words change.
    if (QAccessible::isActive() && valueText() != m_toldText) {
        m_toldText = valueText();
        QAccessibleValueChangeEvent event(this, reading());
        QAccessible::updateAccessibility(&event);
    }
}

void GaugeWidget::setReading(const QString &name, const QString &unit, int decimals)
{
    setAccessibleName(name);
    m_unit = unit;
    m_decimals = decimals;
}

double GaugeWidget::reading() const
{
    const double scale = std::pow(10.0, m_decimals);
    return std::round(m_gauge.Value * scale) / scale + 0.0; // + 0.0: never "-0"
}

QString GaugeWidget::valueText() const
{
    return QStringLiteral("%1 %2").arg(QString::number(reading(), 'f', m_decimals), m_unit);
}

double GaugeWidget::scaleMinimum() const
{
    return m_gauge.face().scaleMin;
}

double GaugeWidget::scaleMaximum() const
{
    return m_gauge.face().scaleMax;
}

std::vector<double> GaugeWidget::bandEnds() const
{
    std::vector<double> ends;
    const std::size_t count = m_gauge.face().bands.size();
    ends.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        ends.push_back(m_gauge.bandEnd(static_cast<int>(i)));
    return ends;
}

// The face's coordinate window, y up, stretched over the whole widget.
QTransform GaugeWidget::faceToWidget() const
{
    const GaugeFace &face = m_gauge.face();
    const double sx = width() / (2.0 * face.halfWidth);
    const double sy = height() / (2.0 * face.halfHeight);
    return QTransform(sx, 0, 0, -sy, width() / 2.0, height() / 2.0);
}

double GaugeWidget::needleReach() const
{
    const GaugeFace &face = m_gauge.face();
    if (face.needle == NeedleShape::Line)
        return kDialNeedleLength;
    double innermostTick = 1.0 + kNeedleTipMargin;
    for (const GaugeTicks &ticks : face.ticks)
        innermostTick = std::min(innermostTick, ticks.innerRadius);
    return innermostTick - kNeedleTipMargin;
}

QPointF GaugeWidget::needleTip(double value) const
{
    const GaugeFace &face = m_gauge.face();
    return faceToWidget().map(polar(face, face.angleOf(value), needleReach()));
}

void GaugeWidget::resizeEvent(QResizeEvent *event)
{
    m_face = QPixmap();
    QWidget::resizeEvent(event);
}

void GaugeWidget::paintEvent(QPaintEvent *)
{
    ++m_paintCount;
    const qreal dpr = devicePixelRatioF();
    if (m_face.isNull() || m_face.devicePixelRatio() != dpr) {
        m_face = QPixmap(size() * dpr);
        m_face.setDevicePixelRatio(dpr);
        QPainter facePainter(&m_face);
        drawFace(facePainter);
    }

    QPainter painter(this);
    painter.drawPixmap(0, 0, m_face);
    m_shownValue = m_gauge.Value;
    drawNeedle(painter);
}

void GaugeWidget::drawFace(QPainter &painter) const
{
    const GaugeFace &face = m_gauge.face();
    const QRectF area = rect();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, rgb(face.outsideColour));

    // An octagon with its corners cut at a tenth of each side.
    QPolygonF octagon;
    const double corners[][2] = {{0, 100},    {100, 0},    {900, 0},    {1000, 100},
                                 {1000, 900}, {900, 1000}, {100, 1000}, {0, 900}};
    for (const auto &c : corners)
        octagon << QPointF(c[0] * area.width() / 1000.0, c[1] * area.height() / 1000.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(rgb(face.faceColour));
    painter.drawPolygon(octagon);

    const QTransform toWidget = faceToWidget();
    const double lastAngle = face.angleOf(face.scaleMax);
    for (std::size_t i = 0; i < face.bands.size(); ++i) {
        const GaugeBand &band = face.bands[i];
        const double to = m_shownBandEnds[i];
        const QPainterPath path =
            sector(face, face.angleOf(band.from), std::min(face.angleOf(to), lastAngle),
                   band.innerRadius, band.outerRadius);
        painter.fillPath(toWidget.map(path), rgb(band.colour));
    }

    for (const GaugeTicks &ticks : face.ticks) {
        painter.setPen(QPen(rgb(ticks.colour), 1.0));
        const int count =
            static_cast<int>(std::floor((ticks.last - ticks.first) / ticks.step + 1e-6));
        for (int i = 0; i <= count; ++i) {
            const double angle = face.angleOf(ticks.first + i * ticks.step);
            painter.drawLine(toWidget.map(polar(face, angle, ticks.innerRadius)),
                             toWidget.map(polar(face, angle, ticks.outerRadius)));
        }
    }

    for (const GaugeCaption &caption : face.captions) {
        painter.setFont(
            pixelFont(QString::fromLatin1(caption.family), caption.pointSize, caption.bold));
        painter.setPen(rgb(caption.colour));
        const QPointF centre = toWidget.map(QPointF(caption.x, caption.y));
        QRectF box(0, 0, area.width(), area.height());
        box.moveCenter(centre);
        painter.drawText(box, Qt::AlignCenter | Qt::TextDontClip,
                         QString::fromLatin1(caption.text));
    }
}

void GaugeWidget::drawNeedle(QPainter &painter) const
{
    const GaugeFace &face = m_gauge.face();
    const QTransform toWidget = faceToWidget();
    const double angle = face.angleOf(m_gauge.Value);
    const QColor colour = rgb(face.needleColour);
    painter.setRenderHint(QPainter::Antialiasing);

    if (face.needle == NeedleShape::Line) {
        painter.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(toWidget.map(QPointF(face.pivotX, face.pivotY)),
                         toWidget.map(polar(face, angle, needleReach())));
        return;
    }

    // Arrow head drawn in a 1000-unit box with its tip at (0, 1000), turned to the angle.
    const double unit = needleReach() / 1000.0;
    const double a = radians(angle);
    const QPointF along(std::sin(a), std::cos(a));
    const QPointF across(std::cos(a), -std::sin(a));
    const QPointF pivot(face.pivotX, face.pivotY);
    const double outline[][2] = {{0, 1000}, {700, 700}, {-700, 700}};
    QPolygonF head;
    for (const auto &p : outline)
        head << toWidget.map(pivot + along * (p[1] * unit) + across * (p[0] * unit));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(head);
}

} // namespace quelo
