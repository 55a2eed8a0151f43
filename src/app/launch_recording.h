// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace quelo {

class AppWindow;
class RunFile;

// --record FILE: the run is recorded from launch. Each returns false, with the reason on
// standard error, when the file cannot be written.
bool recordAtLaunch(AppWindow &window, const QString &path);
// Without a window: a recording that stops later (a full disk) is reported on standard error
// and the command goes on.
bool recordAtLaunch(RunFile &file, const QString &path);

} // namespace quelo
