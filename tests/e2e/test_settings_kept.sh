#!/bin/bash
# The player's settings last: with a fresh HOME and no XDG variables, the
# volume dragged, the window mode clicked, the mouse sensitivity dragged and
# the vertical look inverted in the settings page with real input are in
# ~/.config/mossden/settings.cfg, and the next start shows the volume where
# it was left and keeps the rest. The data is untouched and the working directory
# gains nothing but the engine log. Pointer moves as in test_menu.sh.
source "$(dirname "$0")/lib.sh"

unset XDG_CONFIG_HOME XDG_STATE_HOME
export HOME="$WORK/home"
mkdir -p "$HOME"
KEPT="$HOME/.config/mossden/settings.cfg"

# On 1024 x 768 the settings half of the panel starts at (512, 94); the
# volume arrow (24 x 26) sits at 38 + 24 * volume, 436 down.
arrow_x() { echo $((512 + 38 + 24 * $1 + 12)); }
ARROW_Y=$((94 + 436 + 13))

data_sums() { (cd "$BUILD" && md5sum cfg/*.cfg); }
data_before=$(data_sums)
listing() { (cd "$WORK" && ls -A | grep -v -x -e home -e game.log -e status); }
listing_before=$(listing)

close_game() {
    local wid
    wid=$(game_window)
    [ -n "$wid" ] || fail "no window"
    /usr/bin/python3 "$HERE/xclose.py" "$wid"
    [ "$(wait_exit 30)" = 0 ] || fail "closing the window did not end the game with status 0"
}

start_game
wait_for "Mossden ready"
sleep 1
screenshot settings_before > /dev/null
is_paper settings_before "$(arrow_x 10)" $ARROW_Y && fail "no volume arrow at full volume"

# Onto the arrow at full volume (the menu leaves the pointer free: its
# cursor is where the X pointer is).
xdotool mousemove 400 270
sleep 0.3
xdotool mousemove "$(arrow_x 10)" $ARROW_Y
sleep 0.3
xdotool mousedown 1
sleep 0.3
for _ in 1 2 3 4; do
    xdotool mousemove_relative -- -25 0
    sleep 0.2
done
xdotool mouseup 1
sleep 0.5
grep -q "^volume=6$" "$KEPT" 2>/dev/null || fail "the volume was not kept: $(cat "$KEPT" 2>&1)"

# Windowed (the right button of the window-mode row, centre 512 + 275, 94 + 146).
xdotool mousemove 787 240
sleep 0.3
xdotool mousemove 788 241
sleep 0.3
xdotool click 1
sleep 1
grep -q "^window_mode=windowed$" "$KEPT" || fail "the window mode was not kept: $(cat "$KEPT")"

# The look rows' tab, then the sensitivity arrow (at 1x: (682, 237), one
# step per 15 pixels) two steps right, and the invert toggle.
xdotool mousemove 787 147
sleep 0.3
xdotool mousemove 788 148
sleep 0.3
xdotool click 1
sleep 0.5
xdotool mousemove 681 237
sleep 0.3
xdotool mousemove 682 237
sleep 0.3
xdotool mousedown 1
sleep 0.3
for _ in 1 2; do
    xdotool mousemove_relative 16 0
    sleep 0.2
done
xdotool mouseup 1
sleep 0.5
sensitivity=$(sed -n 's/^mouse_sensitivity=//p' "$KEPT")
[ -n "$sensitivity" ] && [ "$sensitivity" != 1 ] || fail "the sensitivity was not kept: $(cat "$KEPT")"
xdotool mousemove 706 321
sleep 0.3
xdotool mousemove 707 321
sleep 0.3
xdotool click 1
sleep 0.5
grep -q "^invert_vertical_look=yes$" "$KEPT" || fail "the inverted look was not kept: $(cat "$KEPT")"
screenshot settings_look > /dev/null
close_game
cp "$KEPT" "$HOME/kept-first"

start_game
wait_for "Mossden ready"
sleep 1
screenshot settings_after > /dev/null
is_paper settings_after "$(arrow_x 10)" $ARROW_Y || fail "the volume arrow is still at full volume"
is_paper settings_after "$(arrow_x 6)" $ARROW_Y && fail "the volume arrow is not at 6"
close_game
cmp -s "$KEPT" "$HOME/kept-first" || fail "the second run changed the settings: $(cat "$KEPT")"

[ "$(data_sums)" = "$data_before" ] || fail "the data's configuration changed"
gained=$(diff <(echo "$listing_before") <(listing) | grep '^>' | sed 's/^> //')
[ "$gained" = "Ogre.log" ] || fail "the working directory gained: $gained"
echo PASS
