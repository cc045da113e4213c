#!/bin/bash
# Installs into a temporary prefix and starts the installed game from an
# unrelated directory: it must find its data through its own place. Then
# again as a player who cannot write the installed files.
source "$(dirname "$0")/lib.sh"

PREFIX="$WORK/prefix"
cmake --install "$BUILD" --prefix "$PREFIX" > "$WORK/install.log" || fail "install failed"
DATA=share/games/mossden
for f in games/mossden $DATA/cfg/resources.cfg $DATA/cfg/plugins.cfg $DATA/cfg/ogre.cfg $DATA/media/sound \
         games/Mossden/cfg/resources.cfg share/applications/mossden.desktop \
         share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/mossden.png share/man/man6/mossden.6.gz; do
    [ -e "$PREFIX/$f" ] || fail "install lacks $f"
done
grep -q "^Exec=$PREFIX/libexec/mossden/mossden-desktop$" "$PREFIX/share/applications/mossden.desktop" ||
    fail "desktop entry"
grep -q "^exec $PREFIX/games/mossden " "$PREFIX/libexec/mossden/mossden-desktop" || fail "desktop launcher"
grep -q "FileSystem=$PREFIX/$DATA/media/" "$PREFIX/$DATA/cfg/resources.cfg" ||
    fail "resources.cfg does not name the installed media"

# run_installed NAME: starts the installed game, closes its window and
# expects status 0.
run_installed() {
    start_game
    wait_for "Mossden ready"
    WID=$(game_window)
    [ -n "$WID" ] || fail "$1: no window"
    /usr/bin/python3 "$HERE/xclose.py" "$WID"
    status=$(wait_exit 30)
    [ "$status" = 0 ] || fail "$1: installed game ended with status $status"
}

GAME="$PREFIX/games/mossden"
run_installed "as installed"

# A player cannot write the installed configuration: the game says so in
# its log and runs on, and the installed files stay as they were. Run as
# root, the test plays that player as "nobody", from a folder of its own.
chmod -R a-w "$PREFIX/$DATA/cfg"
installed() { (cd "$PREFIX" && find . -type f -exec md5sum {} + | sort); }
before=$(installed)
if [ "$(id -u)" = 0 ]; then
    player_wrapper "$PREFIX/games/mossden"
    GAME="$WORK/as-player"
    log="$PLAYER_HOME/Ogre.log"
    kept="$PLAYER_HOME/.config/mossden"
else
    log="$WORK/Ogre.log"
    kept="$XDG_CONFIG_HOME/mossden"
fi
rm -f "$log"
run_installed "as a player"
[ -f "$kept/ogre.cfg" ] && [ -f "$kept/settings.cfg" ] || fail "the player's configuration was not kept in $kept"
# What the player chose last time is what the next start finds.
sed -i 's/^volume=.*/volume=3/; s/^mouse_sensitivity=.*/mouse_sensitivity=2/; s/^invert_vertical_look=.*/invert_vertical_look=yes/' \
    "$kept/settings.cfg"
chosen=$(cat "$kept/settings.cfg")
run_installed "as a player, again"
[ "$(cat "$kept/settings.cfg")" = "$chosen" ] || fail "the player's settings were not kept: $(cat "$kept/settings.cfg")"
grep -q '^volume=3$' "$kept/settings.cfg" || fail "no volume in the player's settings"
[ "$(installed)" = "$before" ] ||
    fail "the run changed the installed files"
chmod -R u+w "$PREFIX/$DATA/cfg"  # so that the clean-up can remove it
echo PASS
