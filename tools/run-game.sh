#!/bin/sh
# Starts the built game; without a display it runs inside Xvfb and says so.
GAME="$(dirname "$0")/../build/bin/mossden"
if [ -z "$DISPLAY" ]; then
    echo "No display found: starting Mossden inside a virtual X server (Xvfb); nothing will be shown."
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$GAME" "$@"
fi
exec "$GAME" "$@"
