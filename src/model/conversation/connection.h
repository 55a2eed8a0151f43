// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_state.h"

#include <string>

namespace quelo {

// What one connection knows of its module. Everything the window learned from a module (the
// seven values and their "reported" flags, the limit bands, what is being written and what a
// store on the wire holds) belongs to the connection it came in; the next connection, whatever
// module answers it, starts afresh and reads every value before anything is written to it.

// Ends what the connection had under way: writes not yet confirmed are not sent again and a
// store waiting for them is not sent. Returns what the user should be told, naming the user's
// changes that were dropped ("RUN MODE START DELAY 4 and LED MODE Mode"), or nothing.
std::string dropUnconfirmedWork(ParameterRows &rows, const std::string &why);

// Forgets the module: value boxes empty and unreported, sliders hidden at their start values,
// limit bands and telemetry flags as at start, no traffic outstanding. The firmware box is left
// to the caller (the version line that completes a connection has just filled it). What the
// user changed and which of it a confirmed store holds is kept, so that an unstored change
// still counts as unstored.
void forgetModule(WindowState &w);

} // namespace quelo
