#!/bin/bash
# The first scene played through without input: started at index 1 it fades
# in, climbs through the moss world, falls into the burrow and hands over to
# the third scene. Screenshots of the climb are kept as artefacts and must
# show a world (neither black nor a single colour). Then the same flight at
# MOSSDEN_TIME_SCALE=4 must take a quarter of the time (within 10 %), both
# measured on the game's own stamps of its output lines (MOSSDEN_STAMP).
source "$(dirname "$0")/lib.sh"
export MOSSDEN_STAMP=1

# flight_seconds: real seconds from the fade-in (the ascent begins) to the
# hand-over (the next scene starts), from the stamps of the game's output
flight_seconds() {
    awk '/Scene1 phase 2$/ && !b { b = $2 } /Scene 2 starts$/ && !e { e = $2 }
         END { if (b == "" || e == "") exit 1; printf "%.3f\n", e - b }' "$WORK/game.log"
}

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
normal=$(flight_seconds) || fail "no stamped fade-in and hand-over lines"
echo "first scene from the fade-in to the hand-over: ${normal}s"
# two to four minutes without input
awk -v t="$normal" 'BEGIN { exit !(t >= 120 && t <= 240) }' || fail "the flight took ${normal}s"
/usr/bin/python3 "$HERE/xclose.py" "$(game_window)"
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "closing the window gave status $status"

MOSSDEN_TIME_SCALE=4 start_game 1
wait_for "Mossden ready"
wait_for "Scene 2 starts" 150
fast=$(flight_seconds) || fail "no stamped fade-in and hand-over lines at time scale 4"
echo "the same at time scale 4: ${fast}s (a quarter of ${normal}s is $(awk -v t="$normal" 'BEGIN { print t / 4 }')s)"
awk -v n="$normal" -v f="$fast" 'BEGIN { exit !(f >= 0.9 * n / 4 && f <= 1.1 * n / 4) }' ||
    fail "at time scale 4 the flight took ${fast}s, not a quarter of ${normal}s"
/usr/bin/python3 "$HERE/xclose.py" "$(game_window)"
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "closing the window gave status $status"
echo "PASS"
