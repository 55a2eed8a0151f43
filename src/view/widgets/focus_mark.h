// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QPainter;
class QRect;

namespace quelo {

// Marks the control that has the keyboard focus: a two-pixel frame of black and white dashes
// just inside `area`, seen on any face colour. Drawn only while the control has the focus, so
// a window without keyboard focus keeps its own colours.
void drawFocusMark(QPainter &painter, const QRect &area);

} // namespace quelo
