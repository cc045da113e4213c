// Small sprites: "indicator.png", the third scene's mark that a flight is
// possible (a ring with four inward ticks, soft glow), drawn again at twice
// and three times the size as "indicator_2x.png" and "indicator_3x.png" for
// larger windows (menu/InterfaceScale.h), and "spiral.png",
// the two-armed swirl that the "spiral" particles turn and grow.
#include <algorithm>
#include <cmath>

#include "mediagen/Generator.h"
#include "mediagen/Image.h"

using namespace MediaGen;

namespace {

constexpr float PI = 3.14159265f;

// scale: 1 for the picture shown at 48 pixels in a 768-pixel-high window.
Image makeIndicator(int scale) {
    const int size = 64 * scale;
    const float c = size / 2.0f;
    const float s = static_cast<float>(scale);
    Image img(size, size, {1, 1, 1, 0});
    const Rgba glow{0.75f, 1.0f, 0.7f, 0.22f}, line{0.92f, 1.0f, 0.85f, 0.95f};
    img.ring(c, c, 20 * s, 9 * s, glow);
    img.ring(c, c, 20 * s, 2.6f * s, line);
    for (int k = 0; k < 4; ++k) {
        const float a = k * PI / 2;
        for (float r = 9 * s; r <= 15 * s; r += 0.25f)
            img.disc(c + r * std::cos(a), c + r * std::sin(a), 1.2f * s, line);
    }
    img.disc(c, c, 1.6f * s, line);
    return img;
}

Image makeSpiral() {
    const int size = 128;
    Image img(size, size);
    img.fill([](float u, float v) {
        const float x = 2 * u - 1, y = 2 * v - 1;
        const float r = std::sqrt(x * x + y * y);
        const float theta = std::atan2(y, x);
        // Two logarithmic arms: brightest where the angle matches log(r).
        const float arm = 0.5f + 0.5f * std::cos(2 * theta - 5.5f * std::log(r + 0.05f));
        const float edge = std::clamp(1 - r, 0.0f, 1.0f);
        const float core = std::exp(-r * r * 18);
        const float a = std::clamp(std::pow(arm, 3.0f) * edge * edge * 1.2f + core, 0.0f, 1.0f);
        // Premultiplied: the material adds the colour, so the shape must be
        // in the colour too; the particles' colours tint it.
        return Rgba{a, a, a, a};
    });
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        makeIndicator(1).writePng(out.path("textures/indicator.png"));
        makeIndicator(2).writePng(out.path("textures/indicator_2x.png"));
        makeIndicator(3).writePng(out.path("textures/indicator_3x.png"));
        makeSpiral().writePng(out.path("textures/spiral.png"));
    });
}
