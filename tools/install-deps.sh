#!/bin/sh
# Installs the Debian packages that building, playing and testing Mossden
# need, when they are missing. Needs root (or sudo).
set -e
PACKAGES="cmake make g++ pkg-config
  libogre-1.12-dev libois-dev libopenal-dev libalut-dev libvorbis-dev libtinyxml-dev libgtest-dev libxxhash-dev
  libpng-dev
  libgl1-mesa-dri fonts-dejavu-core fonts-dejavu-extra imagemagick sox
  libx11-dev
  xvfb xauth xdotool x11-utils python3-xlib openbox
  pulseaudio pulseaudio-utils
  dpkg-dev file"
# "install-deps.sh fuzz": the fuzz build's packages instead (make fuzz),
# clang with libFuzzer and the sanitizer runtimes that it only recommends.
if [ "${1:-}" = fuzz ]; then
    PACKAGES="clang libfuzzer-14-dev libclang-rt-14-dev"
fi
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
