#!/bin/bash
# The start menu scales with the window: on a 3840 x 2160 screen and on an
# 800 x 600 one (an X server of its own each), measured on a screenshot by
# menu_scale.py. At 3840 x 2160 the panel takes 60-90 % of the height and
# its smallest text is at least 20 pixels tall; at 800 x 600 the panel is
# inside the window and its smallest text at least 9 pixels tall.
if [ -z "${MOSSDEN_SCALE_SIZE:-}" ]; then
    for size in 3840x2160 800x600; do
        env MOSSDEN_SCALE_SIZE=$size xvfb-run -a -s "-noreset -screen 0 ${size}x24" bash "$0" "$@" || exit 1
    done
    echo PASS
    exit 0
fi
source "$(dirname "$0")/lib.sh"
WIDTH=${MOSSDEN_SCALE_SIZE%x*}
HEIGHT=${MOSSDEN_SCALE_SIZE#*x}

# The player's copy of the engine configuration asks for the size.
mkdir -p "$XDG_CONFIG_HOME/mossden"
sed "s/^Video Mode=.*/Video Mode=$WIDTH x $HEIGHT/" "$BUILD/cfg/ogre.cfg" > "$XDG_CONFIG_HOME/mossden/ogre.cfg"

start_game
wait_for "Mossden ready" 120
sleep 1
# The pointer into the corner, off the panel and its texts, in two moves.
xdotool mousemove 10 10
sleep 0.3
xdotool mousemove 2 2
# A 4K frame of the software renderer takes a while: let the cursor's move
# be drawn.
sleep 3
name=menu_scale_$MOSSDEN_SCALE_SIZE
shot=$(screenshot "$name")
[ "$shot" = "$MOSSDEN_SCALE_SIZE" ] || fail "screenshot is $shot"
read -r share inside loud caption <<< "$(/usr/bin/python3 "$HERE/menu_scale.py" "$ARTEFACTS/$name.png" |
    sed 's/[a-z]*=//g')"
echo "$MOSSDEN_SCALE_SIZE: panel share $share, inside $inside, text heights: loud $loud px, caption $caption px"
smallest=$((loud < caption ? loud : caption))
if [ "$HEIGHT" -ge 2160 ]; then
    awk -v s="$share" 'BEGIN { exit !(s >= 0.6 && s <= 0.9) }' || fail "panel takes $share of the height"
    [ "$smallest" -ge 20 ] || fail "smallest text $smallest px tall"
else
    [ "$inside" = 1 ] || fail "the panel leaves the window"
    [ "$smallest" -ge 9 ] || fail "smallest text $smallest px tall"
fi
/usr/bin/python3 "$HERE/xclose.py" "$(game_window)"
status=$(wait_exit 60)
[ "$status" = 0 ] || fail "closing the window gave status $status"
