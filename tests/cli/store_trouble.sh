#!/usr/bin/env bash
# The settings store and the home as real processes see them: commands that only look
# write nothing, settings imported before the first start survive it, and a store on a
# full or read-only disk is never taken for a damaged one.
set -euo pipefail
merivane=$1
merivanectl=$2
work=$(mktemp -d)
trap 'umount -q "$work/disk" 2>/dev/null || true; rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY
export MERIVANE_NOW=2026-12-24T09:00

fail() { echo "FAIL: $*" >&2; exit 1; }

# Looking at a home that does not exist: the shipped table and the first-run defaults, and
# still no home afterwards.
export MERIVANE_HOME=$work/never-made
for command in "files" "explain" "events" "match Christmas" "reg export"; do
    # shellcheck disable=SC2086
    "$merivanectl" $command >"$work/out" 2>"$work/err" || fail "merivanectl $command exited $?: $(cat "$work/err")"
done
[ ! -e "$MERIVANE_HOME" ] || fail "a command that only looks made the home: $(ls -R "$MERIVANE_HOME")"
# (Output is caught before grep looks at it: grep -q ends early, and a pipe would break.)
events=$("$merivanectl" events)
grep -q '^Christmas	2026-12-' <<<"$events" || fail "events without a home lacks the shipped table"
matched=$("$merivanectl" match "Christmas Snow")
grep -q '	Christmas	2026-12-' <<<"$matched" || fail "match without a home"

# Settings imported into a new home are not overwritten by the first run.
export MERIVANE_HOME=$work/prepared
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Brennock\\Merivane\\Setup]\r\n"ChangesPerDay"=dword:00000003\r\n"UseRandomMethod"="True"\r\n' \
    >"$work/prepared.reg"
"$merivanectl" reg import "$work/prepared.reg" || fail "import into a new home exited $?"
"$merivane" /c >/dev/null 2>&1 || true
setup=$("$merivanectl" reg export 'HKCU\Software\Brennock\Merivane\Setup')
grep -qxF '"ChangesPerDay"=dword:00000003' <<<"$setup" || fail "the first run overwrote the imported ChangesPerDay: $setup"
grep -qxF '"UseRandomMethod"="True"' <<<"$setup" || fail "the first run overwrote the imported UseRandomMethod"
grep -qxF '"ScheduledTime"="12:30 AM"' <<<"$setup" || fail "the first run's other defaults are missing"

# A disk of our own, in a private mount namespace, to fill and to make read-only.
if ! unshare -rm true 2>/dev/null; then
    echo "store trouble: ok (full and read-only disks skipped: no mount namespace here)"
    exit 0
fi
mkdir -p "$work/disk"
export MERIVANE_HOME=$work/disk/home
unshare -rm bash -s "$merivane" "$merivanectl" "$work" <<'INNER' || exit 1
set -uo pipefail
merivane=$1 merivanectl=$2 work=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
mount -t tmpfs -o size=2m tmpfs "$work/disk" || fail "cannot mount a tmpfs"
"$merivanectl" reg import "$work/prepared.reg" || fail "import on an empty disk"
store=$MERIVANE_HOME/registry.sqlite

# Pictures in a folder nobody may write (as system wallpaper folders are): the working copy
# goes to the home, and the change works.
mkdir -p "$work/system-pictures"
mount -t tmpfs -o size=8m tmpfs "$work/system-pictures" || fail "cannot mount a tmpfs"
"$merivanectl" sample "$work/system-pictures" "$work/system-pictures/themes" >/dev/null
mount -o remount,ro "$work/system-pictures" || fail "cannot remount read-only"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Brennock\\Merivane\\Setup]\n"FilesToUse"=dword:00000001\n"WallpaperPath"="%s/"\n' \
    "$work/system-pictures" >"$work/system.reg"
"$merivanectl" reg import "$work/system.reg" || fail "import of the read-only collection"
out=$("$merivane" /n 2>"$work/err") || fail "a picture in a read-only folder cannot be applied: $(cat "$work/err")"
[[ "$out" == "Changed to Christmas Snow.jpg ("* ]] || fail "unexpected change: $out"
[ -z "$(find "$MERIVANE_HOME" -name '.merivane-*')" ] || fail "the working copy in the home was left behind"
umount "$work/system-pictures"
"$merivanectl" reg import "$work/prepared.reg" || fail "import on an empty disk"

# Full: every command says so and fails; the store stays, nothing is moved aside.
dd if=/dev/zero of="$work/disk/fill" bs=4k >/dev/null 2>&1 || true
for run in "$merivanectl reg import $work/prepared.reg" "$merivane /n" "$merivane /n" "$merivane /c"; do
    $run >"$work/out" 2>"$work/err" && fail "$run succeeded on a full disk"
    grep -q 'disk is full' "$work/err" || fail "$run did not say the disk is full: $(cat "$work/err")"
done
compgen -G "$MERIVANE_HOME/*damaged*" >/dev/null && fail "a store on a full disk was called damaged: $(ls "$MERIVANE_HOME")"
rm -f "$work/disk/fill"
setup=$("$merivanectl" reg export 'HKCU\Software\Brennock\Merivane\Setup')
grep -qxF '"ChangesPerDay"=dword:00000003' <<<"$setup" || fail "the settings did not survive the full disk"

# Read-only: the same.
mount -o remount,ro "$work/disk" || fail "cannot remount read-only"
"$merivane" /n >"$work/out" 2>"$work/err" && fail "merivane /n succeeded on a read-only disk"
grep -q 'read-only' "$work/err" || fail "merivane /n did not say read-only: $(cat "$work/err")"
"$merivanectl" reg import "$work/prepared.reg" 2>"$work/err" && fail "import succeeded on a read-only disk"
"$merivanectl" files >/dev/null 2>"$work/err" || fail "files cannot look at a read-only disk: $(cat "$work/err")"
compgen -G "$MERIVANE_HOME/*damaged*" >/dev/null && fail "a store on a read-only disk was called damaged"
exit 0
INNER
echo "store trouble: ok"
