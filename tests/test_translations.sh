#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The translation sources against the program's texts.
#   check LUPDATE SOURCE_DIR: fails when lupdate would add, change or drop a text in
#     translations/*.ts (a text marked for translation that the sources do not hold yet, or one
#     that is gone), or when a message has no translation. Skipped (77) without lupdate.
#   update LUPDATE SOURCE_DIR: brings translations/*.ts up to date; new texts come in unfinished.
# The .ts files keep no source locations, so that moving code does not change them.
set -euo pipefail
mode=$1 lupdate=$2 root=$3
if [ ! -x "$lupdate" ]; then
    echo "SKIPPED: lupdate not found at $lupdate (Debian package qt6-l10n-tools)"
    exit 77
fi
# sim/ is the developers' stand-in for the module, and speaks English only.
run_lupdate() { "$lupdate" -silent -locations none -no-obsolete -extensions cpp,h "$root/src" -ts "$@"; }
if [ "$mode" = update ]; then
    run_lupdate "$root"/translations/*.ts
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$root"/translations/*.ts; do
    copy="$work/$(basename "$ts")"
    cp "$ts" "$copy"
    run_lupdate "$copy" >/dev/null
    if ! cmp -s "$ts" "$copy"; then
        echo "FAIL: $(basename "$ts") is not up to date with the sources; run"
        echo "  cmake --build build --target update_translations"
        echo "and translate what it adds. What lupdate would change:"
        diff -u "$ts" "$copy" | head -60 || true
        status=1
    fi
    if grep -n 'type="unfinished"\|type="vanished"\|type="obsolete"' "$ts"; then
        echo "FAIL: $(basename "$ts") has messages above without a translation"
        status=1
    fi
done
exit "$status"
