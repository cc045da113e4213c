#!/bin/bash
# The real executable: starts from an unrelated directory, renders its
# window, ends with status 0 when the window is closed; without data it
# names the missing file and fails.
source "$(dirname "$0")/lib.sh"

# The player's saved configuration asks for antialiasing; the game turns it
# off and says so in the file.
PLAYER_CFG="$XDG_CONFIG_HOME/mossden/ogre.cfg"
mkdir -p "$(dirname "$PLAYER_CFG")"
sed 's/^FSAA=.*/FSAA=4/' "$BUILD/cfg/ogre.cfg" > "$PLAYER_CFG"
grep -qx "FSAA=4" "$PLAYER_CFG" || fail "could not seed FSAA=4 into the player's ogre.cfg"
start_game
wait_for "Mossden ready"
sleep 1
size=$(screenshot startup)
[ "$size" = "1024x768" ] || fail "screenshot is $size"
WID=$(game_window)
[ -n "$WID" ] || fail "no window titled Mossden"
/usr/bin/python3 "$HERE/xclose.py" "$WID"
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "closing the window gave status $status"
grep -qx "FSAA=0" "$PLAYER_CFG" || fail "ogre.cfg kept $(grep FSAA "$PLAYER_CFG")"

# A copy of the executable with no data anywhere near it.
mkdir -p "$WORK/lonely/bin"
cp "$GAME" "$WORK/lonely/bin/mossden"
GAME="$WORK/lonely/bin/mossden"
start_game
status=$(wait_exit 30)
[ "$status" != 0 ] || fail "missing data gave status 0"
grep -q "An exception has occured!" "$WORK/game.log" || fail "no caption"
grep -q "not found" "$WORK/game.log" || fail "no 'not found' message"
echo "PASS"
