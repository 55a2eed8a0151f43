#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fuzzes each untrusted input for SECONDS (default 60) with libFuzzer, from its seed corpus:
# the receive path (bytes from the serial line), the configuration parser and the recording
# reader (bytes from files). TARGETS (default all three) picks some of them.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
targets=${TARGETS:-receive config recording}
scripts/deps.sh clang libclang-rt-14-dev
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$PWD"
fi
cmake -S . -B build-fuzz "${launcher[@]}" -DQUELO_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null
for target in $targets; do
    cmake --build build-fuzz -j"${JOBS:-2}" --target "fuzz_$target"
done
for target in $targets; do
    case $target in
        receive) seeds=fuzz/corpus max_len=16384 ;;
        config) seeds=fuzz/corpus-config max_len=65536 ;;
        recording) seeds=fuzz/corpus-recording max_len=65536 ;;
        *) echo "fuzz.sh: no target $target" >&2; exit 2 ;;
    esac
    mkdir -p "build-fuzz/corpus-$target"
    echo "== fuzz_$target for ${seconds}s"
    build-fuzz/bin/"fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -len_control=0 -max_len="$max_len" -rss_limit_mb=2048 \
        "build-fuzz/corpus-$target" "$seeds"
done
