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
// units under their keys) and "shown" (the value boxes' texts, for a human reader; ignored
// when read back).

// The file's bytes for a configuration saved at `saved`.
QByteArray configToJson(const ConfigValues &config, const QDateTime &saved);

// Writes the file atomically: either the whole file replaces `path` or `path` is left as it
// was and `error` says why.
bool writeConfig(const QString &path, const ConfigValues &config, const QDateTime &saved,
                 QString &error);

// Validates the whole text before taking anything from it. On any problem returns false with
// one message naming the key and the reason, and leaves `config` untouched. "shown" and
// "saved" are not checked ("saved" is kept as text, for display); other top-level members are
// ignored.
bool parseConfig(const QByteArray &bytes, ConfigValues &config, QString &error);
bool readConfig(const QString &path, ConfigValues &config, QString &error);

// "quelo-config-<firmware>-<yyyy-MM-dd>.json".
QString defaultConfigFileName(const QString &firmware, const QDate &date);

} // namespace quelo
