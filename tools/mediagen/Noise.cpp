#include "mediagen/Noise.h"

#include <cmath>

#include "mediagen/Random.h"

namespace MediaGen {

namespace {

float fade(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }
float lerp(float a, float b, float t) { return a + (b - a) * t; }

float grad(int hash, float x, float y, float z) {
    const int h = hash & 15;
    const float u = h < 8 ? x : y;
    const float v = h < 4 ? y : (h == 12 || h == 14 ? x : z);
    return ((h & 1) ? -u : u) + ((h & 2) ? -v : v);
}

int wrap(int i, int period) {
    if (period <= 0) return i & 255;
    const int m = i % period;
    return (m < 0 ? m + period : m) & 255;
}

}  // namespace

Noise::Noise(std::uint64_t seed) {
    Random rng(seed);
    std::array<std::uint8_t, 256> p{};
    for (int i = 0; i < 256; ++i) p[i] = std::uint8_t(i);
    for (int i = 255; i > 0; --i) {
        const int j = rng.below(i + 1);
        std::swap(p[i], p[j]);
    }
    for (int i = 0; i < 512; ++i) perm[i] = p[i & 255];
}

float Noise::lattice(int xi, int yi, int zi, float xf, float yf, float zf, int px,
                     int py) const {
    const int x0 = wrap(xi, px), x1 = wrap(xi + 1, px);
    const int y0 = wrap(yi, py), y1 = wrap(yi + 1, py);
    const int z0 = zi & 255, z1 = (zi + 1) & 255;
    auto h = [&](int x, int y, int z) { return perm[perm[perm[x] + y] + z]; };
    const float u = fade(xf), v = fade(yf), w = fade(zf);
    const float a = lerp(grad(h(x0, y0, z0), xf, yf, zf), grad(h(x1, y0, z0), xf - 1, yf, zf), u);
    const float b =
        lerp(grad(h(x0, y1, z0), xf, yf - 1, zf), grad(h(x1, y1, z0), xf - 1, yf - 1, zf), u);
    const float c =
        lerp(grad(h(x0, y0, z1), xf, yf, zf - 1), grad(h(x1, y0, z1), xf - 1, yf, zf - 1), u);
    const float d = lerp(grad(h(x0, y1, z1), xf, yf - 1, zf - 1),
                         grad(h(x1, y1, z1), xf - 1, yf - 1, zf - 1), u);
    return lerp(lerp(a, b, v), lerp(c, d, v), w);
}

float Noise::at(float x, float y, float z) const {
    const float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    return lattice(int(fx), int(fy), int(fz), x - fx, y - fy, z - fz, 0, 0);
}

float Noise::tiled(float x, float y, int periodX, int periodY) const {
    const float fx = std::floor(x), fy = std::floor(y);
    return lattice(int(fx), int(fy), 0, x - fx, y - fy, 0.5f, periodX, periodY);
}

float Noise::fbm(float x, float y, float z, int octaves, float gain) const {
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * at(x, y, z);
        norm += amp;
        amp *= gain;
        x *= 2;
        y *= 2;
        z *= 2;
    }
    return norm > 0 ? sum / norm : 0.0f;
}

float Noise::fbmTiled(float x, float y, int periodX, int periodY, int octaves, float gain) const {
    float sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * tiled(x, y, periodX, periodY);
        norm += amp;
        amp *= gain;
        x *= 2;
        y *= 2;
        periodX *= 2;
        periodY *= 2;
    }
    return norm > 0 ? sum / norm : 0.0f;
}

}  // namespace MediaGen
