// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace quelo {

class AppWindow;
class RunFile;

// A recording of the window's (from launch or from the menu) that stops on a failed write is
// reported on standard error too, besides the window's message, status bar and log, and
// `failed` is set (a run started with --record then exits 1).
void reportRecordingFailures(AppWindow &window, bool &failed);

// --record FILE: the run is recorded from launch. Each returns false, with the reason on
// standard error, when the file cannot be written.
bool recordAtLaunch(AppWindow &window, const QString &path);
// Without a window: a recording that stops later is reported on standard error and in the link
// log, and the command goes on (main() then exits 1).
bool recordAtLaunch(RunFile &file, const QString &path);

} // namespace quelo
