#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The command line's documentation has two sources: each program's own --help and a hand-written
# include (PROGRAM.h2m beside this script: files, exit status, examples). From them this makes
#   man VERSION PROGRAM OUT.1.gz           the manual page, with help2man, compressed
#   markdown DOC QUELO_LINK QUELO_SIM      DOC (docs/COMMAND-LINE.md)
#   check DOC QUELO_LINK QUELO_SIM         fails, showing the difference, when DOC is not current
# The programs run in the C locale, so that a translation never reaches the documentation.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export LC_ALL=C.UTF-8 LANGUAGE= QT_QPA_PLATFORM=offscreen

# The help text with the program's path in its usage line cut to the program's name.
help_of() {
    local program=$1 name
    name=$(basename "$program")
    "$program" --help | sed "1s|^Usage: .*$name |Usage: $name |"
}

# The include's roff as markdown: sections become headings, .TP items a list, .nf/.fi a code
# block; bold and italic words become code. Comments and options before the first section go.
include_markdown() {
    perl -ne '
        sub inline { my $t = shift; $t =~ s/\\-/-/g; $t =~ s/\\f[BI](.*?)\\f[RP]/`$1`/g; $t }
        if (/^\[[<=>]?([^\]]+)\]/) { $seen = 1; $item = 0; print "\n### ", ucfirst(lc $1), "\n\n"; next; }
        next unless $seen;
        chomp;
        next if $_ eq "";
        if ($_ eq ".TP") { $term = 1; next; }
        if ($_ eq ".PP") { print "\n" if $item; $item = 0; next; }
        if ($_ eq ".nf") { print "```sh\n"; $verbatim = 1; next; }
        if ($_ eq ".fi") { print "```\n"; $verbatim = 0; next; }
        if (/^\.BR (\S+) (\S+)/) { print inline($1), $2, "\n"; next; }
        if ($verbatim) { s/\\-/-/g; print "$_\n"; next; }
        if ($term) { print "- ", inline($_), ":"; $term = 0; $item = 1; $first = 1; next; }
        print $first ? " " : $item ? "  " : "", inline($_), "\n";
        $first = 0;
    ' "$1" | cat -s
}

program_markdown() {
    local program=$1 name include
    name=$(basename "$program")
    include="$here/$name.h2m"
    printf '## %s\n\n%s: %s\n\n```text\n' "$name" "$name" \
        "$(sed -n 's/^--name="\(.*\)"$/\1/p' "$include")"
    help_of "$program"
    printf '```\n'
    include_markdown "$include"
}

markdown() {
    printf '# Command line\n\n'
    printf '<!-- Made by packaging/man/render.sh from the programs'"'"' --help and packaging/man/*.h2m,\n'
    printf '     the sources of the manual pages quelo-link(1) and quelo-sim(1). Do not edit. -->\n\n'
    program_markdown "$1"
    printf '\n'
    program_markdown "$2"
}

case ${1:-} in
man)
    version=$2 program=$3 out=$4
    tmp=$(mktemp "$out.XXXXXX")
    trap 'rm -f "$tmp"' EXIT
    # help2man runs the program itself; the description's labelled paragraphs get a break.
    help2man --no-info --version-string="$version" --include="$here/$(basename "$program").h2m" \
        "$program" | sed 's/^\(Files\|Exit status\): /.PP\n&/' | gzip -9n >"$tmp"
    chmod 644 "$tmp"
    mv "$tmp" "$out"
    trap - EXIT
    ;;
markdown)
    tmp=$(mktemp "$2.XXXXXX")
    trap 'rm -f "$tmp"' EXIT
    markdown "$3" "$4" >"$tmp"
    chmod 644 "$tmp"
    mv "$tmp" "$2"
    trap - EXIT
    ;;
check)
    doc=$2
    if ! diff -u "$doc" <(markdown "$3" "$4"); then
        echo "$doc is not current: cmake --build build --target command-line-doc" >&2
        exit 1
    fi
    ;;
*)
    echo "usage: $0 man VERSION PROGRAM OUT.1.gz | markdown DOC QUELO_LINK QUELO_SIM |" \
        "check DOC QUELO_LINK QUELO_SIM" >&2
    exit 2
    ;;
esac
