#!/usr/bin/env python3
"""Measures the start menu on a screenshot: how much of the window's height
its panel takes, whether the panel lies inside the window, and how tall its
smallest texts are drawn.

usage: menu_scale.py PNG

The panel is the one large area of light paper; its scale is found from its
height (580 layout pixels, of which the 3-pixel border is ink). Two texts are
measured, at their places in the layout: the settings page's label "loud"
(the smallest picture text, 14 points) and the size caption under the size
slider, drawn from the font by the code. A text's height is the height of
the rows holding its ink: for "loud" from the top of the l to the baseline,
for the caption ("<width>x<height>", digits) from their tops to the baseline.

Prints: "share=<panel height / window height> inside=<1|0> loud=<px> caption=<px>".
"""
import subprocess
import sys

PANEL_HEIGHT = 580  # layout pixels, border included


def pixels(png, crop=None):
    args = ["convert", png]
    if crop:
        args += ["-crop", "%dx%d+%d+%d" % crop, "+repage"]
    out = subprocess.run(args + ["-depth", "8", "rgb:-"], check=True, stdout=subprocess.PIPE).stdout
    return out


def size(png):
    text = subprocess.run(["identify", "-format", "%w %h", png], check=True,
                          stdout=subprocess.PIPE).stdout.decode()
    w, h = text.split()
    return int(w), int(h)


def is_paper(r, g, b):
    return abs(r - 242) < 26 and abs(g - 237) < 26 and abs(b - 227) < 26


def is_ink(r, g, b):
    # The menu's ink, a dark purple: red and blue alike, well above green.
    return r - g >= 20 and b - g >= 20 and abs(r - b) <= 24 and r <= 160


def ink_height(png, crop):
    data = pixels(png, crop)
    width = crop[0]
    rows = []
    for y in range(crop[1]):
        row = data[3 * width * y:3 * width * (y + 1)]
        if any(is_ink(row[i], row[i + 1], row[i + 2]) for i in range(0, len(row), 3)):
            rows.append(y)
    return rows[-1] - rows[0] + 1 if rows else 0


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    png = sys.argv[1]
    w, h = size(png)
    data = pixels(png)
    # Paper rows and columns, counted along the window's middle lines
    # (the panel is centred), then the panel's box from the first and last.
    top = bottom = left = right = None
    x = w // 4 + w // 8  # left of the centre, clear of the panel's middle line
    for y in range(h):
        i = 3 * (w * y + x)
        if is_paper(data[i], data[i + 1], data[i + 2]):
            top = y if top is None else top
            bottom = y
    y = h // 2
    for x in range(w):
        i = 3 * (w * y + x)
        if is_paper(data[i], data[i + 1], data[i + 2]):
            left = x if left is None else left
            right = x
    if top is None or left is None:
        print("share=0 inside=0 loud=0 caption=0")
        return
    # The paper starts inside the 3-pixel ink border, rounded corners aside.
    scale = (bottom - top + 1) / (PANEL_HEIGHT - 6)
    panel_top = top - 3 * scale
    panel_bottom = bottom + 3 * scale
    share = (panel_bottom - panel_top) / h
    inside = int(panel_top >= 0 and panel_bottom <= h - 1 and left - 3 * scale >= 0 and
                 right + 3 * scale <= w - 1)
    cx, cy = (left + right) / 2.0, (panel_top + panel_bottom) / 2.0

    def crop(x0, y0, x1, y1):
        # A box in layout pixels from the centre, in window pixels.
        return (int((x1 - x0) * scale), int((y1 - y0) * scale), int(cx + x0 * scale), int(cy + y0 * scale))

    # The settings page lies right of the centre from 290 above it;
    # "loud" is at (264, 476) on it, the size caption 8 below the centre.
    loud = ink_height(png, crop(250, 476 - 290 - 6, 340, 476 - 290 + 24))
    # From right of the centre's column, where the pointer rests when it
    # has not moved.
    caption = ink_height(png, crop(14, 4, 386, 34))
    print("share=%.3f inside=%d loud=%d caption=%d" % (share, inside, loud, caption))


if __name__ == "__main__":
    main()
