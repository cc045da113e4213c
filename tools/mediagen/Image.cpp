#include "mediagen/Image.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace MediaGen {

Rgba mix(const Rgba& a, const Rgba& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Image::Image(int width, int height, const Rgba& fillColour) : w(width), h(height) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("Image: empty size");
    pixels.assign(std::size_t(w) * h, fillColour);
}

void Image::blend(int x, int y, const Rgba& c, float coverage) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    const float a = std::clamp(c.a * coverage, 0.0f, 1.0f);
    if (a <= 0) return;
    Rgba& d = at(x, y);
    const float outA = a + d.a * (1 - a);
    if (outA <= 0) return;
    d.r = (c.r * a + d.r * d.a * (1 - a)) / outA;
    d.g = (c.g * a + d.g * d.a * (1 - a)) / outA;
    d.b = (c.b * a + d.b * d.a * (1 - a)) / outA;
    d.a = outA;
}

void Image::disc(float cx, float cy, float r, const Rgba& c) {
    const int x0 = int(std::floor(cx - r - 1)), x1 = int(std::ceil(cx + r + 1));
    const int y0 = int(std::floor(cy - r - 1)), y1 = int(std::ceil(cy + r + 1));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            blend(x, y, c, std::clamp(r - d + 0.5f, 0.0f, 1.0f));
        }
}

void Image::ring(float cx, float cy, float r, float width, const Rgba& c) {
    const float outer = r + width / 2;
    const int x0 = int(std::floor(cx - outer - 1)), x1 = int(std::ceil(cx + outer + 1));
    const int y0 = int(std::floor(cy - outer - 1)), y1 = int(std::ceil(cy + outer + 1));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float d = std::fabs(std::hypot(x + 0.5f - cx, y + 0.5f - cy) - r);
            blend(x, y, c, std::clamp(width / 2 - d + 0.5f, 0.0f, 1.0f));
        }
}

void Image::rect(int x0, int y0, int x1, int y1, const Rgba& c) {
    for (int y = std::max(0, y0); y < std::min(h, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(w, x1); ++x) blend(x, y, c);
}

namespace {

unsigned char toByte(float v) {
    return (unsigned char)std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f);
}

}  // namespace

Image Image::mean() const {
    double sum[4] = {0, 0, 0, 0};
    for (const Rgba& c : pixels) sum[0] += c.r, sum[1] += c.g, sum[2] += c.b, sum[3] += c.a;
    const double n = pixels.empty() ? 1.0 : double(pixels.size());
    return Image(1, 1, {float(sum[0] / n), float(sum[1] / n), float(sum[2] / n), float(sum[3] / n)});
}

void Image::writePng(const std::string& path, bool withAlpha) const {
    const int channels = withAlpha ? 4 : 3;
    std::vector<unsigned char> raw(std::size_t(h) * w * channels);
    unsigned char* out = raw.data();
    for (const Rgba& p : pixels) {
        *out++ = toByte(p.r);
        *out++ = toByte(p.g);
        *out++ = toByte(p.b);
        if (withAlpha) *out++ = toByte(p.a);
    }
    // libpng's simplified writer: no time or text chunks, so the bytes
    // depend on the pixels only.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(w);
    image.height = png_uint_32(h);
    image.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path.c_str(), 0, raw.data(), 0, nullptr)) {
        const std::string reason = image.message;
        png_image_free(&image);
        throw std::runtime_error("writePng: " + reason + " for " + path);
    }
}

}  // namespace MediaGen
