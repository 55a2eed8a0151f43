#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
. scripts/qt-quiet.sh
# CTEST_JOBS tests at a time (default 2); most wait on the simulated module's line, not a core.
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j"${CTEST_JOBS:-2}"
