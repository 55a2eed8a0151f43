// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QString>

class QWidget;

namespace quelo {

// Prints the window as it is shown, one page scaled to fit, on the default printer without a
// dialog. Without a printer the page goes to a PDF in pdfFolder (the documents folder when
// empty). A short notice on the window says where the page went, or why it could not be made.
// Returns the PDF's path; empty when it went to the printer or failed (then *error says why).
QString printWindow(QWidget &window, const QString &pdfFolder = {}, QString *error = nullptr);

// The picture a page or a screenshot shows: the window as displayed, without the notices laid
// over it, which are taken off the window, and without the keyboard's focus mark.
QPixmap pageImage(QWidget &window);

} // namespace quelo
