#!/bin/bash
# A crash leaves a report: the running game gets SIGSEGV, ends with that
# signal's status, says where its report is, and the report holds the
# version, the scene, the renderer, a backtrace naming the game's own
# functions and the last lines of its output.
source "$(dirname "$0")/lib.sh"

start_game
wait_for "Mossden ready" 90
pkill -SEGV -P "$GAME_PID" -x mossden
status=$(wait_exit 60)
[ "$status" = $((128 + 11)) ] || fail "ended with status $status, not by SIGSEGV"
report=$(ls "$XDG_STATE_HOME"/mossden/crash-*.txt 2>/dev/null | head -1)
[ -n "$report" ] || fail "no crash report in $XDG_STATE_HOME/mossden"
grep -qF "A crash report for the developers is in $report" "$WORK/game.log" || fail "the report's path was not printed"
cat "$report"
for line in "^Version: " "^Signal: 11" "^Scene: 0" "^Renderer: .*GL" "^Backtrace" "^Mossden ready"; do
    grep -q -- "$line" "$report" || fail "the report has no line '$line'"
done
# A frame of the game's own code, by name: the frame loop's or the
# entry point's.
sed -n '/^Backtrace/,/^Last lines/p' "$report" | grep -q "(_ZN7Mossden[0-9A-Za-z_]*\|(main+" ||
    fail "no function of the game in the backtrace"
echo "PASS"
