#!/bin/bash
# Installs into a temporary prefix and starts the installed game from an
# unrelated directory: it must find its data through its own place.
source "$(dirname "$0")/lib.sh"

PREFIX="$WORK/prefix"
cmake --install "$BUILD" --prefix "$PREFIX" > "$WORK/install.log" || fail "install failed"
for f in games/mossden games/Mossden/cfg/resources.cfg games/Mossden/cfg/plugins.cfg \
         games/Mossden/cfg/ogre.cfg games/Mossden/media/sound share/applications/mossden.desktop \
         share/icons/hicolor/256x256/apps/mossden.png; do
    [ -e "$PREFIX/$f" ] || fail "install lacks $f"
done
grep -q "^Exec=$PREFIX/games/mossden$" "$PREFIX/share/applications/mossden.desktop" || fail "desktop entry"
grep -q "FileSystem=$PREFIX/games/Mossden/media/" "$PREFIX/games/Mossden/cfg/resources.cfg" ||
    fail "resources.cfg does not name the installed media"

GAME="$PREFIX/games/mossden"
start_game
wait_for "Mossden ready"
WID=$(game_window)
[ -n "$WID" ] || fail "no window"
/usr/bin/python3 "$HERE/xclose.py" "$WID"
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "installed game ended with status $status"
echo PASS
