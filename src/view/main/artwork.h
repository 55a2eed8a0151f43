// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

class QPainter;

namespace quelo {

// The company wordmark, designed at 100 x 45 and stretched to the size given.
void drawLogo(QPainter &painter, const QSize &size);

// How the module is wired to the PC's serial port, designed at 487 x 484.
void drawWiring(QPainter &painter, const QSize &size);

} // namespace quelo
