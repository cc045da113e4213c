#ifndef MOSSDEN_TOOLS_MEDIAGEN_RANDOM_H
#define MOSSDEN_TOOLS_MEDIAGEN_RANDOM_H

// Deterministic random numbers for generators. The standard distributions
// are implementation-defined, so everything here is computed by hand from a
// 64-bit SplitMix stream: the same seed gives the same numbers on every
// compiler and library.
#include <cmath>
#include <cstdint>

namespace MediaGen {

class Random {
public:
    explicit Random(std::uint64_t seed) : state(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform in [lo, hi).
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    // Uniform in [-1, 1): the usual white-noise sample.
    float bipolar() { return float(2.0 * uniform() - 1.0); }
    // Uniform integer in [0, n); n > 0.
    int below(int n) { return int(uniform() * n); }
    bool chance(double p) { return uniform() < p; }
    // Standard normal (Box-Muller, one value per call).
    double normal() {
        double u1 = uniform();
        if (u1 < 1e-300) u1 = 1e-300;
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * uniform());
    }
    // A new independent stream, so that adding draws to one part of a
    // generator does not shift the numbers another part sees.
    Random fork(std::uint64_t salt) { return Random(next() ^ (salt * 0xD1B54A32D192ED03ULL)); }

private:
    std::uint64_t state;
};

}  // namespace MediaGen

#endif
