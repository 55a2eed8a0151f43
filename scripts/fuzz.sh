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
    case $target in
        receive | config | recording) ;;
        *) echo "fuzz.sh: no target $target" >&2; exit 2 ;;
    esac
done
# One build of the fuzzers together, so that what they share is built once and in parallel.
fuzzers=()
for target in $targets; do
    fuzzers+=("fuzz_$target")
done
cmake --build build-fuzz -j"${JOBS:-2}" --target "${fuzzers[@]}"
# JOBS fuzzers (default 2) at a time, one a core, each with its own log: three take two turns
# of SECONDS instead of three, and each still has a whole core for all of its SECONDS.
fuzz_one() {
    local target=$1 seeds max_len
    case $target in
        receive) seeds=fuzz/corpus max_len=16384 ;;
        config) seeds=fuzz/corpus-config max_len=65536 ;;
        recording) seeds=fuzz/corpus-recording max_len=65536 ;;
    esac
    mkdir -p "build-fuzz/corpus-$target"
    build-fuzz/bin/"fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -len_control=0 -max_len="$max_len" -rss_limit_mb=2048 \
        "build-fuzz/corpus-$target" "$seeds"
}
failed=0
# Waits for each fuzzer of a turn, in order, and shows how it went: its statistics, or all of
# its log.
finish_turn() {
    local i status
    for i in "${!pids[@]}"; do
        status=0
        wait "${pids[$i]}" || status=$?
        echo "== fuzz_${names[$i]} for ${seconds}s: exit $status"
        if [ "$status" -eq 0 ]; then
            grep -E '^(stat::|Done )' "build-fuzz/fuzz_${names[$i]}.log" || true
        else
            cat "build-fuzz/fuzz_${names[$i]}.log"
            failed=1
        fi
    done
    pids=()
    names=()
}
pids=()
names=()
for target in $targets; do
    fuzz_one "$target" >"build-fuzz/fuzz_$target.log" 2>&1 &
    pids+=($!)
    names+=("$target")
    [ "${#pids[@]}" -lt "${JOBS:-2}" ] || finish_turn
done
finish_turn
[ "$failed" -eq 0 ]
