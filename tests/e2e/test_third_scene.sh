#!/bin/bash
# The asteroid field from the command line: started at index 2 the game
# fades in on aster19; real X input turns the view, hops with W and flies to
# another asteroid with a click; the phases show on standard output and the
# screenshots show the field.
source "$(dirname "$0")/lib.sh"

# differs A B: true when two screenshots differ clearly (RMSE above 2%)
differs() {
    local rmse
    rmse=$(compare -metric RMSE "$ARTEFACTS/$1.png" "$ARTEFACTS/$2.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    awk -v r="$rmse" 'BEGIN { exit !(r > 0.02) }'
}

start_game 2
wait_for "Mossden ready"
screenshot third_black > /dev/null
wait_for "Intro -> Aligning" 30
wait_for "Aligning -> OnAsteroid" 30
sleep 0.3
screenshot third_start > /dev/null
awk -v b="$(mean_brightness third_black)" 'BEGIN { exit !(b < 0.02) }' || fail "the opening is not black"
awk -v b="$(mean_brightness third_start)" 'BEGIN { exit !(b > 0.04) }' || fail "the field is too dark to see"

# Mouse look: the view turns up, well past what the spin moves in a moment.
for i in $(seq 1 10); do xdotool mousemove_relative -- 0 -20; sleep 0.05; done
sleep 0.3
screenshot third_turned > /dev/null
differs third_start third_turned || fail "the mouse did not turn the view"

# A hop with W.
xdotool keydown w; sleep 0.2; xdotool keyup w
wait_for "Hop on aster19" 10
sleep 1.8
screenshot third_hop > /dev/null

# Turn on until the view points at another asteroid; a click flies there.
for i in $(seq 1 80); do
    xdotool mousemove_relative -- 0 -25
    sleep 0.06
    xdotool click 1
    sleep 0.08
    grep -q "Flight to" "$WORK/game.log" && break
done
wait_for "OnAsteroid -> Flying" 5
sleep 0.5
screenshot third_flight > /dev/null
wait_for "Flying -> \(Aligning\|OnAsteroid\)" 20
target=$(grep -o "Flight to aster[0-9]*" "$WORK/game.log" | head -1 | sed 's/Flight to //')
[ -n "$target" ] && [ "$target" != aster19 ] || fail "flew to '$target'"
# The second time the viewer stands: on the new asteroid.
for i in $(seq 1 50); do [ "$(grep -c -- "-> OnAsteroid" "$WORK/game.log")" -ge 2 ] && break; sleep 0.2; done
[ "$(grep -c -- "-> OnAsteroid" "$WORK/game.log")" -ge 2 ] || fail "never stood on $target"
sleep 0.5
screenshot third_landed > /dev/null

WID=$(game_window)
/usr/bin/python3 "$HERE/xclose.py" "$WID"
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "closing the window gave status $status"
echo "PASS"
