// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history_store.h"
#include "history_watcher.h"
#include "options.h"

namespace quelo {

class WindowModel;

// The history folder the options name: --history-dir, else the default one.
QString historyFolder(const Options &options);

// --history: prints the restore points, newest written first, one line each (escaped, see
// historyLine; with --json, snapshotJsonLine), on standard output. Needs no display and no
// port; an empty or missing folder prints nothing (kExitDone). A folder that is not one or
// cannot be read is said on standard error (kExitUsage); a failed write is too (kExitLink).
int printHistory(const Options &options);

// The restore points of a run without a window (--export-config, --import-config): the
// connection's, and for an import the one its store completes, labelled "imported"; none with
// --no-history. A folder that cannot be written, or a restore point not kept, is said once on
// standard error; the run goes on.
class RunHistory
{
public:
    RunHistory(WindowModel &model, const Options &options);
    // Waits until the restore points are written.
    ~RunHistory();

    RunObserver &observer() { return m_watcher; }
    // After every model event.
    void update() { m_watcher.update(); }

private:
    HistoryStore m_store;
    HistoryWatcher m_watcher;
};

} // namespace quelo
