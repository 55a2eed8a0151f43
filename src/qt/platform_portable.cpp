// SPDX-License-Identifier: GPL-3.0-or-later
// The stand-ins for the platform pieces where there is no version of its own (platform.h says
// what each piece is for and what Windows offers for it). Plain Qt: this file is compiled on
// every build, so that it keeps building.
#include "platform.h"

#include "port_access.h"

namespace quelo::platform {

qint64 portLockHolder(const QString &)
{
    return 0; // no lock file to read: the system names no holder
}

bool removeStaleLocks(const QString &)
{
    return false; // no lock files
}

void gatherAccessFacts(const QString &, OpenFailureFacts &) {}

qint64 drainOutputQueue(qintptr, const QDeadlineTimer &)
{
    return 0; // only what QSerialPort itself waits for
}

qint64 writeWithoutQueue(qintptr, const char *, qint64)
{
    return 0; // QSerialPort queues and writes everything
}

QStringList defaultSerialDevices()
{
    return {QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3")};
}

int installQuitSignals()
{
    return -1;
}

void removeQuitSignals() {}

void takeQuitSignal(int) {}

double msSinceProcessStart()
{
    return -1.0;
}

} // namespace quelo::platform
