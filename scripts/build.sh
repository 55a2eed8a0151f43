#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds into build/ (or $BUILD_DIR). Extra arguments go to CMake.
# TARGETS="quelo-link quelo-sim" builds only those; QUELO_WERROR=ON turns warnings into errors
# (CI does). A build with nothing to do prints nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
# The test programs run at build time to list their tests, and the programs to make the manual.
. scripts/qt-quiet.sh
# A compiler cache, where one is installed, makes a rebuild of unchanged sources cheap; paths
# are taken relative to the checkout so that two checkouts share it.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$PWD"
fi
cmake -S . -B "$build" "${launcher[@]}" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
    -DQUELO_WERROR=${QUELO_WERROR:-OFF} "$@" >/dev/null
targets=()
for target in ${TARGETS:-}; do
    targets+=(--target "$target")
done
# make's lines for targets that were already up to date (and Qt's code generators' runs that
# change nothing) say nothing; compiling, linking, warnings and errors still show.
cmake --build "$build" -j"${JOBS:-2}" "${targets[@]}" |
    { grep -v -E '^\[ *[0-9]+%\] (Built target|Automatic (MOC|RCC|MOC and UIC) for target) ' || true; }
