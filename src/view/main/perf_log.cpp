// SPDX-License-Identifier: GPL-3.0-or-later
#include "perf_log.h"

#include "gauge_widget.h"
#include "platform.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QWidget>

Q_LOGGING_CATEGORY(lcPerf, "quelo.perf", QtWarningMsg)

namespace quelo {

double msSinceProcessStart()
{
    return platform::msSinceProcessStart();
}

PerfLog::PerfLog(QWidget &window, QObject *parent) : QObject(parent), m_window(window)
{
    if (!lcPerf().isInfoEnabled())
        return;
    m_gauges = m_window.findChildren<GaugeWidget *>();
    for (const GaugeWidget *gauge : std::as_const(m_gauges))
        m_gaugePaintsEach.append(gauge->paintCount());
    m_gaugePaintsLogged = gaugePaints();
    QCoreApplication::instance()->installEventFilter(this);
    m_second.setInterval(1000);
    connect(&m_second, &QTimer::timeout, this, &PerfLog::logSecond);
    m_second.start();
}

PerfLog::~PerfLog()
{
    if (!lcPerf().isInfoEnabled())
        return;
    qCInfo(lcPerf).nospace() << "total seconds " << m_seconds << " widget-paints " << m_widgetPaints
                             << " gauge-paints " << gaugePaints();
}

int PerfLog::gaugePaints() const
{
    int paints = 0;
    for (const GaugeWidget *gauge : m_gauges)
        paints += gauge->paintCount();
    return paints;
}

bool PerfLog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Paint || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (widget->window() != &m_window)
        return false;
    ++m_widgetPaints;
    if (!m_painted && widget == &m_window) {
        // The window paints first, then its children, all in one pass: the pass is over when
        // the event loop next gets control.
        m_painted = true;
        QTimer::singleShot(0, this, [] {
            qCInfo(lcPerf).nospace() << "first-paint-ms " << msSinceProcessStart();
        });
    }
    return false;
}

void PerfLog::logSecond()
{
    ++m_seconds;
    const int gauges = gaugePaints();
    QString which;
    for (qsizetype i = 0; i < m_gauges.size(); ++i) {
        const int paints = m_gauges.at(i)->paintCount();
        if (paints != m_gaugePaintsEach.at(i)) {
            which += QStringLiteral(" %1 %2")
                         .arg(m_gauges.at(i)->objectName())
                         .arg(paints - m_gaugePaintsEach.at(i));
        }
        m_gaugePaintsEach[i] = paints;
    }
    qCInfo(lcPerf).nospace().noquote()
        << "second " << m_seconds << " widget-paints " << m_widgetPaints - m_widgetPaintsLogged
        << " gauge-paints " << gauges - m_gaugePaintsLogged << which;
    m_widgetPaintsLogged = m_widgetPaints;
    m_gaugePaintsLogged = gauges;
}

} // namespace quelo
