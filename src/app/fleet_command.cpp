// SPDX-License-Identifier: GPL-3.0-or-later
#include "fleet_command.h"

#include "aircraft.h"
#include "file_paths.h"
#include "history_command.h"
#include "stamp.h"

#include <QCoreApplication>

#include <cstdio>

namespace quelo {

namespace {

// The messages of this file, in the user's language.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(FleetCommand)
};

std::string fleetLine(const FleetAircraft &aircraft)
{
    std::string line = escapedForLine(aircraft.name) + '\t';
    line += aircraft.lastConnectedUtcMs
                ? isoTime(*aircraft.lastConnectedUtcMs, aircraft.lastConnectedOffsetMinutes)
                : std::string("-");
    line += '\t' + escapedForLine(aircraft.newest.config.firmware) + '\t' +
            std::to_string(aircraft.restorePoints);
    const auto texts = shownTexts(aircraft.newest.config);
    for (std::size_t i = 0; i < kParameterCount; ++i)
        line += '\t' + texts[i] + (aircraft.differs[i] ? "*" : "");
    return line;
}

} // namespace

int printFleet(const Options &options)
{
    HistoryFolder folder(historyFolder(options));
    QString error;
    if (!folder.canList(error)) {
        std::fprintf(stderr, "quelo-link: --fleet: %s\n", qPrintable(error));
        return kExitUsage;
    }
    std::string text = "AIRCRAFT\tLAST CONNECTED\tFIRMWARE\tRESTORE POINTS";
    for (const Parameter &p : kParameters)
        text += std::string("\t") + p.name;
    text += '\n';
    for (const FleetAircraft &aircraft : fleetOf(folder.load()))
        text += fleetLine(aircraft) + '\n';
    if (!writeStandardOutput(text.data(), text.size())) {
        std::fprintf(stderr, "quelo-link: %s\n",
                     qPrintable(Text::tr("--fleet: standard output could not be written")));
        return kExitLink;
    }
    return kExitDone;
}

} // namespace quelo
