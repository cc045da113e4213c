#!/bin/sh
# Refreshes the README's screenshots from the playthrough test's artefacts:
#   make check   (or: cd build && xvfb-run -a ctest -R playthrough)
#   tools/readme-screenshots.sh [build/artefacts]
set -eu
ARTEFACTS=${1:-build/artefacts}
OUT=$(dirname "$0")/../docs
mkdir -p "$OUT"
for shot in playthrough_1_climb playthrough_2_flight playthrough_3_face playthrough_4_end_menu; do
    [ -f "$ARTEFACTS/$shot.png" ] || { echo "no $ARTEFACTS/$shot.png: run the playthrough test first" >&2; exit 1; }
done
convert "$ARTEFACTS/playthrough_1_climb.png" "$ARTEFACTS/playthrough_2_flight.png" +append \
    -resize 960x -strip -quality 82 "$OUT/moss-and-asteroids.jpg"
convert "$ARTEFACTS/playthrough_3_face.png" "$ARTEFACTS/playthrough_4_end_menu.png" +append \
    -resize 960x -strip -quality 82 "$OUT/the-end.jpg"
echo "wrote $OUT/moss-and-asteroids.jpg and $OUT/the-end.jpg"
