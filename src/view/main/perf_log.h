// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QLoggingCategory>
#include <QObject>
#include <QTimer>

Q_DECLARE_LOGGING_CATEGORY(lcPerf)

class QWidget;

namespace quelo {

class GaugeWidget;

// Performance diagnostics on the "quelo.perf" logging category, which is off by default
// (switch it on with QT_LOGGING_RULES="quelo.perf.info=true"). When on, it logs the time from
// process start to the end of the window's first paint, then once a second the paint events of
// the window's widgets and of its gauges (naming the gauges that painted), and the totals when
// it is destroyed. When off it
// installs nothing and costs nothing. The window must outlive it.
class PerfLog : public QObject
{
    Q_OBJECT

public:
    explicit PerfLog(QWidget &window, QObject *parent = nullptr);
    ~PerfLog() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void logSecond();
    int gaugePaints() const;

    QWidget &m_window;
    QList<GaugeWidget *> m_gauges;
    QTimer m_second;
    qint64 m_widgetPaints = 0;
    qint64 m_widgetPaintsLogged = 0;
    int m_gaugePaintsLogged = 0;
    QList<int> m_gaugePaintsEach; // per gauge, as last logged
    int m_seconds = 0;
    bool m_painted = false;
};

// Milliseconds since this process was started, from /proc/self/stat (Linux; -1 elsewhere).
// The start time has the kernel's clock-tick resolution (10 ms), rounded down, so the result
// reads up to one tick long.
double msSinceProcessStart();

} // namespace quelo
