#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the plain C++ core (protocol, model, the simulated module's model) and its unit tests
# for 64-bit Windows with Debian's MinGW-w64, runs each test program under Wine and reports how
# many tests ran. GoogleTest is built from /usr/src/googletest with the same compiler. Installs
# what it needs. Output in build-windows-core/ (or $BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
# Wine's recommendations (32-bit Wine, fonts, media libraries) are not needed for test programs.
DEPS_NO_RECOMMENDS=1 scripts/deps.sh g++-mingw-w64-x86-64-posix wine64 googletest
build=${BUILD_DIR:-build-windows-core}

generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$PWD"
fi
cmake -S mingw -B "$build" "${generator[@]}" "${launcher[@]}" -DCMAKE_TOOLCHAIN_FILE="$PWD/mingw/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"${JOBS:-2}"

wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
# A prefix of our own, made once; no Mono or Gecko installers, no debug chatter.
export WINEPREFIX=${WINEPREFIX:-$PWD/$build/wine-prefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$wine" wineboot --init >/dev/null 2>&1 || true

total=0
failed=0
programs=0
for test in "$build"/bin/test_*.exe; do
    programs=$((programs + 1))
    log="$build/$(basename "$test" .exe).log"
    status=0
    "$wine" "$test" --gtest_brief=1 >"$log" 2>&1 || status=$?
    ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\? from .* ran\..*/\1/p' "$log" | tail -n 1)
    passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$log" | tail -n 1)
    if [ "$status" -ne 0 ] || [ -z "$ran" ] || [ "${passed:-0}" != "$ran" ]; then
        echo "check-windows-core.sh: $(basename "$test") failed under Wine (exit $status):" >&2
        tail -n 30 "$log" >&2
        bad=$((${ran:-0} - ${passed:-0}))
        failed=$((failed + (bad > 0 ? bad : 1)))
    fi
    total=$((total + ${ran:-0}))
done
if [ "$programs" -eq 0 ]; then
    echo "check-windows-core.sh: no test programs were built" >&2
    exit 1
fi
echo "check-windows-core.sh: $programs test programs, $total tests run under Wine ($wine)"
echo "$((total - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
