#!/bin/sh
# Starts the built game; without a display it runs inside a virtual X server
# (Xvfb) and says so. The game runs in its build folder (the data root the
# build lays out), so it finds the build's data wherever this script is
# started from, and its engine log lands there. MOSSDEN_BUILD_DIR names
# another build folder (absolute, or relative to the source tree).
#
# A terminal's Ctrl+C is meant for the game alone: on a terminal the game
# runs as the terminal's foreground job in a process group of its own, so
# that neither make nor this script see the interrupt, and the game ends as
# its menu's Exit does. The virtual X server runs in a session of its own,
# out of reach of the terminal's signals, and is stopped once the game has
# ended: a server that died on the same Ctrl+C would take the game's display
# away in the middle of its shutdown.
set -e
SOURCE=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${MOSSDEN_BUILD_DIR:-build}
case "$BUILD" in /*) ;; *) BUILD="$SOURCE/$BUILD" ;; esac
if [ ! -x "$BUILD/bin/mossden" ]; then
    echo "No game built in $BUILD: run 'make play' from $SOURCE." >&2
    exit 1
fi
cd "$BUILD"

XVFB_PID=
stop_server() {
    [ -n "$XVFB_PID" ] || return 0
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
}

if [ -z "$DISPLAY" ]; then
    echo "No display found: starting Mossden inside a virtual X server (Xvfb); nothing will be shown."
    number_file=$(mktemp)
    trap 'stop_server; rm -f "$number_file"' EXIT
    # Xvfb picks a free display itself and writes its number once it
    # accepts connections.
    setsid Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$number_file" </dev/null >/dev/null 2>&1 &
    XVFB_PID=$!
    waited=0
    until [ -s "$number_file" ] && grep -q '^[0-9][0-9]*$' "$number_file"; do
        if ! kill -0 "$XVFB_PID" 2>/dev/null || [ "$waited" -ge 100 ]; then
            echo "The virtual X server (Xvfb) did not start." >&2
            exit 1
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    DISPLAY=":$(cat "$number_file")"
    export DISPLAY
    unset XAUTHORITY
fi

# Where no terminal gives the game a group of its own (the script's output
# piped, or started by a program), an interrupt of the whole group must
# not end this script before the game has shut down and the server after it.
trap ':' INT
# The terminal's foreground job only: a job started in the background must
# not stop itself by taking the terminal.
in_foreground() {
    # /proc/PID/stat after the command name: state ppid pgrp session tty tpgid
    set -- $(sed 's/.*) //' /proc/$$/stat)
    [ "$3" = "$6" ]
}
if [ -t 0 ] && in_foreground; then set -m; fi
status=0
./bin/mossden "$@" || status=$?
set +m
stop_server
exit "$status"
