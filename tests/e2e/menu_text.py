#!/usr/bin/env python3
"""Counts the pixels of the menu's caption colour in the middle of a
screenshot: the band where the settings page writes the screen size.

usage: menu_text.py PNG

The caption is a dark purple, red and blue alike and well above green,
drawn with soft edges; the scenes' greens, rock browns and blue-violet fog
do not have that mix.
"""
import subprocess
import sys

BAND = (256, 364, 512, 80)  # left, top, width, height at 1024 x 768


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    left, top, width, height = BAND
    ppm = subprocess.run(["convert", sys.argv[1], "-crop", "%dx%d+%d+%d" % (width, height, left, top),
                          "+repage", "-depth", "8", "rgb:-"], check=True, stdout=subprocess.PIPE).stdout
    count = 0
    for i in range(0, len(ppm) - 2, 3):
        r, g, b = ppm[i], ppm[i + 1], ppm[i + 2]
        if r - g >= 20 and b - g >= 20 and abs(r - b) <= 16 and r <= 140:
            count += 1
    print(count)


if __name__ == "__main__":
    main()
