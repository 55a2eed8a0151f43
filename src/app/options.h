// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quelo {

// The longest --quit-after and --timeout accepted: one day.
inline constexpr double kMaxQuitAfterSeconds = 86400.0;
inline constexpr double kDefaultTimeoutSeconds = 30.0;

// Exit codes: done; the module or the link failed; a bad command line or file.
inline constexpr int kExitDone = 0;
inline constexpr int kExitLink = 1;
inline constexpr int kExitUsage = 2;

// The program's command line, checked. Produced by parseOptions; main() only acts on it.
struct Options
{
    enum class Action
    {
        Run,
        Help,
        Version,
        Error
    };

    Action action = Action::Run;
    QString text; // Help: the help text; Error: what is wrong, in one line

    std::optional<QStringList> ports; // --ports, always three entries; unset: the system's list
    bool demo = false;
    bool reconnect = false; // --reconnect: after a lost link, search until a module answers
    std::optional<double> quitAfterSeconds;
    QString screenshot;
    QString logFile;
    QString record;      // --record: the run is recorded into this file ("-": standard output)
    bool trends = false; // --trends: the Trends window opens at launch
    QString replay;      // --replay: a recording played back on the gauges; no port is opened
    int replaySpeed = 1; // --speed: 1, 4 or 16
    QString trendsFile;  // --trends FILE.csv: the Trends window opens on this recording

    // Without a window: read the module's configuration into a file ("-": standard output),
    // or put a file's configuration into the module and store it. At most one is set.
    QString exportConfig;
    QString importConfig;
    double timeoutSeconds = kDefaultTimeoutSeconds; // bounds an export or an import
    // --timeout was given: a fixed bound. Without it an import is given more time for each
    // value it has to write.
    bool timeoutGiven = false;
    // --any-firmware: import a file saved from a module with other firmware.
    bool anyFirmware = false;

    // Restore points go to this folder instead of the application data folder's "history".
    QString historyDir;
    // --history: print the restore points, newest written first, and exit (no window, no
    // port); --json: as one JSON object per line.
    bool listHistory = false;
    bool historyJson = false;
    // --no-history: no restore point is written in this run.
    bool noHistory = false;

    // --summary: print the figures of a recording ([--from MARK] [--to MARK], --json, and
    // --compare with a second one) and exit (no window, no port).
    QString summary;
    QString summaryFrom;
    QString summaryTo;
    QString compare;
    bool summaryJson = false;

    // --aircraft: the aircraft the run is for (trimmed, checked); with --history, the one listed.
    QString aircraft;
    // --any-aircraft: import a file saved for another aircraft than --aircraft.
    bool anyAircraft = false;
    // --fleet: print every aircraft of the history folder and exit (no window, no port).
    bool listFleet = false;
    // --print-record: without a window, the module's configuration record as a PDF file.
    QString printRecord;

    bool configCommand() const
    {
        return !exportConfig.isEmpty() || !importConfig.isEmpty() || !printRecord.isEmpty();
    }
};

// Parses the arguments (the program name first). Anything the program would otherwise ignore
// or misread is an error: an unknown option, a positional word (other than one recording after
// --trends), more than three --ports
// entries, a --quit-after that is not a finite number of seconds from 0 to one day,
// --screenshot without --quit-after, --timeout without an export or import or not above 0
// seconds, --export-config and --import-config together or with --quit-after or
// --screenshot, --any-firmware without --import-config, --record without a file name,
// --history with anything but --history-dir and --json, --json without --history or --summary,
// --summary with anything but --from, --to, --json and --compare, --replay
// with anything that uses a port, and --speed without --replay or other than 1, 4 or 16.
Options parseOptions(const QStringList &arguments);

} // namespace quelo
