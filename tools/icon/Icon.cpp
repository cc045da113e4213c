// The desktop icon: a moss-green disc with a small red ladybird shell.
//   mossden_gen_icon <folder>   writes <folder>/mossden.png (256 x 256)
#include <algorithm>
#include <cmath>
#include <functional>

#include "mediagen/Generator.h"
#include "mediagen/Image.h"

using MediaGen::Image;
using MediaGen::Rgba;

namespace {

constexpr int SIZE = 256;

Rgba hex(unsigned rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, 1.0f};
}

// Blends c over every pixel by the share of 4 x 4 samples inside `shape`
// (coordinates in pixels, pixel centres at whole numbers plus one half).
void fill(Image& image, const std::function<bool(float, float)>& shape, const Rgba& c) {
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x) {
            int inside = 0;
            for (int j = 0; j < 4; ++j)
                for (int i = 0; i < 4; ++i) inside += shape(x + (i + 0.5f) / 4, y + (j + 0.5f) / 4);
            if (inside) image.blend(x, y, c, inside / 16.0f);
        }
}

std::function<bool(float, float)> ellipse(float cx, float cy, float rx, float ry) {
    return [=](float x, float y) {
        const float u = (x - cx) / rx, v = (y - cy) / ry;
        return u * u + v * v <= 1.0f;
    };
}

std::function<bool(float, float)> circle(float cx, float cy, float r) { return ellipse(cx, cy, r, r); }

Image makeIcon() {
    Image icon(SIZE, SIZE);
    // Centres are given on the pixel grid: pixel (x, y) covers x..x+1.
    auto at = [](float v) { return v + 0.5f; };
    fill(icon, circle(at(128), at(128), 122), hex(0x10240f));
    fill(icon, circle(at(128), at(150), 110), hex(0x2f5a22));
    // a mound of moss: the upper half of an ellipse
    const auto mound = ellipse(at(128), at(176), 92, 40);
    fill(icon, [&](float x, float y) { return y <= at(176) && mound(x, y); }, hex(0x6f9a3a));
    // the shell, its seam, head and spots
    const Rgba dark = hex(0x1a0a08);
    fill(icon, ellipse(at(128), at(112), 44, 36), hex(0xb3241d));
    fill(icon, [&](float x, float y) { return std::abs(x - at(128)) <= 0.5f && y >= 78 && y <= 149; }, dark);
    fill(icon, circle(at(128), at(76), 14), dark);
    for (const auto& spot : {circle(at(108), at(104), 8), circle(at(148), at(104), 8),
                             circle(at(112), at(130), 7), circle(at(144), at(130), 7)})
        fill(icon, spot, dark);
    return icon;
}

}  // namespace

int main(int argc, char** argv) {
    return MediaGen::runGenerator(argc, argv, [](MediaGen::Output& out) {
        makeIcon().writePng(out.path("mossden.png"));
    });
}
