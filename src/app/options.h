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
    std::optional<double> quitAfterSeconds;
    QString screenshot;
    QString logFile;
    QString record;      // --record: the run is recorded into this file ("-": standard output)
    bool trends = false; // --trends: the Trends window opens at launch
    QString trendsFile;  // --trends FILE.csv: ... on this recording

    // Without a window: read the module's configuration into a file ("-": standard output),
    // or put a file's configuration into the module and store it. At most one is set.
    QString exportConfig;
    QString importConfig;
    double timeoutSeconds = kDefaultTimeoutSeconds; // bounds an export or an import

    bool configCommand() const { return !exportConfig.isEmpty() || !importConfig.isEmpty(); }
};

// Parses the arguments (the program name first). Anything the program would otherwise ignore
// or misread is an error: an unknown option, a positional word (other than one recording after
// --trends), more than three --ports
// entries, a --quit-after that is not a finite number of seconds from 0 to one day,
// --screenshot without --quit-after, --timeout without an export or import or not above 0
// seconds, --export-config and --import-config together or with --quit-after or
// --screenshot, and --record without a file name.
Options parseOptions(const QStringList &arguments);

} // namespace quelo
