#include "FaceLayout.h"

#include <cmath>
#include <algorithm>
#include <map>

#include "mediagen/Random.h"

namespace ThirdWorld {

const Ogre::Vector3 START_UP = Ogre::Vector3(0.4145f, 0.866f, 0.2796f).normalisedCopy();

namespace {

// The face's axis of symmetry and the two arches. Angle 0 is the front of
// an arch (z about 0), +/-90 degrees its back ends.
constexpr double FACE_X = -655;

struct Arch {
    double width, depth, frontY, backY;
    Ogre::Vector3 at(double degrees) const {
        const double a = degrees * M_PI / 180.0;
        const double back = 1 - std::cos(a);
        return Ogre::Vector3(Ogre::Real(FACE_X + width * std::sin(a)), Ogre::Real(frontY + (backY - frontY) * back),
                             Ogre::Real(-depth * back));
    }
};

// The lower front tooth right of the axis sits where the flight after the
// closing sequence crosses z = 0, so that the player is set down again.
const Arch LOWER{8800, 8500, -6460, -4600};
const Arch UPPER{9000, 9300, 1500, 250};

struct Tooth {
    int number;
    double angle;  // on its arch
    bool upper;
};

// Jaw sides as the closing sequence moves them: upper_jaw_1 and
// lower_jaw_1 carry the right-hand teeth (+X), the others the left.
const Tooth TEETH[] = {
    {1, 8, true},     {3, 23, true},    {4, 38, true},    {7, 53, true},   {9, 67, true},    {10, 84, true},
    {2, -8, true},    {5, -25, true},   {6, -43, true},   {8, -61, true},  {11, -80, true},
    {17, 8, false},   {13, 22, false},  {21, 36, false},  {14, 50, false}, {20, 64, false},  {19, 82, false},
    {16, -8, false},  {12, -28, false}, {18, -50, false}, {15, -74, false},
};

// Asteroids bored through by a tunnel (the holes' rides go through them),
// with the tilt of the bore.
const std::map<int, double> TUNNEL_TILT = {{19, 35}, {14, -50}, {20, 70}, {4, 20}, {7, -30}, {12, 60}};
// Tunnels ridden both ways: two holes each.
const int BOTH_WAYS[] = {19, 20};

// Where the bore's axis enters the unbored rock, walking from `from` to `to`.
Ogre::Vector3 mouthOf(const RockShape& shape, const Ogre::Vector3& from, const Ogre::Vector3& to) {
    const int steps = 400;
    for (int i = 0; i <= steps; ++i) {
        const Ogre::Vector3 p = from + (to - from) * (float(i) / steps);
        if (shape.solidUnbored(p)) return p;
    }
    return (from + to) / 2;
}

RockParams toothParams(const Tooth& t) {
    RockParams p;
    p.seed = 1000 + t.number * 37;
    MediaGen::Random random(p.seed);
    const double a = std::abs(t.angle);
    // Incisors tall and thin, canines long, molars broad: read as teeth
    // from far away, as plain rocks from close by.
    if (a < 15) {
        p.radius = random.range(740, 800);
        p.squash = Ogre::Vector3(0.85f, 1.35f, 0.75f);
    } else if (a < 32) {
        p.radius = random.range(780, 840);
        p.squash = Ogre::Vector3(0.85f, 1.45f, 0.85f);
    } else if (a < 60) {
        p.radius = random.range(850, 920);
        p.squash = Ogre::Vector3(1.0f, 1.12f, 1.0f);
    } else {
        p.radius = random.range(880, 960);
        p.squash = Ogre::Vector3(1.12f, 0.95f, 1.1f);
    }
    p.roughness = random.range(0.07, 0.11);
    p.craters = 4 + int(random.next() % 5);
    p.crystalPatches = int(random.next() % 3);
    p.mossiness = random.range(-0.2, 0.25);
    return p;
}

// A straight bore slightly off the centre, tilted about the view axis.
Tunnel boreThrough(const RockParams& p, double tiltDegrees, const Ogre::Vector3& avoid) {
    const double a = tiltDegrees * M_PI / 180.0;
    Ogre::Vector3 axis(Ogre::Real(std::cos(a)), Ogre::Real(std::sin(a) * 0.4), Ogre::Real(std::sin(a)));
    axis.normalise();
    if (avoid != Ogre::Vector3::ZERO) {
        // Keep both mouths well away from the player's first standing place.
        axis = (axis - avoid * axis.dotProduct(avoid)).normalisedCopy();
    }
    // Off the centre by more than its radius: a ray towards the centre
    // (landings, hops) always meets rock, at worst the bore's inner wall.
    const Ogre::Vector3 side = avoid != Ogre::Vector3::ZERO ? -avoid : axis.perpendicular();
    const Ogre::Vector3 offset = side * Ogre::Real(p.radius * 0.45);
    const double reach = p.radius * 1.9;
    Tunnel t;
    t.a = offset + axis * Ogre::Real(reach);
    t.b = offset - axis * Ogre::Real(reach);
    t.radius = p.radius * 0.26;
    return t;
}

}  // namespace

Field buildField() {
    Field field;
    for (const Tooth& t : TEETH) {
        RockPiece rock;
        rock.entity = "aster" + std::to_string(t.number);
        rock.mesh = "third_" + rock.entity + ".mesh";
        rock.material = "Third/Rock";
        rock.crystalMaterial = "Third/Crystal";
        rock.params = toothParams(t);
        rock.centre = (t.upper ? UPPER : LOWER).at(t.angle);
        const bool start = t.number == Layout::START_ASTEROID;
        if (start) {
            rock.params.keepClear = START_UP;
            rock.params.clearAngle = 22;
            rock.params.padRadius = 380;
        }
        const auto tunnel = TUNNEL_TILT.find(t.number);
        if (tunnel != TUNNEL_TILT.end())
            rock.params.tunnels.push_back(boreThrough(rock.params, tunnel->second, start ? START_UP : Ogre::Vector3::ZERO));
        if (start) {
            // Ground exactly EYE_HEIGHT below the first standing place.
            const RockShape shape(rock.params);
            rock.centre = toVector(Layout::START_POSITION) -
                          START_UP * Ogre::Real(double(Layout::EYE_HEIGHT) + shape.surfaceRadius(START_UP));
        }
        if (!rock.params.tunnels.empty()) {
            const RockShape shape(rock.params);
            const Tunnel& bore = rock.params.tunnels.front();
            const Ogre::Vector3 a = mouthOf(shape, bore.a, bore.b) + rock.centre;
            const Ogre::Vector3 b = mouthOf(shape, bore.b, bore.a) + rock.centre;
            // The ride comes out beside the far mouth, over solid ground: a
            // landing looks for the ground towards the asteroid's centre,
            // and straight through the bore it would find none.
            const auto fallPoints = [&](const Ogre::Vector3& exitMouth, const Ogre::Vector3& along) {
                std::vector<Ogre::Vector3> points;
                const Ogre::Vector3 side = along.perpendicular();
                for (float s : {1.0f, -1.0f}) {
                    const Ogre::Vector3 dir = (exitMouth - rock.centre + side * Ogre::Real(s * bore.radius * 2.2)).normalisedCopy();
                    points.push_back(rock.centre + dir * Ogre::Real(shape.surfaceRadius(dir)));
                }
                return points;
            };
            const Ogre::Vector3 ab = (b - a).normalisedCopy();
            field.holes.push_back({rock.entity, a, b, ab, bore.radius, fallPoints(b, ab)});
            if (std::find(std::begin(BOTH_WAYS), std::end(BOTH_WAYS), t.number) != std::end(BOTH_WAYS))
                field.holes.push_back({rock.entity, b, a, -ab, bore.radius, fallPoints(a, -ab)});
        }
        field.rocks.push_back(rock);
    }

    // Eyes above the mouth: a ring of rock (the socket) around a glowing
    // crystal cluster (the pupil) on each side.
    const Ogre::Real eyeY = 9300, eyeZ = -2600, eyeX = 5000;
    auto eye = [&](const std::string& socket, const std::string& pupil, double x, std::uint64_t seed) {
        RockPiece ring;
        ring.entity = socket;
        ring.mesh = "third_" + socket + ".mesh";
        ring.material = "Third/Rock";
        ring.crystalMaterial = "Third/Crystal";
        ring.centre = Ogre::Vector3(Ogre::Real(FACE_X + x), eyeY, eyeZ);
        ring.params.seed = seed;
        ring.params.form = RockForm::Ring;
        ring.params.radius = 1450;
        ring.params.ringMinor = 430;
        ring.params.roughness = 0.22;
        ring.params.craters = 0;
        ring.params.crystalPatches = 0;
        ring.params.mossiness = 0.15;
        ring.gridCells = 64;
        field.rocks.push_back(ring);
        RockPiece glow;
        glow.entity = pupil;
        glow.mesh = "third_" + pupil + ".mesh";
        glow.material = "Third/EyeGlow";
        glow.crystalMaterial = "Third/EyeGlow";
        glow.centre = ring.centre + Ogre::Vector3(0, -120, 150);
        glow.params.seed = seed + 1;
        glow.params.form = RockForm::CrystalCluster;
        glow.params.radius = 720;
        glow.gridCells = 48;
        field.rocks.push_back(glow);
    };
    eye("eye1", "eye2", -eyeX, 501);
    eye("eye2_1", "eye2_2", eyeX, 503);

    // Each fog cloud hangs beside its own asteroid, on the side away from
    // the face's front so the face stays clear from far away.
    MediaGen::Random random(77);
    for (int i = 1; i <= Layout::ASTEROID_COUNT; ++i) {
        const RockPiece* rock = nullptr;
        for (const RockPiece& r : field.rocks)
            if (r.entity == "aster" + std::to_string(i)) rock = &r;
        Ogre::Vector3 outward = rock->centre - Ogre::Vector3(Ogre::Real(FACE_X), -2400, -5000);
        outward.z = -std::abs(outward.z) - 2000;
        const Ogre::Vector3 dir = (outward.normalisedCopy() + randomDirection(random) * 0.5f).normalisedCopy();
        FogCloud fog;
        fog.node = "dark_fog" + std::to_string(i);
        fog.position = rock->centre + dir * Ogre::Real(rock->params.radius * 1.9);
        // Few, mid-sized puffs: every covered pixel is blended, and the
        // software renderers pay for each one.
        fog.size = 1500;
        for (int k = 0; k < 3; ++k) {
            fog.puffs.push_back(randomDirection(random) * Ogre::Real(random.range(200, 600)));
            const float shade = float(random.range(0.6, 1.0));
            fog.colours.emplace_back(0.32f * shade, 0.26f * shade, 0.5f * shade, 1.0f);
        }
        field.fogs.push_back(fog);
    }

    auto centroid = [&](const std::vector<std::string>& names) {
        Ogre::Vector3 sum = Ogre::Vector3::ZERO;
        for (const RockPiece& r : field.rocks)
            for (const auto& n : names)
                if (r.entity == n) sum += r.centre;
        return sum / Ogre::Real(names.size());
    };
    // The teeth close on each other with the laugh, the right side a little
    // more than the left; the eyes narrow. The root bone's widest move per jaw:
    const std::pair<const char*, Ogre::Vector3> chomps[] = {
        {"upper_jaw_1", {0, -1450, 120}}, {"upper_jaw_2", {0, -1250, 120}}, {"lower_jaw_1", {0, 1150, 200}},
        {"lower_jaw_2", {0, 1000, 200}},  {"eye_1", {150, -380, 0}},       {"eye_2", {-150, -380, 0}},
    };
    for (const auto& [name, chomp] : chomps) {
        std::vector<std::string> carries;
        for (const Layout::JawCarry& c : Layout::JAW_CARRIES)
            if (std::string(c.jaw) == name) carries.push_back(c.carried);
        field.jaws.push_back({name, centroid(carries), carries, chomp});
    }
    return field;
}

}  // namespace ThirdWorld
