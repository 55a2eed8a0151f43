// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_record_command.h"

#include "file_access.h"
#include "history_command.h"
#include "record_page.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <cstdio>

namespace quelo {

namespace {

// The messages of this file, in the user's language.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(PrintRecordCommand)
};

void sayLine(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::fflush(stderr);
}

// The copy beside the restore point that holds these values; a history without one (--no-history,
// a folder that cannot be written) gets no copy, and that is said.
void copyIntoHistory(const Options &options, const ConfigRecord &record, const QByteArray &pdf)
{
    HistoryFolder folder(historyFolder(options));
    const std::vector<Snapshot> own = entriesOf(folder.load(), record.aircraft);
    const auto holder = std::find_if(own.begin(), own.end(), [&](const Snapshot &s) {
        return sameConfiguration(s.config, record.config);
    });
    if (holder == own.end()) {
        sayLine(Text::tr("no restore point holds these values: no copy in the history"));
        return;
    }
    const QString path = QDir(folder.path()).filePath(recordFileName(*holder));
    QString error;
    if (writeFileAtomically(path, pdf, error))
        sayLine(Text::tr("wrote %1").arg(path));
    else
        sayLine(Text::tr("quelo-link: cannot write %1: %2").arg(path, error));
}

} // namespace

bool checkRecordTarget(const Options &options)
{
    QString error;
    if (options.printRecord.isEmpty() || checkWritableTarget(options.printRecord, error))
        return true;
    sayLine(Text::tr("quelo-link: cannot write %1: %2").arg(options.printRecord, error));
    return false;
}

ConfigCommand::RecordSink recordSink(const Options &options, const QStringList &devices)
{
    return [&options, devices](const ConfigValues &values, int port,
                               const std::vector<std::string> &unstored) {
        ConfigRecord record;
        record.aircraft = options.aircraft.toStdString();
        const Stamp now = wallClockNow();
        record.utcMs = now.utcMs;
        record.utcOffsetMinutes = now.utcOffsetMinutes;
        record.port = port;
        record.device = devices.value(port - 1).toStdString();
        record.config = values;
        record.config.aircraft = record.aircraft;
        record.unstored = unstored;
        addChangesFromHistory(record, HistoryFolder(historyFolder(options)).load());
        const QByteArray pdf = recordPdf(record, {});
        QString error;
        if (!writeFileAtomically(options.printRecord, pdf, error)) {
            sayLine(Text::tr("quelo-link: cannot write %1: %2; nothing was written")
                        .arg(options.printRecord, error));
            return kExitUsage;
        }
        sayLine(Text::tr("wrote %1").arg(options.printRecord));
        if (!options.noHistory)
            copyIntoHistory(options, record, pdf);
        return kExitDone;
    };
}

} // namespace quelo
