#!/bin/bash
# The asteroid field's route played back from a recording instead of the X
# devices: third_route.input was recorded once from test_third_finale.sh's
# real input (MOSSDEN_RECORD) with the same fixed step. The replay must ride
# the same four holes, run the closing sequence with the face to be seen and
# set the viewer down on the front tooth; and a second replay must print
# the very same game lines at the same game times and frames.
#
# To record it again after a change to the third scene:
#   MOSSDEN_FIXED_STEP=50 MOSSDEN_RECORD=$PWD/tests/e2e/third_route.input \
#     xvfb-run -a -s "-noreset -screen 0 1024x768x24" \
#     bash tests/e2e/test_third_finale.sh "$PWD/build/bin/mossden" "$PWD/build"
source "$(dirname "$0")/lib.sh"

export MOSSDEN_FIXED_STEP=50 MOSSDEN_REPLAY=$HERE/third_route.input MOSSDEN_STAMP=1

# replay NAME: one replayed run; its stamped game lines up to the end of
# the recording (without the real time) go to $WORK/NAME.lines
replay() {
    start_game 2
    wait_for "Replaying [0-9]* input events"
    wait_for "Holes ridden: 4; the closing sequence starts" 300
    wait_for "InHole -> Finale" 5
    wait_for "Closing sequence: the laugh" 120
    if [ "$1" = first ]; then
        screenshot third_replay_laugh > /dev/null
        awk -v b="$(mean_brightness third_replay_laugh)" 'BEGIN { exit !(b > 0.01) }' ||
            fail "the face is not to be seen"
    fi
    wait_for "Closing sequence: the end" 60
    wait_for "Standing on aster17" 90
    wait_for "Input replay: all [0-9]* events delivered" 30
    /usr/bin/python3 "$HERE/xclose.py" "$(game_window)"
    status=$(wait_exit 30)
    [ "$status" = 0 ] || fail "closing the window gave status $status"
    # What follows the last recorded event depends on when the window closed.
    sed -n '/^\[real /{s/^\[real [0-9.]* /[/;p;/Input replay: all/q}' "$WORK/game.log" > "$WORK/$1.lines"
    cp "$WORK/game.log" "$WORK/$1.log"
}

replay first
grep -c "Into hole" "$WORK/first.lines" | grep -qx 4 || fail "not four hole rides"
replay second
if ! diff "$WORK/first.lines" "$WORK/second.lines" > "$WORK/diff"; then
    head -20 "$WORK/diff" >&2
    fail "the two replays printed different game lines"
fi
echo "$(wc -l < "$WORK/first.lines") game lines alike in both replays"
echo "PASS"
