// SPDX-License-Identifier: GPL-3.0-or-later
#include "view_fonts.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

// Runs the benchmarks under a QApplication. Unless QT_QPA_PLATFORM says otherwise, it draws
// offscreen on two screens side by side, of device pixel ratio 1 and 2, so gauge repaints can be
// measured at both ratios in one run.
int main(int argc, char **argv)
{
    QString screens;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        screens = QDir::temp().filePath(
            QStringLiteral("quelo-bench-screens-%1.json").arg(QCoreApplication::applicationPid()));
        QFile config(screens);
        if (!config.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 1;
        config.write(R"({"screens": [
            {"name": "1x", "x": 0, "y": 0, "width": 1920, "height": 1080,
             "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
            {"name": "2x", "x": 1920, "y": 0, "width": 1920, "height": 1080,
             "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 2}]})");
        config.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens));
    }
    quelo::installFontSubstitutes();
    QApplication app(argc, argv);
    if (!screens.isEmpty())
        QFile::remove(screens);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
