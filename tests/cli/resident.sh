#!/usr/bin/env bash
# A real resident Merivane, as the log-in check leaves it: started a few seconds before its
# slot, it makes exactly one change when the slot passes, says that it runs, and ends
# cleanly on SIGTERM.
set -euo pipefail
merivane=$1
merivanectl=$2
tmp=$(mktemp -d)
pid=
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
export MERIVANE_HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS QT_QPA_PLATFORM
export MERIVANE_NOW=2026-12-24T12:29:57

fail() {
    echo "FAIL: $*" >&2
    [ ! -s "$tmp/err" ] || { echo "resident's standard error:" >&2; cat "$tmp/err" >&2; }
    exit 1
}
changes() {
    local text
    text=$("$merivanectl" reg export 'HKLM\Software\Brennock\Merivane')
    sed -n 's/^"TotalThemeChanges"=dword:\(.*\)$/\1/p' <<<"$text"
}

"$merivane" /i >/dev/null
"$merivanectl" sample "$tmp/Pictures" "$MERIVANE_HOME/drive_c/WINDOWS/Resources/Themes" >/dev/null
cat >"$tmp/settings.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Brennock\\Merivane\\Setup]
"FilesToUse"=dword:00000002
"WallpaperPath"="$tmp/Pictures/"
REG
"$merivanectl" reg import "$tmp/settings.reg"
"$merivanectl" schedule 2 --time "12:30 PM" --per-day 1 >/dev/null
[ -f "$XDG_CONFIG_HOME/autostart/merivane.desktop" ] || fail "no autostart entry for method 2"
before=$(changes)

"$merivane" /c >"$tmp/out" 2>"$tmp/err" &
pid=$!
running=
for _ in $(seq 1 40); do
    status=$("$merivanectl" status)
    if grep -qx "Resident Merivane: running, process $pid" <<<"$status"; then
        running=1
        break
    fi
    sleep 0.1
done
[ -n "$running" ] || fail "status never said the resident runs: $status"
[ "$(changes)" = "$before" ] || fail "the log-in check changed before the slot"

# The slot is 12:30:00, three seconds after the start.
changed=
for _ in $(seq 1 80); do
    if [ "$(changes)" != "$before" ]; then
        changed=1
        break
    fi
    sleep 0.1
done
[ -n "$changed" ] || fail "no change when the slot passed"
sleep 2
[ $((16#$(changes))) = $((16#$before + 1)) ] || fail "expected exactly one change, counted $(changes) after $before"
kill -0 "$pid" 2>/dev/null || fail "the resident ended by itself"

kill -TERM "$pid"
code=0
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the resident did not end on SIGTERM"
wait "$pid" || code=$?
pid=
[ "$code" = 0 ] || fail "the resident ended with $code on SIGTERM"
status=$("$merivanectl" status)
grep -qx "Resident Merivane: not running" <<<"$status" || fail "status after the end: $status"
# Without a desktop the picture cannot be shown; anything else said is a fault.
others=$(grep -v '^merivane: no desktop could be told' "$tmp/err" || true)
[ -z "$others" ] || fail "the resident said: $others"
echo "resident: one change at the slot, clean end on SIGTERM"
