#include "Textures.h"

#include <OgreVector.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "RockShape.h"
#include "mediagen/Noise.h"
#include "mediagen/Random.h"

namespace ThirdWorld {

const std::array<std::string, 6> SKY_SUFFIXES = {"_rt", "_lf", "_up", "_dn", "_fr", "_bk"};

MediaGen::Image rockDetail(int size) {
    const MediaGen::Noise grain(11), cracks(12);
    MediaGen::Image image(size, size);
    image.fill([&](float u, float v) {
        const float g = grain.fbmTiled(u * 8, v * 8, 8, 8, 5, 0.55f);
        // Thin dark lines where a second noise crosses zero.
        const float c = std::abs(cracks.fbmTiled(u * 4, v * 4, 4, 4, 3));
        const float crack = std::clamp(c * 14.0f, 0.0f, 1.0f);
        const float value = std::clamp(0.82f + 0.16f * g, 0.0f, 1.0f) * (0.6f + 0.4f * crack);
        return MediaGen::Rgba{value, value, value, 1};
    });
    return image;
}

MediaGen::Image fogPuff(int size) {
    const MediaGen::Noise wisps(21);
    MediaGen::Image image(size, size);
    image.fill([&](float u, float v) {
        const float dx = u - 0.5f, dy = v - 0.5f;
        const float r = std::sqrt(dx * dx + dy * dy) * 2;
        const float falloff = std::clamp(1 - r, 0.0f, 1.0f);
        const float n = 0.6f + 0.4f * wisps.fbm(u * 5, v * 5, 0.3f, 4);
        const float a = std::clamp(falloff * falloff * n, 0.0f, 1.0f) * 0.55f;
        return MediaGen::Rgba{1, 1, 1, a};
    });
    return image;
}

MediaGen::Image butterfly(int size) {
    MediaGen::Image image(size, size);
    image.fill([&](float u, float v) {
        const float x = std::abs(u - 0.5f) * 2, y = (v - 0.5f) * 2;  // x: out from the body
        // Two lobes a side: the fore wing above, the hind wing below.
        auto lobe = [&](float cx, float cy, float rx, float ry) {
            const float dx = (x - cx) / rx, dy = (y - cy) / ry;
            return std::clamp(1.2f - std::sqrt(dx * dx + dy * dy), 0.0f, 1.0f);
        };
        const float wing = std::max(lobe(0.5f, -0.3f, 0.45f, 0.38f), 0.85f * lobe(0.42f, 0.35f, 0.35f, 0.33f));
        const float body = std::clamp(1.0f - std::abs(x) / 0.07f, 0.0f, 1.0f) * (std::abs(y) < 0.55f ? 1.0f : 0.0f);
        const float vein = 0.75f + 0.25f * std::cos(std::atan2(y, x) * 9.0f);
        const float a = std::clamp(std::max(wing * vein, body), 0.0f, 1.0f);
        return MediaGen::Rgba{1, 1, 1, a};
    });
    return image;
}

MediaGen::Image spark(int size) {
    MediaGen::Image image(size, size);
    image.fill([&](float u, float v) {
        const float dx = u - 0.5f, dy = v - 0.5f;
        const float r = std::sqrt(dx * dx + dy * dy) * 2;
        const float a = std::exp(-r * r * 6.0f) * std::clamp(1 - r, 0.0f, 1.0f);
        return MediaGen::Rgba{1, 1, 1, a};
    });
    return image;
}

namespace {

// Direction through pixel (s, t) of a cube face, s and t in [-1, 1],
// t growing downwards, in the usual cube-map layout.
Ogre::Vector3 faceDirection(int face, float s, float t) {
    switch (face) {
    case 0: return Ogre::Vector3(1, -t, -s);
    case 1: return Ogre::Vector3(-1, -t, s);
    case 2: return Ogre::Vector3(s, 1, t);
    case 3: return Ogre::Vector3(s, -1, -t);
    case 4: return Ogre::Vector3(s, -t, 1);
    default: return Ogre::Vector3(-s, -t, -1);
    }
}

// Inverse of faceDirection for the face that d points into: pixel
// coordinates (x, y) in [0, size).
bool faceCoordinates(int face, const Ogre::Vector3& d, int size, float& x, float& y) {
    const Ogre::Vector3 a(std::abs(d.x), std::abs(d.y), std::abs(d.z));
    int major;
    if (a.x >= a.y && a.x >= a.z)
        major = d.x > 0 ? 0 : 1;
    else if (a.y >= a.z)
        major = d.y > 0 ? 2 : 3;
    else
        major = d.z > 0 ? 4 : 5;
    if (major != face) return false;
    float s, t;
    switch (face) {
    case 0: s = -d.z / a.x; t = -d.y / a.x; break;
    case 1: s = d.z / a.x; t = -d.y / a.x; break;
    case 2: s = d.x / a.y; t = d.z / a.y; break;
    case 3: s = d.x / a.y; t = -d.z / a.y; break;
    case 4: s = d.x / a.z; t = -d.y / a.z; break;
    default: s = -d.x / a.z; t = -d.y / a.z; break;
    }
    x = (s + 1) * 0.5f * size - 0.5f;
    y = (t + 1) * 0.5f * size - 0.5f;
    return true;
}

// The plane of the star band: tilted so it crosses the view out of the
// mouth at an angle.
const Ogre::Vector3 BAND_NORMAL = Ogre::Vector3(0.35f, 0.85f, 0.4f).normalisedCopy();

}  // namespace

// The nebula's colour in direction d: deep violet clouds with teal edges,
// very dim, so that the field stays dark.
Ogre::ColourValue nebulaColour(const Ogre::Vector3& d) {
    static const MediaGen::Noise cloud(31), veil(32);
    const float band = std::exp(-std::pow(d.dotProduct(BAND_NORMAL) / 0.28f, 2.0f));
    const Ogre::Vector3 q = d * 2.2f;
    const float n = 0.5f + 0.5f * cloud.fbm(q.x, q.y, q.z, 5);
    const float w = 0.5f + 0.5f * veil.fbm(q.x * 1.7f + 5, q.y * 1.7f, q.z * 1.7f, 4);
    const float density = std::clamp(std::pow(n, 3.0f) * (0.35f + 0.9f * band), 0.0f, 1.0f);
    return Ogre::ColourValue(0.17f * density * (0.6f + 0.4f * w) + 0.005f,
                             0.05f * density + 0.1f * density * (1 - w) + 0.005f, 0.24f * density + 0.008f);
}

// Stars: many faint, few bright, more of them along the band.
std::vector<Star> stars() {
    std::vector<Star> out;
    MediaGen::Random random(41);
    for (int i = 0; i < 70000; ++i) {
        const Ogre::Vector3 d = randomDirection(random);
        const float bandWeight = std::exp(-std::pow(d.dotProduct(BAND_NORMAL) / 0.22f, 2.0f));
        const double magnitude = random.uniform();
        const double keep = random.uniform();
        const double temperature = random.uniform();
        if (keep > 0.35 + 0.65 * bandWeight) continue;
        Star star;
        star.direction = d;
        star.brightness = float(0.1 + 0.9 * std::pow(magnitude, 7.0));
        star.colour = temperature < 0.2    ? Ogre::ColourValue(1.0f, 0.78f, 0.6f)
                      : temperature < 0.45 ? Ogre::ColourValue(0.7f, 0.8f, 1.0f)
                                           : Ogre::ColourValue(1, 1, 1);
        star.radius = 0.55f + 1.1f * float(std::pow(magnitude, 12.0));
        out.push_back(star);
    }
    return out;
}

MediaGen::Image skyFace(int face, int size) {
    MediaGen::Image image(size, size, {0, 0, 0, 1});
    image.fill([&](float u, float v) {
        const Ogre::ColourValue c = nebulaColour(faceDirection(face, u * 2 - 1, v * 2 - 1).normalisedCopy());
        return MediaGen::Rgba{c.r, c.g, c.b, 1};
    });
    // The stars, splatted into the face they fall on (a radius is in texels).
    for (const Star& star : stars()) {
        float x, y;
        if (!faceCoordinates(face, star.direction, size, x, y)) continue;
        const int x0 = int(std::floor(x - 3)), y0 = int(std::floor(y - 3));
        for (int py = y0; py <= y0 + 6; ++py)
            for (int px = x0; px <= x0 + 6; ++px) {
                if (px < 0 || py < 0 || px >= size || py >= size) continue;
                const float dx = px - x, dy = py - y;
                const float w = star.brightness * std::exp(-(dx * dx + dy * dy) / (star.radius * star.radius));
                MediaGen::Rgba& p = image.at(px, py);
                p.r = std::min(1.0f, p.r + star.colour.r * w);
                p.g = std::min(1.0f, p.g + star.colour.g * w);
                p.b = std::min(1.0f, p.b + star.colour.b * w);
            }
    }
    return image;
}

// The engine's sky box showed the face made for +Z at -Z (its front), and
// so every face: the sky seen in direction d is the one made for d with z
// turned over. Its own inverse.
Ogre::Vector3 fromBox(const Ogre::Vector3& d) { return Ogre::Vector3(d.x, d.y, -d.z); }

MediaGen::MeshData skyMesh() {
    constexpr float RADIUS = 50000;
    constexpr int SEGMENTS = 96, RINGS = 48;
    // The dark between the clouds is the window's clear colour: the sphere
    // is open where the nebula is below DARK in every channel, and the
    // nebula's colour is lowered by DARK onto SKY_BACKGROUND so that it
    // meets the clear colour there without a step.
    constexpr float DARK = 0.035f;
    constexpr float PI = 3.14159265f;
    MediaGen::MeshData mesh;
    mesh.hasColours = true;
    auto vertex = [&](const Ogre::Vector3& d, const Ogre::ColourValue& c) {
        MediaGen::MeshVertex v;
        v.position = d * RADIUS;
        v.normal = -d;
        v.colour = c;
        return mesh.addVertex(v);
    };
    std::vector<bool> dark;
    for (int r = 0; r <= RINGS; ++r)
        for (int k = 0; k <= SEGMENTS; ++k) {
            const float e = PI * (float(r) / RINGS - 0.5f), a = 2 * PI * float(k) / SEGMENTS;
            const Ogre::Vector3 d(std::cos(e) * std::cos(a), std::sin(e), std::cos(e) * std::sin(a));
            Ogre::ColourValue c = nebulaColour(fromBox(d)) - Ogre::ColourValue(DARK, DARK, DARK, 0);
            dark.push_back(std::max({c.r, c.g, c.b}) <= 0);
            c.saturate();
            c += SKY_BACKGROUND;
            c.a = 1;
            vertex(d, c);
        }
    for (int r = 0; r < RINGS; ++r)
        for (int k = 0; k < SEGMENTS; ++k) {
            const auto a = std::uint32_t(r * (SEGMENTS + 1) + k), b = a + SEGMENTS + 1;
            if (dark[a] && dark[a + 1] && dark[b] && dark[b + 1]) continue;
            mesh.addQuad("Third/SkyDome", a, b, b + 1, a + 1);
        }
    // On the faces a star was a soft spot of its brightness, `radius`
    // texels of about 1.5 pixels each at 1024x768 across: each becomes a
    // soft sprite of about that size (the materials' point sizes).
    for (const Star& star : stars()) {
        if (star.brightness < 0.115f) continue;  // the faintest half: the background's glow
        Ogre::ColourValue c = star.colour * star.brightness;
        c.a = 1;
        const char* material = star.radius < 0.62f  ? "Third/Stars"
                               : star.radius < 1.0f ? "Third/BrightStars"
                                                    : "Third/BrightestStars";
        mesh.addPoint(material, vertex(fromBox(star.direction) * 0.98f, c));
    }
    return mesh;
}

}  // namespace ThirdWorld
