// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for the cost at rest (scripts/measure.sh): a minimal window of four gauges that
// repaint only when their needle moves, driven by one 10 ms timer, with nothing else. At rest
// (every needle on its target) each tick compares four values and paints nothing.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cmath>

namespace {

class MinimalGauge final : public QWidget
{
public:
    explicit MinimalGauge(QWidget *parent) : QWidget(parent) { setFixedSize(201, 169); }

    // Steps towards the target; repaints when the needle moved.
    void step()
    {
        if (m_value == m_target)
            return;
        m_value += std::copysign(std::min(1.0, std::fabs(m_target - m_value)), m_target - m_value);
        update();
    }
    void setTarget(double target) { m_target = target; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0x40, 0x80, 0x80));
        const QPointF pivot(width() - 10, height() - 10);
        const double angle = (270 + 90 * m_value / 100) * M_PI / 180;
        p.setPen(QPen(QColor(0, 0, 0xA0), 2));
        p.drawLine(pivot, pivot + 150 * QPointF(std::sin(angle), -std::cos(angle)));
    }

private:
    double m_value = 0;
    double m_target = 50;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("rest reference"));
    window.setFixedSize(840, 200);
    std::array<MinimalGauge *, 4> gauges{};
    for (int i = 0; i < 4; ++i) {
        gauges[std::size_t(i)] = new MinimalGauge(&window);
        gauges[std::size_t(i)]->move(10 + 207 * i, 15);
    }
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, &window, [&gauges] {
        for (MinimalGauge *gauge : gauges)
            gauge->step();
    });
    tick.start(10);
    // --quit-after SECONDS, as the program takes it.
    const QStringList args = app.arguments();
    const qsizetype quit = args.indexOf(QStringLiteral("--quit-after"));
    if (quit >= 0 && quit + 1 < args.size())
        QTimer::singleShot(int(args[quit + 1].toDouble() * 1000), &app, &QApplication::quit);
    window.show();
    return app.exec();
}
