#!/bin/bash
# Started at a scene, as the README offers (mossden 1, mossden 2), the game
# shows nothing of the menu it built and put away at the start: the band in
# the middle of the picture where the settings page writes the screen size
# holds none of the caption's colour. The in-game menu, opened over the
# same scene, does show the caption there (so the measure finds it when it
# is up), and closed again leaves the band clear. test_menu.sh checks the
# same band for the first scene started through the start menu.
source "$(dirname "$0")/lib.sh"

# caption_pixels NAME: pixels of the caption's colour in the middle of NAME
caption_pixels() { /usr/bin/python3 "$HERE/menu_text.py" "$ARTEFACTS/$1.png"; }
no_caption() {
    local n
    n=$(caption_pixels "$1")
    [ "$n" -lt 20 ] || fail "menu text in the middle of $1 ($n pixels of its colour)"
}

# The moment each scene shows itself: the first scene's fade-in begins,
# the field's viewer stands on the first asteroid.
shown_line=([1]="Scene1 phase 2" [2]="Standing on aster19")
for scene in 1 2; do
    start_game $scene
    wait_for "Scene $scene starts" 60
    wait_for "${shown_line[$scene]}" 60
    sleep 1
    screenshot scene_start_${scene} > /dev/null
    no_caption scene_start_${scene}
    xdotool key Escape
    n=0
    for _ in $(seq 1 15); do
        sleep 1
        screenshot scene_start_${scene}_menu > /dev/null
        n=$(caption_pixels scene_start_${scene}_menu)
        [ "$n" -lt 40 ] || break
    done
    [ "$n" -ge 40 ] || fail "the in-game menu's screen size was not found in the middle ($n pixels)"
    xdotool key Escape
    sleep 1
    screenshot scene_start_${scene}_menu_closed > /dev/null
    no_caption scene_start_${scene}_menu_closed
    /usr/bin/python3 "$HERE/xclose.py" "$(game_window)"
    status=$(wait_exit 30)
    [ "$status" = 0 ] || fail "closing the window gave status $status"
done
echo "PASS"
