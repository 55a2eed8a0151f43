#include "qt_serial_comm.h"

#include "errors.h"
#include "port_order.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#endif

namespace quelo {

QtSerialComm::QtSerialComm(const QStringList &devices, QObject *parent)
    : QObject(parent), m_devices(devices)
{
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialComm::handleReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialComm::handleError);
}

QString QtSerialComm::deviceFor(int port) const
{
    return port >= 1 && port <= m_devices.size() ? m_devices.at(port - 1) : QString();
}

void QtSerialComm::setCommPort(std::int16_t port)
{
    if (m_port.isOpen())
        throw PortError("Port already open");
    if (port < 1 || port > 16)
        throw PortError("Invalid port number");
    m_commPort = port;
}

void QtSerialComm::setPortOpen(bool open)
{
    if (!open) {
        m_port.close();
        return;
    }
    if (m_port.isOpen())
        throw PortError("Port already open");
    const QString device = deviceFor(m_commPort);
    if (device.isEmpty())
        throw PortError("no serial device for this port");
    // A full path is opened as it stands: pseudo-terminals are never listed by the system.
    m_port.setPortName(device);
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        const QString reason = openFailureReason(device);
        m_port.clearError();
        throw PortError(reason.toStdString());
    }
}

QString QtSerialComm::openFailureReason(const QString &device) const
{
    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return device + ": no such device";
    case QSerialPort::PermissionError: {
        // The port is opened exclusively, so a device in use reads like one we may not open.
        QString reason = device + ": access denied, or the port is in use by another program";
#ifdef Q_OS_UNIX
        struct stat st {};
        const QByteArray path = QFileInfo(device).canonicalFilePath().toLocal8Bit();
        if (!path.isEmpty() && ::stat(path.constData(), &st) == 0) {
            if (const group *g = ::getgrgid(st.st_gid)) {
                reason += QStringLiteral(". To get access, join the group that owns it: "
                                         "sudo usermod -aG %1 $USER, then log out and in again")
                              .arg(QString::fromLocal8Bit(g->gr_name));
            }
        }
#endif
        return reason;
    }
    default:
        return device + ": " + m_port.errorString();
    }
}

void QtSerialComm::Output(const std::string &text)
{
    if (!m_port.isOpen())
        throw PortError("Port is closed");
    if (m_port.write(text.data(), static_cast<qint64>(text.size())) < 0)
        throw PortError(deviceFor(m_commPort).toStdString() + ": " +
                        m_port.errorString().toStdString());
}

std::string QtSerialComm::Input()
{
    const QByteArray data = m_port.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

void QtSerialComm::handleReadyRead()
{
    m_event = comEvReceive;
    raiseOnComm();
    m_event = 0;
}

void QtSerialComm::handleError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError: {
        // A hung-up peer or a pulled adapter keeps raising read errors while the port still
        // reads as open: close it at the first one and report that once.
        if (!m_port.isOpen())
            return;
        const QString reason = deviceFor(m_commPort) + ": " + m_port.errorString() +
                               " (the device went away)";
        m_port.close();
        m_port.clearError();
        raiseFailure(reason.toStdString());
        return;
    }
    default:
        // Modem-line calls on a pseudo-terminal report an unsupported operation: harmless.
        return;
    }
}

QStringList QtSerialComm::defaultDevices()
{
#ifdef Q_OS_WIN
    return {QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3")};
#else
    std::vector<std::string> names;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        names.push_back(info.systemLocation().toStdString());
    QStringList devices;
    for (const std::string &name : orderSerialDevices(names)) {
        if (devices.size() == 3)
            break;
        devices << QString::fromStdString(name);
    }
    while (devices.size() < 3)
        devices << QString();
    return devices;
#endif
}

} // namespace quelo
