#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the tests and the package need, when any is missing.
# Extra arguments name further packages.
set -euo pipefail

packages=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools qt6-serialport-dev
          libgl-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation file dpkg-dev
          qt6-charts-dev qt6-l10n-tools qt6-tools-dev poppler-utils "$@")

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

echo "Installing: ${missing[*]}"
options=(-y -qq)
[ -n "${DEPS_NO_RECOMMENDS:-}" ] && options+=(--no-install-recommends)
# sudo drops DEBIAN_FRONTEND from the environment: pass it through env.
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install "${options[@]}" "${missing[@]}"
