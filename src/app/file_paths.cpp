// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_paths.h"

#include "file_access.h"

#include <QCoreApplication>

#include <cstdio>

#include <utility>
#include <vector>

namespace quelo {

namespace {

// The messages of this file, in the user's language.
struct Text
{
    Q_DECLARE_TR_FUNCTIONS(FilePaths)
};

} // namespace

std::optional<QString> checkFilePaths(const Options &options)
{
    struct Named
    {
        QString option;
        QString path;
        bool written; // checked here; the others are opened before the port, and refused then
    };
    const std::vector<Named> named = {
        {QStringLiteral("--record"), options.record, false},
        {QStringLiteral("--log"), options.logFile, false},
        {QStringLiteral("--export-config"), options.exportConfig, true},
        {QStringLiteral("--import-config"), options.importConfig, false},
        {QStringLiteral("--trends"), options.trendsFile, false},
        {QStringLiteral("--screenshot"), options.screenshot, false},
    };
    std::vector<std::pair<QString, const Named *>> seen;
    for (const Named &n : named) {
        if (n.path.isEmpty())
            continue;
        const QString identity =
            isStandardStream(n.path) ? Text::tr("standard output") : fileIdentity(n.path);
        for (const auto &[other, first] : seen)
            if (other == identity)
                return Text::tr("%1 and %2 name the same file (%3): each needs its own")
                    .arg(first->option, n.option, n.path);
        seen.emplace_back(identity, &n);
        QString reason;
        if (n.written && !isStandardStream(n.path) && !checkWritableTarget(n.path, reason))
            return QStringLiteral("%1 %2: %3").arg(n.option, n.path, reason);
    }
    return std::nullopt;
}

bool writeStandardOutput(const char *text, std::size_t size)
{
    return std::fwrite(text, 1, size, stdout) == size && std::fflush(stdout) == 0;
}

} // namespace quelo
