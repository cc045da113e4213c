#ifndef MOSSDEN_TOOLS_MEDIAGEN_NOISE_H
#define MOSSDEN_TOOLS_MEDIAGEN_NOISE_H

// Seeded gradient noise (Perlin's improved noise with a seeded permutation)
// for textures and geometry displacement. Values lie roughly in [-1, 1].
#include <array>
#include <cstdint>

namespace MediaGen {

class Noise {
public:
    explicit Noise(std::uint64_t seed);

    float at(float x, float y, float z) const;
    float at(float x, float y) const { return at(x, y, 0.5f); }
    // Noise that repeats every `period` units along x and y (period >= 1,
    // whole numbers): for textures that tile without a seam.
    float tiled(float x, float y, int periodX, int periodY) const;

    // Fractal sum of `octaves` layers, each at twice the frequency and
    // `gain` times the amplitude of the previous; normalised to about [-1, 1].
    float fbm(float x, float y, float z, int octaves, float gain = 0.5f) const;
    float fbmTiled(float x, float y, int periodX, int periodY, int octaves,
                   float gain = 0.5f) const;

private:
    float lattice(int xi, int yi, int zi, float xf, float yf, float zf, int px, int py) const;

    std::array<std::uint8_t, 512> perm{};
};

}  // namespace MediaGen

#endif
