// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QChartView;
class QWidget;

namespace quelo {

// Saves what `view` shows as a PDF page when the name ends in .pdf, else as a PNG picture.
bool saveChartView(QChartView &view, const QString &path, const QString &title);
// Chart > Save as: asks for a file and saves, saying so when it cannot.
void askAndSaveChart(QWidget &window, QChartView &view);

} // namespace quelo
