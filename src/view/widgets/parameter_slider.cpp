// SPDX-License-Identifier: GPL-3.0-or-later
#include "parameter_slider.h"

#include "focus_mark.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace quelo {

ParameterSlider::ParameterSlider(const QString &name, const QLineEdit &valueBox, QWidget *parent)
    : QScrollBar(Qt::Horizontal, parent), m_valueBox(valueBox)
{
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(name);
    setAccessibleDescription(
        tr("Sets %1; the value box beside it shows what the module holds").arg(name));
    connect(&m_valueBox, &QLineEdit::textChanged, this, &ParameterSlider::valueBoxChanged);
}

QString ParameterSlider::valueText() const
{
    return m_valueBox.text();
}

void ParameterSlider::valueBoxChanged()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(this, value());
    QAccessible::updateAccessibility(&event);
}

// Qt's scroll bar turns Left and Right round (its controls are inverted for the vertical
// keys); here they step the way their arrows point.
void ParameterSlider::keyPressEvent(QKeyEvent *event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Right || event->key() == Qt::Key_Left)) {
        triggerAction(event->key() == Qt::Key_Right ? SliderSingleStepAdd : SliderSingleStepSub);
        event->accept();
        return;
    }
    QScrollBar::keyPressEvent(event);
}

void ParameterSlider::paintEvent(QPaintEvent *event)
{
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    drawFocusMark(painter, rect());
}

} // namespace quelo
