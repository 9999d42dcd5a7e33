#!/usr/bin/env bash
# Changes as real processes: two at once on one home add exactly one change each, and a
# change killed at any moment leaves nothing in the user's folders that stays there or
# that the next change trips on.
set -euo pipefail
merivane=$1
merivanectl=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY XDG_CURRENT_DESKTOP
export MERIVANE_HOME=$work/home
export MERIVANE_NOW=2026-12-24T09:00
fail() { echo "FAIL: $*" >&2; exit 1; }

"$merivane" /i
pictures=$work/Pictures
themes=$MERIVANE_HOME/drive_c/WINDOWS/Resources/Themes
"$merivanectl" sample "$pictures" "$themes" >/dev/null
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Brennock\\Merivane\\Setup]\n"FilesToUse"=dword:00000002\n"WallpaperPath"="%s/"\n' \
    "$pictures" >"$work/settings.reg"
"$merivanectl" reg import "$work/settings.reg"

total() {
    local text
    text=$("$merivanectl" reg export 'HKLM\Software\Brennock\Merivane')
    sed -n 's/^"TotalThemeChanges"=dword:\(.*\)$/\1/p' <<<"$text" | { read -r hex; echo $((16#$hex)); }
}

[ "$(total)" = 0 ] || fail "a fresh home has changes already"
for round in $(seq 1 20); do
    "$merivane" /n >"$work/a.out" 2>"$work/a.err" & a=$!
    "$merivane" /n >"$work/b.out" 2>"$work/b.err" & b=$!
    wait $a || fail "round $round: the first change failed: $(cat "$work/a.err")"
    wait $b || fail "round $round: the second change failed: $(cat "$work/b.err")"
    grep -q '^Changed to ' "$work/a.out" || fail "round $round: the first change did not say what it did"
    grep -q '^Changed to ' "$work/b.out" || fail "round $round: the second change did not say what it did"
    [ "$(total)" = $((round * 2)) ] || fail "after round $round: $(total) changes counted, not $((round * 2))"
done

# Killed at random moments: the next change clears what a killed one left and works.
for kill in $(seq 1 30); do
    "$merivane" /n >/dev/null 2>&1 & pid=$!
    sleep "0.0$((RANDOM % 10))$((RANDOM % 10))"
    kill -9 $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
done
"$merivane" /n >"$work/after.out" 2>"$work/after.err" || fail "the change after the kills failed: $(cat "$work/after.err")"
grep -q '^Changed to ' "$work/after.out" || fail "the change after the kills did not say what it did"
left=$(find "$pictures" "$themes" "$MERIVANE_HOME" -name '.merivane-*' -o -name 'temp.theme')
[ -z "$left" ] || fail "working copies were left behind: $left"
notes=$(find "$MERIVANE_HOME/working" -type f 2>/dev/null)
[ -z "$notes" ] || fail "notes of working copies were left behind: $notes"
"$merivanectl" files >"$work/files" || fail "the catalogue cannot be listed after the kills"
grep -q 'merivane-' "$work/files" && fail "a working copy is in the catalogue"
echo "concurrent changes: ok"
