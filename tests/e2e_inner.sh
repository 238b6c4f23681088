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
for _ in $(seq 1 50); do
    width=$(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
    [ "${width:-0}" -ge 1200 ] && break
    sleep 0.1
done
sleep 0.5

# The grid's first lines are the surface's left and top edges (cell size 47).
x0=$(first_blue "1280x1+0+700" 1)
y0=$(first_blue "1x1024+700+0" 2)
[ -n "$x0" ] && [ -n "$y0" ] || fail "grid of the work area not found"
cell() { echo $((x0 + 47 * $1 + 23)) $((y0 + 47 * $2 + 23)); }

# A left-to-right drag along row 3 fills columns 1 to 4 with straight track.
xdotool mousemove $(cell 1 3) mousedown 1
sleep 0.2
xdotool mousemove $(cell 2 3)
sleep 0.1
xdotool mousemove $(cell 4 3)
sleep 0.2
xdotool mouseup 1
sleep 0.3
xdotool mousemove $(cell 10 10)
sleep 0.3
track=$(pixel $((x0 + 47 * 3 + 23)) $((y0 + 47 * 3 + 19)))
[ "$track" = "#000000" ] || fail "no track drawn at column 3, row 3 ($track)"

# The whole row fill is one step: Ctrl+Z takes it back, Ctrl+Y makes it again.
at_track() { pixel $((x0 + 47 * 3 + 23)) $((y0 + 47 * 3 + 19)); }
xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key ctrl+z
sleep 0.3
[ "$(at_track)" != "#000000" ] || fail "track still drawn after Ctrl+Z"
xdotool key ctrl+y
sleep 0.3
[ "$(at_track)" = "#000000" ] || fail "no track after Ctrl+Y"

# Shift and a drag select the track, Ctrl+C copies it, Ctrl+V pastes it at
# the cell under the pointer and Del deletes the pasted copy again.
at_cell() { pixel $((x0 + 47 * $1 + 23)) $((y0 + 47 * $2 + 19)); }
xdotool mousemove $(cell 1 3) keydown shift mousedown 1
sleep 0.2
xdotool mousemove $(cell 4 3)
sleep 0.2
xdotool mouseup 1 keyup shift
xdotool key ctrl+c
xdotool mousemove $(cell 1 6)
sleep 0.2
xdotool key ctrl+v
sleep 0.3
[ "$(at_cell 3 6)" = "#000000" ] || fail "no track pasted at column 3, row 6"
[ "$(at_cell 3 3)" = "#000000" ] || fail "the copied track is gone"
xdotool key Delete
sleep 0.3
[ "$(at_cell 3 6)" != "#000000" ] || fail "pasted track still drawn after Del"

dialog=$(press_until ctrl+shift+s "Uložit jako|Save As") || fail "save dialog did not open"
xdotool windowfocus --sync "$dialog" 2>/dev/null
sleep 0.5
xdotool type --delay 5 "$station"
xdotool key Return
wait_window "$saved_title" >/dev/null || fail "caption after Save As is not \"$saved_title\""
[ -f "$saved" ] || fail "no file $saved"
[ "$(grep -c '^PRUSVITKA;' "$saved")" -eq 4 ] || fail "saved file does not hold four tiles"

press_until ctrl+n "$new_title" >/dev/null || fail "New did not give a new station"
sleep 0.3
empty=$(pixel $((x0 + 47 * 3 + 23)) $((y0 + 47 * 3 + 19)))
[ "$empty" != "#000000" ] || fail "track still drawn after New"

dialog=$(press_until ctrl+o "Otevřít|Open") || fail "open dialog did not open"
xdotool windowfocus --sync "$dialog" 2>/dev/null
sleep 0.5
xdotool type --delay 5 "$saved"
xdotool key Return
wait_window "$saved_title" >/dev/null || fail "caption after Open is not \"$saved_title\""
sleep 0.3
track=$(pixel $((x0 + 47 * 3 + 23)) $((y0 + 47 * 3 + 19)))
[ "$track" = "#000000" ] || fail "opened station not drawn ($track)"

# Loaded, not modified: closing asks nothing and ends the program.
python3 "$here/xclose.py" "$main"
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "program still running after closing its main window"
wait "$pid"
status=$?
kill "$wm" 2>/dev/null
rm -rf "$work"
[ "$status" -eq 0 ] || { echo "e2e: exit code $status" >&2; exit 1; }
echo "e2e: ok"
