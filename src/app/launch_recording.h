// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace quelo {

class AppWindow;
class RunFile;

// --record FILE: the run is recorded from launch. Each returns false, with the reason on
// standard error, when the file cannot be written. A recording that stops later (a full disk)
// is reported on standard error too; the window also shows it in its status bar and log.
bool recordAtLaunch(AppWindow &window, const QString &path);
// Without a window: a recording that stops later is reported on standard error and in the link
// log, and the command goes on (main() then exits 1).
bool recordAtLaunch(RunFile &file, const QString &path);

} // namespace quelo
