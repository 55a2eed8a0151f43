#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the tests and the package need, when any is missing.
# Extra arguments name further packages. Says one line per stage; apt-get's and dpkg's own
# output goes to a log file it names ($DEPS_LOG, by default build/deps.log), shown in full when
# a stage fails.
set -euo pipefail

packages=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools qt6-serialport-dev
          libgl-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation file dpkg-dev
          qt6-charts-dev qt6-l10n-tools qt6-tools-dev poppler-utils help2man "$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# How to become root decides whether anything can be installed; say "Installing" only then.
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "Missing packages: ${missing[*]}" >&2
    echo "Nothing was installed: this needs root, and there is no sudo. Run this as root, or" >&2
    echo "ask an administrator to run:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
fi

build=${BUILD_DIR:-build}
[[ $build == /* ]] || build=$(cd "$(dirname "$0")/.." && pwd)/$build
log=${DEPS_LOG:-$build/deps.log}
mkdir -p "$(dirname "$log")"
: >"$log"
# One stage: its line, then its output into the log; on a failure the whole log.
stage() {
    local what=$1
    shift
    echo "$what"
    if ! "$@" >>"$log" 2>&1; then
        cat "$log" >&2
        echo "Failed: $what (the output above is in $log)" >&2
        exit 1
    fi
}
options=(-y -q)
[ -n "${DEPS_NO_RECOMMENDS:-}" ] && options+=(--no-install-recommends)
echo "Installing ${#missing[@]} missing packages and what they need (apt-get's output: $log)"
# sudo asks for a password here, in the open, not inside a stage whose output goes to the log.
[ ${#as_root[@]} -eq 0 ] || sudo -v
# sudo drops DEBIAN_FRONTEND from the environment: pass it through env.
stage "Updating the package lists" "${as_root[@]}" apt-get update -q
stage "Downloading and installing: ${missing[*]}" \
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install "${options[@]}" "${missing[@]}"
echo "Installed $(grep -c '^Setting up ' "$log" || true) packages in $SECONDS s"
