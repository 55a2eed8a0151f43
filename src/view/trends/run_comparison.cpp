// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_comparison.h"

#include "model_texts.h"
#include "recording_loader.h"
#include "recording_thin.h"
#include "trend_looks.h"

#include <QChart>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineSeries>
#include <QMessageBox>
#include <QStandardPaths>

namespace quelo {

RunComparison::RunComparison(QChart *chart, const std::array<QLineSeries *, kTrendCount> &solid,
                             QWidget *dialogParent)
    : QObject(dialogParent), m_chart(chart), m_dialogParent(dialogParent),
      m_loader(new RecordingLoader(dialogParent, tr("Compare with recording"),
                                   PointBudget{500000, kKeptPoints}))
{
    for (std::size_t i = 0; i < kTrendCount; ++i) {
        auto *series = new QLineSeries;
        QPen pen = solid[i]->pen();
        pen.setColor(solid[i]->color());
        pen.setStyle(Qt::DashLine);
        series->setPen(pen);
        chart->addSeries(series);
        for (QAbstractAxis *axis : solid[i]->attachedAxes())
            series->attachAxis(axis);
        series->setVisible(false);
        m_series[i] = series;
    }
    connect(m_loader, &RecordingLoader::loaded, this, &RunComparison::read);
    // Said in a box that does not hold up the window or the link.
    connect(this, &RunComparison::failed, this, [this](const QString &message) {
        auto *box = new QMessageBox(QMessageBox::Warning, tr("Compare with recording"), message,
                                    QMessageBox::Ok, m_dialogParent);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    });
}

RunComparison::~RunComparison() = default;

void RunComparison::choose()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path =
        QFileDialog::getOpenFileName(m_dialogParent, tr("Compare with recording"), folder,
                                     tr("Recordings (*.csv);;All files (*)"));
    if (!path.isEmpty())
        load(path);
}

void RunComparison::load(const QString &path)
{
    const QFileInfo file(path);
    if (!m_shownPath.isEmpty() && file.exists() &&
        file.canonicalFilePath() == QFileInfo(m_shownPath).canonicalFilePath())
        return emit failed(tr("%1 is the recording shown: choose another one to compare it with.")
                               .arg(file.fileName()));
    m_loader->load(path);
}

void RunComparison::read(const QString &path, const RecordingRead &read)
{
    if (!read.error.empty())
        return emit failed(modelText(read.error));
    emit loaded(path, read.recording);
}

void RunComparison::compareWith(Recording run, const QString &name, const Recording &a)
{
    m_run = std::move(run);
    m_name = name;
    const std::optional<TimeSpan> span = runSpan(m_run);
    m_marks = chartMarks(m_run.events, span ? span->to : 0);
    m_drawn = thinnedForDrawing(m_run);
    m_active = true;
    align(a, {}, {});
}

void RunComparison::align(const Recording &a, const std::string &markA, const std::string &markB)
{
    if (!m_active)
        return;
    const auto aligned = alignRuns(a, markA, m_run, markB);
    m_alignment = aligned ? *aligned : alignRuns(a, {}, m_run, {}).value_or(RunAlignment{});
    redraw();
    emit changed();
}

void RunComparison::redraw()
{
    const Recording shifted = shiftedBy(m_drawn, m_alignment.offsetMs);
    const std::vector<TrendPoint> *points[kTrendCount] = {&shifted.rpm, &shifted.advanceDeg,
                                                          &shifted.busVolts};
    for (std::size_t i = 0; i < kTrendCount; ++i) {
        m_series[i]->replace(toPoints(*points[i]));
        m_series[i]->setVisible(true);
    }
}

void RunComparison::stop()
{
    m_loader->cancel();
    if (!m_active)
        return;
    m_active = false;
    m_run = {};
    m_drawn = {};
    m_marks = {};
    for (QLineSeries *series : m_series) {
        series->clear();
        series->setVisible(false);
    }
    emit changed();
}

} // namespace quelo
