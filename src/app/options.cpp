// SPDX-License-Identifier: GPL-3.0-or-later
#include "options.h"
#include "option_set.h"

#include "aircraft.h"
#include "config_transfer.h"
#include "demo_module.h"

#include "port_order.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cmath>

namespace quelo {

namespace {

using options_detail::description;
using options_detail::OptionSet;
using options_detail::parameterCount;
using options_detail::Text;

Options answer(Options::Action action, const QString &text)
{
    Options options;
    options.action = action;
    options.text = text;
    return options;
}

Options failure(const QString &text)
{
    return answer(Options::Action::Error, text);
}

std::optional<double> parseSeconds(const QString &text)
{
    bool ok = false;
    const double seconds = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds < 0.0 || seconds > kMaxQuitAfterSeconds)
        return std::nullopt;
    return seconds;
}

// Reads --export-config, --import-config and --timeout into options; the error text when they
// do not fit together.
std::optional<QString> parseConfigCommand(const QCommandLineParser &parser, const OptionSet &set,
                                          Options &options)
{
    const bool exporting = parser.isSet(set.exportConfig);
    const bool importing = parser.isSet(set.importConfig);
    options.exportConfig = parser.value(set.exportConfig);
    options.importConfig = parser.value(set.importConfig);
    if (exporting && importing)
        return Text::tr("--export-config and --import-config cannot be used together");
    if ((exporting && options.exportConfig.isEmpty()) ||
        (importing && options.importConfig.isEmpty()))
        return Text::tr("--%1 needs a file name ('-' for standard output)")
            .arg(exporting ? QStringLiteral("export-config") : QStringLiteral("import-config"));
    if (importing && options.importConfig == QStringLiteral("-"))
        return Text::tr("--import-config needs a file name");
    const QString command =
        exporting ? QStringLiteral("--export-config") : QStringLiteral("--import-config");
    if ((exporting || importing) && parser.isSet(set.quitAfter))
        return Text::tr("%1 runs without a window: no --quit-after").arg(command);
    if ((exporting || importing) && parser.isSet(set.screenshot))
        return Text::tr("%1 runs without a window: no --screenshot").arg(command);
    if ((exporting || importing) && parser.isSet(set.trends))
        return Text::tr("%1 runs without a window: no --trends").arg(command);
    if (parser.isSet(set.printRecord) && (exporting || importing))
        return Text::tr("--print-record cannot be used with %1").arg(command);
    options.anyFirmware = parser.isSet(set.anyFirmware);
    if (options.anyFirmware && !importing)
        return Text::tr("--any-firmware needs --import-config");
    if (!parser.isSet(set.timeout))
        return std::nullopt;
    if (!exporting && !importing && !parser.isSet(set.printRecord))
        return Text::tr("--timeout needs --export-config or --import-config");
    const std::optional<double> seconds = parseSeconds(parser.value(set.timeout));
    if (!seconds || *seconds <= 0.0)
        return Text::tr("--timeout needs a number of seconds above 0 and up to %1, not "
                        "'%2'")
            .arg(kMaxQuitAfterSeconds)
            .arg(parser.value(set.timeout));
    options.timeoutSeconds = *seconds;
    options.timeoutGiven = true;
    return std::nullopt;
}

// --history-dir, --no-history, and --history, which takes nothing else but them and --json.
std::optional<QString> parseHistory(const QCommandLineParser &parser, const OptionSet &set,
                                    Options &options)
{
    options.historyDir = parser.value(set.historyDir);
    if (parser.isSet(set.historyDir) && options.historyDir.isEmpty())
        return Text::tr("--history-dir needs a folder");
    options.noHistory = parser.isSet(set.noHistory);
    options.listHistory = parser.isSet(set.history);
    options.historyJson = parser.isSet(set.json);
    if (options.historyJson && !options.listHistory && !parser.isSet(set.summary))
        return Text::tr("--json goes with --history or --summary only");
    if (!options.listHistory)
        return std::nullopt;
    for (const QString &name : parser.optionNames())
        if (name != QStringLiteral("history") && name != QStringLiteral("history-dir") &&
            name != QStringLiteral("json") && name != QStringLiteral("aircraft"))
            return Text::tr("--history takes no other option than --history-dir, --json "
                            "and --aircraft");
    return std::nullopt;
}

// --aircraft, --any-aircraft, --fleet and --print-record.
std::optional<QString> parseAircraft(const QCommandLineParser &parser, const OptionSet &set,
                                     Options &options)
{
    if (parser.isSet(set.aircraft)) {
        std::string why;
        const std::optional<std::string> name =
            aircraftName(parser.value(set.aircraft).toStdString(), why);
        if (!name)
            return Text::tr("--aircraft: not an aircraft name: %1").arg(modelText(why));
        options.aircraft = QString::fromStdString(*name);
    }
    options.anyAircraft = parser.isSet(set.anyAircraft);
    if (options.anyAircraft && !parser.isSet(set.importConfig))
        return Text::tr("--any-aircraft needs --import-config");
    options.printRecord = parser.value(set.printRecord);
    if (parser.isSet(set.printRecord) && options.printRecord.isEmpty())
        return Text::tr("--print-record needs a file name");
    for (const QCommandLineOption *windowOnly : {&set.quitAfter, &set.screenshot, &set.trends})
        if (parser.isSet(set.printRecord) && parser.isSet(*windowOnly))
            return Text::tr("--print-record runs without a window: no --%1")
                .arg(windowOnly->names().constFirst());
    options.listFleet = parser.isSet(set.fleet);
    if (!options.listFleet)
        return std::nullopt;
    for (const QString &name : parser.optionNames())
        if (name != QStringLiteral("fleet") && name != QStringLiteral("history-dir"))
            return Text::tr("--fleet takes no other option than --history-dir");
    return std::nullopt;
}

// Reads --replay and --speed into options; the error text when they do not fit.
std::optional<QString> parseReplay(const QCommandLineParser &parser, const OptionSet &set,
                                   Options &options)
{
    options.replay = parser.value(set.replay);
    const bool replaying = parser.isSet(set.replay);
    if (replaying && options.replay.isEmpty())
        return Text::tr("--replay needs a file name");
    if (parser.isSet(set.speed)) {
        if (!replaying)
            return Text::tr("--speed needs --replay");
        const QString speed = parser.value(set.speed).trimmed();
        if (speed != QLatin1String("1") && speed != QLatin1String("4") &&
            speed != QLatin1String("16"))
            return Text::tr("--speed takes 1, 4 or 16, not '%1'").arg(speed);
        options.replaySpeed = speed.toInt();
    }
    if (!replaying)
        return std::nullopt;
    for (const QCommandLineOption *portUser :
         {&set.ports, &set.demo, &set.record, &set.exportConfig, &set.importConfig,
          &set.reconnect}) {
        if (parser.isSet(*portUser))
            return Text::tr("--replay opens no port: no --%1").arg(portUser->names().constFirst());
    }
    return std::nullopt;
}

// --summary and what may go with it: --from, --to, --json, --compare.
std::optional<QString> parseSummary(const QCommandLineParser &parser, const OptionSet &set,
                                    Options &options)
{
    const bool summing = parser.isSet(set.summary);
    options.summary = parser.value(set.summary);
    options.summaryFrom = parser.value(set.from);
    options.summaryTo = parser.value(set.to);
    options.compare = parser.value(set.compare);
    options.summaryJson = summing && parser.isSet(set.json);
    for (const QCommandLineOption *part : {&set.from, &set.to, &set.compare}) {
        if (parser.isSet(*part) && !summing)
            return Text::tr("--%1 needs --summary").arg(part->names().constFirst());
        if (parser.isSet(*part) && parser.value(*part).isEmpty())
            return Text::tr("--%1 needs a %2")
                .arg(part->names().constFirst(),
                     part == &set.compare ? QStringLiteral("file name") : QStringLiteral("mark"));
    }
    if (!summing)
        return std::nullopt;
    if (options.summary.isEmpty())
        return Text::tr("--summary needs a file name");
    const QStringList allowed{"summary", "from", "to", "json", "compare"};
    for (const QString &name : parser.optionNames())
        if (!allowed.contains(name))
            return Text::tr("--summary takes no other option than --from, --to, --json "
                            "and --compare, not --%1")
                .arg(name);
    return std::nullopt;
}

// --ports, --quit-after and --screenshot: the ports searched and how an unattended run ends.
std::optional<QString> parseStartAndQuit(const QCommandLineParser &parser, const OptionSet &set,
                                         Options &options)
{
    if (parser.isSet(set.ports)) {
        const auto entries = parsePortList(parser.value(set.ports).toStdString());
        if (entries.size() > 3)
            return Text::tr("--ports takes at most three devices (ports 1..3)");
        QStringList ports;
        for (const std::string &entry : entries)
            ports << QString::fromStdString(entry);
        options.ports = ports;
    }
    if (parser.isSet(set.quitAfter)) {
        options.quitAfterSeconds = parseSeconds(parser.value(set.quitAfter));
        if (!options.quitAfterSeconds)
            return Text::tr("--quit-after needs a number of seconds from 0 to %1, "
                            "not '%2'")
                .arg(kMaxQuitAfterSeconds)
                .arg(parser.value(set.quitAfter));
    }
    options.screenshot = parser.value(set.screenshot);
    if (parser.isSet(set.screenshot) && !options.quitAfterSeconds)
        return Text::tr("--screenshot needs --quit-after");
    if (parser.isSet(set.screenshot) && options.screenshot.isEmpty())
        return Text::tr("--screenshot needs a file name");
    return std::nullopt;
}

// --demo, --reconnect, --log, --trends and --record: what the window's run does.
std::optional<QString> parseRun(const QCommandLineParser &parser, const OptionSet &set,
                                Options &options)
{
    options.demo = parser.isSet(set.demo);
    options.reconnect = parser.isSet(set.reconnect);
    if (options.demo && !DemoModule::available())
        return Text::tr("--demo is not available: this build has no simulated module");
    options.logFile = parser.value(set.log);
    if (parser.isSet(set.log) && options.logFile.isEmpty())
        return Text::tr("--log needs a file name");
    options.trends = parser.isSet(set.trends);
    options.record = parser.value(set.record);
    if (parser.isSet(set.record) && options.record.isEmpty())
        return Text::tr("--record needs a file name");
    return std::nullopt;
}

} // namespace

Options parseOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description().arg(parameterCount()));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const OptionSet set;
    parser.addOptions({set.ports, set.demo, set.screenshot, set.quitAfter, set.log, set.record,
                       set.trends, set.exportConfig, set.importConfig, set.anyFirmware, set.timeout,
                       set.historyDir, set.history, set.json, set.noHistory});
    parser.addOptions({set.replay, set.speed, set.reconnect});
    parser.addOptions({set.summary, set.from, set.to, set.compare});
    parser.addOptions({set.aircraft, set.anyAircraft, set.fleet, set.printRecord});
    parser.addPositionalArgument(QStringLiteral("FILE.csv"),
                                 Text::tr("With --trends: a recording to open."),
                                 QStringLiteral("[--trends FILE.csv]"));
    if (!parser.parse(arguments))
        return failure(parser.errorText());
    if (parser.isSet(help))
        return answer(Options::Action::Help,
                      parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                QFileInfo(arguments.value(0)).fileName()));
    if (parser.isSet(version))
        return answer(Options::Action::Version, {});
    const QStringList positional = parser.positionalArguments();
    const bool oneRecording = positional.size() == 1 && parser.isSet(set.trends);
    if (!positional.isEmpty() && !oneRecording)
        return failure(Text::tr("unexpected argument '%1' (options start with --; only "
                                "--trends takes a recording after it)")
                           .arg(positional.value(parser.isSet(set.trends) ? 1 : 0)));

    Options options;
    if (const std::optional<QString> error = parseStartAndQuit(parser, set, options))
        return failure(*error);
    if (const std::optional<QString> error = parseRun(parser, set, options))
        return failure(*error);
    options.trendsFile = oneRecording ? positional.constFirst() : QString();
    if (const std::optional<QString> error = parseConfigCommand(parser, set, options))
        return failure(*error);
    if (const std::optional<QString> error = parseHistory(parser, set, options))
        return failure(*error);
    if (const std::optional<QString> error = parseReplay(parser, set, options))
        return failure(*error);
    if (const std::optional<QString> error = parseSummary(parser, set, options))
        return failure(*error);
    if (const std::optional<QString> error = parseAircraft(parser, set, options))
        return failure(*error);
    return options;
}

} // namespace quelo
