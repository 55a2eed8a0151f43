// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace quelo {

// A warning that does not stop the window: the link and the gauges go on behind it. It
// deletes itself when closed.
void showWarning(QWidget &parent, const QString &title, const QString &text);

} // namespace quelo
