// Bitmap fonts: reading .fnt files and drawing text into any 16-bit target.
#include <cstring>

#include "core/core.h"
#include "gfx2d/gfx2d.h"

namespace {

constexpr int kMissingAdvance = 7;
constexpr uint8_t kSubstituteGlyph = 'X';

bool ReadInt(FILE* f, int32_t* v) {
  uint8_t b[4];
  if (fread(b, 1, 4, f) != 4) return false;
  *v = int32_t(ReadU32LE(b));
  return true;
}

}  // namespace

Font::~Font() {
  for (uint8_t*& g : glyphs) {
    MemFree(g);
    g = nullptr;
  }
  if (file) fclose(file);
}

int Font::LoadFont(const char* name) {
  file = OpenDataFile(name, "rb");
  if (!file) return 0;
  // What is left of the file bounds each glyph's size, so a wild size fails like the short
  // read it would be instead of asking for gigabytes first.
  long fileSize = FileSize(file);
  auto fail = [this]() {
    fclose(file);
    file = nullptr;
    return 0;
  };
  int32_t n;
  if (!ReadInt(file, &n) || n >= 256) return fail();
  count = n;
  for (int32_t i = 0; i < n; ++i) {
    uint8_t code;
    int32_t size, advance, rows, offset;
    if (fread(&code, 1, 1, file) != 1 || !ReadInt(file, &size) || !ReadInt(file, &advance) ||
        !ReadInt(file, &rows) || !ReadInt(file, &offset))
      return fail();
    // A later record for the same code replaces the earlier one.
    MemFree(glyphs[code]);
    glyphs[code] = nullptr;
    sizes[code] = size;
    if (size < 1) {
      widths[code] = 0;
      heights[code] = 0;
      offsets[code] = 0;
      continue;
    }
    widths[code] = advance < 1 ? kMissingAdvance : uint8_t(advance);
    heights[code] = uint8_t(rows);
    offsets[code] = int8_t(uint8_t(offset));
    long here = ftell(file);
    if (here < 0 || fileSize < 0 || int64_t(size) > int64_t(fileSize) - here) return fail();
    auto* data = static_cast<uint8_t*>(MemAlloc(size_t(size)));
    if (!data) {
      LogMessage("No memory.");
      return fail();
    }
    glyphs[code] = data;
    if (fread(data, 1, size_t(size), file) != size_t(size)) return fail();
  }
  fclose(file);
  file = nullptr;
  return 1;
}

void Font::SetTextColours(uint16_t fg, uint16_t bg) {
  foreground = fg;
  background = bg;
}

int32_t Font::MeasureText(const char* text) const {
  int32_t total = 0;
  if (!text) return 0;
  for (const auto* p = reinterpret_cast<const uint8_t*>(text); *p; ++p)
    total += widths[*p] ? widths[*p] : kMissingAdvance;
  return total;
}

int32_t Font::FontHeight() const { return heights[uint8_t('A')]; }

int32_t Font::DrawText(int32_t x, int32_t y, const char* text, uint16_t* target,
                       int32_t targetWidth, int32_t targetHeight, uint8_t transparent) {
  if (!text || !target) return 0;
  int64_t pen = 0;
  const auto* p = reinterpret_cast<const uint8_t*>(text);
  for (int i = 0; i < kMaxTextChars && p[i]; ++i) {
    uint8_t code = p[i];
    if (code == 10 || code == 13) code = ' ';
    const int32_t advance = widths[code] ? widths[code] : kMissingAdvance;
    const uint8_t g = widths[code] ? code : kSubstituteGlyph;
    const uint8_t* data = glyphs[g];
    const int64_t w = widths[g];
    // Only rows wholly inside the glyph's data are drawn, whatever its header claims.
    int64_t rows = heights[g];
    if (data && w > 0 && rows > int64_t(sizes[g]) / w) rows = int64_t(sizes[g]) / w;
    if (data && w > 0) {
      const int64_t left = int64_t(x) + pen;
      // The character's own offset places the row, also when it borrows the 'X' glyph.
      const int64_t top = int64_t(y) + offsets[code];
      // A row must start at or after column 0 and end before the target's last column.
      const bool columnsFit = left >= 0 && left + w < targetWidth;
      for (int64_t r = 0; columnsFit && r < rows; ++r) {
        const int64_t row = top + r;
        if (row < 0 || row >= targetHeight) continue;
        uint16_t* dst = target + row * targetWidth + left;
        const uint8_t* src = data + r * w;
        for (int64_t c = 0; c < w; ++c) {
          const uint8_t v = src[c];
          if (v == kGlyphForeground) dst[c] = foreground;
          else if (v == kGlyphOutline) dst[c] = outline;
          else if (v == kGlyphBackground && !transparent) dst[c] = background;
        }
      }
    }
    pen += advance;
  }
  return int32_t(pen);
}
