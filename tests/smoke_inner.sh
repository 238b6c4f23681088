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

# Asks a window to close the way a window manager does (WM_DELETE_WINDOW);
# without a window manager, xdotool windowclose would destroy it instead.
close_window() {
    python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = [ctypes.c_void_p]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]

class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]

class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

display = x.XOpenDisplay(None)
window = int(sys.argv[1])
event = Event()
event.xclient.type = 33  # ClientMessage
event.xclient.window = window
event.xclient.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.xclient.format = 32
event.xclient.l[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
x.XSendEvent(display, window, 0, 0, ctypes.byref(event))
x.XFlush(display)
x.XCloseDisplay(display)
PY
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
