#include "Creatures.h"

#include <algorithm>
#include <cmath>


namespace FirstWorld {

namespace {

constexpr float PI = 3.14159265f;
using Ogre::ColourValue;
using Ogre::Degree;
using Ogre::Quaternion;
using Ogre::Vector2;
using Ogre::Vector3;
using MediaGen::AnimationData;
using MediaGen::BoneData;
using MediaGen::BoneKey;
using MediaGen::BoneTrack;
using MediaGen::MeshVertex;

// The ladybird meshes are attached with Rz(180) * Ry(90): their own space
// is that turn undone.
const Quaternion ATTACH_TURN = Quaternion(Degree(180), Vector3::UNIT_Z) * Quaternion(Degree(90), Vector3::UNIT_Y);
const Quaternion TO_MESH = ATTACH_TURN.Inverse();

template <class F>
void ellipsoid(MeshData& mesh, const std::string& material, const Vector3& c, const Vector3& r, int rings,
               int segments, int bone, F colour, float vFrom = 0, float vTo = 1) {
    const std::uint32_t first = std::uint32_t(mesh.vertices.size());
    addPatch(mesh, material, rings, segments, [&](float f, float s) {
        const float a = vFrom * PI + f * (vTo - vFrom) * PI, b = s * 2 * PI;
        const Vector3 n(std::sin(a) * std::cos(b), std::cos(a), std::sin(a) * std::sin(b));
        MeshVertex v;
        v.position = c + n * r;
        v.normal = (n / r).normalisedCopy();
        v.uv = Vector2(s, f);
        v.colour = colour(n);
        return v;
    }, true);
    mesh.assignBoneFrom(first, std::uint16_t(bone));
}

void limb(MeshData& mesh, const std::string& material, const std::vector<Vector3>& joints, float radius,
          int bone, const ColourValue& colour) {
    const std::uint32_t first = std::uint32_t(mesh.vertices.size());
    for (size_t j = 0; j + 1 < joints.size(); ++j) {
        const Vector3 a = joints[j], b = joints[j + 1];
        const Vector3 axis = (b - a).normalisedCopy();
        const Vector3 side = axis.perpendicular();
        const Vector3 other = axis.crossProduct(side);
        addPatch(mesh, material, 1, 5, [&](float f, float s) {
            const float ang = s * 2 * PI;
            const Vector3 out = side * std::cos(ang) + other * std::sin(ang);
            MeshVertex v;
            v.position = a + (b - a) * f + out * radius * (1.0f - 0.3f * (j + f) / joints.size());
            v.normal = out;
            v.uv = Vector2(s, f);
            v.colour = colour;
            return v;
        }, true);
    }
    mesh.assignBoneFrom(first, std::uint16_t(bone));
}

// Moves a mesh built in the natural frame (up +Y, forward +Z, feet on y = 0)
// into the ladybird meshes' own space.
void toLadybirdSpace(MeshData& mesh) {
    for (MeshVertex& v : mesh.vertices) {
        v.position = TO_MESH * (v.position + LADYBIRD_IN_BONE);
        v.normal = TO_MESH * v.normal;
    }
}

const ColourValue BLACK(0.05f, 0.04f, 0.04f);

struct LegSpec {
    const char* bone;
    const char* animation;
    float side;   // -1 left, +1 right (x of the natural frame)
    float along;  // z of the hip
    float reach;  // z offset of the foot
    float phase;  // seconds added to the animation's keys
};

// A leg: a bone at the hip whose animation swings it fore and aft about the
// vertical and lifts it during the forward swing, one cycle per second.
void addLeg(Creature& c, const LegSpec& leg) {
    const Vector3 hip(leg.side * 4.0f, 3.2f, leg.along);
    const Vector3 knee(leg.side * 8.5f, 4.6f, leg.along + leg.reach * 0.5f);
    const Vector3 foot(leg.side * 10.5f, 0.2f, leg.along + leg.reach);
    const int bone = static_cast<int>(c.skeleton.bones.size());
    c.skeleton.bones.push_back(BoneData{leg.bone, 0, TO_MESH * (hip + LADYBIRD_IN_BONE)});
    MeshData legMesh;
    limb(legMesh, "FirstScene/LadybirdDark", {hip, knee, foot}, 0.55f, bone, BLACK);
    toLadybirdSpace(legMesh);
    c.mesh.append(legMesh);  // with the bone of each vertex
    AnimationData a{leg.animation, 1.0f, {}};
    const Vector3 up = TO_MESH * Vector3::UNIT_Y, forward = TO_MESH * Vector3::UNIT_Z;
    auto pose = [&](float swingDeg, float liftDeg) {
        return Quaternion(Degree(swingDeg * leg.side), up) * Quaternion(Degree(liftDeg * leg.side), forward);
    };
    std::vector<BoneKey> keys;
    const float times[] = {0.0f, 0.5f, 0.75f, 1.0f};
    const float swing[] = {22, -22, 0, 22}, lift[] = {0, 0, 18, 0};
    // keys shifted by the leg's phase, wrapped into one cycle
    std::vector<std::pair<float, Quaternion>> shifted;
    for (int k = 0; k < 4; ++k) {
        float t = std::fmod(times[k] + leg.phase, 1.0f);
        shifted.push_back({t, pose(swing[k], lift[k])});
    }
    std::sort(shifted.begin(), shifted.end(), [](auto& x, auto& y) { return x.first < y.first; });
    // close the cycle: the pose at 0 and at 1 must agree
    auto sample = [&](float t) {
        for (size_t k = 0; k + 1 < shifted.size(); ++k)
            if (t >= shifted[k].first && t <= shifted[k + 1].first) {
                const float u = (t - shifted[k].first) / std::max(1e-4f, shifted[k + 1].first - shifted[k].first);
                return Quaternion::Slerp(u, shifted[k].second, shifted[k + 1].second, true);
            }
        const auto& last = shifted.back();
        const auto& first = shifted.front();
        const float span = 1.0f - last.first + first.first;
        const float u = t >= last.first ? (t - last.first) / span : (t + 1.0f - last.first) / span;
        return Quaternion::Slerp(u, last.second, first.second, true);
    };
    for (int k = 0; k <= 8; ++k) keys.push_back(BoneKey{k / 8.0f, Vector3::ZERO, sample(k / 8.0f)});
    a.tracks.push_back(BoneTrack{bone, keys});
    c.skeleton.animations.push_back(a);
}

Creature ladybirdBase() {
    Creature c;
    c.skeleton.bones.push_back(BoneData{"body", -1, Vector3::ZERO});
    return c;
}

}  // namespace

Creature buildLadybird() {
    Creature c = ladybirdBase();
    MeshData body;
    // elytra: a red dome with black spots (the texture) and a seam
    ellipsoid(body, "FirstScene/Ladybird", Vector3(0, 3.4f, -0.5f), Vector3(7.4f, 6.2f, 9.8f), 8, 18, 0,
              [](const Vector3& n) { return ColourValue::White; }, 0.0f, 0.5f);
    ellipsoid(body, "FirstScene/LadybirdDark", Vector3(0, 3.4f, -0.5f), Vector3(7.0f, 1.2f, 9.4f), 2, 12, 0,
              [](const Vector3&) { return BLACK; }, 0.5f, 1.0f);
    // pronotum: black with white cheeks
    ellipsoid(body, "FirstScene/LadybirdDark", Vector3(0, 4.2f, 8.4f), Vector3(5.0f, 3.2f, 3.0f), 5, 10, 0,
              [](const Vector3& n) {
                  return std::abs(n.x) > 0.55f && n.y > 0 ? ColourValue(0.92f, 0.90f, 0.84f) : BLACK;
              });
    ellipsoid(body, "FirstScene/LadybirdDark", Vector3(0, 3.3f, 11.0f), Vector3(3.2f, 2.4f, 2.2f), 4, 8, 0,
              [](const Vector3& n) { return std::abs(n.x) > 0.6f ? ColourValue(0.9f, 0.88f, 0.8f) : BLACK; });
    limb(body, "FirstScene/LadybirdDark", {Vector3(-1.5f, 4.0f, 12.5f), Vector3(-3.0f, 5.5f, 15.0f)}, 0.3f, 0, BLACK);
    limb(body, "FirstScene/LadybirdDark", {Vector3(1.5f, 4.0f, 12.5f), Vector3(3.0f, 5.5f, 15.0f)}, 0.3f, 0, BLACK);
    // a soft shadow under the body
    const uint32_t centre = body.addVertex(MeshVertex{Vector3(0, 0.25f, 0), Vector3::UNIT_Y, Vector2(0.5f, 0.5f)});
    for (int k = 0; k < 16; ++k) {
        const float a = k * 2 * PI / 16;
        body.addVertex(MeshVertex{Vector3(std::cos(a) * 11, 0.25f, std::sin(a) * 14), Vector3::UNIT_Y,
                                  Vector2(0.5f + 0.5f * std::cos(a), 0.5f + 0.5f * std::sin(a))});
    }
    body.assignBoneFrom(centre, 0);
    for (int k = 0; k < 16; ++k) body.addTriangle("FirstScene/Shadow", centre, centre + 1 + (k + 1) % 16, centre + 1 + k);
    toLadybirdSpace(body);
    c.mesh.append(body);
    addLeg(c, {"leg_l1", "leg_left1", -1, 6.5f, 5.0f, 0.0f});
    addLeg(c, {"leg_l2", "leg_left2", -1, 1.0f, 0.5f, 0.0f});
    addLeg(c, {"leg_r1", "leg_right1", 1, 6.5f, 5.0f, 0.0f});
    addLeg(c, {"leg_r2", "leg_right2", 1, 1.0f, 0.5f, 0.0f});
    return c;
}

Creature buildLadybirdHind() {
    Creature c = ladybirdBase();
    // The scene advances left3 by 2.0 s and right3 by 0.5 s; half a cycle
    // built into both keeps the tripod gait with legs 1 and 2.
    addLeg(c, {"leg_l3", "leg_left3", -1, -4.0f, -5.0f, 0.5f});
    addLeg(c, {"leg_r3", "leg_right3", 1, -4.0f, -5.0f, 0.5f});
    return c;
}

Creature buildLadybirdTrack(const std::vector<Vector3>& walk, float speed) {
    Creature c;
    c.skeleton.bones.push_back(BoneData{"walk", -1, Vector3::ZERO});
    // a speck of geometry inside the body: the entity itself shows nothing
    for (const Vector3& v : {Vector3(-25, -44, -25), Vector3(-24.5f, -44, -25), Vector3(-25, -44, -24.5f)})
        c.mesh.addVertex(MeshVertex{v, Vector3::UNIT_Y, Vector2::ZERO, BLACK});
    c.mesh.assignBoneFrom(0, 0);
    c.mesh.addTriangle("FirstScene/LadybirdDark", 0, 2, 1);
    const int step = 5;
    const float length = (walk.size() - 1) / speed;
    AnimationData a{"walk", length, {}};
    std::vector<BoneKey> keys;
    float heading = 0;
    for (size_t i = 0; i < walk.size(); i += step) {
        const size_t j = std::min(walk.size() - 1, i + 8), k = i >= 8 ? i - 8 : 0;
        const Vector3 ahead = walk[j] - walk[k];
        heading = std::atan2(ahead.x, ahead.z);
        const Quaternion turn(Ogre::Radian(heading), Vector3::UNIT_Y);
        keys.push_back(BoneKey{i / speed, walk[i] - turn * LADYBIRD_IN_BONE, turn});
    }
    keys.back().time = std::min(keys.back().time, length);
    a.tracks.push_back(BoneTrack{0, keys});
    c.skeleton.animations.push_back(a);
    return c;
}

Creature buildDragonfly() {
    Creature c;
    c.skeleton.bones.push_back(BoneData{"thorax", -1, Vector3::ZERO});
    const ColourValue body(0.15f, 0.42f, 0.55f), eye(0.25f, 0.55f, 0.45f);
    auto plain = [](ColourValue col) { return [col](const Vector3&) { return col; }; };
    ellipsoid(c.mesh, "FirstScene/Dragonfly", Vector3(0, 0, 8), Vector3(8, 7, 14), 6, 10, 0, plain(body));
    ellipsoid(c.mesh, "FirstScene/Dragonfly", Vector3(-5, 3, 25), Vector3(6.5f, 6.5f, 6.5f), 5, 8, 0, plain(eye));
    ellipsoid(c.mesh, "FirstScene/Dragonfly", Vector3(5, 3, 25), Vector3(6.5f, 6.5f, 6.5f), 5, 8, 0, plain(eye));
    // abdomen in segments, banded
    for (int s = 0; s < 9; ++s) {
        const float z = -8 - s * 14.0f;
        const ColourValue col = s % 2 ? body : ColourValue(0.08f, 0.12f, 0.16f);
        ellipsoid(c.mesh, "FirstScene/Dragonfly", Vector3(0, 0, z), Vector3(3.4f - s * 0.15f, 3.4f - s * 0.15f, 8.5f), 4, 8, 0,
                  plain(col));
    }
    // four wings on their own bones, beating about the body axis
    struct Wing { const char* name; float side, z, length; };
    const Wing wings[] = {{"wing_fl", -1, 12, 100}, {"wing_fr", 1, 12, 100}, {"wing_bl", -1, -2, 95}, {"wing_br", 1, -2, 95}};
    AnimationData flap{"flap", 0.12f, {}};
    for (const Wing& w : wings) {
        const int bone = static_cast<int>(c.skeleton.bones.size());
        const Vector3 root(w.side * 6, 5, w.z);
        c.skeleton.bones.push_back(BoneData{w.name, 0, root});
        const uint32_t base = static_cast<uint32_t>(c.mesh.vertices.size());
        for (int i = 0; i <= 6; ++i) {
            const float f = i / 6.0f;
            const float half = 11.0f * std::sin(std::min(1.0f, f * 1.1f + 0.08f) * PI) + 2.0f;
            for (int k = 0; k < 2; ++k) {
                MeshVertex v;
                v.position = root + Vector3(w.side * w.length * f, 0.5f * f, (k ? -half : half) - f * 6);
                v.normal = Vector3::UNIT_Y;
                v.uv = Vector2(f, float(k));
                c.mesh.addVertex(v);
            }
        }
        c.mesh.assignBoneFrom(base, std::uint16_t(bone));
        for (int i = 0; i < 6; ++i) {
            const uint32_t a = base + i * 2;
            c.mesh.addTriangle("FirstScene/DragonflyWing", a, a + 1, a + 2);
            c.mesh.addTriangle("FirstScene/DragonflyWing", a + 1, a + 3, a + 2);
        }
        const float phase = w.z > 5 ? 0.0f : 0.03f;
        std::vector<BoneKey> keys;
        for (int k = 0; k <= 6; ++k) {
            const float t = k * 0.02f;
            const float angle = 38.0f * std::sin((t / 0.12f) * 2 * PI + phase * 50) * -w.side;
            keys.push_back(BoneKey{t, Vector3::ZERO, Quaternion(Degree(angle), Vector3::UNIT_Z)});
        }
        flap.tracks.push_back(BoneTrack{bone, keys});
    }
    c.skeleton.animations.push_back(flap);
    return c;
}

Creature buildSeed() {
    // A dandelion-like seed: achene, beak and a parachute of fine rays.
    Creature c;
    const ColourValue brown(0.45f, 0.32f, 0.18f), white(0.95f, 0.95f, 0.92f);
    auto plain = [](ColourValue col) { return [col](const Vector3&) { return col; }; };
    ellipsoid(c.mesh, "FirstScene/Seed", Vector3(0, -20, 0), Vector3(1.2f, 4.5f, 1.2f), 3, 5, 0, plain(brown));
    limb(c.mesh, "FirstScene/Seed", {Vector3(0, -16, 0), Vector3(0, 12, 0)}, 0.3f, 0, white);
    for (int k = 0; k < 14; ++k) {
        const float a = k * 2 * PI / 14;
        limb(c.mesh, "FirstScene/Seed", {Vector3(0, 12, 0), Vector3(std::cos(a) * 16, 20, std::sin(a) * 16)}, 0.18f, 0, white);
    }
    return c;
}

Creature buildFern() {
    // A frond curled in its binding pose; "unfurl" opens it once.
    Creature c;
    const int segments = 8;
    const float segment = 22.0f;
    const ColourValue green(0.28f, 0.50f, 0.14f), light(0.45f, 0.68f, 0.22f);
    AnimationData unfurl{"unfurl", 9.0f, {}};
    for (int b = 0; b < segments; ++b) {
        const float curl = 42.0f;
        c.skeleton.bones.push_back(BoneData{"frond" + std::to_string(b), b - 1,
                                            b == 0 ? Vector3::ZERO : Vector3(0, segment, 0),
                                            Quaternion(Degree(b == 0 ? 0 : curl), Vector3::UNIT_X)});
        const float start = b * 0.6f;
        const Quaternion open(Degree(b == 0 ? 0 : -curl + 4.0f), Vector3::UNIT_X);
        unfurl.tracks.push_back(BoneTrack{b, {BoneKey{0, Vector3::ZERO, Quaternion::IDENTITY},
                                              BoneKey{start, Vector3::ZERO, Quaternion::IDENTITY},
                                              BoneKey{std::min(9.0f, start + 4.0f), Vector3::ZERO, open},
                                              BoneKey{9.0f, Vector3::ZERO, open}}});
    }
    // The geometry follows the curled binding pose: each segment is built in
    // its bone's space and moved by the bone's pose.
    Quaternion turn = Quaternion::IDENTITY;
    Vector3 at = Vector3::ZERO;
    for (int b = 0; b < segments; ++b) {
        if (b > 0) {
            at += turn * Vector3(0, segment, 0);
            turn = turn * c.skeleton.bones[b].orientation;
        }
        const float taper = 1.0f - b / float(segments + 1);
        MeshData local;
        limb(local, "FirstScene/Fern", {Vector3(0, 0, 0), Vector3(0, segment, 0)}, 1.6f * taper, b, green);
        const uint32_t leaflets = static_cast<uint32_t>(local.vertices.size());
        for (int side = -1; side <= 1; side += 2) {
            const uint32_t base = static_cast<uint32_t>(local.vertices.size());
            const float len = 34.0f * taper;
            const Vector3 pts[] = {Vector3(0, 4, 0), Vector3(side * len, 10, 0), Vector3(0, 16, 0),
                                   Vector3(side * len * 0.6f, 12, 3)};
            for (const Vector3& p : pts)
                local.addVertex(MeshVertex{p, Vector3::UNIT_Z, Vector2(p.x / 40 + 0.5f, p.y / 40), light});
            local.addTriangle("FirstScene/Fern", base, base + 1, base + 2);
            local.addTriangle("FirstScene/Fern", base, base + 3, base + 1);
        }
        local.assignBoneFrom(leaflets, std::uint16_t(b));
        Ogre::Matrix4 pose;
        pose.makeTransform(at, Vector3::UNIT_SCALE, turn);
        c.mesh.append(local, pose);
    }
    c.skeleton.animations.push_back(unfurl);
    return c;
}

}  // namespace FirstWorld
