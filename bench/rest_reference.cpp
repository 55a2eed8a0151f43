// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for the cost at rest (scripts/measure.sh): a minimal window of four gauges that
// repaint only when their needle moves, driven by one 10 ms timer, with nothing else. At rest
// (every needle on its target) each tick compares four values and paints nothing.
// With --line DEVICE it also carries the module's standing poll on that line (MinimalPoll), so
// that a comparison can leave the serial traffic's own cost out.
#include <QApplication>
#include <QPainter>
#include <QSerialPort>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cmath>
#include <cstdio>
#include <unistd.h>

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

// The standing poll kept up the cheapest way a program can: one character per 30 ms tick,
// written straight to the driver; a 0.25 s pause for each "%", whose end sends the next
// character; the poll queued again by a 300 ms tick once the last one went out; replies read
// and dropped. The same characters at the same pace as the program's poll, and nothing else.
class MinimalPoll final : public QObject
{
public:
    explicit MinimalPoll(const QString &device)
    {
        m_port.setPortName(device);
        m_port.setBaudRate(QSerialPort::Baud9600);
        connect(&m_port, &QSerialPort::readyRead, this, [this] { m_port.readAll(); });
        m_pace.setTimerType(Qt::PreciseTimer);
        connect(&m_pace, &QTimer::timeout, this, &MinimalPoll::sendNext);
        m_pause.setTimerType(Qt::PreciseTimer);
        m_pause.setSingleShot(true);
        connect(&m_pause, &QTimer::timeout, this, [this] {
            sendNext();
            m_pace.start(30);
        });
        m_refill.setTimerType(Qt::PreciseTimer);
        connect(&m_refill, &QTimer::timeout, this, [this] {
            if (!m_queue.isEmpty()) // a pause always has characters behind it
                return;
            m_queue = QByteArrayLiteral("/p\r%/x\r%/w\r");
            m_pace.start(30);
        });
    }
    bool start()
    {
        if (!m_port.open(QIODevice::ReadWrite))
            return false;
        m_refill.start(300);
        return true;
    }

private:
    void sendNext()
    {
        if (m_queue.isEmpty()) {
            m_pace.stop();
            return;
        }
        const char c = m_queue.front();
        m_queue.remove(0, 1);
        if (c == '%') {
            m_pace.stop();
            m_pause.start(250);
            return;
        }
        if (::write(static_cast<int>(m_port.handle()), &c, 1) != 1)
            m_port.write(&c, 1);
        if (m_queue.isEmpty())
            m_pace.stop();
    }

    QSerialPort m_port;
    QByteArray m_queue;
    QTimer m_pace;
    QTimer m_pause;
    QTimer m_refill;
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
    const qsizetype line = args.indexOf(QStringLiteral("--line"));
    MinimalPoll poll(line >= 0 && line + 1 < args.size() ? args[line + 1] : QString());
    if (line >= 0 && !poll.start()) {
        std::fprintf(stderr, "quelo-rest-reference: cannot open the line\n");
        return 1;
    }
    window.show();
    return app.exec();
}
