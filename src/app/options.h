#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quelo {

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
};

// The longest --quit-after accepted: one day.
inline constexpr double kMaxQuitAfterSeconds = 86400.0;

// Parses the arguments (the program name first). Anything the program would otherwise ignore
// or misread is an error: an unknown option, a positional word, more than three --ports
// entries, a --quit-after that is not a finite number of seconds from 0 to one day, and
// --screenshot without --quit-after.
Options parseOptions(const QStringList &arguments);

} // namespace quelo
