// SPDX-License-Identifier: GPL-3.0-or-later
#include "options.h"

#include "config_transfer.h"
#include "demo_module.h"

#include "port_order.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cmath>

namespace quelo {

namespace {

const QString kDescription = QStringLiteral(
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
                             QStringLiteral("Device paths for ports 1..3, comma separated. An "
                                            "entry may be empty or name a missing device: that "
                                            "port then fails to open. A relative path is taken "
                                            "from the working directory; a bare name "
                                            "(ttyUSB0) is the device under /dev."),
                             QStringLiteral("DEV1,DEV2,DEV3")};
    QCommandLineOption demo{
        QStringLiteral("demo"),
        DemoModule::available()
            ? QStringLiteral("Start a simulated module on a pseudo-terminal and put it on port 1.")
            : QStringLiteral("Not available: this build has no simulated module (no "
                             "pseudo-terminals).")};
    QCommandLineOption screenshot{
        QStringLiteral("screenshot"),
        QStringLiteral("With --quit-after: save a PNG of the window before quitting."),
        QStringLiteral("FILE.png")};
    QCommandLineOption quitAfter{QStringLiteral("quit-after"),
                                 QStringLiteral("Quit after SECONDS (0 to 86400)."),
                                 QStringLiteral("SECONDS")};
    QCommandLineOption log{QStringLiteral("log"),
                           QStringLiteral("Append the link's events (quelo.link), with times, to "
                                          "FILE (a regular file or a new name) instead of "
                                          "standard error."),
                           QStringLiteral("FILE")};
    QCommandLineOption record{
        QStringLiteral("record"),
        QStringLiteral("Record the run from launch into FILE (CSV: time, engine speed, advance, "
                       "bus voltage, propeller angle and the link's events), replacing it; '-': "
                       "standard output. Only a regular file or a new name is written."),
        QStringLiteral("FILE")};
    QCommandLineOption trends{
        QStringLiteral("trends"),
        QStringLiteral("Open the Trends window at launch (as View > Trends); with FILE.csv after "
                       "it, on that recording (as File > Open recording).")};
    QCommandLineOption exportConfig{
        QStringLiteral("export-config"),
        QStringLiteral("Without a window: wait until the module has reported its firmware "
                       "version and all seven parameters, write them to FILE as a "
                       "configuration file ('-': standard output) and exit."),
        QStringLiteral("FILE")};
    QCommandLineOption importConfig{
        QStringLiteral("import-config"),
        QStringLiteral("Without a window: check FILE, write each value that differs to the "
                       "module, wait until the module reports every one back, store the "
                       "configuration (as STORE CONFIGURATION) and exit. Nothing is stored when "
                       "the module does not take a value. All or nothing: when a value is not "
                       "taken, the time runs out or the program is interrupted before the store, "
                       "every value written is put back and nothing is stored. A file saved from "
                       "a module with other firmware is refused before anything is written."),
        QStringLiteral("FILE")};
    QCommandLineOption historyDir{
        QStringLiteral("history-dir"),
        QStringLiteral("Keep the configuration history (restore points) in DIR instead of the "
                       "application data folder's \"history\"."),
        QStringLiteral("DIR")};
    QCommandLineOption history{
        QStringLiteral("history"),
        QStringLiteral("Print the restore points, newest written first, one line each (time, "
                       "event, firmware, port, the seven values as the value boxes show them by "
                       "file key, quoted when not one word, the file; control characters and "
                       "backslashes escaped) and exit. Needs no display and no port. Exit status "
                       "2 when the folder is not a folder or cannot be read.")};
    QCommandLineOption json{
        QStringLiteral("json"),
        QStringLiteral("With --history: one compact JSON object per line instead (time, event, "
                       "firmware, port, the values raw and as the value boxes show them, file).")};
    QCommandLineOption noHistory{
        QStringLiteral("no-history"),
        QStringLiteral("Write no restore point in this run (with or without a window).")};
    QCommandLineOption anyFirmware{
        QStringLiteral("any-firmware"),
        QStringLiteral("With --import-config: import a file saved from a module with other "
                       "firmware than the connected module's.")};
    QCommandLineOption replay{
        QStringLiteral("replay"),
        QStringLiteral("Play a recording back on the gauges in a window of its own; no port is "
                       "opened."),
        QStringLiteral("FILE.csv")};
    QCommandLineOption speed{QStringLiteral("speed"),
                             QStringLiteral("With --replay: play at N times the recorded pace "
                                            "(1, 4 or 16; default 1)."),
                             QStringLiteral("N")};
    QCommandLineOption timeout{
        QStringLiteral("timeout"),
        QStringLiteral("Give up an export or import after SECONDS (above 0, up to 86400; default "
                       "30, and for an import %1 s more for each value it writes). A failed import "
                       "then has up to %2 s and %1 s per value to put back what it wrote.")
            .arg(ConfigTransfer::kMsPerValue / 1000)
            .arg(ConfigTransfer::kPutBackBaseMs / 1000),
        QStringLiteral("SECONDS")};
    QCommandLineOption reconnect{
        QStringLiteral("reconnect"),
        QStringLiteral("After a lost link, search ports 1-3 until a module answers, probing "
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
        return QStringLiteral("--export-config and --import-config cannot be used together");
    if ((exporting && options.exportConfig.isEmpty()) ||
        (importing && options.importConfig.isEmpty()))
        return QStringLiteral("--%1 needs a file name ('-' for standard output)")
            .arg(exporting ? QStringLiteral("export-config") : QStringLiteral("import-config"));
    if (importing && options.importConfig == QStringLiteral("-"))
        return QStringLiteral("--import-config needs a file name");
    const QString command =
        exporting ? QStringLiteral("--export-config") : QStringLiteral("--import-config");
    if ((exporting || importing) && parser.isSet(set.quitAfter))
        return command + QStringLiteral(" runs without a window: no --quit-after");
    if ((exporting || importing) && parser.isSet(set.screenshot))
        return command + QStringLiteral(" runs without a window: no --screenshot");
    if ((exporting || importing) && parser.isSet(set.trends))
        return command + QStringLiteral(" runs without a window: no --trends");
    options.anyFirmware = parser.isSet(set.anyFirmware);
    if (options.anyFirmware && !importing)
        return QStringLiteral("--any-firmware needs --import-config");
    if (!parser.isSet(set.timeout))
        return std::nullopt;
    if (!exporting && !importing)
        return QStringLiteral("--timeout needs --export-config or --import-config");
    const std::optional<double> seconds = parseSeconds(parser.value(set.timeout));
    if (!seconds || *seconds <= 0.0)
        return QStringLiteral("--timeout needs a number of seconds above 0 and up to %1, not "
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
        return QStringLiteral("--history-dir needs a folder");
    options.noHistory = parser.isSet(set.noHistory);
    options.listHistory = parser.isSet(set.history);
    options.historyJson = parser.isSet(set.json);
    if (options.historyJson && !options.listHistory)
        return QStringLiteral("--json goes with --history only");
    if (!options.listHistory)
        return std::nullopt;
    for (const QString &name : parser.optionNames())
        if (name != QStringLiteral("history") && name != QStringLiteral("history-dir") &&
            name != QStringLiteral("json"))
            return QStringLiteral("--history takes no other option than --history-dir and --json");
    return std::nullopt;
}

// Reads --replay and --speed into options; the error text when they do not fit.
std::optional<QString> parseReplay(const QCommandLineParser &parser, const OptionSet &set,
                                   Options &options)
{
    options.replay = parser.value(set.replay);
    const bool replaying = parser.isSet(set.replay);
    if (replaying && options.replay.isEmpty())
        return QStringLiteral("--replay needs a file name");
    if (parser.isSet(set.speed)) {
        if (!replaying)
            return QStringLiteral("--speed needs --replay");
        const QString speed = parser.value(set.speed).trimmed();
        if (speed != QLatin1String("1") && speed != QLatin1String("4") &&
            speed != QLatin1String("16"))
            return QStringLiteral("--speed takes 1, 4 or 16, not '%1'").arg(speed);
        options.replaySpeed = speed.toInt();
    }
    if (!replaying)
        return std::nullopt;
    for (const QCommandLineOption *portUser :
         {&set.ports, &set.demo, &set.record, &set.exportConfig, &set.importConfig,
          &set.reconnect}) {
        if (parser.isSet(*portUser))
            return QStringLiteral("--replay opens no port: no --%1")
                .arg(portUser->names().constFirst());
    }
    return std::nullopt;
}

// --ports, --quit-after and --screenshot: the ports searched and how an unattended run ends.
std::optional<QString> parseStartAndQuit(const QCommandLineParser &parser, const OptionSet &set,
                                         Options &options)
{
    if (parser.isSet(set.ports)) {
        const auto entries = parsePortList(parser.value(set.ports).toStdString());
        if (entries.size() > 3)
            return QStringLiteral("--ports takes at most three devices (ports 1..3)");
        QStringList ports;
        for (const std::string &entry : entries)
            ports << QString::fromStdString(entry);
        options.ports = ports;
    }
    if (parser.isSet(set.quitAfter)) {
        options.quitAfterSeconds = parseSeconds(parser.value(set.quitAfter));
        if (!options.quitAfterSeconds)
            return QStringLiteral("--quit-after needs a number of seconds from 0 to %1, "
                                  "not '%2'")
                .arg(kMaxQuitAfterSeconds)
                .arg(parser.value(set.quitAfter));
    }
    options.screenshot = parser.value(set.screenshot);
    if (parser.isSet(set.screenshot) && !options.quitAfterSeconds)
        return QStringLiteral("--screenshot needs --quit-after");
    if (parser.isSet(set.screenshot) && options.screenshot.isEmpty())
        return QStringLiteral("--screenshot needs a file name");
    return std::nullopt;
}

// --demo, --reconnect, --log, --trends and --record: what the window's run does.
std::optional<QString> parseRun(const QCommandLineParser &parser, const OptionSet &set,
                                Options &options)
{
    options.demo = parser.isSet(set.demo);
    options.reconnect = parser.isSet(set.reconnect);
    if (options.demo && !DemoModule::available())
        return QStringLiteral("--demo is not available: this build has no simulated module");
    options.logFile = parser.value(set.log);
    if (parser.isSet(set.log) && options.logFile.isEmpty())
        return QStringLiteral("--log needs a file name");
    options.trends = parser.isSet(set.trends);
    options.record = parser.value(set.record);
    if (parser.isSet(set.record) && options.record.isEmpty())
        return QStringLiteral("--record needs a file name");
    return std::nullopt;
}

} // namespace

Options parseOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        kDescription.arg(QString::fromStdString(countInWords(kParameterCount))));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const OptionSet set;
    parser.addOptions({set.ports, set.demo, set.screenshot, set.quitAfter, set.log, set.record,
                       set.trends, set.exportConfig, set.importConfig, set.anyFirmware, set.timeout,
                       set.historyDir, set.history, set.json, set.noHistory});
    parser.addOptions({set.replay, set.speed, set.reconnect});
    parser.addPositionalArgument(QStringLiteral("FILE.csv"),
                                 QStringLiteral("With --trends: a recording to open."),
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
        return failure(QStringLiteral("unexpected argument '%1' (options start with --; only "
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
    return options;
}

} // namespace quelo
