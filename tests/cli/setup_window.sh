#!/usr/bin/env bash
# The setup window on a real X server with a window manager: a second merivane brings the
# running one's window forward (and ends) instead of opening another; closing the window
# ends the program when it is not resident. Skipped (77) only where the X tools are missing.
set -euo pipefail
merivane=$1
merivanectl=$2
for tool in Xvfb openbox xdotool xwininfo xprop; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
tmp=$(mktemp -d)
source "$(dirname "$0")/x_server.sh"
start_x_server
export MERIVANE_HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run
mkdir -m 700 "$tmp/run"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM DBUS_SESSION_BUS_ADDRESS
start_window_manager
export MERIVANE_NOW=2026-12-14T10:00
env -u DISPLAY "$merivane" /i >/dev/null 2>&1
"$merivanectl" sample "$tmp/pictures" "$tmp/themes" >/dev/null

title='Merivane - Desktop changes by event'
windows() { xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | wc -l; }
shown() { [ "$(windows)" = "$1" ]; }

"$merivane" >"$tmp/first.log" 2>&1 &
first=$!
pids+=("$first")
wait_for 100 shown 1 || fail "the setup window did not open"
wid=$(xdotool search --onlyvisible --name "^$title\$" | head -n1)
xdotool windowminimize --sync "$wid" || fail "the window could not be minimised"
[ "$(windows)" = 0 ] || fail "the minimised window is still shown"

# A second start shows the first one's window and ends at once.
timeout 20 "$merivane" >"$tmp/second.log" 2>&1 || fail "the second merivane ended with $?"
wait_for 50 shown 1 || fail "the running window was not brought back"
[ "$(xdotool search --name "^$title\$" | wc -l)" = 1 ] || fail "a second window was made"
kill -0 "$first" || fail "the first merivane ended"

# Closing the window ends a program that is not resident (method 0).
xdotool windowactivate --sync "$wid" key --clearmodifiers alt+F4
code=0
for _ in $(seq 1 100); do kill -0 "$first" 2>/dev/null || break; sleep 0.1; done
kill -0 "$first" 2>/dev/null && fail "closing the window left the program running"
wait "$first" || code=$?
[ "$code" = 0 ] || fail "the program ended with $code"
# The window's place and size were kept for the next time.
"$merivanectl" reg export 'HKEY_CURRENT_USER\Software\Brennock\Merivane\Position' | grep -q '"Width"=' ||
    fail "the window's size was not saved"
echo "setup window: one per home, brought forward by a second start, closing ends the program"
