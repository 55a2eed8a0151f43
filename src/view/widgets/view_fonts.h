// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

namespace quelo {

// The window was drawn with "MS Sans Serif" and "Arial". Where they are missing, Liberation Sans
// (metric-compatible with Arial) stands in. Call once, before the first window is created.
void installFontSubstitutes();

// A font sized in pixels for a point size at 96 dpi, so the layout does not depend on the
// screen's resolution: 8.25 pt is 11 px, 9.75 pt 13 px, 12 pt 16 px.
QFont pixelFont(const QString &family, double points, bool bold = false, bool italic = false);

inline constexpr char kSansSerif[] = "MS Sans Serif";

} // namespace quelo
