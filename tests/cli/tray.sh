#!/usr/bin/env bash
# The tray icon end to end: an X server, a private session bus and a tray host of our
# own (fake_tray_watcher). The resident registers its item once the host answers; the
# item's tooltip and menu are read over the bus as a panel reads them; a click opens the
# setup window; the menu suspends; SIGTERM takes the item away. Skipped (77) only where
# Xvfb or the bus tools are missing.
set -euo pipefail
merivane=$1
merivanectl=$2
watcher=$3
for tool in Xvfb dbus-daemon gdbus xwininfo; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
tmp=$(mktemp -d)
source "$(dirname "$0")/x_server.sh"
start_x_server
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$tmp/bus.pid")
bus_pid=$(cat "$tmp/bus.pid")
export DBUS_SESSION_BUS_ADDRESS=$bus
export MERIVANE_HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run
mkdir -m 700 "$tmp/run"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM XDG_CURRENT_DESKTOP
export MERIVANE_NOW=2026-12-24T10:00

call() { gdbus call --session --timeout 5 "$@"; }

"$watcher" >"$tmp/watcher.log" 2>&1 &
pids+=($!)
wait_for 100 grep -qx ready "$tmp/watcher.log" || fail "the tray host did not start"

# First-run settings, without the setup window that /i opens on a display.
env -u DISPLAY "$merivane" /i >/dev/null 2>&1 || true
"$merivanectl" schedule 2 --time "12:30 PM" >/dev/null
"$merivane" /c >"$tmp/resident.log" 2>&1 &
resident=$!
pids+=("$resident")
wait_for 100 grep -q '^registered ' "$tmp/watcher.log" || fail "no tray item registered"
item=$(sed -n 's/^registered //p' "$tmp/watcher.log" | head -n1)

tooltip() { call --dest "$item" --object-path /StatusNotifierItem --method org.freedesktop.DBus.Properties.Get \
    org.kde.StatusNotifierItem ToolTip; }
tip=$(tooltip) || fail "the item has no tooltip"
grep -qF 'Merivane - Next change at 12:30 PM' <<<"$tip" || fail "tooltip: $tip"

menu_path=$(call --dest "$item" --object-path /StatusNotifierItem --method org.freedesktop.DBus.Properties.Get \
    org.kde.StatusNotifierItem Menu | sed -n "s/.*objectpath '\([^']*\)'.*/\1/p")
[ -n "$menu_path" ] || fail "the item names no menu"
layout() { call --dest "$item" --object-path "$menu_path" --method com.canonical.dbusmenu.GetLayout -- 0 -1 '[]'; }
menu=$(layout) || fail "the menu cannot be read"
for label in _Open... '_Apply New Theme' '_Suspend Changes' '_Restore Icon Positions' _Exit; do
    grep -qF "'$label'" <<<"$menu" || fail "the menu lacks $label: $menu"
done
[ "$(grep -o "'separator'" <<<"$menu" | wc -l)" = 2 ] || fail "expected two separators: $menu"
# Positions are not kept: "Restore Icon Positions" is there but hidden.
item_of() { grep -o "([0-9]*, {[^}]*'$1'[^}]*}" <<<"$menu"; }
grep -qF "'visible': <false>" <<<"$(item_of '_Restore Icon Positions')" || fail "Restore Icon Positions shows"

# A click on a D-Bus tray opens the setup window.
call --dest "$item" --object-path /StatusNotifierItem --method org.kde.StatusNotifierItem.Activate 10 10 >/dev/null
wait_for 50 bash -c "xwininfo -root -tree | grep -q '\"Merivane'" || fail "a click opened no window"

# "Suspend Changes" from the menu: the tooltip says so.
suspend_id=$(item_of '_Suspend Changes' | sed -n 's/^(\([0-9]*\),.*/\1/p')
call --dest "$item" --object-path "$menu_path" --method com.canonical.dbusmenu.Event "$suspend_id" clicked '<0>' 0 \
    >/dev/null
wait_for 30 bash -c "gdbus call --session --timeout 5 --dest '$item' --object-path /StatusNotifierItem \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem ToolTip | grep -qF 'Changes suspended'" ||
    fail "suspending did not reach the tooltip: $(tooltip)"

kill -TERM "$resident"
code=0
wait "$resident" || code=$?
[ "$code" = 0 ] || fail "the resident ended with $code on SIGTERM"
owner=$(call --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus --method org.freedesktop.DBus.NameHasOwner \
    "$item")
[ "$owner" = "(false,)" ] || fail "the tray item outlived the resident: $owner"
echo "tray: item registered, tooltip and menu read over the bus, click and suspend work, clean end"
