#!/bin/bash
# The start menu in a 1920 x 1080 window: it stays centred, scaled with the
# window's height (1080 / 768), a button lights up under the pointer, and
# the game closes cleanly.
# Runs on an X server of its own with a screen of that size.
if [ -z "${MOSSDEN_FULLHD_SERVER:-}" ]; then
    exec env MOSSDEN_FULLHD_SERVER=1 xvfb-run -a -s "-noreset -screen 0 1920x1080x24" \
        bash "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"

# The player's copy of the engine configuration asks for the size.
mkdir -p "$XDG_CONFIG_HOME/mossden"
sed 's/^Video Mode=.*/Video Mode=1920 x 1080/' "$BUILD/cfg/ogre.cfg" > "$XDG_CONFIG_HOME/mossden/ogre.cfg"

brightness() {
    convert "$ARTEFACTS/$1.png" -format "%[fx:int(255*p{$2,$3}.intensity+0.5)]" info:
}
# The panel, 780 x 580 layout pixels, is centred at (960, 540) and scaled by
# 1080 / 768: at (x, y) in the panel lies the screen's pixel
# (960 + (x - 390) * 1080 / 768, 540 + (y - 290) * 1080 / 768).
sx() { echo $((960 + ($1 - 390) * 1080 / 768)); }
sy() { echo $((540 + ($1 - 290) * 1080 / 768)); }

start_game
wait_for "Mossden ready"
sleep 1
# Onto Start (panel x 60..330, y 170..224), in two moves.
xdotool mousemove "$(sx 190)" "$(sy 195)"
sleep 0.3
xdotool mousemove "$(sx 195)" "$(sy 197)"
sleep 0.5
size=$(screenshot menu_fullhd)
[ "$size" = 1920x1080 ] || fail "screenshot is $size"
[ "$(brightness menu_fullhd "$(sx 75)" "$(sy 178)")" -lt 80 ] || fail "Start not lit"
[ "$(brightness menu_fullhd "$(sx 75)" "$(sy 248)")" -gt 180 ] || fail "About lit"
[ "$(brightness menu_fullhd "$(sx 200)" "$(sy 500)")" -gt 180 ] || fail "no panel"
# The panel's edges lie where the scale puts them: paper just inside its
# bottom edge, the night sky just below it.
[ "$(brightness menu_fullhd "$(sx 200)" "$(sy 570)")" -gt 180 ] || fail "the panel is not scaled to its place"
[ "$(brightness menu_fullhd "$(sx 200)" "$(sy 612)")" -lt 120 ] || fail "the panel reaches too far"
[ "$(brightness menu_fullhd 40 40)" -lt 60 ] || fail "no night sky around the panel"
/usr/bin/python3 "$HERE/xclose.py" "$(game_window)"
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "closing the window gave status $status"
echo PASS
