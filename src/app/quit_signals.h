// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace quelo {

// Turns SIGINT, SIGTERM and SIGHUP (the terminal closed) into a call on the event loop. The signal
// handler only writes one byte to a socket pair (async-signal-safe); the notifier on the other end
// calls onSignal, where anything may be done. One instance at a time: a signal handler is
// process-wide.
class QuitSignals : public QObject
{
    Q_OBJECT

public:
    explicit QuitSignals(std::function<void()> onSignal, QObject *parent = nullptr);
    ~QuitSignals() override;

    // False when the socket pair or the handlers could not be set up; the signals then keep
    // their default action.
    bool isActive() const { return m_notifier != nullptr; }

private:
    void readSignal();

    std::function<void()> m_onSignal;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace quelo
