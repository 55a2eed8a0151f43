// SPDX-License-Identifier: GPL-3.0-or-later
#include "value_cells.h"

namespace quelo {

QTableWidgetItem *readOnlyCell(const QString &text)
{
    auto *cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return cell;
}

void markValue(QTableWidgetItem &cell, const QString &why)
{
    static const QColor kMarkedTint(255, 236, 179);
    QFont font = cell.font();
    font.setBold(true);
    cell.setFont(font);
    cell.setBackground(kMarkedTint);
    cell.setToolTip(why);
}

} // namespace quelo
