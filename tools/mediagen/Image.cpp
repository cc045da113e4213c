#include "mediagen/Image.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <zlib.h>

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

void putU32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back((unsigned char)(v >> s));
}

void putChunk(std::vector<unsigned char>& out, const char* type,
              const std::vector<unsigned char>& data) {
    putU32(out, std::uint32_t(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0, out.data() + start, uInt(out.size() - start));
    putU32(out, std::uint32_t(crc));
}

unsigned char toByte(float v) {
    return (unsigned char)std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f);
}

}  // namespace

void Image::writePng(const std::string& path, bool withAlpha) const {
    const int channels = withAlpha ? 4 : 3;
    std::vector<unsigned char> raw;
    raw.reserve(std::size_t(h) * (1 + w * channels));
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);  // filter type: none
        for (int x = 0; x < w; ++x) {
            const Rgba& p = at(x, y);
            raw.push_back(toByte(p.r));
            raw.push_back(toByte(p.g));
            raw.push_back(toByte(p.b));
            if (withAlpha) raw.push_back(toByte(p.a));
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 9) != Z_OK)
        throw std::runtime_error("writePng: deflate failed for " + path);
    packed.resize(packedSize);

    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> ihdr;
    putU32(ihdr, std::uint32_t(w));
    putU32(ihdr, std::uint32_t(h));
    ihdr.insert(ihdr.end(), {8, (unsigned char)(withAlpha ? 6 : 2), 0, 0, 0});
    putChunk(file, "IHDR", ihdr);
    putChunk(file, "IDAT", packed);
    putChunk(file, "IEND", {});

    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("writePng: cannot open " + path);
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    if (std::fclose(f) != 0 || !ok) throw std::runtime_error("writePng: cannot write " + path);
}

struct TextRenderer::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

TextRenderer::TextRenderer(const std::string& fontPath, int pixelHeight) : impl(new Impl) {
    if (FT_Init_FreeType(&impl->library) != 0) {
        delete impl;
        throw std::runtime_error("TextRenderer: FreeType did not start");
    }
    if (FT_New_Face(impl->library, fontPath.c_str(), 0, &impl->face) != 0 ||
        FT_Set_Pixel_Sizes(impl->face, 0, FT_UInt(pixelHeight)) != 0) {
        FT_Done_FreeType(impl->library);
        delete impl;
        throw std::runtime_error("TextRenderer: cannot use font " + fontPath);
    }
}

TextRenderer::~TextRenderer() {
    FT_Done_Face(impl->face);
    FT_Done_FreeType(impl->library);
    delete impl;
}

namespace {

// Decodes UTF-8 up to U+FFFF; stray bytes are taken as Latin-1.
std::vector<std::uint32_t> codepoints(const std::string& s) {
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = (unsigned char)s[i];
        if (c >= 0xE0 && i + 2 < s.size()) {
            out.push_back(((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F));
            i += 3;
        } else if (c >= 0xC0 && i + 1 < s.size()) {
            out.push_back(((c & 0x1F) << 6) | (s[i + 1] & 0x3F));
            i += 2;
        } else {
            out.push_back(c);
            i += 1;
        }
    }
    return out;
}

// Pixels to move between two glyphs (0 for the first or without kerning).
int kerning(FT_Face face, FT_UInt previous, FT_UInt glyph) {
    if (!previous || !FT_HAS_KERNING(face)) return 0;
    FT_Vector k;
    FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &k);
    return int(k.x >> 6);
}

}  // namespace

int TextRenderer::measure(const std::string& text) const {
    int x = 0;
    FT_UInt previous = 0;
    for (auto cp : codepoints(text)) {
        const FT_UInt glyph = FT_Get_Char_Index(impl->face, cp);
        x += kerning(impl->face, previous, glyph);
        if (FT_Load_Glyph(impl->face, glyph, FT_LOAD_DEFAULT) == 0)
            x += int(impl->face->glyph->advance.x >> 6);
        previous = glyph;
    }
    return x;
}

int TextRenderer::ascender() const { return int(impl->face->size->metrics.ascender >> 6); }

int TextRenderer::lineHeight() const { return int(impl->face->size->metrics.height >> 6); }

void TextRenderer::draw(Image& image, int x, int baselineY, const std::string& text,
                        const Rgba& c) const {
    FT_UInt previous = 0;
    for (auto cp : codepoints(text)) {
        const FT_UInt glyph = FT_Get_Char_Index(impl->face, cp);
        x += kerning(impl->face, previous, glyph);
        previous = glyph;
        if (FT_Load_Glyph(impl->face, glyph, FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot g = impl->face->glyph;
        const FT_Bitmap& bm = g->bitmap;
        for (unsigned row = 0; row < bm.rows; ++row)
            for (unsigned col = 0; col < bm.width; ++col) {
                const float coverage = bm.buffer[row * bm.pitch + col] / 255.0f;
                image.blend(x + g->bitmap_left + int(col), baselineY - g->bitmap_top + int(row), c,
                            coverage);
            }
        x += int(g->advance.x >> 6);
    }
}

}  // namespace MediaGen
