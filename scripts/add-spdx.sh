#!/usr/bin/env bash
# Puts the licence's SPDX line on every source, script and CMake file that lacks it: first line
# of C++ files, after the shebang of scripts. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."
line='SPDX-License-Identifier: GPL-3.0-or-later'
cpp=$(find src sim tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)
for f in $cpp; do
    grep -q "$line" "$f" || sed -i "1i // $line" "$f"
done
for f in scripts/*.sh .ci/run; do
    [ -f "$f" ] || continue
    grep -q "$line" "$f" && continue
    if head -n1 "$f" | grep -q '^#!'; then
        sed -i "1a # $line" "$f"
    else
        sed -i "1i # $line" "$f"
    fi
done
for f in $(find . -name CMakeLists.txt -not -path './build*' | sort); do
    grep -q "$line" "$f" || sed -i "1i # $line" "$f"
done
