#!/bin/bash
# The whole asteroid field with real X input: from index 2 the route driver
# hops and flies into four distinct holes (tests/e2e/third_route.py, from
# the scene file's own holes); the closing sequence runs with its laugh and
# shows the face; the viewer is set down again on the front tooth, and
# Escape then offers the end menu.
source "$(dirname "$0")/lib.sh"

start_game 2
wait_for "Mossden ready"
wait_for "Standing on aster19" 40
/usr/bin/python3 "$HERE/third_route.py" "$WORK/game.log" "$BUILD/media/scenes/third_scene.xml" 4 240 \
    || fail "the route did not ride four holes"
wait_for "Holes ridden: 4; the closing sequence starts" 20
wait_for "InHole -> Finale" 5
sleep 4
screenshot third_finale_leaving > /dev/null
wait_for "mFinalStartRollOrient" 30
wait_for "Closing sequence: the laugh" 30
sleep 1
screenshot third_finale_laugh > /dev/null
screenshot_until "Closing sequence: the end" third_finale_end 20
face_reads third_finale_end
grep -q "mRootCameraNode->getPosition" "$WORK/game.log" || fail "no end poses"
# The flight after the end sets the viewer down on the front tooth.
wait_for "Flight to aster17" 5
wait_for "Standing on aster17" 30
sleep 1
screenshot third_after_end > /dev/null
xdotool key Escape
sleep 1
screenshot third_end_menu > /dev/null

WID=$(game_window)
/usr/bin/python3 "$HERE/xclose.py" "$WID"
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "closing the window gave status $status"
echo "PASS"
