// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_serial_comm.h"

#include "errors.h"

#include "link_category.h"
#include "platform.h"
#include "port_access.h"

#include <QDeadlineTimer>
#include <QFileInfo>

namespace quelo {

namespace {

// Who may use the device, and who we are: what the advice on a refused open depends on.
void gatherAccessFacts(const QString &path, OpenFailureFacts &facts)
{
    facts.lockPid = platform::portLockHolder(path);
    platform::gatherAccessFacts(path, facts);
}

} // namespace

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
        drainAndClose();
        return;
    }
    if (m_port.isOpen())
        throw PortError("Port already open");
    openPort();
}

QString QtSerialComm::openPathFor(const QString &device)
{
#ifdef Q_OS_WIN
    if (!device.contains(QLatin1Char('/')) && !device.contains(QLatin1Char('\\')))
        return device;
#endif
    // A bare name is a device under /dev: every check and the lock must see the same path a
    // program naming the device in full would use.
    const QFileInfo info(device.contains(QLatin1Char('/')) ? device
                                                           : QStringLiteral("/dev/") + device);
    const QString canonical = info.canonicalFilePath();
    // A missing device keeps its absolute name, so the open fails with "no such device".
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

void QtSerialComm::openPort()
{
    const QString device = deviceFor(m_commPort);
    if (device.isEmpty()) {
        qCInfo(lcLink).noquote() << "port" << m_commPort << "has no serial device";
        throw PortError("no serial device for this port");
    }
    const QString path = openPathFor(device);
    m_port.setPortName(path);
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    bool opened = m_port.open(QIODevice::ReadWrite);
    if (!opened && m_port.error() == QSerialPort::PermissionError &&
        platform::removeStaleLocks(path)) {
        m_port.clearError();
        opened = m_port.open(QIODevice::ReadWrite);
    }
    if (!opened) {
        const QString reason = openFailureReason(device, path);
        m_port.clearError();
        qCInfo(lcLink).noquote() << "open failed:" << reason;
        throw PortError(reason.toStdString());
    }
    const QString resolved = path != device ? " (" + path + ")" : QString();
    qCInfo(lcLink).noquote() << "opened" << device + resolved << "as port" << m_commPort;
}

// QSerialPort::write only buffers, and close() throws the buffer away: the end of a command
// would never reach the module, which would then read it run together with the next command it
// gets. So what was written is flushed to the device, and on POSIX the driver's queue is let
// drain to the wire, within a bound: a stuck line (flow control held off, a wedged adapter)
// must not hang the program. At 9600 baud a command's tail takes a few milliseconds.
void QtSerialComm::drainAndClose()
{
    if (!m_port.isOpen())
        return;
    constexpr int kDrainLimitMs = 500;
    QDeadlineTimer deadline(kDrainLimitMs);
    while (m_port.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!m_port.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    }
    const qint64 unsent =
        m_port.bytesToWrite() + platform::drainOutputQueue(m_port.handle(), deadline);
    const QString device = deviceFor(m_commPort);
    m_port.close();
    m_port.clearError();
    if (unsent > 0)
        qCInfo(lcLink).noquote() << "closed" << device << "after waiting" << kDrainLimitMs << "ms;"
                                 << unsent << "bytes were not sent";
    else
        qCInfo(lcLink).noquote() << "closed" << device;
}

QString QtSerialComm::openFailureReason(const QString &device, const QString &path) const
{
    OpenFailureFacts facts;
    // The name the user gave, and the device it was taken for when that differs.
    facts.device = (path == device ? device : device + " (" + path + ")").toStdString();
    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        facts.kind = OpenFailureFacts::Kind::NotFound;
        break;
    case QSerialPort::PermissionError:
        facts.kind = OpenFailureFacts::Kind::Denied;
        gatherAccessFacts(path, facts);
        break;
    default:
        facts.otherReason = m_port.errorString().toStdString();
        break;
    }
    return QString::fromStdString(describeOpenFailure(facts));
}

void QtSerialComm::Output(const std::string &text)
{
    if (!m_port.isOpen())
        throw PortError("Port is closed");
    const char *data = text.data();
    auto size = static_cast<qint64>(text.size());
    // Straight to the driver while nothing waits in QSerialPort's queue, so that the order
    // holds; what the driver does not take, or an error, goes through the queue, whose write
    // notifier then sends it or reports the error as a port failure.
    if (m_port.bytesToWrite() == 0) {
        const qint64 written = platform::writeWithoutQueue(m_port.handle(), data, size);
        if (written > 0) {
            data += written;
            size -= written;
        }
        if (size == 0)
            return;
    }
    if (m_port.write(data, size) < 0)
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
        const QString reason =
            deviceFor(m_commPort) + ": " + m_port.errorString() + " (the device went away)";
        m_port.close();
        m_port.clearError();
        qCInfo(lcLink).noquote() << "port failed:" << reason;
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
    return platform::defaultSerialDevices();
}

} // namespace quelo
