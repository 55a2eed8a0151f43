// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quelo {

struct Options;

// --replay: the replay window alone. No serial component exists, so no port is opened. The file
// is read off the window's thread, and --quit-after and the quit signals are in force from the
// start: before the window has opened they give the reading up. Exit status 2, with the reason
// naming the line on standard error, for a file that does not read; 1 when the screenshot fails.
// Needs the application object.
int replayRecording(const Options &options);

} // namespace quelo
