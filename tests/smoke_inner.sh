#!/usr/bin/env bash
# Runs inside the virtual X server started by smoke.sh.
set -u
binary=$1
main_title="Kalmor v0.5 - Nová stanice"
splash_title="Kalmor - Startér"

fail() {
    echo "smoke: $*" >&2
    kill "$pid" 2>/dev/null
    exit 1
}

close_window() {
    python3 "$(dirname "$0")/xclose.py" "$1"
}

"$binary" &
pid=$!

# The splash shows first; the main window follows after about a second.
main_id=""
for _ in $(seq 1 100); do
    main_id=$(xdotool search --onlyvisible --name "$main_title" 2>/dev/null | head -n 1)
    [ -n "$main_id" ] && break
    kill -0 "$pid" 2>/dev/null || fail "program ended before its main window appeared"
    sleep 0.1
done
[ -n "$main_id" ] || fail "main window \"$main_title\" did not appear"

xdotool search --name "$splash_title" >/dev/null 2>&1 || fail "no splash window \"$splash_title\" exists"
if xdotool search --onlyvisible --name "$splash_title" >/dev/null 2>&1; then
    fail "splash window still visible after the hand-over"
fi

close_window "$main_id" || fail "could not send the close request"
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    fail "program still running after its main window was closed"
fi
wait "$pid"
status=$?
[ "$status" -eq 0 ] || { echo "smoke: exit code $status" >&2; exit 1; }
echo "smoke: ok"
