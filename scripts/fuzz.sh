#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fuzzes the receive path for SECONDS (default 60) with libFuzzer, from the seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/deps.sh clang libclang-rt-14-dev
cmake -S . -B build-fuzz -DQUELO_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j"${JOBS:-2}" --target fuzz_receive
mkdir -p build-fuzz/corpus
build-fuzz/bin/fuzz_receive -max_total_time="$seconds" -print_final_stats=1 \
    -len_control=0 -max_len=16384 \
    build-fuzz/corpus fuzz/corpus
