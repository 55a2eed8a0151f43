// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_printer.h"

#include "notice.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QWidget>

namespace quelo {

namespace {

bool printImage(QPrinter &printer, const QPixmap &image)
{
    printer.setPageOrientation(image.width() > image.height() ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    QSize fitted = image.size();
    fitted.scale(page.size(), Qt::KeepAspectRatio);
    const QRect target(page.x() + (page.width() - fitted.width()) / 2, page.y(), fitted.width(),
                       fitted.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, image);
    return painter.end();
}

// A new file each time: two pages printed within one second get " (2)", " (3)"...
QString pdfPath(const QString &folder)
{
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh-mm-ss"));
    const QDir dir(folder);
    QString path = dir.filePath(QStringLiteral("Quelo Data Link %1.pdf").arg(stamp));
    for (int n = 2; QFileInfo::exists(path) && n < 1000; ++n)
        path = dir.filePath(QStringLiteral("Quelo Data Link %1 (%2).pdf").arg(stamp).arg(n));
    return path;
}

} // namespace

QString printWindow(QWidget &window, const QString &pdfFolder, QString *error)
{
    const QPixmap image = pageImage(window);
    QString failure;
    QString written;

    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (!defaultPrinter.isNull()) {
        QPrinter printer(defaultPrinter, QPrinter::HighResolution);
        printer.setDocName(QStringLiteral("Quelo Data Link"));
        if (printImage(printer, image))
            Notice::post(window,
                         QObject::tr("Sent to the printer %1.").arg(defaultPrinter.printerName()));
        else
            failure = QObject::tr("The printer %1 did not accept the page.")
                          .arg(defaultPrinter.printerName());
    } else {
        const QString folder =
            pdfFolder.isEmpty()
                ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                : pdfFolder;
        const QString path = pdfPath(folder);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setDocName(QStringLiteral("Quelo Data Link"));
        if (!QDir().mkpath(folder))
            failure = QObject::tr("No printer, and the folder %1 could not be created.")
                          .arg(QDir::toNativeSeparators(folder));
        else if (!printImage(printer, image) || !QFileInfo::exists(path))
            failure = QObject::tr("No printer, and %1 could not be written.")
                          .arg(QDir::toNativeSeparators(path));
        else {
            written = path;
            Notice::post(window, QObject::tr("No printer found. The page was saved as %1")
                                     .arg(QDir::toNativeSeparators(path)));
        }
    }

    if (!failure.isEmpty())
        Notice::post(window, failure);
    if (error)
        *error = failure;
    return written;
}

QPixmap pageImage(QWidget &window)
{
    // A notice left by an earlier print would otherwise be printed into this page.
    Notice::dismissAll(window);
    // Nor is the keyboard's focus mark part of the window's picture: the control that has the
    // focus lends it to nobody while the picture is taken, and gets it back.
    QWidget *focused = QApplication::focusWidget();
    if (!focused || !window.isAncestorOf(focused))
        return window.grab();
    focused->clearFocus();
    const QPixmap image = window.grab();
    focused->setFocus(Qt::OtherFocusReason);
    return image;
}

} // namespace quelo
