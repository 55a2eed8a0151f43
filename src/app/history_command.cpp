// SPDX-License-Identifier: GPL-3.0-or-later
#include "history_command.h"

#include "aircraft.h"

#include <QCoreApplication>

#include <cstdio>

namespace quelo {

namespace {

// The messages of this file, in the user's language.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(HistoryCommand)
};

} // namespace

QString historyFolder(const Options &options)
{
    return options.historyDir.isEmpty() ? defaultHistoryFolder() : options.historyDir;
}

namespace {

void sayOnStandardError(const QString &message)
{
    std::fprintf(stderr, "quelo-link: %s\n", qPrintable(message));
    std::fflush(stderr);
}

} // namespace

int printHistory(const Options &options)
{
    HistoryFolder folder(historyFolder(options));
    QString error;
    if (!folder.canList(error)) {
        sayOnStandardError(QStringLiteral("--history: %1").arg(error));
        return kExitUsage;
    }
    const qint64 now = wallClockNow().utcMs;
    const std::vector<Snapshot> &all = folder.load();
    const std::vector<Snapshot> entries =
        options.aircraft.isEmpty() ? all : entriesOf(all, options.aircraft.toStdString());
    for (const Snapshot &entry : entries) {
        const QString path = folder.filePath(entry);
        const std::string line = options.historyJson
                                     ? snapshotJsonLine(entry, path, now).toStdString()
                                     : historyLine(entry, path.toUtf8().toStdString(), now);
        if (std::fwrite(line.data(), 1, line.size(), stdout) != line.size() ||
            std::fputc('\n', stdout) == EOF)
            break; // a reader that went away (| head): said below
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        sayOnStandardError(Text::tr("--history: standard output could not be written"));
        return kExitLink;
    }
    return kExitDone;
}

RunHistory::RunHistory(WindowModel &model, const Options &options)
    : m_store(historyFolder(options)),
      m_watcher(model, wallClockNow, [this](const Snapshot &snapshot) { m_store.add(snapshot); })
{
    m_store.setKeeping(!options.noHistory);
    m_watcher.setAircraft(options.aircraft.toStdString());
    if (!options.importConfig.isEmpty())
        m_watcher.labelNextStore(SnapshotEvent::Imported);
    QObject::connect(&m_store, &HistoryStore::failed, &sayOnStandardError);
    QObject::connect(&m_store, &HistoryStore::dropped, &sayOnStandardError);
}

RunHistory::~RunHistory()
{
    m_store.flush();
}

} // namespace quelo
