// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart_export.h"

#include <QChartView>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QWidget>

namespace quelo {

bool saveChartView(QChartView &view, const QString &path, const QString &title)
{
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return view.grab().save(path, "PNG");
    QPdfWriter pdf(path);
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setTitle(title);
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    view.render(&painter, QRectF(), view.rect());
    return painter.end();
}

void askAndSaveChart(QWidget &window, QChartView &view)
{
    const auto tr = [](const char *text) {
        return QCoreApplication::translate("TrendsWindow", text);
    };
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString path = QFileDialog::getSaveFileName(
        &window, tr("Save chart"), folder + QStringLiteral("/trends.png"),
        tr("PNG picture (*.png);;PDF document (*.pdf)"));
    if (!path.isEmpty() && !saveChartView(view, path, window.windowTitle()))
        QMessageBox::warning(&window, tr("Save chart"), tr("Cannot save %1.").arg(path));
}

} // namespace quelo
