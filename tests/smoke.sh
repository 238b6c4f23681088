#!/usr/bin/env bash
# Starts the real program under a virtual X server, waits for the main
# window, checks that the splash window is gone, closes the main window
# and expects the program to end with exit code 0.
set -u
binary=${1:?usage: smoke.sh <path to kalmor>}
here=$(cd "$(dirname "$0")" && pwd)
# The suites run offscreen; this one needs the X server.
unset QT_QPA_PLATFORM
for tool in xvfb-run xdotool python3; do
    command -v "$tool" >/dev/null || { echo "smoke: $tool is missing" >&2; exit 1; }
done
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$here/smoke_inner.sh" "$binary"
