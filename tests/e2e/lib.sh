# Helpers for end-to-end tests: start the real game on the current X display
# (the test command runs everything inside one Xvfb), drive it with xdotool,
# look at it with ImageMagick. Sourced by test_*.sh with $1 = the executable
# and $2 = the build directory.
set -u
GAME=$1
BUILD=$2
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}
export MOSSDEN_NO_DIALOG=1
ARTEFACTS=${MOSSDEN_ARTEFACTS:-$BUILD/artefacts}
mkdir -p "$ARTEFACTS"
WORK=$(mktemp -d /tmp/mossden-e2e.XXXXXX)
# The game keeps the player's settings here: fresh for every test, so that
# nothing kept by another run (or by whoever runs the tests) changes it.
export XDG_CONFIG_HOME="$WORK/config" XDG_STATE_HOME="$WORK/state"
GAME_PID=
trap 'cleanup' EXIT

cleanup() {
    if [ -n "$GAME_PID" ]; then pkill -9 -P "$GAME_PID" 2>/dev/null; kill -9 "$GAME_PID" 2>/dev/null; fi
    rm -rf "$WORK"
}

fail() {
    echo "FAIL: $*" >&2
    [ -f "$WORK/game.log" ] && { echo "--- game output:" >&2; tail -40 "$WORK/game.log" >&2; }
    exit 1
}

[ -n "${DISPLAY:-}" ] || fail "no X display (run the tests through the README's test command)"
/usr/bin/python3 "$HERE/xclose.py" --intern

# start_game [args...]: starts the game in $WORK with output in $WORK/game.log
start_game() {
    rm -f "$WORK/status" "$WORK/game.log"  # a waiter must not read the last run
    (cd "$WORK" && "$GAME" "$@" > "$WORK/game.log" 2>&1; echo $? > "$WORK/status") &
    GAME_PID=$!
}

# wait_for PATTERN [seconds]: waits until the game's output has a line matching PATTERN
wait_for() {
    local pattern=$1 limit=${2:-60} waited=0
    until grep -q -- "$pattern" "$WORK/game.log" 2>/dev/null; do
        [ ! -s "$WORK/status" ] || fail "game ended (status $(cat "$WORK/status")) while waiting for '$pattern'"
        sleep 0.2
        waited=$((waited + 1))
        [ $waited -lt $((limit * 5)) ] || fail "timed out waiting for '$pattern'"
    done
}

game_window() { xdotool search --name '^Mossden$' | head -1; }

# grabs: what a second X client finds when it grabs the pointer and the
# keyboard ("pointer=free keyboard=free" when the game holds neither)
grabs() { /usr/bin/python3 "$HERE/xgrab.py"; }

# screenshot NAME: saves the screen as $ARTEFACTS/NAME.png and prints its size
screenshot() {
    import -window root "$ARTEFACTS/$1.png" && identify -format '%wx%h' "$ARTEFACTS/$1.png"
}

# screenshot_until PATTERN NAME [seconds]: screenshots NAME again and again
# until the game's output has a line matching PATTERN, and keeps the last
# one begun before that line came: the last look at a moment that the line
# ends and that passes too quickly to catch after it
screenshot_until() {
    local limit=${3:-60} began
    began=$(date +%s)
    rm -f "$ARTEFACTS/$2.png"
    until grep -q -- "$1" "$WORK/game.log" 2>/dev/null; do
        [ ! -s "$WORK/status" ] || fail "game ended (status $(cat "$WORK/status")) while waiting for '$1'"
        [ $(($(date +%s) - began)) -lt "$limit" ] || fail "timed out waiting for '$1'"
        import -window root "$ARTEFACTS/$2.next.png" && mv "$ARTEFACTS/$2.next.png" "$ARTEFACTS/$2.png"
    done
    [ -f "$ARTEFACTS/$2.png" ] || fail "no screenshot before '$1'"
}

# face_reads NAME: the closing sequence's face on the screenshot NAME fills
# at least a third of the picture's height, and its jaw rows stand out from
# the space around them (tests/e2e/face_metrics.py prints the figures)
face_reads() {
    /usr/bin/python3 "$HERE/face_metrics.py" "$ARTEFACTS/$1.png" 0.34 6 || fail "the face does not read on $1"
}

# mean_brightness NAME: mean grey level of the screenshot NAME, 0..1
mean_brightness() { convert "$ARTEFACTS/$1.png" -colorspace gray -format "%[fx:mean]" info:; }

# is_paper NAME X Y: the pixel of the screenshot NAME shows the menu panel's
# light paper
is_paper() {
    [ "$(convert "$ARTEFACTS/$1.png" -format \
        "%[fx:abs(p{$2,$3}.r-0.95)<0.1 && abs(p{$2,$3}.g-0.93)<0.1 && abs(p{$2,$3}.b-0.89)<0.1]" \
        info:)" = 1 ]
}

# wait_exit [seconds]: waits for the game to end; prints its status
wait_exit() {
    local limit=${1:-30} waited=0
    until [ -s "$WORK/status" ]; do
        sleep 0.2
        waited=$((waited + 1))
        [ $waited -lt $((limit * 5)) ] || fail "game did not end"
    done
    cat "$WORK/status"
}

# no_sanitizer_reports: fails if the game's output holds an AddressSanitizer
# or UBSan report (a sanitizer build, see make sanitize)
no_sanitizer_reports() {
    if grep -q "runtime error:\|ERROR: AddressSanitizer" "$WORK/game.log"; then
        grep -A12 "runtime error:\|ERROR: AddressSanitizer" "$WORK/game.log" | head -60 >&2
        fail "sanitizer report in the game's output"
    fi
}

# player_wrapper PROGRAM: writes $WORK/as-player, which runs PROGRAM (with
# its arguments) as a player who owns nothing of the installed game: the user
# "nobody", with $PLAYER_HOME (made here) as home and working directory.
# For tests run as root.
player_wrapper() {
    PLAYER_HOME="$WORK/player"
    mkdir -p "$PLAYER_HOME"
    chown nobody "$PLAYER_HOME"
    chmod 755 "$WORK"
    local auth=
    if [ -n "${XAUTHORITY:-}" ]; then
        auth="$PLAYER_HOME/Xauthority"
        cp "$XAUTHORITY" "$auth" && chown nobody "$auth"
    fi
    cat > "$WORK/as-player" <<EOS
#!/bin/sh
cd "$PLAYER_HOME" && exec env -u XDG_CONFIG_HOME -u XDG_STATE_HOME HOME="$PLAYER_HOME" XAUTHORITY="$auth" \\
    setpriv --reuid=nobody --regid=nogroup --clear-groups $1 "\$@"
EOS
    chmod 755 "$WORK/as-player"
}
