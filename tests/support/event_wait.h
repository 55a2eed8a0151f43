// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <functional>

namespace quelo::test {

// Runs the event loop until pred() holds or timeoutMs passes; the time it took, or -1 when it
// never held. For tests over real pseudo-terminals and processes, where time is not virtual.
inline qint64 waitFor(const std::function<bool()> &pred, int timeoutMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (pred() || elapsed.elapsed() > timeoutMs)
            loop.quit();
    });
    poll.start(5);
    loop.exec();
    return pred() ? elapsed.elapsed() : -1;
}

// The same, for a test that only asks whether it held.
inline bool waitUntil(const std::function<bool()> &pred, int timeoutMs)
{
    return waitFor(pred, timeoutMs) >= 0;
}

} // namespace quelo::test
