// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "parameters.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

namespace quelo {

// Configuration files: a JSON object with "format": "quelo-config", "version": 1, "saved"
// (ISO 8601 with the UTC offset), "firmware", "parameters" (the seven values in the sliders'
// units under their keys), "shown" (the value boxes' texts, for a human reader; ignored
// when read back) and, when the configuration has one, "aircraft" (its aircraft's name).

// A configuration is a few hundred bytes; a file over this is refused without being read.
inline constexpr qint64 kMaxConfigBytes = 1024 * 1024;

// The file's bytes for a configuration saved at `saved`.
QByteArray configToJson(const ConfigValues &config, const QDateTime &saved);

// Writes the file atomically: either the whole file replaces `path` or `path` is left as it
// was and `error` says why. Only a regular file or a new name is written (never a device).
bool writeConfig(const QString &path, const ConfigValues &config, const QDateTime &saved,
                 QString &error);

// Validates the whole text before taking anything from it. On any problem returns false with
// one message naming the key and the reason, and leaves `config` untouched. "shown" and
// "saved" are not checked ("saved" is kept as text, for display); other top-level members are
// ignored. A UTF-8 byte order mark at the start is skipped. readConfig reads only a regular
// file of at most kMaxConfigBytes, without blocking on a FIFO or a device.
bool parseConfig(const QByteArray &bytes, ConfigValues &config, QString &error);
bool readConfig(const QString &path, ConfigValues &config, QString &error);

// "quelo-config-<firmware>-<yyyy-MM-dd>.json".
QString defaultConfigFileName(const QString &firmware, const QDate &date);

} // namespace quelo
