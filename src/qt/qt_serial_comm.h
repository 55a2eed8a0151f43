// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mscomm.h"

#include <QObject>
#include <QSerialPort>
#include <QStringList>

namespace quelo {

// The serial component on a QSerialPort: ports 1..3 map to the given device paths,
// 9600 baud, no parity, 8 data bits, 1 stop bit, no flow control.
class QtSerialComm : public QObject, public MSComm
{
    Q_OBJECT

public:
    explicit QtSerialComm(const QStringList &devices, QObject *parent = nullptr);

    void setCommPort(std::int16_t port) override;
    std::int16_t CommPort() const override { return m_commPort; }
    void setPortOpen(bool open) override;
    bool PortOpen() const override { return m_port.isOpen(); }
    void Output(const std::string &text) override;
    std::string Input() override;
    std::int16_t CommEvent() const override { return m_event; }

    QString deviceFor(int port) const;

    // The path a device name is opened under. A name with a slash is a file path: a relative one
    // is taken from the working directory. A bare name ("ttyUSB0") is the device of that name
    // under /dev (on Windows, "COM1" is left to the port layer). Symbolic links are resolved,
    // so the port's lock is taken on the device itself whatever name reaches it.
    static QString openPathFor(const QString &device);

    // Ports 1..3 when no --ports is given: COM1..COM3 on Windows; elsewhere the first three
    // devices the system lists, USB adapters first.
    static QStringList defaultDevices();

private:
    void handleReadyRead();
    void handleError(QSerialPort::SerialPortError error);
    void openPort();
    void drainAndClose();
    QString openFailureReason(const QString &device, const QString &path) const;

    QSerialPort m_port;
    QStringList m_devices;
    std::int16_t m_commPort = 1;
    std::int16_t m_event = 0;
};

} // namespace quelo
