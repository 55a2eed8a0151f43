// SPDX-License-Identifier: GPL-3.0-or-later
// view/access/: accessibility and keyboard use: names and values for screen readers, Enter.
#pragma once

#include <QLineEdit>

namespace quelo {

// The status line: a text box that assistive tools see as the window's status bar, named by
// its caption, its text as the value and the reasons on its tooltip as the description. A new
// text is announced as a change of value.
class StatusLine : public QLineEdit
{
    Q_OBJECT

public:
    explicit StatusLine(const QString &name, QWidget *parent = nullptr);

private:
    void announce();
};

// Makes assistive tools (AT-SPI, UI Automation) see the window's own controls for what they
// are: a parameter slider as a slider whose value is its value box's text and which has a
// range; a gauge as a meter with its reading ("1020 rpm"); the status line as a status bar.
// Safe to call more than once.
void installAccessibleControls();

} // namespace quelo
