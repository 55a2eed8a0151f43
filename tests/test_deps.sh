#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/deps.sh with every package missing, in three situations:
# - a user without root and without sudo: it must not claim to install anything, must name what
#   is missing and the command for an administrator, and must fail;
# - root, apt-get succeeding: one line per stage, apt-get's chatter only in the log it names;
# - root, apt-get failing: the whole log shown, the failed stage named, exit 1.
set -euo pipefail
deps="$(cd "$(dirname "$0")/.." && pwd)/scripts/deps.sh"
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
# Only these commands are on the PATH: every package is missing.
printf '#!/bin/sh\nexit 1\n' >"$fake/dpkg-query"
# apt-get talks a lot; "install" fails when $fake/broken exists.
cat >"$fake/apt-get" <<APT
#!/bin/sh
echo "Get:1 http://deb.example bookworm InRelease"
if [ "\$1" = install ]; then
    echo "Setting up qt6-base-dev ..."; echo "Setting up cmake ..."
    [ -e "$fake/broken" ] && { echo "E: Unable to fetch archives"; exit 100; }
fi
exit 0
APT
for tool in grep mkdir dirname cat env; do ln -s "$(command -v $tool)" "$fake/$tool"; done
chmod +x "$fake/dpkg-query" "$fake/apt-get"

fail() { echo "FAIL: $*"; echo "--- stdout"; cat "$fake/out"; echo "--- stderr"; cat "$fake/err"; exit 1; }
# Runs deps.sh as user UID; sets $status.
run_as() {
    printf '#!/bin/sh\necho %s\n' "$1" >"$fake/id"
    chmod +x "$fake/id"
    status=0
    PATH="$fake" DEPS_LOG="$fake/deps.log" "$BASH" "$deps" >"$fake/out" 2>"$fake/err" || status=$?
}

run_as 1000
[ "$status" -eq 1 ] || fail "without sudo: exit status $status, expected 1"
! grep -q "Installing" "$fake/out" "$fake/err" || fail "claims to install without a way to"
grep -q "qt6-base-dev" "$fake/err" || fail "does not name the missing packages"
grep -q "apt-get install -y" "$fake/err" || fail "gives no command for an administrator"

run_as 0
[ "$status" -eq 0 ] || fail "as root: exit status $status, expected 0"
grep -q "$fake/deps.log" "$fake/out" || fail "does not name its log"
! grep -q -e "Get:1" -e "Setting up" "$fake/out" "$fake/err" || fail "shows apt-get's output"
grep -q "Setting up cmake" "$fake/deps.log" || fail "the log lacks apt-get's output"
grep -q "^Installed 2 packages" "$fake/out" || fail "does not count what it installed"

touch "$fake/broken"
run_as 0
[ "$status" -eq 1 ] || fail "a failed install: exit status $status, expected 1"
grep -q "Unable to fetch" "$fake/err" || fail "a failed install hides apt-get's output"
grep -q "^Failed: Downloading and installing" "$fake/err" || fail "does not name the failed stage"
echo "ok"
