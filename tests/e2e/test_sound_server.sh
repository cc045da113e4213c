#!/bin/bash
# Sound that survives its sound server: the game plays the start menu's
# music into a PulseAudio server of the test's own (a null sink, recorded
# from its monitor); the server is killed and started again, and the music
# must be back in the recording within 5 seconds of the new server
# answering (measured on the wall clock as the recording grows), with one
# line of the game's when the sound went and one when it came back.
# About 30 s; the server and the recorder are ended on any exit.
source "$(dirname "$0")/lib.sh"

for tool in pulseaudio parec pactl sox; do
    command -v $tool > /dev/null || fail "$tool is not installed (tools/install-deps.sh installs it)"
done

PULSE_DIR="$WORK/pulse"
mkdir -p "$PULSE_DIR/runtime" "$PULSE_DIR/home"
chmod 700 "$PULSE_DIR/runtime"
SOCKET="$PULSE_DIR/native"
SINK=mossden_test_sink
RATE=44100
# The server's own configuration: nothing of the machine's, one null sink.
cat > "$PULSE_DIR/server.pa" <<EOC
load-module module-null-sink sink_name=$SINK rate=$RATE sink_properties=device.description=Mossden-test-sink
set-default-sink $SINK
load-module module-native-protocol-unix auth-anonymous=1 socket=$SOCKET
EOC
# Clients never start a server of their own.
echo "autospawn = no" > "$PULSE_DIR/client.conf"
export PULSE_SERVER="unix:$SOCKET" PULSE_CLIENTCONFIG="$PULSE_DIR/client.conf"
export PULSE_RUNTIME_PATH="$PULSE_DIR/runtime" XDG_RUNTIME_DIR="$PULSE_DIR/runtime"

SERVER_PID=
RECORDER_PID=
stop_server() {
    if [ -n "$SERVER_PID" ]; then
        pkill -9 -P "$SERVER_PID" 2>/dev/null
        { wait "$SERVER_PID"; } 2>/dev/null
    fi
    SERVER_PID=
}
stop_recorder() {
    [ -n "$RECORDER_PID" ] && kill "$RECORDER_PID" 2>/dev/null && wait "$RECORDER_PID" 2>/dev/null
    RECORDER_PID=
}
trap 'stop_recorder; stop_server; cleanup' EXIT
trap 'exit 1' INT TERM

# start_server: a fresh server, answering within 10 s; the server is
# killed (not stopped: it goes as a crashed one does) by stop_server, and
# ends by itself after 5 minutes should this script be killed first
start_server() {
    env -u DISPLAY HOME="$PULSE_DIR/home" timeout -s KILL 300 pulseaudio -n -F "$PULSE_DIR/server.pa" --daemonize=no --system=false \
        --exit-idle-time=-1 --disallow-exit --use-pid-file=no --log-target=stderr \
        >> "$WORK/pulse.log" 2>&1 &
    SERVER_PID=$!
    local waited=0
    until pactl info > /dev/null 2>&1; do
        sleep 0.1
        waited=$((waited + 1))
        [ $waited -lt 100 ] || { tail -20 "$WORK/pulse.log" >&2; fail "the sound server did not start"; }
    done
}

# record FILE: records the sink's monitor into FILE (raw 16-bit stereo)
record() {
    parec --latency-msec=50 -d "$SINK.monitor" --format=s16le --rate=$RATE --channels=2 --raw > "$1" 2>> "$WORK/parec.log" &
    RECORDER_PID=$!
}

# loud FILE: the newest quarter second of the recording FILE has an RMS
# level above -50 dBFS (the music plays far louder; the null sink's silence
# is exactly 0)
loud() {
    local quarter=$((RATE * 4 / 4)) rms  # bytes: a quarter of RATE frames of 4 bytes
    [ "$(stat -c %s "$1")" -ge $quarter ] || return 1
    rms=$(tail -c $quarter "$1" | sox -t raw -r $RATE -e signed -b 16 -c 2 - -n stat 2>&1 |
        awk '/RMS +amplitude/ {print $3}')
    awk -v r="$rms" 'BEGIN {exit !(r > 0.00316)}'
}

# heard_within FILE SECONDS: prints the seconds since $SINCE (date +%s.%N)
# at which the recording FILE, watched as it grows, first holds sound, or
# "none" when it does not within SECONDS
heard_within() {
    local now
    while :; do
        now=$(awk -v a="$SINCE" -v b="$(date +%s.%N)" 'BEGIN {printf "%.1f", b - a}')
        if loud "$1"; then echo "$now"; return; fi
        awk -v t="$now" -v l="$2" 'BEGIN {exit !(t > l)}' && { echo none; return; }
        sleep 0.2
    done
}

start_server
export ALSOFT_DRIVERS=pulse
start_game
wait_for "Mossden ready" 120
grep -q '^Sound plays on ".*"' "$WORK/game.log" || fail "no line naming the sound device"

record "$WORK/before.raw"
SINCE=$(date +%s.%N)
[ "$(heard_within "$WORK/before.raw" 10)" != none ] || fail "no sound in the sink's recording before the restart"
stop_recorder

stop_server
wait_for 'Sound device ".*" is gone' 10
sleep 1
[ -s "$WORK/status" ] && fail "the game ended without its sound server"

start_server
SINCE=$(date +%s.%N)
record "$WORK/after.raw"
came=$(heard_within "$WORK/after.raw" 8)
stop_recorder
cp "$WORK/before.raw" "$WORK/after.raw" "$ARTEFACTS/" 2>/dev/null
echo "sound back in the sink's recording $came s after the new server answered"
[ "$came" != none ] || fail "no sound in the sink's recording after the restart"
awk -v t="$came" 'BEGIN {exit !(t <= 5.0)}' || fail "the sound came back after $came s, not within 5 s"
wait_for '^Sound is back on ".*"' 5
[ "$(grep -c 'is gone' "$WORK/game.log")" = 1 ] || fail "not one line for the lost device"
[ "$(grep -c '^Sound is back on' "$WORK/game.log")" = 1 ] || fail "not one line for the device back"

WID=$(game_window)
[ -n "$WID" ] || fail "no window titled Mossden"
/usr/bin/python3 "$HERE/xclose.py" "$WID"
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "closing the window gave status $status"
echo "PASS"
