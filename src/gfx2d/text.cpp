// Text placed on the Graphics2D target: centred lines and centred multi-line messages.
#include <cstring>

#include "gfx2d/gfx2d.h"

int32_t DrawTextCentred(Graphics2D* g2d, int32_t y, const char* text, Font* font,
                        uint8_t transparent) {
  if (!g2d || !font || !text) return 0;
  // Measure what DrawText will draw, so a text cut at its buffer stays centred.
  char buffer[kMaxTextChars + 1];
  strncpy(buffer, text, kMaxTextChars);
  buffer[kMaxTextChars] = 0;
  const int32_t x = g2d->width / 2 - font->MeasureText(buffer) / 2;
  return font->DrawText(x, y, buffer, g2d->pixels, g2d->width, g2d->height, transparent);
}

void DrawTextBlock(Graphics2D* g2d, const char* text, Font* font) {
  if (!g2d || !font || !text) return;
  int32_t breaks = 0;
  for (const char* p = text; *p; ++p)
    if (*p == 10) ++breaks;
  if (breaks < 1) breaks = 1;
  const int32_t lineHeight = font->FontHeight();
  // The count of line feeds, not of lines, sets the first row: two lines start where one
  // would.
  const int32_t top = g2d->height / 2 - lineHeight / 2 - (breaks - 1) * 2 * lineHeight;
  const char* start = text;
  for (int32_t i = 0;; ++i) {
    const char* end = strchr(start, 10);
    size_t length = end ? size_t(end - start) : strlen(start);
    char line[kMaxBlockLineChars + 1];
    const size_t kept = length < size_t(kMaxBlockLineChars) ? length : size_t(kMaxBlockLineChars);
    memcpy(line, start, kept);
    line[kept] = 0;
    DrawTextCentred(g2d, top + 2 * lineHeight * i, line, font, 1);
    if (!end) break;
    start = end + 1;
  }
}
