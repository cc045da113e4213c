#!/bin/bash
# The README's play path as written: the script that 'make play' runs, from
# the source tree's root, once without a display (it starts its own Xvfb) and
# once on the test's X display. Each run must reach the start menu with a
# picture that is not black and end with status 0 when the window is closed,
# with no engine exception on its output.
source "$(dirname "$0")/lib.sh"

SOURCE=$(cd "$HERE/../.." && pwd)
BUILD_REAL=$(cd "$BUILD" && pwd -P)

# play NAME [env assignments...]: runs the play script from the source root
play() {
    local name=$1
    shift
    rm -f "$WORK/status" "$WORK/game.log"
    (cd "$SOURCE" && env "$@" MOSSDEN_BUILD_DIR="$BUILD" ./tools/run-game.sh > "$WORK/game.log" 2>&1
     echo $? > "$WORK/status") &
    GAME_PID=$!
}

# game_pid: the game this test started (the play script runs it in the
# build directory); other games on the machine are not ours to touch
game_pid() {
    local pid
    for pid in $(pgrep -x mossden); do
        [ "$(readlink "/proc/$pid/cwd")" = "$BUILD_REAL" ] && { echo "$pid"; return; }
    done
}

# game_env VAR: the variable VAR as the running game has it
game_env() {
    local pid
    pid=$(game_pid)
    [ -n "$pid" ] && tr '\0' '\n' < "/proc/$pid/environ" | sed -n "s/^$1=//p"
}

# to_start_menu NAME HOW: waits for the start menu on the game's own
# display, looks at it, ends the game (HOW: "close" closes the window,
# "interrupt" is the Ctrl+C of a terminal) and checks the ending
to_start_menu() {
    local name=$1 how=$2
    wait_for "Mossden ready" 90
    sleep 1
    local display auth
    display=$(game_env DISPLAY)
    auth=$(game_env XAUTHORITY)
    [ -n "$display" ] || fail "$name: cannot find the running game"
    DISPLAY=$display XAUTHORITY=$auth import -window root "$ARTEFACTS/play_$name.png" ||
        fail "$name: no screenshot"
    awk -v b="$(mean_brightness "play_$name")" 'BEGIN { exit !(b > 0.05) }' ||
        fail "$name: the start menu is black"
    local wid
    wid=$(DISPLAY=$display XAUTHORITY=$auth xdotool search --name '^Mossden$' | head -1)
    [ -n "$wid" ] || fail "$name: no window titled Mossden"
    if [ "$how" = close ]; then
        DISPLAY=$display XAUTHORITY=$auth /usr/bin/python3 "$HERE/xclose.py" "$wid"
    else
        kill -INT "$(game_pid)"
    fi
    local status
    status=$(wait_exit 30)
    [ "$status" = 0 ] || fail "$name: ending it ($how) gave status $status"
    if grep -qi "exception" "$WORK/game.log"; then fail "$name: an exception on the output"; fi
}

# Without a display the game's virtual X server has no window manager to
# close the window with: a terminal's Ctrl+C ends it.
play headless -u DISPLAY -u XAUTHORITY
wait_for "virtual X server"
to_start_menu headless interrupt

play display
to_start_menu display close

# Ctrl+C as a terminal sends it: `make play` without a display on a
# terminal of its own (tests/e2e/terminal.py), the interrupt character typed
# once the menu is up. The game ends as its menu's Exit does, its virtual X
# server with it, and make with status 0. The build step is taken as done
# (make -o build): the build folder is this test's own.
rm -f "$WORK/game.log"
result=$(cd "$SOURCE" && env -u DISPLAY -u XAUTHORITY /usr/bin/python3 "$HERE/terminal.py" "$WORK/game.log" \
    "Mossden ready" 120 make --no-print-directory -o build play BUILD="$BUILD")
[ "$result" = "status 0" ] || fail "Ctrl+C on make play: $result"
grep -q "Ending on a quit signal" "$WORK/game.log" || fail "Ctrl+C on make play: no 'Ending on a quit signal'"
if grep -q "X connection\|Error 1\|Interrupt" "$WORK/game.log"; then fail "Ctrl+C on make play: an unclean end"; fi
echo "ok   Ctrl+C on make play: status 0, 'Ending on a quit signal'"
echo "PASS"
