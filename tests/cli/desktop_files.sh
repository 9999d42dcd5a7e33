#!/usr/bin/env bash
# The files that put Merivane into a desktop's menus and software centres are valid, as
# their own validators judge them; the man pages are clean roff.
set -euo pipefail
dist=$1        # the source's dist folder
configured=$2  # the build's dist folder (metainfo and man pages with the version filled in)
fail() { echo "FAIL: $*" >&2; exit 1; }
ran=0
if command -v desktop-file-validate >/dev/null; then
    out=$(desktop-file-validate "$dist/com.brennock.Merivane.desktop" 2>&1) || fail "desktop entry: $out"
    [ -z "$out" ] || fail "desktop entry: $out"
    ran=$((ran + 1))
fi
if command -v appstreamcli >/dev/null; then
    out=$(appstreamcli validate --no-net "$configured/com.brennock.Merivane.metainfo.xml" 2>&1) ||
        fail "metainfo: $out"
    grep -q '^[EW]:' <<<"$out" && fail "metainfo: $out"
    grep -q '@PROJECT_VERSION@' "$configured/com.brennock.Merivane.metainfo.xml" && fail "metainfo: version not filled in"
    ran=$((ran + 1))
fi
if command -v groff >/dev/null; then
    for page in merivane.1 merivanectl.1; do
        out=$(groff -man -ww -z "$configured/$page" 2>&1) || fail "$page: $out"
        [ -z "$out" ] || fail "$page: $out"
        grep -q '@PROJECT_VERSION@' "$configured/$page" && fail "$page: version not filled in"
    done
    ran=$((ran + 1))
fi
if [ "$ran" = 0 ]; then
    echo "desktop files: skipped (desktop-file-validate, appstreamcli and groff are not installed)"
    exit 77
fi
echo "desktop files: ok ($ran validators)"
