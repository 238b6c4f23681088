#!/usr/bin/env bash
# Share of one core the real program uses on a 1920 x 1080 virtual screen:
# at rest and while the pointer moves over the panel, on the start-up panel
# and, when a station file is given, on that station opened and applied
# ("Nastavit") at its own size.
#
#   bench/cpu_at_rest.sh build/kalmor [/work/stations/big.stvx] [seconds]
#
# Set DISPLAY_NUMBER to run on a display of your own (default: any free
# one) and SHOTS to a folder to keep a screenshot after each measurement.
set -u
binary=$(realpath "${1:?usage: cpu_at_rest.sh <path to kalmor> [station.stvx] [seconds]}")
station=${2:+$(realpath "$2")}
seconds=${3:-10}
here=$(cd "$(dirname "$0")" && pwd)
unset QT_QPA_PLATFORM
for tool in xvfb-run xdotool matchbox-window-manager; do
    command -v "$tool" >/dev/null || { echo "cpu_at_rest: $tool is missing" >&2; exit 1; }
done
if [ -n "${DISPLAY_NUMBER:-}" ]; then
    where=(-n "$DISPLAY_NUMBER")
else
    where=(-a)
fi
exec xvfb-run "${where[@]}" -s "-screen 0 1920x1080x24" \
    bash "$here/cpu_at_rest_inner.sh" "$binary" "$seconds" "$station"
