#!/bin/sh
# Runs a command with an X display: the current one, or a private Xvfb.
if [ -n "$DISPLAY" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$@"
fi
display=:$((90 + $$ % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT INT TERM
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"$@"
