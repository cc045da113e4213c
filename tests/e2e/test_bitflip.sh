#!/bin/bash
# Damaged data, many times over: BITFLIP_STARTS (500) starts of the game on
# its data with one byte changed, over every kind of data file, from the
# seed BITFLIP_SEED (29). Each start meets its damaged file in the data
# check and ends before the window opens, so the run takes a few minutes.
source "$(dirname "$0")/lib.sh"

DATA_SOURCE=$(cd "$BUILD" && pwd -P)
# An own copy of the data: the bytes are changed in place.
mkdir -p "$WORK/data"
cp -r "$DATA_SOURCE/cfg" "$WORK/data/cfg"
cp -r "$DATA_SOURCE/media" "$WORK/data/media"
rm -rf "$WORK/data/media/bench"
sed -i "s|$DATA_SOURCE/media|$WORK/data/media|" "$WORK/data/cfg/resources.cfg"

# The undamaged copy passes.
(cd "$WORK/data" && MOSSDEN_CHECK_DATA=1 "$GAME" > "$WORK/game.log" 2>&1) || fail "the undamaged data does not pass"

/usr/bin/python3 "$HERE/bitflip.py" "$GAME" "$WORK/data" "${BITFLIP_SEED:-29}" "${BITFLIP_STARTS:-500}" ||
    fail "bit-flip run"
echo "PASS"
