// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "options.h"

#include <QString>

#include <cstddef>
#include <optional>

namespace quelo {

// Looks at the files a command line names before anything else happens, so that a mistake is
// found before the port is touched rather than after ten seconds of talking to the module:
// the same file named twice (after following links, e.g. --record F --log F, or --record F
// --export-config F), standard output named twice, and an --export-config destination that is
// not a regular file or a new name in a folder that can be written (--record and --log are
// opened, and refused, before the port is).
// Returns what is wrong, in one line, or nothing.
std::optional<QString> checkFilePaths(const Options &options);

// Writes all of `text` to standard output and flushes it: false when any of it was not written
// (a full disk, a reader gone away).
bool writeStandardOutput(const char *text, std::size_t size);

} // namespace quelo
