// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the file layer's own files share (file_access.cpp, file_access_record.cpp); nothing
// outside the file layer includes this.

#include <QByteArray>
#include <QString>

namespace quelo::fileaccess {

QString systemReason(int error);
QByteArray encoded(const QString &path);
QString notRegular();
// Writes all of `size` bytes or says why not; a short write is retried until an error.
bool writeAll(int fd, const char *data, qint64 size, QString &error);

} // namespace quelo::fileaccess
