#!/bin/bash
# The first scene played through without input: started at index 1 it fades
# in, climbs through the moss world, falls into the burrow and hands over to
# the third scene. Screenshots of the climb are kept as artefacts and must
# show a world (neither black nor a single colour).
source "$(dirname "$0")/lib.sh"

# prints "<mean> <standard deviation>" of a picture's grey levels, 0..1
grey_stats() {
    convert "$1" -colorspace Gray -format "%[fx:mean] %[fx:standard_deviation]" info:
}

start_game 1
wait_for "Mossden ready"
wait_for "Scene1 phase 2" 60
began=$(date +%s)
for at in 15 45 90; do
    sleep $((at - ($(date +%s) - began)))
    screenshot "first_scene_${at}s" > /dev/null
    read -r mean spread < <(grey_stats "$ARTEFACTS/first_scene_${at}s.png")
    echo "ascent at ${at}s: mean $mean, spread $spread"
    awk -v m="$mean" -v s="$spread" 'BEGIN { exit !(m > 0.08 && s > 0.03) }' ||
        fail "screenshot at ${at}s is black or flat (mean $mean, spread $spread)"
done
wait_for "Scene1 phase 3" 150
screenshot "first_scene_approach" > /dev/null
wait_for "Scene1 phase 4" 120
wait_for "Scene1 phase 5" 30
wait_for "Scene 2 starts" 30
ended=$(date +%s)
elapsed=$((ended - began))
echo "first scene from the fade-in to the hand-over: ${elapsed}s"
# two to four minutes without input
[ "$elapsed" -ge 120 ] && [ "$elapsed" -le 240 ] || fail "the flight took ${elapsed}s"
WID=$(game_window)
/usr/bin/python3 "$HERE/xclose.py" "$WID"
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "closing the window gave status $status"
echo "PASS"
