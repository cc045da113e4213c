#!/bin/bash
# Builds the Debian package (make deb) and checks it as a packager and a
# player would: lintian without errors, the AppStream metainfo and the desktop
# entry valid, then installed with apt on this machine, started by an
# unprivileged user through its desktop entry to the start menu, closed with
# the window's close button, and purged again with nothing of it left behind.
#   tests/package/check-deb.sh [build folder]
# Needs root and changes the machine's packages: for CI machines (.ci/run)
# and for a machine where the package is not installed otherwise.
set -uo pipefail
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(cd "${1:-$SOURCE/build}" 2>/dev/null && pwd) || { echo "FAIL: no build folder ${1:-}" >&2; exit 1; }
[ "$(id -u)" = 0 ] || { echo "FAIL: the package check installs packages: run it as root" >&2; exit 1; }
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-noreset -screen 0 1024x768x24" "$0" "$BUILD"
fi
if dpkg-query -W -f='${Status}' mossden 2>/dev/null | grep -qv "not-installed"; then
    echo "FAIL: mossden is installed already; the check needs a machine without it" >&2
    exit 1
fi

# The packagers' tools, when missing.
missing=
for p in lintian appstream desktop-file-utils; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing > /dev/null ||
        { echo "FAIL: could not install$missing" >&2; exit 1; }
fi

# lib.sh gives the game's helpers (start, wait, window, screenshot) and $WORK.
source "$SOURCE/tests/e2e/lib.sh" /usr/games/mossden "$BUILD"
PURGE_ON_EXIT=
trap 'if [ -n "$PURGE_ON_EXIT" ]; then apt-get remove --purge -y -q mossden > /dev/null; fi; cleanup' EXIT

rm -f "$BUILD"/mossden_*.deb
make -C "$SOURCE" deb BUILD="$BUILD" > "$WORK/make-deb.log" 2>&1 ||
    { tail -30 "$WORK/make-deb.log" >&2; fail "make deb failed"; }
DEB=$(ls "$BUILD"/mossden_*.deb)
[ "$(echo "$DEB" | wc -l)" = 1 ] || fail "make deb made no single package: $DEB"
echo "Package: $(basename "$DEB"), $(stat -c %s "$DEB") bytes"
echo "Depends: $(dpkg-deb -f "$DEB" Depends)"

# --- as a packager --------------------------------------------------------
lintian --display-info "$DEB" > "$WORK/lintian.log" 2>&1
echo "lintian:"
grep -v "^running with root" "$WORK/lintian.log" | sed 's/^/  /'
! grep -q "^E:" "$WORK/lintian.log" || fail "lintian reports errors"

TREE="$WORK/tree"
dpkg-deb -x "$DEB" "$TREE"
appstreamcli validate --no-net "$TREE"/usr/share/metainfo/*.metainfo.xml || fail "AppStream metainfo"
desktop-file-validate "$TREE/usr/share/applications/mossden.desktop" || fail "desktop entry"
# The installed files name the final places, never the staging folder.
if grep -rlI "$BUILD" "$TREE/usr/share/games/mossden/cfg" "$TREE/usr/share/applications" "$TREE/usr/libexec"; then
    fail "files of the package name the build folder"
fi

# --- as a player ----------------------------------------------------------
# The file names of the system, leaving out what changes by itself: package
# manager state and caches, logs, and the caches that other packages' triggers
# rebuild for every icon or desktop entry installed.
system_files() {
    find /etc /opt /srv /usr /var -xdev \( -path /var/cache -o -path /var/lib/apt -o -path /var/lib/dpkg \
        -o -path /var/log -o -path /var/tmp -o -name icon-theme.cache -o -name mimeinfo.cache \) -prune \
        -o -print | sort
}
packages() { dpkg-query -W -f='${Package} ${Status}\n' | awk '$NF == "installed" { print $1 }' | sort; }
system_files > "$WORK/files-before"
packages > "$WORK/packages-before"

PURGE_ON_EXIT=1
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$DEB" > "$WORK/apt-install.log" 2>&1 ||
    { tail -20 "$WORK/apt-install.log" >&2; fail "apt-get install failed"; }
added=$(comm -13 "$WORK/packages-before" <(packages) | grep -vx mossden | tr '\n' ' ')
[ -z "$added" ] || echo "Installed as its dependencies: $added"
[ -x /usr/games/mossden ] || fail "no /usr/games/mossden"
man -l /usr/share/man/man6/mossden.6.gz > /dev/null 2>&1 || fail "manual page"

# Started as the desktop's menu starts it: the entry's command line as an
# unprivileged player. The engine log must land in the player's state folder.
command=$(sed -n 's/^Exec=//p' /usr/share/applications/mossden.desktop)
case $command in *[%\"\'\ ]*) fail "Exec=$command: the check runs a plain command only" ;; esac
player_wrapper "$command"
GAME="$WORK/as-player"
start_game
wait_for "Mossden ready"
sleep 1
screenshot package_menu > /dev/null
awk -v b="$(mean_brightness package_menu)" 'BEGIN { exit !(b > 0.05) }' || fail "the start menu is black"
WID=$(game_window)
[ -n "$WID" ] || fail "no game window"
/usr/bin/python3 "$HERE/xclose.py" "$WID"
status=$(wait_exit 30)
[ "$status" = 0 ] || fail "the installed game ended with status $status"
[ -s "$PLAYER_HOME/.local/state/mossden/Ogre.log" ] || fail "no engine log in the player's state folder"
[ ! -e "$PLAYER_HOME/Ogre.log" ] || fail "the engine log landed in the player's home folder"

# --- removed again --------------------------------------------------------
DEBIAN_FRONTEND=noninteractive apt-get remove --purge -y -q mossden > "$WORK/apt-remove.log" 2>&1 ||
    { tail -20 "$WORK/apt-remove.log" >&2; fail "apt-get remove --purge failed"; }
PURGE_ON_EXIT=
if [ -n "$added" ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove --purge -y -q $added > /dev/null ||
        fail "could not remove the packages installed as dependencies"
fi
system_files > "$WORK/files-after"
if ! diff "$WORK/files-before" "$WORK/files-after" > "$WORK/files.diff"; then
    head -40 "$WORK/files.diff" >&2
    fail "the system's files differ after the package was purged"
fi
if dpkg-query -W -f='${Status}' mossden 2>/dev/null | grep -qv "not-installed"; then
    fail "mossden is not purged: $(dpkg-query -W -f='${Status}' mossden)"
fi
echo PASS
