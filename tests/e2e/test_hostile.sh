#!/bin/bash
# The real game on broken data, configuration and environments, one row per
# kind of fault. Each row says what must happen: the game runs on (to the
# start menu, or to a named line) and ends with status 0 when asked to
# quit, or it stops with a failing status and a message naming the fault.
# Never a signal death, a hang without a window, or silence.
source "$(dirname "$0")/lib.sh"

DATA_SOURCE=$(cd "$BUILD" && pwd -P)

# fresh_data: a data root in $WORK/data that the game takes (its working
# directory comes first): the build's cfg files, media folders linked, and
# a resources.cfg naming them. make_own SUB copies a media folder to edit.
fresh_data() {
    rm -rf "$WORK/data"
    mkdir -p "$WORK/data/media"
    cp -r "$DATA_SOURCE/cfg" "$WORK/data/cfg"
    for sub in "$DATA_SOURCE"/media/*; do ln -s "$sub" "$WORK/data/media/$(basename "$sub")"; done
    sed -i "s|$DATA_SOURCE/media|$WORK/data/media|" "$WORK/data/cfg/resources.cfg"
}
make_own() {
    rm "$WORK/data/media/$1"
    cp -r "$DATA_SOURCE/media/$1" "$WORK/data/media/$1"
}
# link_own SUB: a media folder of its own holding links to each file, so
# that single files can be taken away or replaced
link_own() {
    rm "$WORK/data/media/$1"
    mkdir "$WORK/data/media/$1"
    for f in "$DATA_SOURCE/media/$1"/*; do ln -s "$f" "$WORK/data/media/$1/"; done
}

# start_in_data [args...]: the game with $WORK/data as its working directory
start_in_data() {
    rm -f "$WORK/status" "$WORK/game.log"
    (cd "$WORK/data" && "$GAME" "$@" > "$WORK/game.log" 2>&1; echo $? > "$WORK/status") &
    GAME_PID=$!
}

# signal_game SIGNAL: sends SIGNAL to the game this test started, and to
# no other game on the machine
signal_game() { pkill "-$1" -P "$GAME_PID" -x mossden; }

# expect_runs NAME LINE [READY]: the game shows LINE on its output, reaches
# READY (default: the start menu), and ends with status 0 on SIGTERM
expect_runs() {
    local name=$1 line=$2 ready=${3:-Mossden ready}
    wait_for "$ready" 90
    grep -q -- "$line" "$WORK/game.log" || fail "$name: no line '$line'"
    signal_game TERM
    local status
    status=$(wait_exit 30)
    [ "$status" = 0 ] || fail "$name: ended with status $status after SIGTERM"
    echo "ok   $name: runs on, says '$line'"
}

# expect_fails NAME PATTERN: the game ends by itself with a failing status
# (not a signal death) and its output names the fault
expect_fails() {
    local name=$1 pattern=$2 status
    status=$(wait_exit 90)
    [ "$status" != 0 ] || fail "$name: status 0"
    [ "$status" -lt 128 ] || fail "$name: died of signal $((status - 128))"
    grep -q -- "$pattern" "$WORK/game.log" || fail "$name: output does not say '$pattern'"
    echo "ok   $name: stops with status $status, says '$pattern'"
}

# --- environment
fresh_data
rm -f "$WORK/status" "$WORK/game.log"
(cd "$WORK/data" && env -u DISPLAY "$GAME" > "$WORK/game.log" 2>&1; echo $? > "$WORK/status") &
expect_fails "no DISPLAY" "No X display"
rm -f "$WORK/status" "$WORK/game.log"
(cd "$WORK/data" && DISPLAY=:97 "$GAME" > "$WORK/game.log" 2>&1; echo $? > "$WORK/status") &
expect_fails "a DISPLAY with no server" "open X display"

for signal in INT TERM HUP; do
    start_in_data
    wait_for "Mossden ready" 90
    signal_game "$signal"
    status=$(wait_exit 30)
    [ "$status" = 0 ] || fail "SIG$signal: ended with status $status"
    echo "ok   SIG$signal: normal shutdown, status 0"
done

# --- arguments
for arg in abc 1.5 4 -1 ""; do
    start_in_data "$arg"
    expect_runs "argument '$arg'" "is not a whole number from 0 to 3"
done

# --- configuration (the data's, read while the player has no copy of it)
rm -rf "$XDG_CONFIG_HOME"
sed -i 's/^Video Mode=.*/Video Mode=0 x 0/' "$WORK/data/cfg/ogre.cfg"
start_in_data
expect_runs "Video Mode 0 x 0" 'Video Mode "0 x 0"'
grep -q "^Video Mode=1024 x *768" "$XDG_CONFIG_HOME/mossden/ogre.cfg" || fail "the bad video mode was not healed"
grep -q "^Video Mode=0 x 0" "$WORK/data/cfg/ogre.cfg" || fail "the data's ogre.cfg was written"
echo "ok   the healed video mode was saved in the player's copy, the data left alone"
rm -r "$XDG_CONFIG_HOME"

fresh_data
rm "$WORK/data/cfg/ogre.cfg"
mkdir "$WORK/data/cfg/ogre.cfg"
start_in_data
expect_fails "ogre.cfg a folder" "cfg/ogre.cfg is not a regular file"

fresh_data
printf 'PluginFolder=/tmp\nPlugin=RenderSystem_GL\nPlugin=/tmp/libevil\nPlugin=Plugin_ParticleFX\nPlugin=Codec_STBI\n' \
    > "$WORK/data/cfg/plugins.cfg"
start_in_data
expect_runs "plugins.cfg naming other folders" "plugin folder refused"
grep -q "plugin refused" "$WORK/game.log" || fail "the plugin with a path was not refused"

fresh_data
: > "$WORK/data/cfg/resources.cfg"
rm "$WORK/data/cfg/plugins.cfg"
start_in_data
expect_fails "plugins.cfg missing" "cfg/plugins.cfg not found"

# A folder with only some of the files is not mixed with the real data.
mkdir -p "$WORK/partial/cfg"
echo "Plugin=/tmp/libevil" > "$WORK/partial/cfg/plugins.cfg"
rm -f "$WORK/status" "$WORK/game.log"
(cd "$WORK/partial" && "$GAME" > "$WORK/game.log" 2>&1; echo $? > "$WORK/status") &
GAME_PID=$!
expect_runs "a folder with part of the data" "Data from $DATA_SOURCE"
grep -q "libevil" "$WORK/game.log" && fail "the partial folder's plugins.cfg was read"

# --- scene files
fresh_data
make_own scenes
rm "$WORK/data/media/scenes/third_scene.xml"
start_in_data 2
expect_fails "third_scene.xml missing" "third_scene.xml"

# The rows below reach the parsers on purpose: without the data's manifest
# the game does not refuse an edited file first.
unchecked() { rm -f "$WORK/data/media/MANIFEST"; }
unchecked
echo '<scene><nodes><node name="x"' > "$WORK/data/media/scenes/third_scene.xml"
start_in_data 2
expect_fails "third_scene.xml cut short" "third_scene.xml line"

fresh_data
make_own scenes
unchecked
echo '<world/>' > "$WORK/data/media/scenes/first_scene.xml"
start_in_data 1
expect_fails "first_scene.xml with another root" "first_scene.xml: the root element is not <scene>"

cp "$DATA_SOURCE/media/scenes/first_scene.xml" "$WORK/data/media/scenes/first_scene.xml"
sed -i 's/<CameraTrack length="[0-9.]*">/<CameraTrack length="0">/' "$WORK/data/media/scenes/first_scene.xml"
start_in_data 1
expect_fails "a camera track of length 0" 'the track "CameraTrack"'

fresh_data
make_own scenes
unchecked
sed -i '/<node name="aster[0-9]*">/a <scale x="0" y="0" z="0" />' "$WORK/data/media/scenes/third_scene.xml"
start_in_data 2
expect_fails "asteroids of no size" 'start asteroid "aster[0-9]*" is missing or has no size'

# --- assets the code needs: the game goes on without a detail
fresh_data
link_own models
rm "$WORK/data/media/models/ladybird.skeleton"
start_in_data 1
expect_runs "ladybird.skeleton missing" "ladybird.skeleton" "The ladybirds stay out of the scene"

rm "$WORK/data/media/models/ladybird_track.skeleton"
head -c 3000 /dev/urandom > "$WORK/data/media/models/ladybird_track.skeleton"
cp "$DATA_SOURCE/media/models/ladybird.skeleton" "$WORK/data/media/models/ladybird.skeleton"
start_in_data 1
expect_runs "ladybird_track.skeleton corrupt" "ladybird_track" "The ladybirds stay out of the scene"

# The world's shaders: its materials fall back to the fixed pipeline
fresh_data
link_own scripts
unchecked
rm "$WORK/data/media/scripts/FirstWorld.vert"
echo "void main() { this is not a shader" > "$WORK/data/media/scripts/FirstWorld.vert"
rm "$WORK/data/media/scripts/FirstWorld.frag"
start_in_data 1
expect_runs "FirstWorld.vert corrupt" "FirstWorld.vert: missing or does not compile" "Scene 1 starts"
grep -q "FirstWorld.frag: missing or does not compile" "$WORK/game.log" || fail "FirstWorld.frag missing: no line"

# --- damaged data: one file of each kind, same size, random bytes. The data
# check names it before the engine reads it: the game goes on without what
# it can leave out and stops on what it cannot do without. Every line of its
# output is printable text.
printable_output() {
    if LC_ALL=C grep -q $'[\x01-\x08\x0b-\x1f\x7f]' "$WORK/game.log"; then
        fail "$1: a control character on the output"
    fi
    iconv -f UTF-8 -t UTF-8 "$WORK/game.log" > /dev/null 2>&1 || fail "$1: output that is not UTF-8"
}
# expect_named NAME LINE: the game either runs on to the start menu (and
# ends with status 0 on SIGTERM) or stops by itself, not by a signal; its
# output has LINE either way. For a file whose absence the game meets only
# while it prepares a scene.
expect_named() {
    local name=$1 line=$2 waited=0 status
    until grep -q "Mossden ready" "$WORK/game.log" 2>/dev/null || [ -s "$WORK/status" ]; do
        sleep 0.2
        waited=$((waited + 1))
        [ $waited -lt 450 ] || fail "$name: neither the start menu nor an end"
    done
    [ -s "$WORK/status" ] || signal_game TERM
    status=$(wait_exit 30)
    [ "$status" -lt 128 ] || fail "$name: died of signal $((status - 128))"
    grep -q -- "$line" "$WORK/game.log" || fail "$name: no line '$line'"
    echo "ok   $name: status $status, says '$line'"
}
damage() {
    local file="$WORK/data/$1" size
    size=$(stat -L -c %s "$file")
    rm "$file"
    head -c "$size" /dev/urandom > "$file"
}
# kind, file below the data root, what happens
while read -r kind file outcome; do
    fresh_data
    link_own "$(echo "$file" | cut -d/ -f2)"
    damage "$file"
    start_in_data
    name=$(basename "$file")
    if [ "$outcome" = runs ]; then
        expect_runs "damaged $kind" "$name is damaged"
    elif [ "$outcome" = either ]; then
        expect_named "damaged $kind" "$name is damaged"
    else
        expect_fails "damaged $kind" "$name is damaged"
    fi
    printable_output "damaged $kind"
done <<'ROWS'
mesh            media/models/ladybird.mesh          runs
skeleton        media/models/ladybird.skeleton      runs
texture         media/textures/third_rock.png       runs
material-script media/scripts/Menu.material         stops
shader          media/scripts/FirstWorld.vert       either
overlay         media/overlays/Menu.overlay         stops
sound           media/sound/button.ogg              runs
scene-file      media/scenes/first_scene.xml        stops
ROWS

# The engine's configuration: random bytes in resources.cfg are named with
# the file, not quoted raw.
fresh_data
head -c 600 /dev/urandom > "$WORK/data/cfg/resources.cfg"
start_in_data
expect_fails "damaged resources.cfg" "cfg/resources.cfg line"
[ "$(wc -l < "$WORK/game.log")" -le 3 ] || fail "damaged resources.cfg: more than the fatal line"
printable_output "damaged resources.cfg"

no_sanitizer_reports
echo "PASS"
