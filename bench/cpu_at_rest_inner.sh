#!/usr/bin/env bash
# Runs inside the virtual X server started by cpu_at_rest.sh.
set -u
binary=$1
seconds=$2
station=$3
shots=${SHOTS:-}

cleanup() { kill "$pid" "$wm" 2>/dev/null; }
fail() {
    echo "cpu_at_rest: $*" >&2
    [ -n "$shots" ] && import -window root "$shots/failure.png"
    cleanup
    exit 1
}

wait_window() {
    local id
    for _ in $(seq 1 "${2:-100}"); do
        id=$(xdotool search --onlyvisible --name "^($1)\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Processor time of the program in clock ticks (user + system).
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }

now() { date +%s.%N; }

# Per cent of one core while the command runs (it runs for the measured
# seconds), over the time it really took.
measure() {
    local before after start end
    start=$(now)
    before=$(ticks)
    "$@"
    after=$(ticks)
    end=$(now)
    awk -v d=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$start" -v e="$end" \
        'BEGIN { printf "%.2f", 100 * d / hz / (e - s) }'
}

rest() { sleep "$seconds"; }

# Moves the pointer across the panel, about 40 moves a second, from cell
# to cell and within cells, for the measured seconds.
move_pointer() {
    local end x=$left y=$top
    end=$(awk -v t="$(now)" -v s="$seconds" 'BEGIN { printf "%.3f", t + s }')
    while awk -v t="$(now)" -v e="$end" 'BEGIN { exit !(t < e) }'; do
        xdotool mousemove "$x" "$y"
        x=$((x + 13)); y=$((y + 7))
        [ $x -gt $((left + 900)) ] && x=$left
        [ $y -gt $((top + 500)) ] && y=$top
        sleep 0.02
    done
}

focus_main() { xdotool windowfocus --sync "$main" 2>/dev/null; }

# report NAME LABEL: both figures, and with SHOTS set the screen after each.
report() {
    focus_main
    sleep 2
    printf '%s: at rest %s %% of a core' "$2" "$(measure rest)"
    [ -n "$shots" ] && import -window root "$shots/$1-rest.png"
    printf ', pointer moving %s %%' "$(measure move_pointer)"
    [ -n "$shots" ] && import -window root "$shots/$1-moved.png"
    printf ' (focus on the main window: %s)\n' "$([ "$(xdotool getwindowfocus 2>/dev/null)" = "$main" ] && echo yes || echo no)"
}

matchbox-window-manager -use_titlebar yes >/dev/null 2>&1 &
wm=$!
"$binary" &
pid=$!

main=$(wait_window "Kalmor v0.5 - Nová stanice") || fail "main window did not appear"
for _ in $(seq 1 50); do
    width=$(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
    [ "${width:-0}" -ge 1800 ] && break
    sleep 0.1
done
eval "$(xdotool getwindowgeometry --shell "$main")"
# Well inside the work area, right of the left panel and below the tool bar.
left=$((X + 400))
top=$((Y + 250))
report startup "start-up panel"

if [ -n "$station" ]; then
    focus_main
    xdotool key ctrl+o
    dialog=$(wait_window "Otevřít|Open" 50) || fail "open dialog did not open"
    sleep 1
    xdotool windowfocus --sync "$dialog" 2>/dev/null
    sleep 0.5
    xdotool type --delay 5 "$station"
    xdotool key Return
    name=$(basename "$station")
    wait_window "$name - Kalmor v0.5" 1200 >/dev/null || fail "station $name did not open"
    # Panel settings (Nastavení > Panel Vaxel, where the maximised window
    # shows its menu), then "Nastavit" applies the station's own size.
    focus_main
    xdotool mousemove 148 28 click 1
    sleep 0.5
    xdotool mousemove 175 70 click 1
    settings=$(wait_window "Nastavení panelu Vaxel" 50) || fail "panel settings dialog did not open"
    xdotool windowfocus --sync "$settings" 2>/dev/null
    sleep 0.5
    xdotool key Tab Tab space
    sleep 2
    python3 "$(dirname "$0")/../tests/xclose.py" "$settings"
    sleep 1
    report "${name%.*}" "$name"
fi
cleanup
