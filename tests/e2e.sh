#!/usr/bin/env bash
# End to end through the real windows: place a few tiles with the pointer,
# take them back and make them again with Ctrl+Z and Ctrl+Y, copy them
# through a selection, paste them elsewhere and delete the copy,
# Save As through the file dialog, New, Open the saved file again, and check
# the panel and the window. Runs the program under a virtual X server with
# a small window manager, which keyboard focus needs.
set -u
binary=${1:?usage: e2e.sh <path to kalmor>}
here=$(cd "$(dirname "$0")" && pwd)
unset QT_QPA_PLATFORM
for tool in xvfb-run xdotool python3 import convert matchbox-window-manager; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is missing" >&2; exit 1; }
done
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$here/e2e_inner.sh" "$binary"
