#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
BUILD_DIR=build-asan BUILD_TYPE=Debug scripts/build.sh -DQUELO_SANITIZE=ON -DQUELO_BUILD_BENCH=OFF \
    -DQUELO_BUILD_SOAK=OFF
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The soak runs in the plain suite; here it would only repeat itself, slower.
# CTEST_JOBS tests at a time (default 2), as in scripts/test.sh.
ctest --test-dir build-asan --output-on-failure -j"${CTEST_JOBS:-2}" -LE soak
