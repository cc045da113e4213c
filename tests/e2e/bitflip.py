"""Starts the game again and again on its data with one byte changed, in a
file of every kind in turn (each extension the data manifest lists, and the
manifest itself), at a random place, from a fixed seed. The game runs with
MOSSDEN_CHECK_DATA=1: it checks its data and ends before the engine starts.
Every start must end by itself (no hang), not by a signal, with a failing
status and a line naming the changed file; every output line printable.

    bitflip.py GAME DATA_ROOT SEED STARTS
"""
import collections
import os
import random
import re
import subprocess
import sys
import time

CONTROL = re.compile(rb"[\x00-\x08\x0a-\x1f\x7f]")


def main():
    game, root, seed, starts = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    manifest = os.path.join(root, "media", "MANIFEST")
    by_kind = collections.defaultdict(list)
    with open(manifest, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#"):
                continue
            path = line.rstrip("\n").split(" ", 2)[2]
            if os.path.getsize(os.path.join(root, path)) > 0:
                by_kind[os.path.splitext(path)[1] or "(none)"].append(path)
    by_kind["MANIFEST"].append("media/MANIFEST")
    kinds = sorted(by_kind)
    rng = random.Random(seed)
    env = dict(os.environ, MOSSDEN_CHECK_DATA="1", MOSSDEN_NO_DIALOG="1")
    began = time.monotonic()
    failures = 0
    for start in range(starts):
        kind = kinds[start % len(kinds)]
        path = rng.choice(by_kind[kind])
        full = os.path.join(root, path)
        offset = rng.randrange(os.path.getsize(full))
        change = rng.randrange(1, 256)
        with open(full, "r+b") as f:
            f.seek(offset)
            old = f.read(1)[0]
            f.seek(offset)
            f.write(bytes([old ^ change]))
        what = "%s byte %d ^ 0x%02x" % (path, offset, change)
        try:
            run = subprocess.run([game], cwd=root, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                 timeout=60)
            output, status = run.stdout, run.returncode
        except subprocess.TimeoutExpired:
            output, status = b"", None
        finally:
            with open(full, "r+b") as f:
                f.seek(offset)
                f.write(bytes([old]))
        name = os.path.basename(path).encode()
        problem = None
        if status is None:
            problem = "hung"
        elif status < 0:
            problem = "died of signal %d" % -status
        elif status == 0:
            problem = "ended with status 0"
        elif not any(name in line for line in output.splitlines()):
            problem = "no line names the file"
        elif any(CONTROL.search(line) for line in output.splitlines()):
            problem = "a control character on the output"
        else:
            try:
                output.decode("utf-8")
            except UnicodeDecodeError:
                problem = "output that is not UTF-8"
        if problem:
            failures += 1
            print("FAIL start %d, %s: %s" % (start, what, problem))
            sys.stdout.write(output.decode("utf-8", "replace")[-2000:])
    print("%d starts over %d kinds of file (%s), seed %d, in %.0f s: %d failed"
          % (starts, len(kinds), " ".join(kinds), seed, time.monotonic() - began, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
