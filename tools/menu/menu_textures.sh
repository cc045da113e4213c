#!/bin/bash
# Draws the pictures of the overlay menu, the end menu and the menu cursor
# with ImageMagick and the DejaVu fonts (Debian: fonts-dejavu-core).
#   menu_textures.sh <convert> <font dir> <output dir>
# Every picture is drawn at the pixel size at which the overlay scripts show
# it (Menu.overlay, MenuEnd.overlay), and again at twice and three times
# that size as <name>_2x.png and <name>_3x.png: the game shows the menu
# larger in a larger window and takes the pictures of the next scale up, so
# that text is drawn from the fonts at about the size it is seen and never
# enlarged (menu/InterfaceScale.h). The output is the same byte for byte at
# every run: no random numbers without a fixed seed, and no time stamps in
# the PNG files.
set -euo pipefail
CONVERT=$1
FONTS=$2
OUT=$3
mkdir -p "$OUT"

SANS=$FONTS/DejaVuSans.ttf
SANS_BOLD=$FONTS/DejaVuSans-Bold.ttf
SERIF_BOLD=$FONTS/DejaVuSerif-Bold.ttf
SERIF_ITALIC=$FONTS/DejaVuSerif-Italic.ttf

# The palette. INK is also the colour of the size caption drawn by the code.
INK='#491B47'
INK_SOFT='#491B4766'
PAPER='#F3EDE4'
PAPER_TEXT='#F7F1E8'
MOSS='#8DB255'

# The scale being drawn: 1, 2 or 3. Sizes and places below are written for
# scale 1; png multiplies them.
K=1

# scaled <geometry>: every number in 820x620, +40+96 or 0x1.2 times K.
scaled() {
    awk -v k="$K" '{
        out = ""; s = $0
        while (match(s, /[0-9]+(\.[0-9]+)?/)) {
            out = out substr(s, 1, RSTART - 1) (substr(s, RSTART, RLENGTH) * k)
            s = substr(s, RSTART + RLENGTH)
        }
        print out s
    }' <<< "$1"
}

# named <file name>: the name of that picture at scale K.
named() {
    if [ "$K" = 1 ]; then echo "$1"; else echo "${1%.png}_${K}x.png"; fi
}

# png <convert arguments...> <file name>: writes $OUT/<file name> (at scale
# K: see named) as 8-bit RGBA without anything that changes from run to
# run. Drawing coordinates and stroke widths are scaled by the affine
# setting, point sizes by the density; sizes, text offsets, composite
# places and blur radii are scaled here.
png() {
    local args=("$@")
    local out=${args[-1]}
    unset 'args[-1]'
    local affine=(-affine "$K,0,0,$K,0,0") drawn=() i
    for ((i = 0; i < ${#args[@]}; i++)); do
        case ${args[i]} in
            -size | -geometry | -blur)
                drawn+=("${args[i]}" "$(scaled "${args[i + 1]}")")
                i=$((i + 1))
                ;;
            # Text leaves its own transformation behind: the affine setting
            # follows it again.
            -annotate)
                drawn+=("${args[i]}" "$(scaled "${args[i + 1]}")" "${args[i + 2]}" "${affine[@]}")
                i=$((i + 2))
                ;;
            *) drawn+=("${args[i]}") ;;
        esac
    done
    "$CONVERT" -density $((72 * K)) "${affine[@]}" "${drawn[@]}" \
        -strip -define png:exclude-chunks=date,time -depth 8 "PNG32:$OUT/$(named "$out")"
}

draw_pictures() {
# ---------------------------------------------------------------- buttons --
# button <file> <label> <width> <height> <point size> [nomark]
# Plain form: the label in ink inside a faint outline. Hover form: a filled
# ink pill with light text and a moss-green mark on the left, so a highlight
# is seen at a glance; nomark leaves the mark out where the label fills the
# button.
button() {
    local file=$1 label=$2 w=$3 h=$4 size=$5
    local r=$((h / 4)) mark="roundrectangle 10,$((h / 4)) 15,$((h - h / 4 - 1)) 2,2"
    [ "${6:-}" != nomark ] || mark="point -1,-1"
    png -size "${w}x${h}" xc:none \
        -fill none -stroke "$INK_SOFT" -strokewidth 2 \
        -draw "roundrectangle 1,1 $((w - 2)),$((h - 2)) $r,$r" \
        -stroke none -fill "$INK" -font "$SANS_BOLD" -pointsize "$size" \
        -gravity center -annotate +0+0 "$label" "$file.png"
    png -size "${w}x${h}" xc:none \
        -fill "$INK" -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) $r,$r" \
        -fill "$MOSS" -draw "$mark" \
        -fill "$PAPER_TEXT" -font "$SANS_BOLD" -pointsize "$size" \
        -gravity center -annotate +0+0 "$label" "${file}_hover.png"
}

button menu_start "Start" 270 54 24
button menu_about "About" 270 54 24
button menu_exit "Exit" 270 54 24
button menu_continue "Continue" 270 54 24
button menu_startover "Start over" 270 54 24
button menu_fullscreen "Full screen" 150 42 17
button menu_windowed "Windowed" 150 42 17
button menu_apply "Apply" 130 40 17
button menu_back "Back" 150 44 18

# choice <file> <label> <width> <height> <point size>: a button that shows
# whether it is the one chosen. Besides the plain and hover forms, a chosen
# form: a moss-green pill with ink text, which reads as "on" next to the
# plain outlines and stays apart from the ink hover form.
choice() {
    local file=$1 label=$2 w=$3 h=$4 size=$5
    local r=$((h / 4))
    button "$@" nomark
    png -size "${w}x${h}" xc:none \
        -fill "$MOSS" -stroke "$INK" -strokewidth 2 \
        -draw "roundrectangle 1,1 $((w - 2)),$((h - 2)) $r,$r" \
        -stroke none -fill "$INK" -font "$SANS_BOLD" -pointsize "$size" \
        -gravity center -annotate +0+0 "$label" "${file}_on.png"
}
# The settings page's two tabs, and the quality levels.
choice menu_tab_screen "Screen & sound" 150 38 15
choice menu_tab_look "Look & quality" 150 38 15
choice menu_quality_low "Low" 100 42 17
choice menu_quality_medium "Medium" 100 42 17
choice menu_quality_high "High" 100 42 17

# toggle <file> <label> <width> <height> <point size>: a check box and its
# label in one button, in four forms: off and on, each plain and hover.
toggle() {
    local file=$1 label=$2 w=$3 h=$4 size=$5
    local r=$((h / 4)) top=$(((h - 20) / 2))
    local box="roundrectangle 14,$top 33,$((top + 19)) 3,3"
    local tick="polyline 18,$((top + 10)) 22,$((top + 15)) 30,$((top + 4))"
    local form fill text edge ticked name
    for form in plain on hover on_hover; do
        case $form in
            plain) fill=none; text=$INK; edge=$INK; ticked= ; name=$file ;;
            on) fill=none; text=$INK; edge=$INK; ticked=1; name=${file}_on ;;
            hover) fill=$INK; text=$PAPER_TEXT; edge=$PAPER_TEXT; ticked= ; name=${file}_hover ;;
            on_hover) fill=$INK; text=$PAPER_TEXT; edge=$PAPER_TEXT; ticked=1; name=${file}_on_hover ;;
        esac
        local draw=(-fill "$fill")
        if [ "$fill" = none ]; then
            draw+=(-stroke "$INK_SOFT" -strokewidth 2 -draw "roundrectangle 1,1 $((w - 2)),$((h - 2)) $r,$r")
        else
            draw+=(-draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) $r,$r")
        fi
        if [ -n "$ticked" ]; then
            draw+=(-stroke "$edge" -strokewidth 2 -fill "$MOSS" -draw "$box"
                   -stroke "$INK" -strokewidth 3 -fill none -draw "$tick")
        else
            draw+=(-stroke "$edge" -strokewidth 2 -fill none -draw "$box")
        fi
        png -size "${w}x${h}" xc:none "${draw[@]}" \
            -stroke none -fill "$text" -font "$SANS_BOLD" -pointsize "$size" \
            -gravity west -annotate +46+0 "$label" "$name.png"
    done
}
toggle menu_invert "Invert vertical look" 310 42 16

# End-menu buttons sit over the dark closing picture of the last scene:
# light outline and text, and a light filled hover form.
end_button() {
    local file=$1 label=$2 w=200 h=52
    png -size "${w}x${h}" xc:none \
        -fill '#0B0E2499' -stroke "$PAPER_TEXT" -strokewidth 2 \
        -draw "roundrectangle 1,1 $((w - 2)),$((h - 2)) 13,13" \
        -stroke none -fill "$PAPER_TEXT" -font "$SANS_BOLD" -pointsize 22 \
        -gravity center -annotate +0+0 "$label" "$file.png"
    png -size "${w}x${h}" xc:none \
        -fill "$PAPER_TEXT" -draw "roundrectangle 0,0 $((w - 1)),$((h - 1)) 13,13" \
        -fill "$MOSS" -draw "roundrectangle 10,13 15,38 2,2" \
        -fill "$INK" -font "$SANS_BOLD" -pointsize 22 \
        -gravity center -annotate +0+0 "$label" "${file}_hover.png"
}
end_button end_continue "Continue"
end_button end_startover "Start over"
end_button end_exit "Exit"

# ---------------------------------------------------------------- sliders --
# The arrow points down at the slider line; its tip is the slider's value.
png -size 24x26 xc:none -fill "$INK" -stroke "$PAPER" -strokewidth 1 \
    -draw "polygon 1,1 22,1 22,12 12,24 1,12" menu_arrow.png
png -size 24x26 xc:none -fill "$MOSS" -stroke "$INK" -strokewidth 2 \
    -draw "polygon 1,1 22,1 22,12 12,24 1,12" menu_arrow_hover.png
png -size 8x4 xc:"$INK" menu_line.png

# ------------------------------------------------------------ backgrounds --
# Night sky behind the start menu: indigo fading to a mossy dark green, with
# stars from a fixed seed.
# As many stars at every scale: a K times larger sky has K * K times the
# pixels, so a pixel becomes a star K * K times less often.
local small big
small=$(awk -v k="$K" 'BEGIN { print 100 - 0.15 / (k * k) }')
big=$(awk -v k="$K" 'BEGIN { print 100 - 0.03 / (k * k) }')
"$CONVERT" -size "$(scaled 1024x768)" xc:black -seed 4711 +noise Random -channel R -separate +channel \
    \( -clone 0 -threshold "$small%" \) \
    \( -clone 0 -threshold "$big%" -morphology Dilate "Disk:$K" -blur "$(scaled 0x1.2)" -level 0,60% \) \
    -delete 0 -compose lighten -composite \
    -define png:exclude-chunks=date,time "$OUT/menu_stars_mask.png"
# Mossy hills along the bottom edge, in front of the stars.
png -size 1024x768 gradient:'#070A1C-#12281C' \
    \( "$OUT/menu_stars_mask.png" -alpha copy -fill '#FFF6E0' -colorize 100 \) \
    -compose over -composite \
    -fill '#0A170E' -draw "ellipse 150,800 330,120 0,360" -draw "ellipse 560,830 380,130 0,360" \
    -draw "ellipse 930,790 260,110 0,360" \
    -fill '#0F2215' -draw "ellipse 350,840 300,100 0,360" -draw "ellipse 800,850 330,105 0,360" \
    menu_stars.png
rm -f "$OUT/menu_stars_mask.png"

# A soft moss-green halo around the panel in the start menu.
png -size 820x620 xc:none -fill '#8DB25599' -draw "roundrectangle 20,20 799,599 26,26" \
    -blur 0x9 menu_box.png

# The panel behind the buttons: light paper with an ink border, the name of
# the game above the buttons and a line between buttons and settings.
panel() {
    local file=$1 alpha=$2 subtitle=$3 footer=$4
    png -size 780x580 xc:none \
        -fill "${PAPER}${alpha}" -stroke "$INK" -strokewidth 3 \
        -draw "roundrectangle 2,2 777,577 18,18" \
        -stroke '#491B4740' -strokewidth 2 -draw "line 390,40 390,540" \
        -stroke none -fill "$INK" -font "$SERIF_BOLD" -pointsize 54 \
        -gravity northwest -annotate +62+38 "Mossden" \
        -fill "$MOSS" -draw "roundrectangle 64,108 140,112 2,2" \
        -fill "$INK" -font "$SERIF_ITALIC" -pointsize 17 -annotate +64+124 "$subtitle" \
        -font "$SANS" -pointsize 14 -fill '#491B47AA' -annotate +64+530 "$footer" \
        "$file.png"
}
panel menu_panel_start FF "a flight through moss and stars" "made by the Mossden developers"
panel menu_panel EE "paused" "Esc returns to the game"
# Never shown by the code (hidden at every highlight reset): a plain sheet.
png -size 8x8 xc:"${PAPER}00" menu_blank.png

# --------------------------------------------------------------- settings --
# Labels of the settings page's two tabs; the tab buttons, the buttons,
# slider lines and arrows lie on top at the places named in Menu.overlay.
# The captions under the size, sensitivity and field-of-view arrows are
# drawn by the code.
png -size 390x580 xc:none \
    -fill "$INK" -font "$SANS_BOLD" -pointsize 17 -gravity northwest -annotate +40+96 "Window" \
    -annotate +40+212 "Screen size" \
    -annotate +40+402 "Sound volume" \
    -font "$SANS" -pointsize 14 -annotate +40+476 "quiet" -annotate +264+476 "loud" \
    menu_settingspage.png
png -size 390x580 xc:none \
    -fill "$INK" -font "$SANS_BOLD" -pointsize 17 -gravity northwest -annotate +40+96 "Mouse sensitivity" \
    -annotate +40+282 "Field of view" \
    -annotate +40+392 "Quality" \
    -font "$SANS" -pointsize 14 -fill '#491B47AA' -annotate +40+482 "Every change is kept at once." \
    menu_lookpage.png

# ------------------------------------------------------------------ about --
"$CONVERT" -density $((72 * K)) -size "$(scaled 320x)" -background none -fill "$INK" -font "$SANS" \
    -pointsize 15 -interline-spacing $((3 * K)) \
    caption:"Mossden is a short journey for one player. Rise out of the dark past a ladybird and a dragonfly, then cross a field of twenty-one slowly spinning asteroids: hop, fly from rock to rock and dive through their holes until the end." \
    -define png:exclude-chunks=date,time "$OUT/menu_about_text.png"
png -size 390x580 xc:none \
    -fill "$INK" -font "$SERIF_BOLD" -pointsize 28 -gravity northwest -annotate +40+36 "About Mossden" \
    "$OUT/menu_about_text.png" -geometry +40+90 -composite \
    -font "$SERIF_ITALIC" -pointsize 15 -annotate +40+262 "Made by the Mossden developers." \
    -fill "$MOSS" -draw "roundrectangle 40,294 110,297 2,2" \
    -fill "$INK" -font "$SERIF_BOLD" -pointsize 20 -annotate +40+306 "Controls" \
    -font "$SANS_BOLD" -pointsize 14 \
    -annotate +40+342 "Mouse" -annotate +40+366 "W, left button" -annotate +40+390 "Left click" \
    -annotate +40+414 "W" -annotate +40+438 "Esc" \
    -font "$SANS" -pointsize 14 \
    -annotate +168+342 "look around" -annotate +168+366 "fly faster on the ascent" \
    -annotate +168+390 "fly to the asteroid in view" -annotate +168+414 "hop on an asteroid" \
    -annotate +168+438 "open or close this menu" \
    menu_aboutpage.png
rm -f "$OUT/menu_about_text.png"

# --------------------------------------------------------------- end menu --
png -size 640x400 xc:none \
    -fill '#0B0E24' -font "$SERIF_BOLD" -pointsize 96 -gravity north -annotate +3+63 "The End" \
    -blur 0x6 \
    -fill "$PAPER_TEXT" -annotate +0+60 "The End" \
    -fill "$MOSS" -draw "roundrectangle 270,200 370,204 2,2" \
    -fill "$PAPER_TEXT" -font "$SERIF_ITALIC" -pointsize 20 -annotate +0+220 "thank you for flying with Mossden" \
    end_theend.png

# ----------------------------------------------------------------- cursor --
# An ink arrow with a light rim; its tip is the top-left pixel, where the
# menu places the pointer's position.
png -size 32x32 xc:none -fill "$INK" -stroke "$PAPER_TEXT" -strokewidth 1.5 \
    -draw "polygon 1,1 1,24 7,19 11,29 15,27 11,18 19,18" pointer.png
}

for K in 1 2 3; do
    draw_pictures
done
