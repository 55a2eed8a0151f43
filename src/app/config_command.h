// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config_transfer.h"
#include "file_access.h"
#include "options.h"
#include "parameters.h"

#include <QStringList>

#include <functional>
#include <optional>

namespace quelo {

class RunHistory;
class RunObserver;
class WindowModel;

// --export-config and --import-config: the module's configuration to or from a file, without
// a window. Runs on a QCoreApplication's event loop; creates no widget and needs no display.
// Progress goes to standard error; with "-" the file alone goes to standard output.
class ConfigCommand
{
public:
    explicit ConfigCommand(const Options &options) : m_options(options) {}

    // Reads and checks the file to import, or checks the file to export to and notes which file
    // that is (the one written at the end, whatever is put in its place meanwhile), before any
    // port is touched. False, with the reason on standard error, for a bad file.
    bool prepare();

    // Finds the module on the devices of ports 1..3, does the export or import and closes the
    // port as on unload. Returns the exit code: kExitDone, kExitLink, or kExitUsage when the
    // exported file cannot be written or the file to import was saved from other firmware (and
    // --any-firmware was not given). A signal interrupts the transfer: an import puts back
    // what it wrote first. Needs the application object; returns when done.
    // The observer, when given, hears what the module reports meanwhile (--record).
    int run(const QStringList &devices, RunObserver *observer = nullptr);

    // --print-record: what is done with the module's values once it has reported them all,
    // after the port is closed and the run's restore points are written; returns the exit code.
    // `port` is the port the module answered on, `unstored` what it holds but has not stored.
    using RecordSink = std::function<int(const ConfigValues &values, int port,
                                         const std::vector<std::string> &unstored)>;
    void setRecordSink(RecordSink sink) { m_recordSink = std::move(sink); }

private:
    ConfigTransfer startTransfer(WindowModel &model, ConfigTransfer::Clock now) const;
    int finishExport(const ConfigValues &values);
    int failed(const ConfigTransfer &transfer) const;
    // One look at the transfer after the model's event or the ticker: the exit code once it has
    // ended, nothing while it goes on.
    std::optional<int> step(WindowModel &model, ConfigTransfer &transfer, RunHistory &history,
                            const QStringList &devices) const;

    const Options &m_options;
    ConfigValues m_import;
    FileReplacement m_export;
    RecordSink m_recordSink;
};

} // namespace quelo
