// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config_command.h"
#include "options.h"

#include <QStringList>

namespace quelo {

// --print-record FILE.pdf: checks FILE.pdf as an export's file is checked (a regular file or a
// new name in a folder that can be written; never a device), before any port is touched. False,
// with the reason on standard error.
bool checkRecordTarget(const Options &options);

// What ConfigCommand does with the module's values for --print-record: builds the record (the
// aircraft of --aircraft, the port and its device, the changes since that aircraft's previous
// configuration in the history, whether the module stored the values), writes the PDF whole or
// not at all (kExitUsage when it cannot be written), and a copy beside the restore point that
// holds these values, when the history has one. Needs a QGuiApplication.
ConfigCommand::RecordSink recordSink(const Options &options, const QStringList &devices);

} // namespace quelo
