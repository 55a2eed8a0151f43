// SPDX-License-Identifier: GPL-3.0-or-later
#include "artwork.h"

#include "view_fonts.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <vector>

namespace quelo {

namespace {

void scaleTo(QPainter &painter, const QSize &size, double designWidth, double designHeight)
{
    painter.scale(size.width() / designWidth, size.height() / designHeight);
}

void text(QPainter &painter, const QRectF &box, const QString &s, double points, bool bold,
          const QColor &colour, int flags = Qt::AlignCenter)
{
    painter.setFont(pixelFont(QStringLiteral("Arial"), points, bold));
    painter.setPen(colour);
    painter.drawText(box, flags, s);
}

struct Wire
{
    QColor colour;
    std::vector<QPointF> route;
};

// A wire drawn over a white halo, so a later wire visibly passes over an earlier one.
void drawWire(QPainter &painter, const Wire &wire)
{
    QPainterPath path(wire.route.front());
    for (std::size_t i = 1; i < wire.route.size(); ++i)
        path.lineTo(wire.route[i]);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 10, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(QPen(wire.colour, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(wire.colour);
    painter.drawEllipse(wire.route.front(), 4, 4);
    painter.drawEllipse(wire.route.back(), 4, 4);
}

} // namespace

void drawLogo(QPainter &painter, const QSize &size)
{
    painter.save();
    scaleTo(painter, size, 100, 45);

    // A spark: a jagged bolt in yellow with an orange edge.
    const QPolygonF bolt{{16, 3}, {4, 24}, {12, 24}, {6, 42}, {24, 17}, {15, 17}, {22, 3}};
    painter.setPen(
        QPen(QColor(0xE0, 0x60, 0x00), 1.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(QColor(0xFF, 0xD0, 0x00));
    painter.drawPolygon(bolt);

    QLinearGradient ink(0, 8, 0, 34);
    ink.setColorAt(0, QColor(0x00, 0x30, 0xC0));
    ink.setColorAt(1, QColor(0x00, 0x00, 0x60));
    QPainterPath word;
    word.addText(0, 0, pixelFont(QStringLiteral("Arial"), 18, true, true), QStringLiteral("QUELO"));
    const QRectF wordBox(27, 8, 70, 24);
    const QRectF bounds = word.boundingRect();
    word = QTransform::fromTranslate(wordBox.left(), wordBox.top())
               .scale(wordBox.width() / bounds.width(), wordBox.height() / bounds.height())
               .translate(-bounds.left(), -bounds.top())
               .map(word);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPath(word);

    painter.fillRect(QRectF(27, 34, 70, 3), QColor(0xD0, 0x00, 0x00));
    text(painter, QRectF(27, 36, 70, 9), QStringLiteral("IGNITION SYSTEMS"), 4.5, true,
         QColor(0x00, 0x00, 0x60));
    painter.restore();
}

namespace {

const QColor kInk(Qt::black);
const QColor kGreyInk(0x60, 0x60, 0x60);
const QColor kGroundColour(0x00, 0x00, 0x00);
const QColor kToPcColour(0x00, 0x90, 0x00);
const QColor kFromPcColour(0x00, 0x40, 0xFF);
const QColor kPowerColour(0xE0, 0x00, 0x00);

// The module's six-way terminal block, pins numbered left to right.
const QRectF kBlock(30, 34, 427, 92);

double terminalX(int pin)
{
    return kBlock.left() + kBlock.width() / 6.0 * (pin - 0.5);
}

// The cable's 9-pin D connector, female, looked at from the front where the PC plugs in.
const QPointF kConnectorCentre(236, 382);

QPointF connectorPin(int pin)
{
    const double pitch = 34;
    if (pin <= 5)
        return QPointF(kConnectorCentre.x() + (3 - pin) * pitch, kConnectorCentre.y() - 15);
    return QPointF(kConnectorCentre.x() + (8.5 - pin) * pitch, kConnectorCentre.y() + 15);
}

void drawTerminalBlock(QPainter &painter)
{
    painter.setPen(QPen(kInk, 2));
    painter.setBrush(QColor(0x30, 0x30, 0x30));
    painter.drawRoundedRect(kBlock, 6, 6);
    text(painter, QRectF(kBlock.left(), 36, kBlock.width(), 16),
         QStringLiteral("QUELO IGNITION MODULE - TERMINAL BLOCK"), 9.75, true, Qt::white);
    const char *pinNames[] = {"GROUND", "DATA OUT", "DATA IN", "KILL", "+12 V", "TACH"};
    for (int pin = 1; pin <= 6; ++pin) {
        const double x = terminalX(pin);
        const bool used = pin <= 3 || pin == 5;
        painter.setPen(QPen(kInk, 1));
        painter.setBrush(QColor(0xC8, 0xC8, 0xC8));
        painter.drawRect(QRectF(x - 22, 56, 44, 44));
        painter.setBrush(QColor(0xE8, 0xE8, 0xE8));
        painter.drawEllipse(QPointF(x, 78), 13, 13);
        painter.setPen(QPen(kGreyInk, 2));
        painter.drawLine(QPointF(x - 8, 78), QPointF(x + 8, 78));
        text(painter, QRectF(x - 34, 104, 68, 20), QString::number(pin), 12, true,
             used ? QColor(0xFF, 0xFF, 0x80) : QColor(0xA0, 0xA0, 0xA0));
        text(painter, QRectF(x - 34, 128, 68, 14), QString::fromLatin1(pinNames[pin - 1]), 8.25,
             true, used ? kInk : kGreyInk);
    }
}

void drawConnector(QPainter &painter)
{
    const QPointF &c = kConnectorCentre;
    const QPolygonF shell{{c.x() - 118, c.y() - 38},
                          {c.x() + 118, c.y() - 38},
                          {c.x() + 96, c.y() + 38},
                          {c.x() - 96, c.y() + 38}};
    painter.setPen(QPen(kInk, 2));
    painter.setBrush(QColor(0xB0, 0xB8, 0xC0));
    painter.drawPolygon(shell);
    for (int pin = 1; pin <= 9; ++pin) {
        const QPointF p = connectorPin(pin);
        painter.setPen(QPen(kInk, 1));
        painter.setBrush(Qt::white);
        painter.drawEllipse(p, 7, 7);
        painter.setBrush(kInk);
        painter.drawEllipse(p, 2.5, 2.5);
    }
    for (int pin = 1; pin <= 9; ++pin) {
        const QPointF p = connectorPin(pin);
        text(painter, QRectF(p.x() + 7, p.y() - 7, 16, 14), QString::number(pin), 8.25, true, kInk,
             Qt::AlignLeft | Qt::AlignVCenter);
    }
    text(painter, QRectF(0, c.y() + 42, 487, 18),
         QStringLiteral("TO THE PC SERIAL PORT - 9-PIN D, FEMALE, FRONT VIEW"), 9.75, true, kInk);
}

// Pin 2 of the module talks to pin 2 of the PC; pin 3 of the PC talks to pin 3 of the module;
// the supply lead goes off to aircraft power.
void drawWires(QPainter &painter)
{
    const double top = 146;
    const Wire ground{
        kGroundColour,
        {{terminalX(1), top}, {terminalX(1), 290}, {connectorPin(5).x(), 290}, connectorPin(5)}};
    const Wire fromPc{
        kFromPcColour,
        {{terminalX(3), top}, {terminalX(3), 250}, {connectorPin(3).x(), 250}, connectorPin(3)}};
    const Wire toPc{
        kToPcColour,
        {{terminalX(2), top}, {terminalX(2), 200}, {connectorPin(2).x(), 200}, connectorPin(2)}};
    const Wire power{kPowerColour,
                     {{terminalX(5), top}, {terminalX(5), 190}, {440, 190}, {440, 236}}};
    for (const Wire *wire : {&ground, &fromPc, &toPc, &power})
        drawWire(painter, *wire);

    text(painter, QRectF(terminalX(1) + 6, 292, 140, 14), QStringLiteral("GROUND: 1 to 5"), 8.25,
         true, kGroundColour, Qt::AlignLeft | Qt::AlignTop);
    text(painter, QRectF(connectorPin(2).x() + 8, 202, 160, 14),
         QStringLiteral("MODULE SENDS: 2 to 2"), 8.25, true, kToPcColour,
         Qt::AlignLeft | Qt::AlignTop);
    text(painter, QRectF(terminalX(1) + 10, 232, terminalX(3) - terminalX(1) - 18, 14),
         QStringLiteral("PC SENDS: 3 to 3"), 8.25, true, kFromPcColour,
         Qt::AlignRight | Qt::AlignTop);

    painter.setPen(QPen(kPowerColour, 2));
    painter.setBrush(kPowerColour);
    painter.drawPolygon(QPolygonF{{432, 236}, {448, 236}, {440, 248}});
    text(painter, QRectF(395, 250, 90, 36), QStringLiteral("+12 V\nSYSTEM POWER"), 8.25, true,
         kPowerColour);
}

} // namespace

void drawWiring(QPainter &painter, const QSize &size)
{
    painter.save();
    scaleTo(painter, size, 487, 484);
    text(painter, QRectF(0, 4, 487, 22), QStringLiteral("WIRING THE MODULE TO THE PC"), 12, true,
         kInk);
    drawTerminalBlock(painter);
    drawConnector(painter);
    drawWires(painter);
    text(painter, QRectF(10, 462, 467, 18),
         QStringLiteral("Pins 4 (kill) and 6 (tach) are not part of the data link."), 8.25, false,
         kGreyInk);
    painter.restore();
}

} // namespace quelo
