#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds, then soaks the link against the simulated module for MINUTES (default 30): line
# faults, hang-ups, RESET clicks, slider moves and store clicks over real pseudo-terminals, with
# the module refusing, clamping or ignoring values and treating a letter oddly (no read-back, no
# echo, silence); alongside, on a second thread, random conversations in virtual time seed after
# seed, each checked for bounded writes, standing polls at most 4 s apart, no value written that
# the user did not choose and no dark-grey store button over an unstored change.
# Prints a line of progress per minute and a final verdict; exits non-zero on failure.
# Extra arguments go to quelo-soak (--seed N to repeat a run, --verbose for every phase).
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-30}
shift || true
build=${BUILD_DIR:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
fi
cmake --build "$build" -j"${JOBS:-2}" --target quelo-soak
exec "$build/bin/quelo-soak" --minutes "$minutes" "$@"
