#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package into build/ and checks that it holds what it must.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
build=${BUILD_DIR:-build}
(cd "$build" && cpack >/dev/null)
deb=$(ls -t "$build"/quelo-link_*.deb | head -n 1)
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/quelo-link ./usr/bin/quelo-sim ./usr/share/applications/quelo-link.desktop \
            ./usr/share/applications/quelo-link-trends.desktop \
            ./usr/share/icons/hicolor/scalable/apps/quelo-link.svg ./usr/share/doc/quelo-link/copyright; do
    grep -q " $path\$" <<<"$contents" || { echo "package.sh: $deb lacks $path" >&2; exit 1; }
done
dpkg-deb -f "$deb" Depends | grep -q qt6-qpa-plugins || { echo "package.sh: Depends lacks the Qt platform plugins" >&2; exit 1; }
echo "package.sh: $deb is complete"
