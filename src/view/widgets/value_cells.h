// SPDX-License-Identifier: GPL-3.0-or-later
// Table cells of the tables that list configurations: read-only, and a value marked for a reason.
#pragma once

#include <QTableWidgetItem>

namespace quelo {

// A cell the user can select but not edit.
QTableWidgetItem *readOnlyCell(const QString &text);

// Marks a value that stands out (changed since the row before, or held by few of the fleet):
// bold on a tinted ground, with the reason as its tooltip.
void markValue(QTableWidgetItem &cell, const QString &why);

} // namespace quelo
