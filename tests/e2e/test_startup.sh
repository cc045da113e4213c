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

# A GL without shaders (Mesa told to offer GL 1.5 and none of its shader
# extensions): the engine would die of a fault creating its window; the
# game says what is missing instead.
rm -f "$WORK/status" "$WORK/game.log"
(cd "$WORK" && MESA_GL_VERSION_OVERRIDE=1.5 \
    MESA_EXTENSION_OVERRIDE="-GL_ARB_vertex_shader -GL_ARB_fragment_shader -GL_ARB_vertex_program -GL_ARB_fragment_program" \
    "$GAME" > "$WORK/game.log" 2>&1; echo $? > "$WORK/status") &
GAME_PID=$!
status=$(wait_exit 60)
[ "$status" = 1 ] || fail "a GL without shaders gave status $status"
grep -q "OpenGL lacks what the game needs: GLSL shaders" "$WORK/game.log" || fail "a GL without shaders: no line saying so"
echo "ok   a GL without shaders: one line saying what is missing"

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
