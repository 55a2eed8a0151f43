// SPDX-License-Identifier: GPL-3.0-or-later
#include "view_fonts.h"

#include <QStringList>

#include <cmath>

namespace quelo {

void installFontSubstitutes()
{
    const QStringList standIns{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                               QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), standIns);
    QFont::insertSubstitutions(QStringLiteral("Arial"), standIns);
}

QFont pixelFont(const QString &family, double points, bool bold, bool italic)
{
    QFont font(family);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    font.setItalic(italic);
    // Text should look the same on every machine, so no hinting that changes advance widths.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace quelo
