#!/usr/bin/env python3
"""Measures the face of the closing sequence on a screenshot.

usage: face_metrics.py PNG [MIN_HEIGHT MIN_CONTRAST]

Face pixels are bright enough (grey level at least BRIGHT) and lie in a
patch of such pixels: stars, a few pixels each, are left out. Their rows
fall into bands; the topmost band is the eyes, the bands below it the jaws.
Prints the face's bounding box and its height as a fraction of the
picture's, the jaw rows' mean grey level, that of the face's other rows (the
space around the jaws: above them, and the mouth between them) and their
ratio, the contrast. With limits given, exits 1 unless the height reaches
MIN_HEIGHT and the contrast MIN_CONTRAST.
"""
import subprocess
import sys

BRIGHT = 0.2          # grey level of a face pixel, 0..1
PATCH = 15            # side of the square around a pixel ...
PATCH_SHARE = 0.4  # ... at least this share of which is bright
BAND_GAP = 8          # rows without face pixels that split two bands


def grey_image(path):
    pgm = subprocess.run(["convert", path, "-colorspace", "gray", "-depth", "8", "pgm:-"],
                         check=True, stdout=subprocess.PIPE).stdout
    fields, at = [], 0
    while len(fields) < 4:  # magic, width, height, maximum
        while pgm[at:at + 1].isspace():
            at += 1
        end = at
        while not pgm[end:end + 1].isspace():
            end += 1
        fields.append(pgm[at:end])
        at = end
    if fields[0] != b"P5":
        raise ValueError("not a binary grey map")
    width, height, top = int(fields[1]), int(fields[2]), float(fields[3])
    data = pgm[at + 1:at + 1 + width * height]
    return width, height, [v / top for v in data]


def face_mask(width, height, grey):
    """Bright pixels with enough bright neighbours, as a flat list of 0/1."""
    bright = [1 if v >= BRIGHT else 0 for v in grey]
    # Summed-area table with a zero row and column in front.
    stride = width + 1
    table = [0] * (stride * (height + 1))
    for y in range(height):
        run = 0
        row, above, here = y * width, y * stride, (y + 1) * stride
        for x in range(width):
            run += bright[row + x]
            table[here + x + 1] = table[above + x + 1] + run
    r = PATCH // 2
    need = PATCH * PATCH * PATCH_SHARE
    mask = [0] * (width * height)
    for y in range(height):
        y0, y1 = max(0, y - r), min(height, y + r + 1)
        for x in range(width):
            if not bright[y * width + x]:
                continue
            x0, x1 = max(0, x - r), min(width, x + r + 1)
            count = (table[y1 * stride + x1] - table[y0 * stride + x1]
                     - table[y1 * stride + x0] + table[y0 * stride + x0])
            if count >= need:
                mask[y * width + x] = 1
    return mask


def main():
    if len(sys.argv) not in (2, 4):
        sys.exit(__doc__)
    width, height, grey = grey_image(sys.argv[1])
    mask = face_mask(width, height, grey)
    rows = [y for y in range(height) if any(mask[y * width:(y + 1) * width])]
    if not rows:
        print("face: no face pixels")
        sys.exit(1 if len(sys.argv) == 4 else 0)
    columns = [x for x in range(width) if any(mask[y * width + x] for y in rows)]
    left, right, top, bottom = columns[0], columns[-1], rows[0], rows[-1]

    bands = [[rows[0], rows[0]]]
    for y in rows[1:]:
        if y - bands[-1][1] > BAND_GAP:
            bands.append([y, y])
        else:
            bands[-1][1] = y
    jaw_rows = {y for band in bands[1:] for y in range(band[0], band[1] + 1)}
    face_rows = set(range(top, bottom + 1))
    eye_rows = set(range(bands[0][0], bands[0][1] + 1))

    def mean(rows_):
        values = [grey[y * width + x] for y in rows_ for x in range(left, right + 1)]
        return sum(values) / len(values) if values else 0.0

    jaw = mean(sorted(jaw_rows))
    space = mean(sorted(face_rows - jaw_rows - eye_rows))
    contrast = jaw / space if space > 0 else 0.0
    size = (bottom - top + 1) / height
    print("face: box %dx%d at (%d, %d), %.2f of the height; %d bands; jaw rows grey %.3f, space "
          "around %.3f, contrast %.1f" % (right - left + 1, bottom - top + 1, left, top, size,
                                         len(bands), jaw, space, contrast))
    if len(sys.argv) == 4:
        ok = len(bands) >= 2 and size >= float(sys.argv[2]) and contrast >= float(sys.argv[3])
        sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
