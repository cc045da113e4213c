#!/bin/sh
# Starts the built game; without a display it runs inside Xvfb and says so.
# The game runs in its build folder (the data root the build lays out), so it
# finds the build's data wherever this script is started from, and its engine
# log lands there. MOSSDEN_BUILD_DIR names another build folder (absolute, or
# relative to the source tree).
set -e
SOURCE=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${MOSSDEN_BUILD_DIR:-build}
case "$BUILD" in /*) ;; *) BUILD="$SOURCE/$BUILD" ;; esac
if [ ! -x "$BUILD/bin/mossden" ]; then
    echo "No game built in $BUILD: run 'make play' from $SOURCE." >&2
    exit 1
fi
cd "$BUILD"
if [ -z "$DISPLAY" ]; then
    echo "No display found: starting Mossden inside a virtual X server (Xvfb); nothing will be shown."
    exec xvfb-run -a -s "-screen 0 1024x768x24" ./bin/mossden "$@"
fi
exec ./bin/mossden "$@"
