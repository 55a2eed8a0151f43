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

namespace {

// Saving a chart is part of the Trends window.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(TrendsWindow)
};

} // namespace

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
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString path = QFileDialog::getSaveFileName(
        &window, Text::tr("Save chart"), folder + QStringLiteral("/trends.png"),
        Text::tr("PNG picture (*.png);;PDF document (*.pdf)"));
    if (!path.isEmpty() && !saveChartView(view, path, window.windowTitle()))
        QMessageBox::warning(&window, Text::tr("Save chart"),
                             Text::tr("Cannot save %1.").arg(path));
}

} // namespace quelo
