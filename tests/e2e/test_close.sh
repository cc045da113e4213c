#!/bin/bash
# Closing the window ends the run cleanly: status 0, input torn down before
# the engine, nothing on the output but the game's own lines (after the
# one that names the data folder). Once from the
# asteroid scene with sound, once from the menu without any audio device.
source "$(dirname "$0")/lib.sh"

# close_run NAME EXPECTED_OUTPUT: closes the running game's window and checks
# how it ended.
close_run() {
    local name=$1 expected=$2
    wait_for "Mossden ready"
    local wid
    wid=$(game_window)
    [ -n "$wid" ] || fail "$name: no window titled Mossden"
    /usr/bin/python3 "$HERE/xclose.py" "$wid"
    local status
    status=$(wait_exit 30)
    [ "$status" = 0 ] || fail "$name: closing the window gave status $status"
    # One line names the data folder, which depends on the build's place;
    # one says how long the data check took.
    grep -q "^Data from " "$WORK/game.log" || fail "$name: no line naming the data folder"
    grep -q "^Data checked: " "$WORK/game.log" || fail "$name: no line of the data check"
    [ "$(grep -v -e "^Data from " -e "^Data checked: " "$WORK/game.log")" = "$expected" ] ||
        fail "$name: unexpected output"
    local input engine
    input=$(grep -n "Destroying OIS" "$WORK/Ogre.log" | cut -d: -f1)
    engine=$(grep -n "Uninstalling plugin: GL RenderSystem" "$WORK/Ogre.log" | cut -d: -f1)
    [ -n "$input" ] && [ -n "$engine" ] || fail "$name: teardown missing from Ogre.log"
    [ "$input" -lt "$engine" ] || fail "$name: the engine went down before the input"
    rm -f "$WORK/Ogre.log"
}

start_game 2
close_run "scene 2" "Sound plays on \"No Output\"
Scene 2 starts
Mossden ready"

ALSOFT_DRIVERS=no-such-driver start_game
close_run "no audio device" "Sound is off: cannot open the audio device \"OpenAL Soft\"; looking for one every 2 seconds
Scene 0 starts
Mossden ready"
echo "PASS"
