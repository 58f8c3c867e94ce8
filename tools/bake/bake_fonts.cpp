// The three bitmap fonts: small UI text, bold messages and menus, large titles.
#include <string>

#include "bake.h"
#include "bake_glyphs.h"

namespace {

// Glyph bytes as the game reads them.
constexpr uint8_t kInk = 255;
constexpr uint8_t kOutline = 2;

struct FontPlan {
  const char* file;
  LetterStyle style;
  int extraSpacing;  // blank columns after the outline, for the wide strokes of titles
};

// One glyph record: the ink with a one-pixel black outline all round (diagonals too), so
// text reads on any background.
void PutGlyph(Bytes& out, unsigned char code, const InkGlyph& ink, int extraSpacing) {
  const int w = ink.width + 2 + extraSpacing;
  const int h = ink.height + 2;
  Bytes cells(size_t(w) * h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (ink.Has(x - 1, y - 1)) {
        cells[size_t(y) * w + x] = kInk;
        continue;
      }
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (ink.Has(x - 1 + dx, y - 1 + dy)) cells[size_t(y) * w + x] = kOutline;
    }
  out.push_back(code);
  PutU32LE(out, uint32_t(cells.size()));
  PutU32LE(out, uint32_t(w));
  PutU32LE(out, uint32_t(h));
  PutU32LE(out, 0);  // every glyph shares the cap line
  out.insert(out.end(), cells.begin(), cells.end());
}

Bytes EncodeFont(const FontPlan& plan) {
  Bytes records;
  uint32_t count = 0;
  for (int code = 32; code <= 126; ++code) {
    InkGlyph ink = GlyphInk(uint8_t(code), plan.style);
    if (ink.width == 0) continue;
    PutGlyph(records, uint8_t(code), ink, plan.extraSpacing);
    ++count;
  }
  Bytes out;
  PutU32LE(out, count);
  out.insert(out.end(), records.begin(), records.end());
  return out;
}

}  // namespace

bool BakeFonts(const BakeContext& ctx) {
  const FontPlan plans[] = {
      {"font1.fnt", LetterStyle::Small, 0},
      {"font2.fnt", LetterStyle::Bold, 0},
      {"font3.fnt", LetterStyle::Large, 1},
  };
  bool ok = true;
  for (const FontPlan& p : plans) ok = WriteOut(ctx, p.file, EncodeFont(p)) && ok;
  return ok;
}
