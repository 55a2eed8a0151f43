#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the program, and starts it on the built-in simulated module.
# Extra arguments go to quelo-link (try --help). Where there is no display to open the window
# on, says so before installing or building anything, and how to run it without one.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(uname -s)" = Linux ] && [ -z "${QT_QPA_PLATFORM:-}${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<'ADVICE'
run.sh: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set);
nothing was installed or built. Run it from a desktop session, or without a screen: this runs
the window for 10 s on the simulated module and saves a picture of it in window.png:
    QT_QPA_PLATFORM=offscreen ./scripts/run.sh --quit-after 10 --screenshot window.png
and once built, the same without the script:
    QT_QPA_PLATFORM=offscreen build/bin/quelo-link --demo --quit-after 10 --screenshot window.png
./scripts/test.sh needs no display.
ADVICE
    exit 2
fi
scripts/deps.sh
# The program alone: the tests are test.sh's.
TARGETS=quelo-link scripts/build.sh
. scripts/qt-quiet.sh
if [ "${QT_QPA_PLATFORM:-}" = offscreen ]; then
    exec build/bin/quelo-link --demo "$@" 2> >(qt_quiet_filter >&2)
fi
exec build/bin/quelo-link --demo "$@"
