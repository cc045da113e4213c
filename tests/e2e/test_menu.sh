#!/bin/bash
# The menus with real X input: the game opens on the start menu, a button
# lights up under the pointer, a click on Start hands over to the first
# scene, Escape opens and closes the in-game menu there, and its Exit button
# ends the game with status 0. Screenshots of each step go to the artefacts.
#
# While a menu is shown the pointer is free (not grabbed), so the menu's
# cursor is where the X pointer is: the test moves it to window pixels (the
# window fills the screen at 0, 0).
source "$(dirname "$0")/lib.sh"

# The menu is laid out in pixels around the window's centre; on 1024 x 768
# its panel's top left corner is at (122, 94).
PANEL_X=122
PANEL_Y=94

# brightness FILE X Y: the pixel's intensity, 0..255
brightness() {
    convert "$ARTEFACTS/$1.png" -format "%[fx:int(255*p{$2,$3}.intensity+0.5)]" info:
}
# A point inside a button of the panel's left column, clear of its label:
# light while plain, ink-dark while highlighted.
button_x=$((PANEL_X + 60 + 15))
button_y() { echo $((PANEL_Y + $1 + 8)); }
# A point of the panel with nothing drawn on it.
paper_x=$((PANEL_X + 180))
paper_y=$((PANEL_Y + 500))

start_game
wait_for "Mossden ready"
sleep 1
screenshot menu_start > /dev/null
is_paper menu_start $paper_x $paper_y || fail "no start menu panel"
[ "$(brightness menu_start 1000 20)" -lt 60 ] || fail "no night sky around the start menu"
[ "$(brightness menu_start $button_x "$(button_y 170)")" -gt 180 ] || fail "Start lit before hovering"
# A desktop program: with a menu shown, neither the pointer nor the keyboard
# is held.
[ "$(grabs)" = "pointer=free keyboard=free" ] || fail "start menu holds input: $(grabs)"

# Onto Start (panel x 60..330, y 170..224): the first move finds the plain
# button and shows the hover form, the second finds the hover form.
xdotool mousemove 310 285
sleep 0.3
xdotool mousemove 317 291
sleep 0.5
screenshot menu_hover_start > /dev/null
[ "$(brightness menu_hover_start $button_x "$(button_y 170)")" -lt 80 ] || fail "Start not lit"
[ "$(brightness menu_hover_start $button_x "$(button_y 240)")" -gt 180 ] || fail "About lit"

xdotool click 1
wait_for "Scene 1 starts" 30
# The first scene fades in from black; the in-game menu shows above the fade.
sleep 2
# In play the pointer is grabbed (for looking around), never the keyboard.
[ "$(grabs)" = "pointer=taken keyboard=free" ] || fail "in play: $(grabs)"
xdotool key Escape
shown=
for _ in $(seq 1 15); do
    sleep 1
    screenshot menu_ingame > /dev/null
    if is_paper menu_ingame $paper_x $paper_y; then shown=1; break; fi
done
[ -n "$shown" ] || fail "Escape did not open the in-game menu"
[ "$(grabs)" = "pointer=free keyboard=free" ] || fail "in-game menu holds input: $(grabs)"
# The settings page's screen size caption goes with the menu (see
# test_scene_start.sh).
[ "$(/usr/bin/python3 "$HERE/menu_text.py" "$ARTEFACTS/menu_ingame.png")" -ge 40 ] ||
    fail "no screen size caption on the in-game menu"
xdotool key Escape
sleep 1
screenshot menu_closed > /dev/null
is_paper menu_closed $paper_x $paper_y && fail "a second Escape did not close the menu"
[ "$(/usr/bin/python3 "$HERE/menu_text.py" "$ARTEFACTS/menu_closed.png")" -lt 20 ] ||
    fail "menu text left in the middle of the first scene"
xdotool key Escape
sleep 1

# Down to Exit (panel y 380..434).
xdotool mousemove 317 490
sleep 0.3
xdotool mousemove 318 491
sleep 0.5
screenshot menu_hover_exit > /dev/null
[ "$(brightness menu_hover_exit $button_x "$(button_y 380)")" -lt 80 ] || fail "Exit not lit"
xdotool click 1
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "Exit ended the game with status $status"
echo PASS
