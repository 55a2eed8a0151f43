// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's options: names, help texts in the user's language, value names.
#pragma once

#include "config_transfer.h"
#include "demo_module.h"
#include "model_texts.h"
#include "options.h"
#include "parameters.h"

#include <QCommandLineOption>
#include <QCoreApplication>

namespace quelo {

// Only parseOptions() builds one; the rest of the program reads Options.
namespace options_detail {

// The command line's texts, in the user's language.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(Options)
};

// The parameter count in words, in the user's language.
inline QString parameterCount()
{
    return modelText(countInWords(kParameterCount));
}

inline QString description()
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

} // namespace options_detail

} // namespace quelo
