#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/run.sh where there is no display: exit 2 before installing or building anything, with
# advice that runs the simulated module from the checkout.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
# Anything that would install or build leaves a mark.
for tool in dpkg-query apt-get sudo cmake make; do
    printf '#!/bin/sh\ntouch "%s/touched-%s"\n' "$fake" "$tool" >"$fake/$tool"
    chmod +x "$fake/$tool"
done
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM PATH="$fake:$PATH" \
    bash "$root/scripts/run.sh" >"$fake/out" 2>"$fake/err" || status=$?
fail() { echo "FAIL: $*"; cat "$fake/out" "$fake/err"; exit 1; }
[ "$status" -eq 2 ] || fail "exit status $status, expected 2"
! ls "$fake"/touched-* >/dev/null 2>&1 || fail "ran $(ls "$fake" | grep touched-) first"
grep -q "QT_QPA_PLATFORM=offscreen ./scripts/run.sh" "$fake/err" || fail "no command for the checkout"
grep -q "build/bin/quelo-link --demo" "$fake/err" || fail "the program's command lacks --demo"
echo "ok"
