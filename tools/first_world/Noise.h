#ifndef MOSSDEN_TOOLS_FIRST_WORLD_NOISE_H
#define MOSSDEN_TOOLS_FIRST_WORLD_NOISE_H

// Deterministic randomness for the world: a seeded generator with the same
// sequence on every machine (no std:: distributions, whose output is
// implementation-defined) and smooth value noise.
#include <cmath>
#include <cstdint>

namespace FirstWorld {

class Random {
public:
    explicit Random(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<uint32_t>(state >> 16);
    }
    float unit() { return (next() & 0xFFFFFF) / float(0x1000000); }        // 0..1
    float range(float lo, float hi) { return lo + (hi - lo) * unit(); }

private:
    uint64_t state;
};

inline float hashUnit(int x, int y, int z, uint32_t seed) {
    uint32_t h = seed ^ (uint32_t(x) * 0x8da6b343u) ^ (uint32_t(y) * 0xd8163841u) ^
                 (uint32_t(z) * 0xcb1ab31fu);
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return (h & 0xFFFFFF) / float(0x1000000);
}

// Smooth value noise in 0..1.
inline float valueNoise(float x, float y, float z, uint32_t seed) {
    const int xi = int(std::floor(x)), yi = int(std::floor(y)), zi = int(std::floor(z));
    float fx = x - xi, fy = y - yi, fz = z - zi;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    fz = fz * fz * (3 - 2 * fz);
    auto lerp = [](float a, float b, float t) { return a + (b - a) * t; };
    float c[2][2][2];
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            for (int k = 0; k < 2; ++k) c[i][j][k] = hashUnit(xi + i, yi + j, zi + k, seed);
    const float x00 = lerp(c[0][0][0], c[1][0][0], fx), x10 = lerp(c[0][1][0], c[1][1][0], fx);
    const float x01 = lerp(c[0][0][1], c[1][0][1], fx), x11 = lerp(c[0][1][1], c[1][1][1], fx);
    return lerp(lerp(x00, x10, fy), lerp(x01, x11, fy), fz);
}

// Fractal sum of octaves, about 0..1.
inline float fbm(float x, float y, float z, uint32_t seed, int octaves = 4) {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * valueNoise(x, y, z, seed + o * 101);
        norm += amp;
        x *= 2.03f;
        y *= 2.03f;
        z *= 2.03f;
        amp *= 0.5f;
    }
    return sum / norm;
}

// Tileable 2D fractal noise on a period of `period` cells.
inline float tileNoise(float x, float y, int period, uint32_t seed, int octaves = 4) {
    float sum = 0, amp = 0.5f, norm = 0;
    int p = period;
    for (int o = 0; o < octaves; ++o) {
        const int xi = int(std::floor(x)), yi = int(std::floor(y));
        float fx = x - xi, fy = y - yi;
        fx = fx * fx * (3 - 2 * fx);
        fy = fy * fy * (3 - 2 * fy);
        auto h = [&](int a, int b) {
            return hashUnit(((a % p) + p) % p, ((b % p) + p) % p, o, seed);
        };
        const float a = h(xi, yi) + (h(xi + 1, yi) - h(xi, yi)) * fx;
        const float b = h(xi, yi + 1) + (h(xi + 1, yi + 1) - h(xi, yi + 1)) * fx;
        sum += amp * (a + (b - a) * fy);
        norm += amp;
        x *= 2;
        y *= 2;
        p *= 2;
        amp *= 0.5f;
    }
    return sum / norm;
}

}  // namespace FirstWorld

#endif
