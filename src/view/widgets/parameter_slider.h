// SPDX-License-Identifier: GPL-3.0-or-later
// view/widgets/: the widgets the windows are built of: gauges, sliders, buttons, frames, notices.
#pragma once

#include <QScrollBar>

class QLineEdit;

namespace quelo {

// A parameter's slider: a horizontal scroll bar reached with Tab (a click does not take the
// focus) and stepped with a scroll bar's keys, each press one change as one click: Right and
// Down as the right arrow, Left and Up as the left arrow, Page Down and Page Up as the trough
// right and left of the thumb, Home and End to the ends. Marked while it has the keyboard focus.
// Assistive tools see it as a slider named after its parameter whose value is what the parameter's
// value box shows.
class ParameterSlider : public QScrollBar
{
    Q_OBJECT

public:
    ParameterSlider(const QString &name, const QLineEdit &valueBox, QWidget *parent = nullptr);

    // What the value box shows: the module's value as the window words it.
    QString valueText() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void valueBoxChanged();

    const QLineEdit &m_valueBox;
};

} // namespace quelo
