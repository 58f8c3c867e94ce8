// The game's letter designs: one 5 x 7 pixel alphabet (with two descender rows) from which
// the small, bold and large fonts and the lettering in sprites are made.
#pragma once

#include <cstdint>
#include <vector>

#include "bake_image.h"

// The ink of one character: width x height cells, 1 = ink. All glyphs of a style share
// the same height, with the cap line at the top row.
struct InkGlyph {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> ink;
  bool Has(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height && ink[size_t(y) * width + x];
  }
};

// The ink of a printable ASCII character (32..126) in a style; width 0 for any other code.
// Letters are trimmed to their inked columns (digits keep one width, for counters); the
// space is an empty glyph of a fixed width.
InkGlyph GlyphInk(unsigned char code, LetterStyle style);
// Rows of every glyph of a style.
int GlyphRows(LetterStyle style);
