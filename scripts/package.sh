#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package into build/ and checks that it holds what it must: lintian with no
# error and no warning, valid AppStream metadata, manual pages with their sections, and a bash
# completion that knows every option the program has.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh lintian appstream
scripts/build.sh
build=${BUILD_DIR:-build}
(cd "$build" && cpack >/dev/null)
deb=$(ls -t "$build"/quelo-link_*.deb | head -n 1)
fail() {
    echo "package.sh: $deb: $*" >&2
    exit 1
}
contents=$(dpkg-deb -c "$deb")
metainfo=./usr/share/metainfo/invalid.quelo.DataLink.metainfo.xml
completion=./usr/share/bash-completion/completions/quelo-link
for path in ./usr/bin/quelo-link ./usr/bin/quelo-sim ./usr/share/applications/quelo-link.desktop \
            ./usr/share/applications/quelo-link-trends.desktop \
            ./usr/share/icons/hicolor/scalable/apps/quelo-link.svg ./usr/share/doc/quelo-link/copyright \
            ./usr/share/doc/quelo-link/changelog.gz ./usr/share/man/man1/quelo-link.1.gz \
            ./usr/share/man/man1/quelo-sim.1.gz "$metainfo" "$completion"; do
    grep -q " $path\$" <<<"$contents" || fail "lacks $path"
done
dpkg-deb -f "$deb" Depends | grep -q qt6-qpa-plugins || fail "Depends lacks the Qt platform plugins"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
# The manual page says what the help does not.
page=$(zcat "$unpacked/usr/share/man/man1/quelo-link.1.gz")
for section in OPTIONS FILES '"EXIT STATUS"' EXAMPLES; do
    grep -q "^\.SH $section\$" <<<"$page" || fail "quelo-link(1) lacks $section"
done
# Every option of the program's is completed.
for option in $("$unpacked/usr/bin/quelo-link" --help | grep -o -E '^  (-[a-z], )?--[a-z-]+' |
                 grep -o -E -- '--[a-z-]+'); do
    grep -q -- "$option\b" "$unpacked/$completion" || fail "the bash completion lacks $option"
done

appstreamcli validate --no-net "$unpacked/$metainfo" >"$build/appstream.log" 2>&1 ||
    { cat "$build/appstream.log" >&2; fail "AppStream metadata not valid"; }
# Errors and warnings fail; the lintian's informational tags are shown but pass.
lintian --fail-on error,warning "$deb" || fail "lintian found errors or warnings"
echo "package.sh: $deb is complete"
