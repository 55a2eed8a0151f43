#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program as it is built where there are no pseudo-terminals (no simulated module,
# no --demo) into build-nopty, and checks that it runs and says so.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
BUILD_DIR=build-nopty scripts/build.sh -DQUELO_PTY_SIM=OFF -DQUELO_BUILD_BENCH=OFF \
    -DQUELO_BUILD_TESTS=OFF
build-nopty/bin/quelo-link --help | grep -q "Not available: this build has no simulated module"
if build-nopty/bin/quelo-link --demo 2>/dev/null; then
    echo "build-without-pty.sh: --demo was accepted without a simulator" >&2
    exit 1
fi
echo "build-without-pty.sh: the program builds and runs without the pseudo-terminal simulator"
