// SPDX-License-Identifier: GPL-3.0-or-later
#include "options.h"
#include "model_texts.h"

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

// The command line's texts, in the user's language.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(Options)
};

// The parameter count in words, in the user's language.
QString parameterCount()
{
    return modelText(countInWords(kParameterCount));
}

QString description()
{
    return Text::tr(
        "Data link for the Quelo Series 508 ignition module.\n"
        "The module is looked for on ports 1, 2 and 3 in turn (9600 baud, 8N1). Without\n"
        "--ports those are COM1..COM3 on Windows, and elsewhere the first three serial\n"
        "devices the system lists: USB adapters (ttyUSB*, ttyACM*, cu.usb*) first, then\n"
        "the others, each group in name order with numbers compared by value.\n"
        "With --export-config or --import-config no window opens (no display is needed):\n"
        "the program finds the module, reads or writes its %1 configuration\n"
        "parameters, reports its progress on standard error and exits. --record works\n"
        "with and without a window.\n"
        "Files: only regular files are read (a FIFO or a device is refused at once), a\n"
        "configuration file only up to 1 MiB; only a regular file or a new name is\n"
        "written, never a device; the same file may not be named twice.\n"
        "Exit status: 0 done; 1 a module or link problem (no module found, --timeout\n"
        "passed, a value the module did not take, interrupted, --demo, --screenshot or\n"
        "--record failed); 2 a bad command line, a bad or unwritable configuration file,\n"
        "a file saved from a module with other firmware (see --any-firmware), or a\n"
        "window run without a display (use QT_QPA_PLATFORM=offscreen with --quit-after,\n"
        "or the headless commands).");
}

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

struct OptionSet
{
    QCommandLineOption ports{QStringLiteral("ports"),
                             Text::tr("Device paths for ports 1..3, comma separated. An "
                                      "entry may be empty or name a missing device: that "
                                      "port then fails to open. A relative path is taken "
                                      "from the working directory; a bare name "
                                      "(ttyUSB0) is the device under /dev."),
                             QStringLiteral("DEV1,DEV2,DEV3")};
    QCommandLineOption demo{
        QStringLiteral("demo"),
        DemoModule::available()
            ? Text::tr("Start a simulated module on a pseudo-terminal and put it on port 1.")
            : Text::tr("Not available: this build has no simulated module (no "
                       "pseudo-terminals).")};
    QCommandLineOption screenshot{
        QStringLiteral("screenshot"),
        Text::tr("With --quit-after: save a PNG of the window before quitting."),
        QStringLiteral("FILE.png")};
    QCommandLineOption quitAfter{QStringLiteral("quit-after"),
                                 Text::tr("Quit after SECONDS (0 to 86400)."),
                                 QStringLiteral("SECONDS")};
    QCommandLineOption log{QStringLiteral("log"),
                           Text::tr("Append the link's events (quelo.link), with times, to "
                                    "FILE (a regular file or a new name) instead of "
                                    "standard error."),
                           QStringLiteral("FILE")};
    QCommandLineOption record{
        QStringLiteral("record"),
        Text::tr("Record the run from launch into FILE (CSV: time, engine speed, advance, "
                 "bus voltage, propeller angle and the link's events), replacing it; '-': "
                 "standard output. Only a regular file or a new name is written."),
        QStringLiteral("FILE")};
    QCommandLineOption trends{
        QStringLiteral("trends"),
        Text::tr("Open the Trends window at launch (as View > Trends); with FILE.csv after "
                 "it, on that recording (as File > Open recording).")};
    QCommandLineOption exportConfig{
        QStringLiteral("export-config"),
        Text::tr("Without a window: wait until the module has reported its firmware "
                 "version and all %1 parameters, write them to FILE as a "
                 "configuration file ('-': standard output) and exit.")
            .arg(parameterCount()),
        QStringLiteral("FILE")};
    QCommandLineOption importConfig{
        QStringLiteral("import-config"),
        Text::tr("Without a window: check FILE, write each value that differs to the "
                 "module, wait until the module reports every one back, store the "
                 "configuration (as STORE CONFIGURATION) and exit. Nothing is stored when "
                 "the module does not take a value. All or nothing: when a value is not "
                 "taken, the time runs out or the program is interrupted before the store, "
                 "every value written is put back and nothing is stored. A file saved from "
                 "a module with other firmware is refused before anything is written."),
        QStringLiteral("FILE")};
    QCommandLineOption historyDir{
        QStringLiteral("history-dir"),
        Text::tr("Keep the configuration history (restore points) in DIR instead of the "
                 "application data folder's \"history\"."),
        QStringLiteral("DIR")};
    QCommandLineOption history{
        QStringLiteral("history"),
        Text::tr("Print the restore points, newest written first, one line each (time, "
                 "event, firmware, port, aircraft, the %1 values as the value boxes show them "
                 "by file key, quoted when not one word, the file; control characters and "
                 "backslashes escaped) and exit. Needs no display and no port. Exit status 2 "
                 "when the folder is not a folder or cannot be read.")
            .arg(parameterCount())};
    QCommandLineOption json{
        QStringLiteral("json"),
        Text::tr("With --history: one compact JSON object per line instead (time, event, "
                 "firmware, port, the values raw and as the value boxes show them, file). "
                 "With --summary: the figures as one JSON object.")};
    QCommandLineOption noHistory{
        QStringLiteral("no-history"),
        Text::tr("Write no restore point in this run (with or without a window).")};
    QCommandLineOption anyFirmware{
        QStringLiteral("any-firmware"),
        Text::tr("With --import-config: import a file saved from a module with other "
                 "firmware than the connected module's.")};
    QCommandLineOption replay{
        QStringLiteral("replay"),
        Text::tr("Play a recording back on the gauges in a window of its own; no port is "
                 "opened."),
        QStringLiteral("FILE.csv")};
    QCommandLineOption speed{QStringLiteral("speed"),
                             Text::tr("With --replay: play at N times the recorded pace "
                                      "(1, 4 or 16; default 1)."),
                             QStringLiteral("N")};
    QCommandLineOption timeout{
        QStringLiteral("timeout"),
        Text::tr("Give up an export or import after SECONDS (above 0, up to 86400; default "
                 "30, and for an import %1 s more for each value it writes). A failed import "
                 "then has up to %2 s and %1 s per value to put back what it wrote.")
            .arg(ConfigTransfer::kMsPerValue / 1000)
            .arg(ConfigTransfer::kPutBackBaseMs / 1000),
        QStringLiteral("SECONDS")};
    QCommandLineOption summary{
        QStringLiteral("summary"),
        Text::tr("Print the figures of a recording, one line each with its unit (minimum, "
                 "maximum, mean and time-weighted mean of each quantity, the time above "
                 "the limits the module held, the run's length, the link-down time, the "
                 "marks) and exit. Needs no display and no port. Exit status 2 for a file "
                 "that is not a recording, holds no telemetry, or lacks a mark named."),
        QStringLiteral("FILE.csv")};
    QCommandLineOption from{QStringLiteral("from"),
                            Text::tr("With --summary: from this mark (\"mark 2\" or 2)."),
                            QStringLiteral("MARK")};
    QCommandLineOption to{QStringLiteral("to"), Text::tr("With --summary: up to this mark."),
                          QStringLiteral("MARK")};
    QCommandLineOption compare{
        QStringLiteral("compare"),
        Text::tr("With --summary: the figures of a second recording beside the first's, "
                 "and the differences (second minus first)."),
        QStringLiteral("B.csv")};
    QCommandLineOption aircraft{
        QStringLiteral("aircraft"),
        Text::tr("The aircraft the module sits in (1 to 32 printable characters; names "
                 "that differ only in the case of A-Z are one aircraft): kept with every "
                 "restore point, file and recording. With --history: list that aircraft's "
                 "restore points only."),
        QStringLiteral("NAME")};
    QCommandLineOption anyAircraft{
        QStringLiteral("any-aircraft"),
        Text::tr("With --import-config: import a file saved for another aircraft than "
                 "--aircraft.")};
    QCommandLineOption fleet{
        QStringLiteral("fleet"),
        Text::tr("Print every aircraft of the history folder (name, last connected, "
                 "firmware, the newest configuration, restore points; '*' after a value "
                 "most of the fleet does not hold) and exit. Needs no display and no "
                 "port.")};
    QCommandLineOption printRecord{
        QStringLiteral("print-record"),
        Text::tr("Without a window: once the module has reported its %1 values, write "
                 "its one-page configuration record to FILE.pdf (and a copy beside its "
                 "restore point in the history folder) and exit.")
            .arg(parameterCount()),
        QStringLiteral("FILE.pdf")};
    QCommandLineOption reconnect{
        QStringLiteral("reconnect"),
        Text::tr("After a lost link, search ports 1-3 until a module answers, probing "
                 "whatever device appears there. Without it the search after a lost link "
                 "runs once, as RESET's does, and then waits for RESET.")};
};

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
