#ifndef MOSSDEN_TOOLS_MEDIAGEN_IMAGE_H
#define MOSSDEN_TOOLS_MEDIAGEN_IMAGE_H

// An RGBA image as plain data (linear floats 0..1, straight alpha), with a
// few drawing helpers and a PNG writer (libpng) whose output depends only
// on the pixels.
#include <cstdint>
#include <string>
#include <vector>

namespace MediaGen {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

Rgba mix(const Rgba& a, const Rgba& b, float t);

class Image {
public:
    Image(int width, int height, const Rgba& fill = {0, 0, 0, 0});

    int width() const { return w; }
    int height() const { return h; }
    Rgba& at(int x, int y) { return pixels[std::size_t(y) * w + x]; }
    const Rgba& at(int x, int y) const { return pixels[std::size_t(y) * w + x]; }

    // Fills every pixel with f(u, v), u and v at pixel centres in [0, 1).
    template <class F>
    void fill(F f) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) at(x, y) = f((x + 0.5f) / w, (y + 0.5f) / h);
    }
    // "Over" compositing of c onto pixel (x, y), scaled by coverage 0..1.
    void blend(int x, int y, const Rgba& c, float coverage = 1.0f);
    // Antialiased filled disc and ring (ring: between r - width/2 and r + width/2).
    void disc(float cx, float cy, float r, const Rgba& c);
    void ring(float cx, float cy, float r, float width, const Rgba& c);
    void rect(int x0, int y0, int x1, int y1, const Rgba& c);  // [x0, x1) x [y0, y1)

    // One pixel of this image's mean colour: what the mipmaps of a repeated
    // texture come to at a distance.
    Image mean() const;

    // Writes 8-bit RGBA (or RGB when withAlpha is false). Throws on failure.
    void writePng(const std::string& path, bool withAlpha = true) const;

private:
    int w, h;
    std::vector<Rgba> pixels;
};

}  // namespace MediaGen

#endif
