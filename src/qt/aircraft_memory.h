// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>

namespace quelo {

// Which aircraft name was used last on each port's device, kept in a small JSON file of this
// computer's own (not in the history folder, which other computers may share: their devices are
// other cables). Read and written through the file layer; a missing or bad file is an empty
// memory. Synchronous: call off the window's thread.
QMap<QString, QString> readAircraftMemory(const QString &path);
bool writeAircraftMemory(const QString &path, const QMap<QString, QString> &names, QString &error);
// "aircraft-ports.json" in the application data folder.
QString defaultAircraftMemoryPath();

} // namespace quelo
