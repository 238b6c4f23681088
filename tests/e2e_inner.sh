#!/usr/bin/env bash
# Runs inside the virtual X server started by e2e.sh.
set -u
binary=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
station="$work/stanice"          # the dialog appends the default extension
saved="$work/stanice.stvx"
new_title="Kalmor v0.5 - Nová stanice"
saved_title="stanice.stvx - Kalmor v0.5"

cleanup() {
    kill "$pid" "$wm" 2>/dev/null
    rm -rf "$work"
}
fail() {
    echo "e2e: $*" >&2
    import -window root "/tmp/kalmor-e2e-failure.png" 2>/dev/null && echo "e2e: screen kept in /tmp/kalmor-e2e-failure.png" >&2
    cleanup
    exit 1
}

# Runs a command every tenth of a second until it succeeds, at most $1
# times: what the script waits for is polled, with a time limit.
wait_for() {
    local tries=$1
    shift
    for _ in $(seq 1 "$tries"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Waits up to a tenth of $2 seconds (default ten seconds) for a visible
# window whose whole name matches.
wait_window() {
    local id
    for _ in $(seq 1 "${2:-100}"); do
        id=$(xdotool search --onlyvisible --name "^($1)\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Pixels of a part of the screen, one a line, as "x,y: (r,g,b) #RRGGBB".
screen_pixels() {
    import -window root png:- 2>/dev/null | convert - -crop "$1" +repage -depth 8 txt:-
}

# Colour of one screen pixel as #RRGGBB.
pixel() {
    screen_pixels "1x1+$1+$2" | grep -o '#[0-9A-F]\{6\}' | head -n 1
}

# Where a line across the screen first meets the blue grid: field 1 gives
# the column of a row, field 2 the row of a column.
first_blue() {
    screen_pixels "$1" | grep -m 1 '#0000FF' | cut -d: -f1 | cut -d, -f"$2"
}

# The grid's first lines are the surface's left and top edges: found, and
# where they were found the time before (the window has settled).
grid_settled() {
    local x y
    x=$(first_blue "1280x1+0+700" 1)
    y=$(first_blue "1x1024+700+0" 2)
    [ -n "$x" ] && [ -n "$y" ] && [ "$x" = "${x0:-}" ] && [ "$y" = "${y0:-}" ] && return 0
    x0=$x
    y0=$y
    return 1
}

pixel_is() { [ "$(pixel "$1" "$2")" = "$3" ]; }
pixel_is_not() { [ "$(pixel "$1" "$2")" != "$3" ]; }
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

# Gives the main window the keyboard focus and presses a key until a window
# named like the pattern shows: after a dialog closes, the focus may come
# back to the main window only a moment later.
press_until() {
    for _ in 1 2 3; do
        xdotool windowfocus --sync "$main" 2>/dev/null
        xdotool key "$1"
        wait_window "$2" 30 && return 0
    done
    return 1
}

matchbox-window-manager -use_titlebar no >/dev/null 2>&1 &
wm=$!
"$binary" &
pid=$!

main=$(wait_window "$new_title") || fail "main window did not appear"
wide() {
    local width
    width=$(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
    [ "${width:-0}" -ge 1200 ]
}
wait_for 50 wide || fail "main window not maximised"
wait_for 50 grid_settled || fail "grid of the work area not found"

# Cells by column and row (cell size 47): the middle of a cell, the point
# of its track, and the top of the red frame the cursor cell gets.
cell() { echo $((x0 + 47 * $1 + 23)) $((y0 + 47 * $2 + 23)); }
track_at() { echo $((x0 + 47 * $1 + 23)) $((y0 + 47 * $2 + 19)); }
track_is() { pixel_is $(track_at "$1" "$2") "#000000"; }
no_track() { pixel_is_not $(track_at "$1" "$2") "#000000"; }
cursor_at() { pixel_is $((x0 + 47 * $1 + 10)) $((y0 + 47 * $2)) "#FF0000"; }
# Moves the pointer to a cell and waits until the panel shows it there.
point_at() {
    xdotool mousemove $(cell "$1" "$2")
    wait_for 50 cursor_at "$1" "$2" || fail "cursor cell did not follow the pointer to $1, $2"
}

# A left-to-right drag along row 3 fills columns 1 to 4 with straight track.
point_at 1 3
xdotool mousedown 1
point_at 2 3
point_at 4 3
xdotool mouseup 1
point_at 10 10
wait_for 30 track_is 3 3 || fail "no track drawn at column 3, row 3 ($(pixel $(track_at 3 3)))"

# The whole row fill is one step: Ctrl+Z takes it back, Ctrl+Y makes it again.
xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key ctrl+z
wait_for 30 no_track 3 3 || fail "track still drawn after Ctrl+Z"
xdotool key ctrl+y
wait_for 30 track_is 3 3 || fail "no track after Ctrl+Y"

# Shift and a drag select the track, Ctrl+C copies it, Ctrl+V pastes it at
# the cell under the pointer and Del deletes the pasted copy again.
point_at 1 3
xdotool keydown shift mousedown 1
point_at 4 3
xdotool mouseup 1 keyup shift
xdotool key ctrl+c
point_at 1 6
xdotool key ctrl+v
wait_for 30 track_is 3 6 || fail "no track pasted at column 3, row 6"
track_is 3 3 || fail "the copied track is gone"
xdotool key Delete
wait_for 30 no_track 3 6 || fail "pasted track still drawn after Del"

dialog=$(press_until ctrl+shift+s "Uložit jako|Save As") || fail "save dialog did not open"
xdotool windowfocus --sync "$dialog" 2>/dev/null
wait_for 50 focused "$dialog" || fail "save dialog did not get the keyboard"
xdotool type --delay 5 "$station"
xdotool key Return
wait_window "$saved_title" >/dev/null || fail "caption after Save As is not \"$saved_title\""
four_tiles() { [ "$(grep -c '^PRUSVITKA;' "$saved" 2>/dev/null)" = 4 ]; }
wait_for 50 four_tiles || fail "no file $saved with four tiles"

press_until ctrl+n "$new_title" >/dev/null || fail "New did not give a new station"
wait_for 30 no_track 3 3 || fail "track still drawn after New"

dialog=$(press_until ctrl+o "Otevřít|Open") || fail "open dialog did not open"
xdotool windowfocus --sync "$dialog" 2>/dev/null
wait_for 50 focused "$dialog" || fail "open dialog did not get the keyboard"
xdotool type --delay 5 "$saved"
xdotool key Return
wait_window "$saved_title" >/dev/null || fail "caption after Open is not \"$saved_title\""
wait_for 30 track_is 3 3 || fail "opened station not drawn ($(pixel $(track_at 3 3)))"

# Loaded, not modified: closing asks nothing and ends the program.
python3 "$here/xclose.py" "$main"
ended() { ! kill -0 "$pid" 2>/dev/null; }
wait_for 100 ended || fail "program still running after closing its main window"
wait "$pid"
status=$?
kill "$wm" 2>/dev/null
rm -rf "$work"
[ "$status" -eq 0 ] || { echo "e2e: exit code $status" >&2; exit 1; }
echo "e2e: ok"
