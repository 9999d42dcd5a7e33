# Sourced by the tests that need an X server: a temporary folder, processes ended and the
# folder removed at the end, fail() that shows every log, wait_for(), and start_x_server()
# that starts Xvfb on a free display and exports DISPLAY, and start_window_manager(). The
# caller sets `tmp` first.
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    [ -z "${bus_pid:-}" ] || kill "$bus_pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    for f in "$tmp"/*.log; do [ -s "$f" ] && { echo "--- $f" >&2; cat "$f" >&2; }; done
    exit 1
}
# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
    local tries=$1
    shift
    for _ in $(seq 1 "$tries"); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}
start_x_server() {
    local display=:$((100 + RANDOM % 800))
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
    pids+=($!)
    wait_for 100 test -S "/tmp/.X11-unix/X${display#:}" || fail "Xvfb did not start"
    export DISPLAY=$display
}
# Openbox, waited for: a window mapped before the manager is up is taken over later, and that
# unmap and map again looks to a test like a minimise that was undone.
start_window_manager() {
    openbox >"$tmp/openbox.log" 2>&1 &
    pids+=($!)
    wait_for 100 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
        fail "openbox did not start"
}
