#include "Textures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>

#include "mediagen/Generator.h"
#include "mediagen/Image.h"
#include "mediagen/Noise.h"
#include "World.h"

namespace FirstWorld {

namespace {

constexpr float PI = 3.14159265f;

float clamp01(float x) { return std::clamp(x, 0.0f, 1.0f); }

// The shared gradient noise's tiling fractal sum (repeating every `period`
// units) moved into 0..1 with the spread the shades here were tuned for.
// Gradient noise is zero on its lattice, which texels at whole or half
// units would hit in a grid: the samples are shifted off it.
float tileNoise(float x, float y, int period, std::uint64_t seed, int octaves) {
    static std::map<std::uint64_t, MediaGen::Noise> bySeed;  // one table per seed, built once
    const MediaGen::Noise& noise = bySeed.try_emplace(seed, seed).first->second;
    return 0.5f + 0.75f * noise.fbmTiled(x + 0.31f, y + 0.17f, period, period, octaves);
}

void put(MediaGen::Image& image, int x, int y, float r, float g, float b, float a = 1.0f) {
    image.at(x, y) = {clamp01(r), clamp01(g), clamp01(b), clamp01(a)};
}

// Writes `name`.png and `name`_mean.png, one texel of its mean colour, which
// the materials sample at a distance instead of the whole picture.
void writeWithMean(const MediaGen::Image& p, MediaGen::Output& out, const std::string& name) {
    p.writePng(out.path("textures/" + name + ".png"));
    p.mean().writePng(out.path("textures/" + name + "_mean.png"));
}

// Tileable moss: fine fronds of light and dark with tiny bright tips.
void moss(MediaGen::Output& out) {
    MediaGen::Image p(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const float u = x / 16.0f, v = y / 16.0f;
            const float coarse = tileNoise(u, v, 16, 1, 3);
            const float fine = tileNoise(u * 4, v * 4, 64, 2, 2);
            const float tips = tileNoise(u * 8, v * 8, 128, 3, 1);
            float l = 0.55f + 0.5f * (coarse - 0.5f) + 0.6f * (fine - 0.5f);
            l += tips > 0.8f ? 0.35f : 0.0f;
            put(p, x, y, clamp01(l * 0.95f), clamp01(l * 1.05f), clamp01(l * 0.75f));
        }
    writeWithMean(p, out, "first_moss");
}

// Stem: vertical fibres and faint rings.
void bark(MediaGen::Output& out) {
    MediaGen::Image p(128, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 128; ++x) {
            const float fibre = tileNoise(x / 4.0f, y / 64.0f, 32, 5, 3);
            const float ring = 0.5f + 0.5f * std::sin(y * 2 * PI / 64.0f);
            const float l = 0.7f + 0.4f * (fibre - 0.5f) - 0.08f * ring;
            put(p, x, y, clamp01(l), clamp01(l * 1.02f), clamp01(l * 0.85f));
        }
    writeWithMean(p, out, "first_stem");
}

// Leaf: midrib along v, side veins, mottled blade.
void leaf(MediaGen::Output& out) {
    MediaGen::Image p(128, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 128; ++x) {
            const float s = x / 127.0f * 2 - 1, f = y / 255.0f;
            const float rib = std::exp(-std::pow(s / 0.04f, 2.0f));
            const float vein = std::pow(std::abs(std::sin((f * 18 - std::abs(s) * 2.5f) * PI)), 24.0f);
            const float mottle = tileNoise(x / 16.0f, y / 16.0f, 8, 7, 3);
            const float l = 0.72f + 0.3f * (mottle - 0.5f) + 0.28f * rib + 0.12f * vein;
            put(p, x, y, clamp01(l * 0.95f), clamp01(l), clamp01(l * 0.7f));
        }
    writeWithMean(p, out, "first_leaf");
}

// Grass blade: long streaks.
void grass(MediaGen::Output& out) {
    MediaGen::Image p(32, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 32; ++x) {
            const float streak = tileNoise(x / 2.0f, y / 128.0f, 16, 9, 2);
            const float l = 0.75f + 0.45f * (streak - 0.5f);
            put(p, x, y, clamp01(l), clamp01(l), clamp01(l * 0.8f));
        }
    writeWithMean(p, out, "first_grass");
}

// Elytra: red with seven black spots, mirrored about the seam.
void ladybird(MediaGen::Output& out) {
    MediaGen::Image p(256, 128);
    struct Spot { float s, f, r; };
    const Spot spots[] = {{0.25f, 0.1f, 0.09f}, {0.10f, 0.55f, 0.07f}, {0.03f, 0.85f, 0.06f},
                          {0.18f, 0.80f, 0.05f}};
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x) {
            const float s = x / 255.0f, f = y / 127.0f;
            float dark = 0;
            for (const Spot& sp : spots)
                for (float mirror : {sp.s, 0.5f - sp.s, 1.0f - sp.s + 0.0f, 0.5f + sp.s}) {
                    float ds = std::abs(s - mirror);
                    ds = std::min(ds, 1.0f - ds);
                    const float d = std::sqrt(ds * ds * 4.0f + (f - sp.f) * (f - sp.f));
                    dark = std::max(dark, clamp01((sp.r - d) / 0.01f));
                }
            float seam = std::min(std::abs(s - 0.25f), std::abs(s - 0.75f));
            dark = std::max(dark, clamp01((0.006f - seam) / 0.004f));
            const float sheen = 0.85f + 0.15f * tileNoise(x / 32.0f, y / 16.0f, 8, 13, 2);
            put(p, x, y, (0.86f * (1 - dark) + 0.05f * dark) * sheen, (0.10f * (1 - dark) + 0.04f * dark) * sheen,
                  (0.06f * (1 - dark) + 0.04f * dark) * sheen);
        }
    p.writePng(out.path("textures/first_ladybird.png"));
}

// Dragonfly wing: clear membrane with a net of veins, alpha for the glass.
void wing(MediaGen::Output& out) {
    MediaGen::Image p(128, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 128; ++x) {
            const float cells = tileNoise(x / 6.0f, y / 6.0f, 32, 17, 1);
            const float vein = (std::abs(cells - 0.5f) < 0.03f || y == 16 || x % 21 == 0) ? 1.0f : 0.0f;
            const float a = 0.25f + 0.6f * vein + (x > 110 && y > 8 && y < 24 ? 0.5f : 0.0f);
            put(p, x, y, 0.75f - 0.5f * vein, 0.85f - 0.5f * vein, 0.9f - 0.5f * vein, clamp01(a));
        }
    p.writePng(out.path("textures/first_wing.png"));
}

// Soft round shadow: alpha falls off from the centre.
void shadow(MediaGen::Output& out) {
    MediaGen::Image p(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const float d = std::hypot(x - 31.5f, y - 31.5f) / 32.0f;
            put(p, x, y, 0, 0, 0, clamp01(0.65f * (1 - d * d)));
        }
    p.writePng(out.path("textures/first_shadow.png"));
}

// Earth of the burrow: clods and roots.
void earth(MediaGen::Output& out) {
    MediaGen::Image p(128, 128);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const float clod = tileNoise(x / 16.0f, y / 16.0f, 8, 19, 4);
            const float root = std::abs(tileNoise(x / 32.0f, y / 8.0f, 4, 23, 2) - 0.5f) < 0.02f ? 0.3f : 0;
            const float l = 0.55f + 0.6f * (clod - 0.5f) + root;
            put(p, x, y, clamp01(l), clamp01(l * 0.85f), clamp01(l * 0.65f));
        }
    p.writePng(out.path("textures/second_earth.png"));
}

// The sky box the game drew before its sky became a mesh (skyColour on six
// faces), kept for the fill-cost bench's baseline only: it is written
// beside the media, not into the game's textures.
void benchSky(MediaGen::Output& out) {
    const char* faces[] = {"fr", "bk", "lf", "rt", "up", "dn"};
    for (int face = 0; face < 6; ++face) {
        MediaGen::Image p(128, 128);
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x) {
                const float u = x / 63.5f - 1, v = y / 63.5f - 1;
                float elevation;
                if (face == 4) elevation = std::atan2(1.0f, std::hypot(u, v));
                else if (face == 5) elevation = -std::atan2(1.0f, std::hypot(u, v));
                else elevation = std::atan2(-v, std::hypot(u, 1.0f));
                const Ogre::ColourValue c = skyColour(elevation);
                put(p, x, y, c.r, c.g, c.b);
            }
        p.writePng(out.path(std::string("bench/first_sky_") + faces[face] + ".png"));
    }
}

}  // namespace

void writeTextures(MediaGen::Output& out) {
    moss(out);
    bark(out);
    leaf(out);
    grass(out);
    ladybird(out);
    wing(out);
    shadow(out);
    earth(out);
    benchSky(out);
}

}  // namespace FirstWorld
