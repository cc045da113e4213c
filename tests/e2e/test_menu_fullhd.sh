#!/bin/bash
# The start menu in a 1920 x 1080 window: it stays centred at its own pixel
# size, a button lights up under the pointer, and the game closes cleanly.
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
# The panel's top left corner: 780 x 580 around the centre (960, 540).
PANEL_X=570
PANEL_Y=250

start_game
wait_for "Mossden ready"
sleep 1
# Onto Start (panel x 60..330, y 170..224), in two moves.
xdotool mousemove 760 440
sleep 0.3
xdotool mousemove 765 445
sleep 0.5
size=$(screenshot menu_fullhd)
[ "$size" = 1920x1080 ] || fail "screenshot is $size"
[ "$(brightness menu_fullhd $((PANEL_X + 75)) $((PANEL_Y + 178)))" -lt 80 ] || fail "Start not lit"
[ "$(brightness menu_fullhd $((PANEL_X + 75)) $((PANEL_Y + 248)))" -gt 180 ] || fail "About lit"
[ "$(brightness menu_fullhd $((PANEL_X + 200)) $((PANEL_Y + 500)))" -gt 180 ] || fail "no panel"
[ "$(brightness menu_fullhd 40 40)" -lt 60 ] || fail "no night sky around the panel"
/usr/bin/python3 "$HERE/xclose.py" "$(game_window)"
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "closing the window gave status $status"
echo PASS
