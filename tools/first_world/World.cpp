#include "World.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "mediagen/Noise.h"
#include "mediagen/Random.h"

namespace FirstWorld {

namespace {

constexpr float PI = 3.14159265f;
using Ogre::ColourValue;
using Ogre::Vector2;
using Ogre::Vector3;

using MediaGen::MeshVertex;
using MediaGen::Random;

// The shared gradient noise's fractal sum moved into 0..1 with the spread
// the shapes' mixes and heights were tuned for. Gradient noise is zero on
// its lattice and flat along it: the samples (often taken on whole-number
// planes here) are shifted off it.
float fbm(const MediaGen::Noise& noise, float x, float y, float z, int octaves = 4) {
    return 0.5f + 0.6f * noise.fbm(x + 0.31f, y + 0.43f, z + 0.17f, octaves);
}

MeshVertex vertex(const Vector3& p, const Vector3& n, float u, float v, const ColourValue& c) {
    MeshVertex out;
    out.position = p;
    out.normal = n.normalisedCopy();
    out.uv = Vector2(u, v);
    out.colour = c;
    return out;
}

ColourValue mix(const ColourValue& a, const ColourValue& b, float t) {
    return a + (b - a) * std::clamp(t, 0.0f, 1.0f);
}

float smoothstep(float a, float b, float x) {
    const float t = std::clamp((x - a) / (b - a), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// Horizontal distance from p to the camera's climb at p's height.
float distanceToFlight(const Vector3& p) {
    Vector3 c = ascentPoint(std::clamp(p.y, 0.0f, TOP_HEIGHT));
    c.y = p.y;
    Vector3 d = p - c;
    d.y = 0;
    return d.length();
}

// A tube along a centre line: rings of `sides` vertices, radius r(f).
template <class Centre, class Radius>
void tube(MeshData& mesh, const std::string& material, int segments, int sides, Centre centre,
          Radius radius, const ColourValue& low, const ColourValue& high, float vRepeat,
          bool inward = false) {
    addPatch(
        mesh, material, segments, sides,
        [&](float f, float s) {
            const Vector3 c = centre(f);
            const Vector3 ahead = centre(std::min(1.0f, f + 0.01f)) - centre(std::max(0.0f, f - 0.01f));
            Vector3 axis = ahead.normalisedCopy();
            Vector3 side = axis.perpendicular();
            if (std::abs(axis.y) > 0.7f) side = axis.crossProduct(Vector3::UNIT_X).normalisedCopy();
            const Vector3 other = axis.crossProduct(side);
            const float a = s * 2 * PI;
            const Vector3 out = side * std::cos(a) + other * std::sin(a);
            return vertex(c + out * radius(f, s), inward ? -out : out, s, f * vRepeat,
                          mix(low, high, f));
        },
        inward);
}

// A low sphere (rings x segments) at c with radii r.
void blob(MeshData& mesh, const std::string& material, const Vector3& c, const Vector3& r,
          const ColourValue& colour, int rings = 5, int segments = 7, float bump = 0.0f,
          uint32_t seed = 1) {
    const MediaGen::Noise bumps(seed);
    addPatch(mesh, material, rings, segments, [&](float f, float s) {
        const float a = f * PI, b = s * 2 * PI;
        Vector3 n(std::sin(a) * std::cos(b), std::cos(a), std::sin(a) * std::sin(b));
        float k = 1.0f;
        if (bump > 0) k += bump * (fbm(bumps, n.x * 2.5f, n.y * 2.5f, n.z * 2.5f, 3) - 0.5f);
        return vertex(c + n * r * k, n / r, s * 2, f, colour);
    }, true);
}

// A flat blade: a strip along a bending centre line, width w(f), seen from
// both sides (the material does not cull).
template <class Centre, class Width>
void blade(MeshData& mesh, const std::string& material, int segments, Centre centre, Width width,
           const Vector3& across, const ColourValue& low, const ColourValue& high, int columns = 1,
           float arch = 0.0f) {
    addPatch(mesh, material, segments, columns, [&](float f, float s) {
        const Vector3 c = centre(f);
        const Vector3 ahead = (centre(std::min(1.0f, f + 0.02f)) - centre(std::max(0.0f, f - 0.02f)));
        Vector3 normal = ahead.crossProduct(across);
        if (normal.y < 0) normal = -normal;
        const float t = s * 2 - 1;
        const Vector3 p = c + across * (t * width(f)) - normal.normalisedCopy() * (arch * (1 - t * t) * width(f));
        return vertex(p, normal, s, f, mix(low, high, f));
    });
}

}  // namespace

float groundHeight(float x, float z) {
    static const MediaGen::Noise swell(11), ripple(12);
    float h = 40.0f * (fbm(swell, x / 900.0f, 0, z / 900.0f) - 0.5f) +
              14.0f * (fbm(ripple, x / 160.0f, 1, z / 160.0f) - 0.5f);
    const float dh = Vector2(x - HOLE.x, z - HOLE.z).length();
    if (dh < HOLE_RADIUS * 3) {
        // the burrow's funnel
        const float t = 1.0f - dh / (HOLE_RADIUS * 3);
        h -= 420.0f * t * t;
    }
    // the ladybird's patch is nearly level
    const float dl = Vector2(x - LADYBIRD_START.x, z - LADYBIRD_START.z).length();
    h *= smoothstep(60.0f, 400.0f, dl) * 0.8f + 0.2f;
    return h;
}

Vector3 ascentPoint(float h) {
    const float climb = std::max(0.0f, h);
    Vector3 p = LADYBIRD_START - VIEW_DIR * (LOOK_DOWN_RATIO * climb) +
                SIDE_DIR * (320.0f * std::sin(climb / 2600.0f));
    p.y = h;
    return p;
}

Vector3 Stem::pointAt(float f) const {
    return base + Vector3(0, height * f, 0) + leanDir * (lean * f * f);
}

const std::vector<Stem>& stems() {
    static const std::vector<Stem> all = [] {
        std::vector<Stem> out;
        // The giant beside the climb, then a ring of others in front of
        // and around the view; each is kept clear of the flight and the hole.
        out.push_back(Stem{ascentPoint(4600) + SIDE_DIR * 760.0f - Vector3(0, 4600, 0), 11600, 190,
                           500, -SIDE_DIR});
        Random rnd(7);
        int tries = 0;
        while (out.size() < 16 && tries++ < 4000) {
            const float along = float(rnd.range(-7500, 2600)), side = float(rnd.range(-3200, 3200));
            Vector3 base = LADYBIRD_START + VIEW_DIR * along + SIDE_DIR * side;
            base.y = groundHeight(base.x, base.z) - 20;
            Stem s{base, float(rnd.range(5200, 12500)), float(rnd.range(70, 150)), float(rnd.range(100, 900)),
                   Vector3(float(rnd.range(-1, 1)), 0, float(rnd.range(-1, 1))).normalisedCopy()};
            bool clear = Vector2(base.x - HOLE.x, base.z - HOLE.z).length() > 900 &&
                         Vector2(base.x, base.z).length() > 700;
            for (float f = 0; clear && f <= 1.0f; f += 0.05f)
                clear = distanceToFlight(s.pointAt(f)) > s.radius + 420;
            for (const Stem& o : out)
                clear = clear && Vector2(o.base.x - base.x, o.base.z - base.z).length() > 900;
            if (clear) out.push_back(s);
        }
        return out;
    }();
    return all;
}

std::pair<int, int> cellOf(const Vector3& p, float cell) {
    return {int(std::floor(p.x / cell)), int(std::floor(p.z / cell))};
}

// Each cell's mesh moved to the cell's centre on the ground plane and
// named "<name>_<x>_<z>".
std::vector<NamedMesh> namedCells(const std::string& name, std::map<std::pair<int, int>, MeshData>& cells,
                                  float cell) {
    std::vector<NamedMesh> result;
    for (auto& entry : cells) {
        const Vector3 origin((float(entry.first.first) + 0.5f) * cell, 0, (float(entry.first.second) + 0.5f) * cell);
        for (MeshVertex& v : entry.second.vertices) v.position -= origin;
        result.push_back({name + "_" + std::to_string(entry.first.first + 50) + "_" +
                              std::to_string(entry.first.second + 50),
                          std::move(entry.second), origin});
    }
    return result;
}

std::vector<NamedMesh> splitByCell(const std::string& name, const MeshData& mesh, float cell) {
    std::map<std::pair<int, int>, MeshData> cells;
    std::map<std::pair<int, int>, std::vector<int>> remap;
    for (const MediaGen::MeshPart& part : mesh.parts)
        for (size_t i = 0; i + 2 < part.indices.size(); i += 3) {
            const Vector3 c = (mesh.vertices[part.indices[i]].position +
                               mesh.vertices[part.indices[i + 1]].position +
                               mesh.vertices[part.indices[i + 2]].position) / 3.0f;
            const auto key = cellOf(c, cell);
            MeshData& out = cells[key];
            std::vector<int>& map = remap[key];
            if (map.empty()) map.assign(mesh.vertices.size(), -1);
            uint32_t idx[3];
            for (int k = 0; k < 3; ++k) {
                const uint32_t src = part.indices[i + k];
                if (map[src] < 0) map[src] = int(out.addVertex(mesh.vertices[src]));
                idx[k] = uint32_t(map[src]);
            }
            out.addTriangle(part.material, idx[0], idx[1], idx[2]);
        }
    return namedCells(name, cells, cell);
}

std::vector<Vector3> ladybirdWalk() {
    // An opening spiral round the start (where the rising camera looks), so
    // that the ladybird stays in view for the first half minute, with a
    // slight wander; sampled every unit of length.
    static const MediaGen::Noise wander(21);
    std::vector<Vector3> points;
    float angle = std::atan2(-VIEW_DIR.z, -VIEW_DIR.x);
    for (int i = 0; i < 1300; ++i) {
        const float radius = 12.0f + 3.2f * (angle - std::atan2(-VIEW_DIR.z, -VIEW_DIR.x)) +
                             6.0f * (fbm(wander, i / 60.0f, 3, 0) - 0.5f);
        Vector3 p = LADYBIRD_START + Vector3(std::cos(angle), 0, std::sin(angle)) * radius;
        p.y = groundHeight(p.x, p.z);
        points.push_back(p);
        angle += 1.0f / std::max(radius, 6.0f);
    }
    return points;
}

namespace {

const ColourValue MOSS_DARK(0.16f, 0.27f, 0.08f), MOSS_LIGHT(0.45f, 0.62f, 0.18f),
    MOSS_GOLD(0.62f, 0.58f, 0.20f), STEM_LOW(0.30f, 0.34f, 0.14f), STEM_HIGH(0.50f, 0.62f, 0.26f),
    LEAF_LOW(0.20f, 0.42f, 0.12f), LEAF_HIGH(0.52f, 0.70f, 0.22f), GRASS_LOW(0.22f, 0.36f, 0.10f),
    GRASS_HIGH(0.66f, 0.70f, 0.30f);

bool nearWalk(const Vector3& p, const std::vector<Vector3>& walk, float margin) {
    for (size_t i = 0; i < walk.size(); i += 10)
        if (Vector2(p.x - walk[i].x, p.z - walk[i].z).length() < margin) return true;
    return false;
}

MeshData buildGround() {
    MeshData mesh;
    const int n = 112;
    const MediaGen::Noise shading(31), gold(32);
    addPatch(mesh, "FirstScene/Moss", n, n, [&](float a, float b) {
        const float x = WORLD_CENTRE.x + (a * 2 - 1) * WORLD_RADIUS;
        const float z = WORLD_CENTRE.z + (b * 2 - 1) * WORLD_RADIUS;
        const float shade = fbm(shading, x / 700.0f, 5, z / 700.0f);
        ColourValue c = mix(MOSS_DARK, MOSS_LIGHT, shade * 1.3f - 0.2f);
        c = mix(c, MOSS_GOLD, fbm(gold, x / 2300.0f, 7, z / 2300.0f) - 0.35f);
        const float dh = Vector2(x - HOLE.x, z - HOLE.z).length();
        if (dh < HOLE_RADIUS * 3) c = mix(c, ColourValue(0.12f, 0.09f, 0.05f), 1 - dh / (HOLE_RADIUS * 3));
        return vertex(Vector3(x, groundHeight(x, z), z), Vector3::UNIT_Y, x / 60.0f, z / 60.0f, c);
    }, true);
    // open the burrow: drop the triangles inside its mouth
    for (MediaGen::MeshPart& part : mesh.parts) {
        std::vector<uint32_t> kept;
        for (size_t i = 0; i + 2 < part.indices.size(); i += 3) {
            const Vector3 c = (mesh.vertices[part.indices[i]].position +
                               mesh.vertices[part.indices[i + 1]].position +
                               mesh.vertices[part.indices[i + 2]].position) / 3.0f;
            if (Vector2(c.x - HOLE.x, c.z - HOLE.z).length() < HOLE_RADIUS) continue;
            kept.insert(kept.end(), part.indices.begin() + i, part.indices.begin() + i + 3);
        }
        part.indices.swap(kept);
    }
    mesh.computeNormals(false);
    return mesh;
}

// The moss beyond the detailed floor, a little below it, out to where the
// haze hides everything: from the top of the climb the world has no edge.
MeshData buildFarMoss() {
    MeshData mesh;
    // Fog is computed per vertex: cells small enough that it reads smoothly.
    const MediaGen::Noise shading(33);
    addPatch(mesh, "FirstScene/Moss", FAR_MOSS_CELLS, FAR_MOSS_CELLS, [&](float a, float b) {
        const float x = WORLD_CENTRE.x + (a * 2 - 1) * FAR_MOSS_REACH, z = WORLD_CENTRE.z + (b * 2 - 1) * FAR_MOSS_REACH;
        const ColourValue c = mix(MOSS_DARK, MOSS_LIGHT, fbm(shading, x / 9000.0f, 2, z / 9000.0f));
        return vertex(Vector3(x, FAR_MOSS_Y, z), Vector3::UNIT_Y, x / 600.0f, z / 600.0f, c);
    }, true);
    // Under the detailed floor it is never seen, yet a software renderer
    // pays for every pixel it covers: only the ring round the floor stays,
    // overlapping its edge by a cell or two.
    for (MediaGen::MeshPart& part : mesh.parts) {
        std::vector<uint32_t> kept;
        for (size_t i = 0; i + 2 < part.indices.size(); i += 3) {
            bool hidden = true;
            for (int k = 0; k < 3 && hidden; ++k) {
                const Vector3& p = mesh.vertices[part.indices[i + k]].position;
                hidden = std::abs(p.x - WORLD_CENTRE.x) <= FAR_MOSS_HOLE && std::abs(p.z - WORLD_CENTRE.z) <= FAR_MOSS_HOLE;
            }
            if (!hidden) kept.insert(kept.end(), part.indices.begin() + i, part.indices.begin() + i + 3);
        }
        part.indices.swap(kept);
    }
    return mesh;
}

// Drops the triangles of `material` that lie wholly under the floor: the
// cushions sit sunk into it, and what cannot be seen should not be drawn.
void dropBuried(MeshData& mesh, const std::string& material) {
    for (MediaGen::MeshPart& part : mesh.parts) {
        if (part.material != material) continue;
        std::vector<uint32_t> kept;
        for (size_t i = 0; i + 2 < part.indices.size(); i += 3) {
            bool buried = true;
            for (int k = 0; k < 3 && buried; ++k) {
                const Vector3& p = mesh.vertices[part.indices[i + k]].position;
                buried = p.y < groundHeight(p.x, p.z) - 1.0f;
            }
            if (!buried) kept.insert(kept.end(), part.indices.begin() + i, part.indices.begin() + i + 3);
        }
        part.indices.swap(kept);
    }
}

void addCushionsAndStalks(std::map<std::pair<int, int>, MeshData>& cushions, MeshData& tufts,
                          const std::vector<Vector3>& walk) {
    Random rnd(41);
    // cushions: many small ones near the start, larger ones everywhere
    for (int i = 0; i < 330; ++i) {
        const bool near = i < 150;
        const float r = near ? rnd.range(25, 90) : rnd.range(80, 420);
        const float spread = near ? 900.0f : WORLD_RADIUS * 0.8f;
        Vector3 c = (near ? LADYBIRD_START : WORLD_CENTRE) +
                    Vector3(rnd.range(-spread, spread), 0, rnd.range(-spread, spread));
        if (nearWalk(c, walk, r + 25) || Vector2(c.x - HOLE.x, c.z - HOLE.z).length() < HOLE_RADIUS * 3 + r ||
            distanceToFlight(Vector3(c.x, r, c.z)) < r + 60)
            continue;
        c.y = groundHeight(c.x, c.z) - r * 0.35f;
        const ColourValue colour = mix(MOSS_DARK, MOSS_LIGHT, rnd.range(0.3f, 1.0f));
        blob(cushions[cellOf(c, CUSHION_CELL)], "FirstScene/MossCushion", c,
             Vector3(r, r * rnd.range(0.55f, 0.8f), r * rnd.range(0.8f, 1.2f)), colour, near ? 6 : 5, near ? 10 : 8,
             0.35f, 100 + i);
    }
    // moss stalks with their capsules, densest around the start
    for (int i = 0; i < 420; ++i) {
        const float spread = i < 260 ? 320.0f : 1400.0f;
        Vector3 b = LADYBIRD_START + Vector3(rnd.range(-spread, spread), 0, rnd.range(-spread, spread));
        if (nearWalk(b, walk, 14)) continue;
        b.y = groundHeight(b.x, b.z) - 2;
        const float h = rnd.range(14, 70), r = h * 0.025f + 0.4f;
        const Vector3 lean(rnd.range(-0.3f, 0.3f), 0, rnd.range(-0.3f, 0.3f));
        auto centre = [&](float f) { return b + Vector3(0, h * f, 0) + lean * (h * f * f); };
        tube(tufts, "FirstScene/MossStalk", 3, 4, centre, [&](float, float) { return r; },
             ColourValue(0.35f, 0.22f, 0.08f), ColourValue(0.72f, 0.35f, 0.10f), 1.0f);
        const Vector3 top = centre(1.0f);
        blob(tufts, "FirstScene/MossStalk", top + Vector3(0, r * 2.5f, 0), Vector3(r * 2.2f, r * 4.0f, r * 2.2f),
             ColourValue(0.78f, 0.42f, 0.12f), 3, 5);
    }
}

MeshData buildGrass(const std::vector<Vector3>& walk) {
    MeshData mesh;
    Random rnd(53);
    for (int i = 0; i < 700; ++i) {
        Vector3 b = WORLD_CENTRE + Vector3(rnd.range(-1, 1), 0, rnd.range(-1, 1)) * (WORLD_RADIUS * 0.8f);
        if (i < 160) b = LADYBIRD_START + Vector3(rnd.range(-1, 1), 0, rnd.range(-1, 1)) * 2200.0f;
        const float h = rnd.range(400, 2600), w = h * rnd.range(0.012f, 0.022f);
        if (nearWalk(b, walk, 60) || Vector2(b.x, b.z).length() < 250 ||
            Vector2(b.x - HOLE.x, b.z - HOLE.z).length() < HOLE_RADIUS * 3)
            continue;
        b.y = groundHeight(b.x, b.z) - 5;
        const float a = rnd.range(0, 2 * PI);
        const Vector3 bend(std::cos(a), 0, std::sin(a));
        const float droop = h * rnd.range(0.15f, 0.5f);
        auto centre = [&](float f) { return b + Vector3(0, h * (f - 0.35f * f * f * droop / h), 0) + bend * (droop * f * f); };
        bool clear = true;
        for (float f = 0; clear && f <= 1.0f; f += 0.1f) clear = distanceToFlight(centre(f)) > 160;
        if (!clear) continue;
        blade(mesh, "FirstScene/Grass", 6, centre, [&](float f) { return w * (1 - f * 0.9f); },
              Vector3(-bend.z, 0, bend.x), GRASS_LOW, GRASS_HIGH, 1, 0.3f);
    }
    return mesh;
}

MeshData buildStemsAndLeaves() {
    MeshData mesh;
    Random rnd(67);
    for (const Stem& s : stems()) {
        tube(mesh, "FirstScene/Stem", 28, 12, [&](float f) { return s.pointAt(f); },
             [&](float f, float a) {
                 return s.radius * (1.0f - 0.55f * f) * (1.0f + 0.06f * std::sin(a * 2 * PI * 6));
             },
             STEM_LOW, STEM_HIGH, s.height / 400.0f);
        // leaves up the stem, turning round it
        float angle = rnd.range(0, 2 * PI);
        for (float y = rnd.range(700, 1300); y < s.height - 600; y += rnd.range(900, 1500)) {
            angle += rnd.range(1.8f, 2.6f);
            const float f0 = y / s.height;
            const Vector3 root = s.pointAt(f0);
            const Vector3 out(std::cos(angle), 0, std::sin(angle));
            const float length = rnd.range(1100, 2600) * (1.0f - 0.3f * f0), width = length * rnd.range(0.16f, 0.24f);
            const float rise = rnd.range(0.2f, 0.7f), droop = rnd.range(0.4f, 0.9f);
            auto centre = [&](float f) {
                return root + out * (length * f) + Vector3(0, length * (rise * f - droop * f * f), 0);
            };
            bool clear = true;
            for (float f = 0; clear && f <= 1.0f; f += 0.1f) clear = distanceToFlight(centre(f)) > width + 150;
            if (!clear) continue;
            blade(mesh, "FirstScene/Leaf", 9, centre,
                  [&](float f) { return width * std::sin(std::min(1.0f, f * 1.15f + 0.05f) * PI) * 0.5f + 4.0f; },
                  Vector3(-out.z, 0, out.x), LEAF_LOW, LEAF_HIGH, 4, 0.18f);
        }
        // the top: an umbel of small florets, or a closed bud
        const Vector3 top = s.pointAt(1.0f);
        if (s.height > 8000) {
            for (int k = 0; k < 7; ++k) {
                const float a = k * 2 * PI / 7 + rnd.range(0, 0.5f);
                const Vector3 dir = Vector3(std::cos(a) * 0.7f, 1.0f, std::sin(a) * 0.7f).normalisedCopy();
                const float ray = s.radius * rnd.range(5, 8);
                tube(mesh, "FirstScene/Stem", 2, 5, [&](float f) { return top + dir * (ray * f); },
                     [&](float, float) { return s.radius * 0.12f; }, STEM_HIGH, STEM_HIGH, 1.0f);
                const Vector3 head = top + dir * ray;
                for (int j = 0; j < 6; ++j) {
                    const Vector3 o(rnd.range(-1, 1), rnd.range(0, 0.6f), rnd.range(-1, 1));
                    const float fr = s.radius * rnd.range(0.45f, 0.75f);
                    const ColourValue c = mix(ColourValue(0.95f, 0.92f, 0.80f), ColourValue(1.0f, 0.80f, 0.55f), float(rnd.uniform()));
                    blob(mesh, "FirstScene/Flower", head + o * (s.radius * 1.2f), Vector3(fr, fr * 0.7f, fr), c, 3, 6);
                }
            }
        } else {
            blob(mesh, "FirstScene/Stem", top + Vector3(0, s.radius, 0),
                 Vector3(s.radius * 1.1f, s.radius * 2.2f, s.radius * 1.1f), STEM_HIGH, 5, 8, 0.2f, 9);
        }
    }
    return mesh;
}

}  // namespace

ColourValue skyColour(float elevation) {
    const ColourValue fog(FOG_COLOUR[0], FOG_COLOUR[1], FOG_COLOUR[2]), zenith(0.20f, 0.30f, 0.46f);
    const float t = std::pow(std::max(0.0f, elevation / (PI / 2)), 0.55f);
    // a brighter band just above the horizon, none at it, so that the haze
    // below meets the sky without a seam
    const float glow = 0.14f * (1.0f - std::exp(-t * 40.0f)) * std::exp(-t * 5.0f);
    ColourValue c = fog + (zenith - fog) * t + ColourValue(glow, glow, glow * 0.4f);
    c.saturate();
    c.a = 1;
    return c;
}

MeshData buildSkyDome() {
    constexpr float RADIUS = 50000, LOWEST = -20 * PI / 180;
    constexpr int SEGMENTS = 32, RINGS = 40;  // rings evenly spaced in the gradient's own measure
    std::vector<float> elevations{LOWEST, -0.01f};
    for (int i = 0; i <= RINGS; ++i) elevations.push_back(std::pow(float(i) / RINGS, 1 / 0.55f) * PI / 2);
    MeshData mesh;
    for (float e : elevations) {
        const ColourValue c = skyColour(e);
        for (int k = 0; k <= SEGMENTS; ++k) {
            const float a = k * 2 * PI / SEGMENTS;
            const Vector3 d(std::cos(e) * std::cos(a), std::sin(e), std::cos(e) * std::sin(a));
            mesh.addVertex(vertex(d * RADIUS, -d, 0, 0, c));
        }
    }
    for (size_t r = 0; r + 1 < elevations.size(); ++r)
        for (int k = 0; k < SEGMENTS; ++k) {
            const auto a = std::uint32_t(r * (SEGMENTS + 1) + k), b = a + SEGMENTS + 1;
            mesh.addQuad("FirstScene/SkyDome", a, b, b + 1, a + 1);
        }
    return mesh;
}

MeshData buildDewDrop() {
    MeshData mesh;
    blob(mesh, "FirstScene/Dew", Vector3::ZERO, Vector3(1, 0.8f, 1), ColourValue(0.85f, 0.95f, 1.0f), 4, 7);
    return mesh;
}

std::vector<NamedMesh> buildStaticWorld() {
    const std::vector<Vector3> walk = ladybirdWalk();
    std::vector<NamedMesh> out;
    MeshData ground = buildGround();
    MeshData tufts;
    std::map<std::pair<int, int>, MeshData> cushions;  // each whole in the cell of its centre
    addCushionsAndStalks(cushions, tufts, walk);
    for (auto& cell : cushions) dropBuried(cell.second, "FirstScene/MossCushion");
    // dew on the moss near the start, catching the low sun
    Random rnd(83);
    const MeshData drop = buildDewDrop();
    for (int i = 0; i < 140; ++i) {
        Vector3 p = LADYBIRD_START + Vector3(rnd.range(-500, 500), 0, rnd.range(-500, 500));
        if (nearWalk(p, walk, 10)) continue;
        p.y = groundHeight(p.x, p.z);
        const float r = rnd.range(1.5f, 6.0f);
        p.y += r * 0.5f;
        Ogre::Matrix4 place;
        place.makeTransform(p, Vector3(r), Ogre::Quaternion::IDENTITY);
        tufts.append(drop, place);
    }
    for (auto& piece : splitByCell("moss_floor", ground, 2000)) out.push_back(std::move(piece));
    for (auto& piece : splitByCell("moss_tufts", tufts, TUFT_CELL)) out.push_back(std::move(piece));
    out.push_back({"moss_far", buildFarMoss()});
    // Blades, stems, leaves and cushions are whole shapes that read as well
    // with half their vertices from a distance, and a software renderer
    // pays for every triangle it sets up. The floor's cells stay whole:
    // they meet at their edges, and coarser edges would open cracks.
    for (auto& piece : namedCells("moss_cushions", cushions, CUSHION_CELL)) {
        piece.mesh.lods = {{1500, 0.5f}, {4500, 0.75f}};
        out.push_back(std::move(piece));
    }
    const std::vector<MediaGen::MeshLod> plants{{4000, 0.5f}, {10000, 0.75f}};
    for (auto& piece : splitByCell("grass", buildGrass(walk), 3000)) {
        piece.mesh.lods = plants;
        out.push_back(std::move(piece));
    }
    for (auto& piece : splitByCell("stems", buildStemsAndLeaves(), 3000)) {
        piece.mesh.lods = plants;
        out.push_back(std::move(piece));
    }
    return out;
}

std::vector<NamedMesh> buildTunnel() {
    // The burrow: down from the hole, then along under the moss, lined
    // with faintly glowing fungi.
    MeshData tunnel;
    auto centre = [](float f) {
        const float depth = std::min(f * 3.0f, 1.0f);
        return HOLE + Vector3(0, -150 - 900 * depth, 0) - VIEW_DIR * (2600.0f * std::max(0.0f, f - 0.2f)) +
               SIDE_DIR * (500.0f * std::sin(f * 4.0f));
    };
    const MediaGen::Noise roughness(91);
    tube(tunnel, "SecondScene/Tunnel", 60, 16, centre,
         [&](float f, float a) { return HOLE_RADIUS * (0.95f + 0.15f * fbm(roughness, f * 20, a * 6, 0)); },
         ColourValue(0.45f, 0.36f, 0.24f), ColourValue(0.30f, 0.22f, 0.15f), 24.0f, true);
    MeshData fungi;
    Random rnd(97);
    for (int i = 0; i < 90; ++i) {
        const float f = rnd.range(0.02f, 0.98f), a = rnd.range(0, 2 * PI);
        const Vector3 c = centre(f);
        const Vector3 off(std::cos(a), std::sin(a) * 0.8f, std::sin(a));
        blob(fungi, "SecondScene/Glow", c + off.normalisedCopy() * (HOLE_RADIUS * 0.85f), Vector3(rnd.range(8, 22)),
             mix(ColourValue(0.3f, 0.9f, 0.7f), ColourValue(0.8f, 0.9f, 0.3f), float(rnd.uniform())), 3, 5);
    }
    return {{"tunnel", std::move(tunnel)}, {"tunnel_fungi", std::move(fungi)}};
}

}  // namespace FirstWorld
