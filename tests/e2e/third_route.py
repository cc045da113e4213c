#!/usr/bin/python3
"""Plays the asteroid field with real X input (xdotool) until a number of
distinct holes have been ridden: on an asteroid with holes left it turns
towards the nearest hole's mouth and hops (W); otherwise it turns to the
nearest asteroid that has holes left and clicks to fly there. It reads where
the viewer stands from the game's "Standing on" trace lines and where the
holes are from the scene file.

usage: third_route.py GAME_LOG SCENE_FILE HOLES TIMEOUT_SECONDS
Exits 0 when the holes have been ridden, 1 otherwise."""
import math
import re
import subprocess
import sys
import time
import xml.etree.ElementTree as ET

POSE = re.compile(r"Standing on (aster\d+) at \(([^)]*)\) up \(([^)]*)\) looking \(([^)]*)\) "
                  r"pivot \(([^)]*)\) turned \(([^)]*)\)")
INTO = re.compile(r"Into hole (\d+) of (aster\d+)")
FLIGHT = re.compile(r"Flight to (aster\d+)")
DEGREES_PER_PIXEL = 0.05


def vec(text):
    return tuple(float(x) for x in text.split())


def add(a, b): return tuple(x + y for x, y in zip(a, b))
def sub(a, b): return tuple(x - y for x, y in zip(a, b))
def mul(a, k): return tuple(x * k for x in a)
def dot(a, b): return sum(x * y for x, y in zip(a, b))
def cross(a, b): return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])
def length(a): return math.sqrt(dot(a, a))
def unit(a): return mul(a, 1 / length(a))


def rotate(q, v):
    w, x, y, z = q
    u = (x, y, z)
    t = mul(cross(u, v), 2)
    return add(add(v, mul(t, w)), cross(u, t))


class Field:
    """Holes and asteroid centres from the scene file (unturned frame)."""

    def __init__(self, path):
        root = ET.parse(path).getroot()
        self.centres = {}
        for node in root.iter("node"):
            name = node.get("name")
            if name.startswith("aster"):
                p = node.find("position")
                self.centres[name] = tuple(float(p.get(k)) for k in "xyz")
        self.holes = {}  # id -> (asteroid, mouth)
        for i, hole in enumerate(root.find("custom").find("holes").findall("hole"), start=1):
            s = hole.find("sphere")
            mouth = tuple(float(s.get(k)) for k in "xyz")
            c = hole.find("centerPoint")
            centre = tuple(float(c.get(k)) for k in "xyz")
            owner = min(self.centres, key=lambda a: (length(sub(self.centres[a], centre)), a))
            self.holes[i] = (owner, mouth)


class Game:
    def __init__(self, log_path):
        self.log_path = log_path
        self.seen = 0

    def new_lines(self):
        with open(self.log_path, errors="replace") as f:
            lines = f.read().splitlines()
        fresh = lines[self.seen:]
        self.seen = len(lines)
        return fresh

    def wait(self, patterns, seconds):
        """The first new line matching one of the patterns, or None."""
        end = time.time() + seconds
        while time.time() < end:
            for line in self.new_lines():
                for p in patterns:
                    m = p.search(line)
                    if m:
                        return m
            time.sleep(0.05)
        return None


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def turn(dx, dy):
    """Relative mouse motion in steps small enough for the input grab."""
    steps = max(1, int(max(abs(dx), abs(dy)) / 40) + 1)
    for i in range(steps):
        sx = int(round(dx * (i + 1) / steps)) - int(round(dx * i / steps))
        sy = int(round(dy * (i + 1) / steps)) - int(round(dy * i / steps))
        xdotool("mousemove_relative", "--", str(sx), str(sy))
        time.sleep(0.02)
    time.sleep(0.1)


def aim(pose, target, pitch):
    """Turns the view from the pose towards a world point: about the up axis,
    and with pitch also up or down."""
    pos, up, look = pose["at"], pose["up"], pose["looking"]
    d = unit(sub(target, pos))
    flat_look = sub(look, mul(up, dot(look, up)))
    flat_d = sub(d, mul(up, dot(d, up)))
    azimuth = math.degrees(math.atan2(dot(up, cross(flat_look, flat_d)), dot(flat_look, flat_d)))
    dx = -azimuth / DEGREES_PER_PIXEL
    dy = 0
    if pitch:
        elevation = math.degrees(math.asin(max(-1, min(1, dot(d, up)))) - math.asin(max(-1, min(1, dot(look, up)))))
        dy = -elevation / DEGREES_PER_PIXEL
    turn(dx, dy)


def world(pose, point):
    """A point of the scene file (the asteroid's unturned frame) in world space."""
    k = pose["pivot"]
    return add(k, rotate(pose["turned"], sub(point, k)))


def main():
    log_path, scene_path, goal, timeout = sys.argv[1], sys.argv[2], int(sys.argv[3]), float(sys.argv[4])
    field = Field(scene_path)
    game = Game(log_path)
    visited = set()
    pose = None
    deadline = time.time() + timeout
    # The last pose written so far.
    for line in game.new_lines():
        m = POSE.search(line)
        if m:
            pose = m
    tries = 0
    while len(visited) < goal and time.time() < deadline:
        if pose is None:
            pose = game.wait([POSE], 20)
            if pose is None:
                print("route: nobody stands anywhere")
                return 1
        p = {"asteroid": pose.group(1), "at": vec(pose.group(2)), "up": vec(pose.group(3)),
             "looking": vec(pose.group(4)), "pivot": vec(pose.group(5)), "turned": vec(pose.group(6))}
        here = [i for i, (a, _) in field.holes.items() if a == p["asteroid"] and i not in visited]
        if here:
            hole = min(here, key=lambda i: length(sub(world(p, field.holes[i][1]), p["at"])))
            mouth = world(p, field.holes[hole][1])
            # A little to the side now and then, in case the straight hop keeps missing.
            wobble = (tries % 3 - 1) * 25 * (tries // 3 % 2)
            aim(p, mouth, pitch=False)
            if wobble:
                turn(wobble, 0)
            print(f"route: hop on {p['asteroid']} towards hole {hole}, "
                  f"{length(sub(mouth, p['at'])):.0f} away", flush=True)
            xdotool("keydown", "w")
            time.sleep(0.15)
            xdotool("keyup", "w")
            tries += 1
        else:
            targets = [a for a in field.centres if any(o == a and i not in visited for i, (o, _) in field.holes.items())]
            if not targets:
                print("route: no holes left")
                return 1
            target = min(targets, key=lambda a: length(sub(field.centres[a], p["at"])))
            if tries % 2 == 0:
                aim(p, field.centres[target], pitch=True)
                print(f"route: fly from {p['asteroid']} to {target}", flush=True)
                xdotool("click", "1")
                tries += 1
                if game.wait([FLIGHT], 1.0) is None:
                    continue  # the own asteroid is in the way: walk round first
            else:
                # Hop towards the target's side of the asteroid, looking level.
                aim(p, field.centres[target], pitch=False)
                print(f"route: hop on {p['asteroid']} towards {target}", flush=True)
                xdotool("keydown", "w")
                time.sleep(0.15)
                xdotool("keyup", "w")
                tries += 1
        m = game.wait([POSE, INTO], 12)
        if m is None:
            continue
        if m.re is INTO:
            hole = int(m.group(1))
            tries = 0
            print(f"route: into hole {hole}", flush=True)
            visited.add(hole)
            tries = 0
            if len(visited) >= goal:
                break
            pose = game.wait([POSE], 30)
        else:
            if m.group(1) != p["asteroid"]:
                tries = 0
            pose = m
    print(f"route: {len(visited)} holes ridden: {sorted(visited)}", flush=True)
    return 0 if len(visited) >= goal else 1


if __name__ == "__main__":
    sys.exit(main())
