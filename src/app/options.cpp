// SPDX-License-Identifier: GPL-3.0-or-later
#include "options.h"

#include "demo_module.h"

#include "port_order.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cmath>

namespace quelo {

namespace {

const QString kDescription = QStringLiteral(
    "Data link for the Quelo Series 508 ignition module.\n"
    "The module is looked for on ports 1, 2 and 3 in turn (9600 baud, 8N1). Without --ports\n"
    "those are COM1..COM3 on Windows, and elsewhere the first three serial devices the\n"
    "system lists: USB adapters (ttyUSB*, ttyACM*, cu.usb*) first, then the others, each\n"
    "group in name order with numbers compared by value.\n"
    "With --export-config or --import-config no window opens (no display is needed): the\n"
    "program finds the module, reads or writes its seven configuration parameters, reports\n"
    "its progress on standard error and exits. --record works with and without a window.\n"
    "Files: only regular files are read (a FIFO or a device is refused at once), a\n"
    "configuration file only up to 1 MiB; only a regular file or a new name is written, never\n"
    "a device; the same file may not be named twice.\n"
    "Exit status: 0 done; 1 a module or link problem (no module found, --timeout passed, a\n"
    "value the module did not take, --demo, --screenshot or --record failed); 2 a bad command line "
    "or a\n"
    "bad or unwritable configuration file.");

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
                                            "from the working directory."),
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
                                          "FILE (a regular file or a new name)."),
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
                       "the module does not take a value."),
        QStringLiteral("FILE")};
    QCommandLineOption timeout{QStringLiteral("timeout"),
                               QStringLiteral("Give up an export or import after SECONDS (above "
                                              "0, up to 86400; default 30)."),
                               QStringLiteral("SECONDS")};
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
    return std::nullopt;
}

} // namespace

Options parseOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(kDescription);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const OptionSet set;
    parser.addOptions({set.ports, set.demo, set.screenshot, set.quitAfter, set.log, set.record,
                       set.trends, set.exportConfig, set.importConfig, set.timeout});
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
    if (parser.isSet(set.ports)) {
        const auto entries = parsePortList(parser.value(set.ports).toStdString());
        if (entries.size() > 3)
            return failure(QStringLiteral("--ports takes at most three devices (ports 1..3)"));
        QStringList ports;
        for (const std::string &entry : entries)
            ports << QString::fromStdString(entry);
        options.ports = ports;
    }
    if (parser.isSet(set.quitAfter)) {
        options.quitAfterSeconds = parseSeconds(parser.value(set.quitAfter));
        if (!options.quitAfterSeconds)
            return failure(QStringLiteral("--quit-after needs a number of seconds from 0 to %1, "
                                          "not '%2'")
                               .arg(kMaxQuitAfterSeconds)
                               .arg(parser.value(set.quitAfter)));
    }
    options.screenshot = parser.value(set.screenshot);
    if (parser.isSet(set.screenshot) && !options.quitAfterSeconds)
        return failure(QStringLiteral("--screenshot needs --quit-after"));
    if (parser.isSet(set.screenshot) && options.screenshot.isEmpty())
        return failure(QStringLiteral("--screenshot needs a file name"));
    options.demo = parser.isSet(set.demo);
    if (options.demo && !DemoModule::available())
        return failure(
            QStringLiteral("--demo is not available: this build has no simulated module"));
    options.logFile = parser.value(set.log);
    if (parser.isSet(set.log) && options.logFile.isEmpty())
        return failure(QStringLiteral("--log needs a file name"));
    options.trends = parser.isSet(set.trends);
    options.trendsFile = oneRecording ? positional.constFirst() : QString();
    options.record = parser.value(set.record);
    if (parser.isSet(set.record) && options.record.isEmpty())
        return failure(QStringLiteral("--record needs a file name"));
    if (const std::optional<QString> error = parseConfigCommand(parser, set, options))
        return failure(*error);
    return options;
}

} // namespace quelo
