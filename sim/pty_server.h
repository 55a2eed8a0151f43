// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "module_sim.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class QSocketNotifier;

namespace quelo::sim {

// Serves a ModuleSim on a pseudo-terminal: a client opens devicePath() like a serial port.
class PtyServer : public QObject
{
    Q_OBJECT

public:
    explicit PtyServer(std::uint32_t seed = 1, QObject *parent = nullptr);
    ~PtyServer() override;

    bool start();
    bool isRunning() const { return m_masterFd >= 0; }
    QString devicePath() const { return m_devicePath; }
    QString errorString() const { return m_errorString; }
    ModuleSim &module() { return m_module; }

    // Closes both ends so the client sees a hang-up. start() may be called again afterwards.
    void hangUp();

    // Creates or atomically replaces a symlink pointing at devicePath(); removed on destruction.
    bool createSymlink(const QString &linkPath);

    // Puts bytes on the line at once, outside the module's replies (line noise, a babbling
    // peer). Returns how many the line took; the rest is lost, as on a real wire.
    qsizetype writeRaw(const QByteArray &bytes);

private:
    void readMaster();
    void flushOutput();
    void scheduleOutput();
    bool fail(const QString &what);

    ModuleSim m_module;
    QElapsedTimer m_clock;
    QTimer m_outputTimer;
    QSocketNotifier *m_notifier = nullptr;
    int m_masterFd = -1;
    int m_slaveFd = -1;
    QString m_devicePath;
    QString m_linkPath;
    QString m_errorString;
};

} // namespace quelo::sim
