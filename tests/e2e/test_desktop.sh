#!/bin/bash
# The game on a desktop, under a real window manager (Debian's openbox on an
# X server of this test's own): with a menu shown
# neither the pointer nor the keyboard is held; in play only the pointer is;
# giving the focus to another window pauses the game under the in-game menu
# and lets the pointer go; Alt+Enter switches to full screen and back, and
# the window mode is kept; the window manager's close ends the game with
# status 0 and the settings saved.
source "$(dirname "$0")/lib.sh"

command -v openbox > /dev/null || fail "openbox is not installed (make deps)"
exec 3> "$WORK/displayfd"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 > "$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
exec 3>&-
for _ in $(seq 1 50); do [ -s "$WORK/displayfd" ] && break; sleep 0.1; done
[ -s "$WORK/displayfd" ] || fail "no X server of the test's own"
export DISPLAY=":$(head -1 "$WORK/displayfd")"
openbox --sm-disable > "$WORK/openbox.log" 2>&1 &
WM_PID=$!
other_pid=
trap 'kill $other_pid $WM_PID $XVFB_PID 2>/dev/null; cleanup' EXIT
# Openbox owns the screen once it answers for the window manager's atom.
for _ in $(seq 1 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done

start_game
wait_for "Mossden ready"
WID=$(game_window)
[ -n "$WID" ] || fail "no game window"
xdotool windowactivate --sync "$WID" 2> /dev/null
sleep 1
[ "$(grabs)" = "pointer=free keyboard=free" ] || fail "start menu holds input: $(grabs)"

# Start (menu pixels 317, 291 on the 1024 x 768 window, wherever openbox put it).
xdotool mousemove --window "$WID" 310 285
sleep 0.3
xdotool mousemove --window "$WID" 317 291
sleep 0.5
xdotool click 1
wait_for "Scene 1 starts" 30
# Building the scene takes a moment, longer on a loaded machine: the grab
# comes with the first frame of play.
for _ in $(seq 1 60); do [ "$(grabs)" = "pointer=taken keyboard=free" ] && break; sleep 0.5; done
[ "$(grabs)" = "pointer=taken keyboard=free" ] || fail "in play: $(grabs)"

# Another window takes the focus: the game pauses and lets the pointer go.
xmessage -geometry 300x100+900+50 "another program" &
other_pid=$!
other=
for _ in $(seq 1 50); do other=$(xdotool search --name '^xmessage$' | head -1); [ -n "$other" ] && break; sleep 0.1; done
[ -n "$other" ] || fail "no second window"
xdotool windowactivate --sync "$other" 2> /dev/null
wait_for "Focus lost: the game pauses" 10
sleep 1
[ "$(grabs)" = "pointer=free keyboard=free" ] || fail "after the focus went: $(grabs)"

# Back to the game, Escape closes the in-game menu: the pointer is grabbed again.
xdotool windowactivate --sync "$WID" 2> /dev/null
sleep 0.5
xdotool key Escape
sleep 1
[ "$(grabs)" = "pointer=taken keyboard=free" ] || fail "back in play: $(grabs)"

# fullscreen: whether the window manager shows the window full screen
fullscreen() { xprop -id "$WID" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN; }
fullscreen && fail "full screen before Alt+Enter"
xdotool key alt+Return
for _ in $(seq 1 25); do fullscreen && break; sleep 0.2; done
fullscreen || fail "Alt+Enter did not switch to full screen"
grep -q '^window_mode=fullscreen$' "$XDG_CONFIG_HOME/mossden/settings.cfg" || fail "full screen not kept"
xdotool key alt+Return
for _ in $(seq 1 25); do fullscreen || break; sleep 0.2; done
fullscreen && fail "a second Alt+Enter did not switch back"
grep -q '^window_mode=windowed$' "$XDG_CONFIG_HOME/mossden/settings.cfg" || fail "windowed not kept"

# The window manager's close: status 0, the settings file whole.
/usr/bin/python3 "$HERE/xclose.py" "$WID"
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "close ended the game with status $status"
grep -q '^volume=' "$XDG_CONFIG_HOME/mossden/settings.cfg" || fail "settings not saved at close"
echo PASS
