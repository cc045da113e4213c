#!/bin/bash
# The whole journey in one run, with real X input and game time sped up:
# Start on the start menu; the first scene to its end, with some mouse look
# and W held for part of the climb; the asteroid field, where the route
# driver flies and hops into four holes; the closing sequence with the face;
# Escape for the end menu and Start over; the first scene again for a while;
# Escape and Exit, which must end the game with status 0.
#
# The scene changes and the moments between them are checked on standard
# output, a screenshot of each scene is kept in the artefacts, and the frame
# times per scene are written there and printed.
#
# The sound goes to openal-soft's wave output. The game plays its sounds as
# much faster as its time runs, so the recording is the journey's mix sped
# up: from the first scene's fade-in to the end menu no stretch may stay
# below -50 dBFS for more than 3 game seconds, and no sample may clip.
#
# Menus leave the pointer free: buttons are reached by moving the X pointer
# onto them (see test_menu.sh); in play it is grabbed and the moves count
# as relative motion for looking around.
source "$(dirname "$0")/lib.sh"

export MOSSDEN_TIME_SCALE=${MOSSDEN_TIME_SCALE:-4}
export MOSSDEN_FRAME_STATS=$ARTEFACTS/playthrough_frame_times.txt
rm -f "$MOSSDEN_FRAME_STATS"
began=$(date +%s)

MIX=$WORK/mix.wav
cat > "$WORK/alsoft.conf" <<EOF
[general]
drivers = wave
channels = stereo
sample-type = float32
frequency = 44100
# Resampling that keeps a sped-up sound's level (no anti-alias filter).
resampler = point
[wave]
file = $MIX
EOF
export ALSOFT_DRIVERS=wave ALSOFT_CONF=$WORK/alsoft.conf
# recorded: bytes written to the recording so far
recorded() { stat -c %s "$MIX" 2>/dev/null || echo 0; }

# point X Y: the pointer onto (X, Y) of the 1024 x 768 window. A menu
# leaves the pointer free, so the menu's cursor is where the X pointer is
# (the window fills the screen at 0, 0).
point() {
    xdotool mousemove "$1" "$2"
    sleep 0.3
    # The first move shows the hover form, the second finds it.
    xdotool mousemove $(($1 + 1)) $(($2 + 1))
    sleep 0.5
}
started() { grep -c "^Scene $1 starts" "$WORK/game.log"; }

start_game
wait_for "Mossden ready" 60
sleep 1
screenshot playthrough_0_start_menu > /dev/null

# Start (start menu panel at (122, 94), the button 60..330 x 170..224).
point 317 291
xdotool click 1
wait_for "Scene 1 starts" 30
WID=$(game_window)
[ -n "$WID" ] || fail "no game window"

# The climb (it begins with the fade-in): mouse look, then W held for a while.
wait_for "Scene1 phase 2" 60
mix_from=$(recorded)
for _ in 1 2 3 4 5 6; do xdotool mousemove_relative -- 25 0; sleep 0.1; done
for _ in 1 2 3 4 5 6; do xdotool mousemove_relative -- -25 -5; sleep 0.1; done
xdotool keydown w
sleep 4
xdotool keyup w
screenshot playthrough_1_climb > /dev/null
# The fall into the burrow (the approach is phase 3).
wait_for "Scene1 phase 4" 120
sleep 0.3
screenshot playthrough_1_tunnel > /dev/null

# The asteroid field (scene index 2; the tunnel shares the first scene's
# world and is never started on its own).
wait_for "Scene 2 starts" 120
wait_for "Standing on aster19" 60
sleep 1
screenshot playthrough_2_field > /dev/null
# A picture as the first flight sets off, taken beside the route driver.
(for _ in $(seq 1 1200); do
     if grep -q "Flight to aster" "$WORK/game.log" 2>/dev/null; then
         screenshot playthrough_2_flight > /dev/null; break
     fi
     sleep 0.1
 done) &
/usr/bin/python3 "$HERE/third_route.py" "$WORK/game.log" "$BUILD/media/scenes/third_scene.xml" 4 300 \
    > "$WORK/route.log" 2>&1 || { cat "$WORK/route.log"; fail "the route did not ride four holes"; }
grep -q "Flight to aster" "$WORK/game.log" || fail "no flight on the route"
grep -q "Hop on aster" "$WORK/game.log" || fail "no hop on the route"
wait_for "Holes ridden: 4; the closing sequence starts" 30
wait_for "Closing sequence: the laugh" 60
screenshot_until "Closing sequence: the end" playthrough_3_face 30
face_reads playthrough_3_face
wait_for "Standing on aster17" 30

# The end menu, and Start over (end panel at (192, 184), the button
# 220..420 x 300..352). Escape gives the end menu once the viewer stands
# on the front tooth for a frame; before that it gives the in-game menu,
# with its light paper where the end menu has none.
sleep 1
mix_to=$(recorded)
xdotool key Escape
sleep 1
screenshot playthrough_4_end_menu > /dev/null
is_paper playthrough_4_end_menu 302 594 && fail "Escape gave the in-game menu, not the end menu"
[ "$(started 1)" = 1 ] || fail "the first scene started again too early"
point 510 505
xdotool click 1
for _ in $(seq 1 150); do [ "$(started 1)" = 2 ] && break; sleep 0.2; done
[ "$(started 1)" = 2 ] || fail "Start over did not start the first scene again"

# The first scene again for a while, then the in-game menu's Exit (panel
# at (122, 94), the button 60..330 x 380..434).
sleep 6
screenshot playthrough_5_again > /dev/null
xdotool key Escape
sleep 1.5
point 197 482
xdotool click 1
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "Exit ended the game with status $status"

cp "$WORK/game.log" "$ARTEFACTS/playthrough_game.log"
no_sanitizer_reports
grep -q "Sound is off" "$WORK/game.log" && fail "no sound recorded: $(grep "Sound is off" "$WORK/game.log")"
/usr/bin/python3 "$HERE/mix_levels.py" "$MIX" "$mix_from" "$mix_to" "$MOSSDEN_TIME_SCALE" \
    > "$ARTEFACTS/playthrough_mix.txt" || { cat "$ARTEFACTS/playthrough_mix.txt"; fail "the journey's sound"; }

# The scenes came in order, and nothing went past the last one.
order=$(grep -o "^Scene [0-9]* starts" "$WORK/game.log" | awk '{print $2}' | tr '\n' ' ')
[ "$order" = "0 1 2 1 " ] || fail "scene order was '$order'"
cat "$WORK/route.log"
elapsed=$(($(date +%s) - began))
echo "playthrough at time scale $MOSSDEN_TIME_SCALE: ${elapsed}s"
[ -s "$MOSSDEN_FRAME_STATS" ] || fail "no frame times written to $MOSSDEN_FRAME_STATS"
cat "$MOSSDEN_FRAME_STATS"
cat "$ARTEFACTS/playthrough_mix.txt"
echo "PASS"
