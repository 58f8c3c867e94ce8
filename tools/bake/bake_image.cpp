// RGB images for the content compiler: blending, 5-bit conversion, .spr encoding, lettering.
#include "bake_image.h"

#include <algorithm>
#include <cmath>

#include "bake_glyphs.h"

Rgb Mix(const Rgb& a, const Rgb& b, float t) {
  return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(const Rgb& c, float k) { return Rgb{c.r * k, c.g * k, c.b * k}; }

void RgbImage::Blend(int x, int y, const Rgb& c, float a) {
  if (!Inside(x, y) || a <= 0) return;
  Rgb& p = At(x, y);
  p = Mix(p, c, std::min(a, 1.0f));
}

void RgbImage::FillRect(int x, int y, int w, int h, const Rgb& c) {
  for (int yy = std::max(y, 0); yy < std::min(y + h, height); ++yy)
    for (int xx = std::max(x, 0); xx < std::min(x + w, width); ++xx) At(xx, yy) = c;
}

void RgbImage::Paste(const RgbImage& src, int x, int y) {
  for (int yy = 0; yy < src.height; ++yy)
    for (int xx = 0; xx < src.width; ++xx)
      if (Inside(x + xx, y + yy)) At(x + xx, y + yy) = src.At(xx, yy);
}

namespace {

// 4 x 4 ordered-dither thresholds, centred on zero, in units of one 5-bit step.
float DitherOffset(int x, int y) {
  static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return (float(kBayer[y & 3][x & 3]) + 0.5f) / 16.0f - 0.5f;
}

int To5(float v, float offset) {
  const float scaled = v / 255.0f * 31.0f + 0.5f + offset;
  return std::clamp(int(std::floor(scaled)), 0, 31);
}

}  // namespace

uint16_t ToColour565(const Rgb& c) {
  return uint16_t(To5(c.r, 0) * 2048 + To5(c.g, 0) * 64 + To5(c.b, 0));
}

Bytes EncodeSpr(const RgbImage& image, bool dither) {
  Bytes out;
  out.reserve(4 + image.px.size() * 2);
  PutU16BE(out, uint16_t(image.width));
  PutU16BE(out, uint16_t(image.height));
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const float d = dither ? DitherOffset(x, y) : 0.0f;
      const Rgb& c = image.At(x, y);
      // The file keeps blue in the top field and red in the bottom one.
      PutU16BE(out, uint16_t(To5(c.b, d) * 2048 + To5(c.g, d) * 64 + To5(c.r, d)));
    }
  }
  return out;
}

bool WriteSpr(const BakeContext& ctx, const std::string& name, const RgbImage& image, bool dither) {
  return WriteOut(ctx, name, EncodeSpr(image, dither));
}

int InkTextWidth(const std::string& text, LetterStyle style, int scale, int spacing) {
  int w = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    w += GlyphInk(static_cast<unsigned char>(text[i]), style).width * scale;
    if (i + 1 < text.size()) w += spacing;
  }
  return w;
}

void DrawInkText(RgbImage& image, int x, int y, const std::string& text, LetterStyle style,
                 int scale, int spacing, Rgb (*fill)(float), int outline, const Rgb& outlineColour) {
  const int rows = GlyphRows(style);
  const int textHeight = rows * scale;
  // One mask of the whole line first, so outlines never cover a neighbouring letter's ink.
  const int w = InkTextWidth(text, style, scale, spacing);
  std::vector<uint8_t> mask(size_t(w) * textHeight, 0);
  int pen = 0;
  for (unsigned char ch : text) {
    InkGlyph g = GlyphInk(ch, style);
    for (int gy = 0; gy < g.height; ++gy)
      for (int gx = 0; gx < g.width; ++gx)
        if (g.Has(gx, gy))
          for (int sy = 0; sy < scale; ++sy)
            for (int sx = 0; sx < scale; ++sx)
              mask[size_t(gy * scale + sy) * w + pen + gx * scale + sx] = 1;
    pen += g.width * scale + spacing;
  }
  auto inked = [&](int mx, int my) {
    return mx >= 0 && my >= 0 && mx < w && my < textHeight && mask[size_t(my) * w + mx];
  };
  if (outline > 0) {
    for (int my = -outline; my < textHeight + outline; ++my)
      for (int mx = -outline; mx < w + outline; ++mx) {
        if (inked(mx, my)) continue;
        bool near = false;
        for (int dy = -outline; dy <= outline && !near; ++dy)
          for (int dx = -outline; dx <= outline && !near; ++dx) near = inked(mx + dx, my + dy);
        if (near) image.Blend(x + mx, y + my, outlineColour, 1.0f);
      }
  }
  for (int my = 0; my < textHeight; ++my)
    for (int mx = 0; mx < w; ++mx)
      if (inked(mx, my)) image.Blend(x + mx, y + my, fill(float(my) / float(textHeight - 1)), 1.0f);
}
