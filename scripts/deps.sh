#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the tests and the package need, when any is missing.
# Extra arguments name further packages; with DEPS_NO_RECOMMENDS=1 their recommendations are not
# installed.
set -euo pipefail

packages=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools qt6-serialport-dev
          libgl-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation file dpkg-dev
          qt6-charts-dev "$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
options=(-y -qq)
[ -n "${DEPS_NO_RECOMMENDS:-}" ] && options+=(--no-install-recommends)
if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install "${options[@]}" "${missing[@]}"
elif command -v sudo >/dev/null 2>&1; then
    # sudo drops DEBIAN_FRONTEND from the environment: pass it through env.
    sudo apt-get update -qq
    sudo env DEBIAN_FRONTEND=noninteractive apt-get install "${options[@]}" "${missing[@]}"
else
    echo "These packages are missing and there is no sudo to install them. Run this as root," >&2
    echo "or ask an administrator to run:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
fi
