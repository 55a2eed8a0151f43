// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "options.h"

namespace quelo {

// --fleet: every aircraft of the history folder, in name order, as a table on standard output
// whose columns are separated by tabs: a header line, then per aircraft its name, when it last
// connected, its firmware, the number of its restore points and its newest configuration's
// seven values as the value boxes show them, a '*' after each value that differs from what
// most of the fleet holds. What is on disk now is read; needs no display and no port. Exit
// codes as --history's.
int printFleet(const Options &options);

} // namespace quelo
