#include "RockMesh.h"

#include <algorithm>
#include <cmath>

#include "SurfaceNets.h"
#include "mediagen/Noise.h"

namespace ThirdWorld {

namespace {

// World units per repeat of the rock detail texture.
constexpr float TEXTURE_SPAN = 220.0f;

Ogre::Vector2 boxProjection(const Ogre::Vector3& p, const Ogre::Vector3& n) {
    const Ogre::Vector3 a(std::abs(n.x), std::abs(n.y), std::abs(n.z));
    if (a.x >= a.y && a.x >= a.z) return Ogre::Vector2(p.z, p.y) / TEXTURE_SPAN;
    if (a.y >= a.z) return Ogre::Vector2(p.x, p.z) / TEXTURE_SPAN;
    return Ogre::Vector2(p.x, p.y) / TEXTURE_SPAN;
}

Ogre::ColourValue crystalHue(std::uint64_t seed) {
    static const Ogre::ColourValue hues[] = {
        Ogre::ColourValue(0.35f, 0.85f, 1.0f), Ogre::ColourValue(0.72f, 0.48f, 1.0f),
        Ogre::ColourValue(0.45f, 1.0f, 0.7f), Ogre::ColourValue(1.0f, 0.62f, 0.3f)};
    return hues[seed % 4];
}

}  // namespace

MediaGen::MeshData buildRockMesh(const RockPiece& rock) {
    const RockShape shape(rock.params);
    const auto field = [&](const Ogre::Vector3& p) { return shape.distance(p); };
    Surface surface = polygonise(field, shape.extent(), rock.gridCells);
    relax(surface, field, 3, shape.extent() * 2 / rock.gridCells * 0.05);

    const MediaGen::Noise tint(rock.params.seed * 31 + 7);
    const bool glowing = rock.params.form == RockForm::CrystalCluster;
    const Ogre::ColourValue hue = glowing ? Ogre::ColourValue(1.0f, 0.5f, 0.12f) : crystalHue(rock.params.seed);
    const Ogre::ColourValue stoneA(0.42f, 0.40f, 0.43f), stoneB(0.50f, 0.42f, 0.35f), moss(0.22f, 0.38f, 0.12f);

    MediaGen::MeshData mesh;
    mesh.hasColours = true;
    std::vector<bool> crystal(surface.positions.size());
    for (std::size_t i = 0; i < surface.positions.size(); ++i) {
        const Ogre::Vector3& p = surface.positions[i];
        const Ogre::Vector3 n = shape.normal(p);
        const std::uint32_t v = mesh.addVertex(p, n, boxProjection(p, n));
        crystal[i] = shape.isCrystal(p);
        const Ogre::Vector3 q = p * (3.0f / float(rock.params.radius));
        const float t = 0.5f + 0.5f * tint.fbm(q.x, q.y, q.z, 3);
        Ogre::ColourValue c;
        if (crystal[i]) {
            c = hue * (0.65f + 0.35f * t);
        } else {
            c = stoneA + (stoneB - stoneA) * t;
            c = c + (moss - c) * float(0.85 * shape.moss(p));
            // Hollows (craters, tunnels) get less light from around.
            c = c * float(0.35 + 0.65 * shape.openness(p, n));
        }
        c.a = 1;
        mesh.vertices[v].colour = c;
    }
    for (std::size_t t = 0; t < surface.indices.size(); t += 3) {
        const std::uint32_t a = surface.indices[t], b = surface.indices[t + 1], c = surface.indices[t + 2];
        const bool isCrystal = int(crystal[a]) + int(crystal[b]) + int(crystal[c]) >= 2;
        mesh.addTriangle(isCrystal ? rock.crystalMaterial : rock.material, a, b, c);
    }
    return mesh;
}

}  // namespace ThirdWorld
