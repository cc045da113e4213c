#!/usr/bin/env python3
"""Measures a recording of the game's sound, as openal-soft's wave output
writes it (32-bit float, any channel count).

usage: mix_levels.py WAV FROM_BYTE TO_BYTE SCALE

FROM_BYTE and TO_BYTE are sizes the file had while the game ran (its
header counted in), bounding the stretch to judge. SCALE is the game-time
scale the game ran at: the game plays its sounds that many times faster, so
the recording is the real mix sped up, and its times are multiplied back.

Prints the longest stretch, in game seconds, whose RMS over every 0.5 s
window lies below -50 dBFS and where it begins, the quietest window, and the
number of clipped samples (beyond full scale) in the whole recording. Exits
1 when the stretch is longer than 3 s or a sample clipped, 2 when the file
cannot be read.
"""
import math
import struct
import sys
from array import array

WINDOW_SECONDS = 0.5   # game seconds per RMS window
HOPS_PER_WINDOW = 5    # windows start every 0.1 game seconds
QUIET_DBFS = -50.0
LONGEST_QUIET_SECONDS = 3.0


def read_wav(path):
    """(channels, rate, data offset, float samples) of a float WAV."""
    with open(path, "rb") as f:
        raw = f.read()
    if raw[0:4] != b"RIFF" or raw[8:12] != b"WAVE":
        raise ValueError("not a RIFF WAVE file")
    at = 12
    channels = rate = bits = fmt_tag = None
    while at + 8 <= len(raw):
        tag, size = raw[at:at + 4], struct.unpack_from("<I", raw, at + 4)[0]
        body = at + 8
        if tag == b"fmt ":
            fmt_tag, channels, rate = struct.unpack_from("<HHI", raw, body)
            bits = struct.unpack_from("<H", raw, body + 14)[0]
            if fmt_tag == 0xFFFE:  # WAVE_FORMAT_EXTENSIBLE: the sub-format's tag
                fmt_tag = struct.unpack_from("<H", raw, body + 24)[0]
        elif tag == b"data":
            if fmt_tag != 3 or bits != 32:
                raise ValueError("not 32-bit float samples")
            # A file cut short (the game did not close its device) counts
            # what is there.
            end = len(raw) if size == 0 else min(len(raw), body + size)
            end -= (end - body) % 4
            samples = array("f")
            samples.frombytes(raw[body:end])
            return channels, rate, body, samples
        at = body + size + (size & 1)
    raise ValueError("no data chunk")


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    path, from_byte, to_byte, scale = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), float(sys.argv[4])
    try:
        channels, rate, offset, samples = read_wav(path)
    except (OSError, ValueError, struct.error) as e:
        print("cannot read %s: %s" % (path, e))
        sys.exit(2)

    clipped = sum(1 for x in samples if x > 1.0 or x < -1.0)

    # Energy of every hop, then of every window of HOPS_PER_WINDOW hops.
    hop = max(1, int(rate * WINDOW_SECONDS / scale / HOPS_PER_WINDOW)) * channels
    first = max(0, (from_byte - offset) // 4)
    last = min(len(samples), (to_byte - offset) // 4)
    first -= first % channels
    energies = []
    for at in range(first, last - hop + 1, hop):
        block = samples[at:at + hop]
        energies.append(math.fsum(x * x for x in block))
    hop_seconds = hop / channels / rate * scale
    quietest = 0.0
    stretches = []  # (start, length) in game seconds of every quiet run
    run_start = None
    windows = len(energies) - HOPS_PER_WINDOW + 1
    for i in range(windows + 1):
        level = 0.0
        if i < windows:
            rms = math.sqrt(sum(energies[i:i + HOPS_PER_WINDOW]) / (hop * HOPS_PER_WINDOW))
            level = 20 * math.log10(max(rms, 1e-12))
            quietest = min(quietest, level)
        if level < QUIET_DBFS:
            if run_start is None:
                run_start = i
        elif run_start is not None:
            stretches.append((run_start * hop_seconds, (i - 1 - run_start) * hop_seconds + WINDOW_SECONDS))
            run_start = None
    longest_at, longest = max(stretches, key=lambda s: s[1], default=(0.0, 0.0))
    judged = len(energies) * hop_seconds
    print("mix: %.1f game seconds judged; longest stretch below %.0f dBFS %.1f s (from %.1f s on); "
          "quietest window %.1f dBFS; clipped samples %d"
          % (judged, QUIET_DBFS, longest, longest_at, quietest, clipped))
    for at, length in stretches:
        if length > LONGEST_QUIET_SECONDS:
            print("  quiet for %.1f s from %.1f s on" % (length, at))
    sys.exit(0 if longest <= LONGEST_QUIET_SECONDS and clipped == 0 else 1)


if __name__ == "__main__":
    main()
