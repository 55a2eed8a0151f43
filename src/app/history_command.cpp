// SPDX-License-Identifier: GPL-3.0-or-later
#include "history_command.h"

#include <cstdio>

namespace quelo {

QString historyFolder(const Options &options)
{
    return options.historyDir.isEmpty() ? defaultHistoryFolder() : options.historyDir;
}

int printHistory(const Options &options)
{
    HistoryFolder folder(historyFolder(options));
    for (const Snapshot &entry : folder.load()) {
        const std::string line =
            historyLine(entry, folder.filePath(entry).toLocal8Bit().toStdString());
        std::printf("%s\n", line.c_str());
    }
    std::fflush(stdout);
    return kExitDone;
}

RunHistory::RunHistory(WindowModel &model, const Options &options)
    : m_store(historyFolder(options)),
      m_watcher(model, wallClockNow, [this](const Snapshot &snapshot) { m_store.add(snapshot); })
{
    if (!options.importConfig.isEmpty())
        m_watcher.labelNextStore(SnapshotEvent::Imported);
    QObject::connect(&m_store, &HistoryStore::failed, [](const QString &message) {
        std::fprintf(stderr, "quelo-link: %s\n", qPrintable(message));
        std::fflush(stderr);
    });
}

RunHistory::~RunHistory()
{
    m_store.flush();
}

} // namespace quelo
