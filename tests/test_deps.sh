#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/deps.sh as a user without root and without sudo: it must not claim to install
# anything, must name what is missing and the command for an administrator, and must fail.
set -euo pipefail
deps="$(cd "$(dirname "$0")/.." && pwd)/scripts/deps.sh"
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
# Only these commands are on the PATH: every package is missing, the user is uid 1000.
printf '#!/bin/sh\nexit 1\n' >"$fake/dpkg-query"
printf '#!/bin/sh\necho 1000\n' >"$fake/id"
chmod +x "$fake/dpkg-query" "$fake/id"
ln -s "$(command -v grep)" "$fake/grep"

status=0
PATH="$fake" "$BASH" "$deps" >"$fake/out" 2>"$fake/err" || status=$?
fail() { echo "FAIL: $*"; echo "--- stdout"; cat "$fake/out"; echo "--- stderr"; cat "$fake/err"; exit 1; }
[ "$status" -eq 1 ] || fail "exit status $status, expected 1"
! grep -q "Installing" "$fake/out" "$fake/err" || fail "claims to install without a way to"
grep -q "qt6-base-dev" "$fake/err" || fail "does not name the missing packages"
grep -q "apt-get install -y" "$fake/err" || fail "gives no command for an administrator"
echo "ok"
