// SPDX-License-Identifier: GPL-3.0-or-later
// view/fleet/: the aircraft: the name chosen, the fleet window, the configuration record.
#pragma once

#include "aircraft.h"

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

namespace quelo {

// The remarks typed for a record are cut to this, so the record stays one page.
inline constexpr int kMaxRemarksChars = 600;

// The configuration record for the aircraft's logbook as one page: the record's lines (see
// recordLines), the remarks, and lines for "Work performed by", "Certificate number" and
// "Signature". Every text from a file or the user is escaped.
QString recordHtml(const ConfigRecord &record, const QString &remarks);
// Lays the page out on a printer or a PDF writer.
void paintRecord(QPagedPaintDevice &device, const ConfigRecord &record, const QString &remarks);
// The page as the bytes of a PDF file (A4), for the file layer to write whole or not at all.
QByteArray recordPdf(const ConfigRecord &record, const QString &remarks);

// The record's file name beside the restore point it describes: the restore point's name with
// ".pdf" for ".json".
QString recordFileName(const Snapshot &restorePoint);

} // namespace quelo
