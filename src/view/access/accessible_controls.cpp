// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessible_controls.h"

#include "gauge_widget.h"
#include "parameter_slider.h"

#include <QAccessibleWidget>

namespace quelo {

namespace {

// A control with a value and a range; Value is the text the window shows for it.
template <typename Control>
class ValueAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    ValueAccessible(Control *control, QAccessible::Role role) : QAccessibleWidget(control, role) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? control()->valueText() : QAccessibleWidget::text(t);
    }

protected:
    Control *control() const { return static_cast<Control *>(widget()); }
};

class SliderAccessible : public ValueAccessible<ParameterSlider>
{
public:
    explicit SliderAccessible(ParameterSlider *slider)
        : ValueAccessible(slider, QAccessible::Slider)
    {
    }

    QVariant currentValue() const override { return control()->value(); }
    // As a drag of the thumb: one change to the value asked for, kept within the range.
    void setCurrentValue(const QVariant &value) override { control()->setValue(value.toInt()); }
    QVariant maximumValue() const override { return control()->maximum(); }
    QVariant minimumValue() const override { return control()->minimum(); }
    QVariant minimumStepSize() const override { return control()->singleStep(); }
};

// A gauge only shows: its value cannot be set.
class GaugeAccessible : public ValueAccessible<GaugeWidget>
{
public:
    explicit GaugeAccessible(GaugeWidget *gauge) : ValueAccessible(gauge, QAccessible::ProgressBar)
    {
    }

    QVariant currentValue() const override { return control()->reading(); }
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override { return control()->scaleMaximum(); }
    QVariant minimumValue() const override { return control()->scaleMinimum(); }
    QVariant minimumStepSize() const override { return 0; }
};

class StatusLineAccessible : public QAccessibleWidget
{
public:
    explicit StatusLineAccessible(StatusLine *line)
        : QAccessibleWidget(line, QAccessible::StatusBar)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return static_cast<QLineEdit *>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *accessibleControl(const QString &className, QObject *object)
{
    if (className == QLatin1String("quelo::ParameterSlider"))
        return new SliderAccessible(static_cast<ParameterSlider *>(object));
    if (className == QLatin1String("quelo::GaugeWidget"))
        return new GaugeAccessible(static_cast<GaugeWidget *>(object));
    if (className == QLatin1String("quelo::StatusLine"))
        return new StatusLineAccessible(static_cast<StatusLine *>(object));
    return nullptr;
}

} // namespace

StatusLine::StatusLine(const QString &name, QWidget *parent) : QLineEdit(parent)
{
    setAccessibleName(name);
    connect(this, &QLineEdit::textChanged, this, &StatusLine::announce);
}

void StatusLine::announce()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(this, text());
    QAccessible::updateAccessibility(&event);
}

void installAccessibleControls()
{
    // Qt keeps each factory once, however often it is installed.
    QAccessible::installFactory(&accessibleControl);
}

} // namespace quelo
