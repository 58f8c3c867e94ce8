// Graphics2D drawing: sprite blits with clipping and blend modes, lines, rectangles, fades.
#include <algorithm>

#include "core/core.h"
#include "gfx2d/blit_row.h"
#include "gfx2d/gfx2d.h"

Graphics2D* Gfx2D = nullptr;

int Graphics2D::Create(uint32_t ownerWord, int32_t targetWidth, int32_t targetHeight,
                       uint16_t* target) {
  owner = ownerWord;
  width = targetWidth;
  height = targetHeight;
  pixels = target;
  return 1;
}

int Graphics2D::DrawSprite(int32_t slot, int32_t x, int32_t y, uint32_t mode, uint16_t key) {
  const uint16_t* block = SpriteBlock(slot);
  if (!block) return 0;
  // 64-bit positions: a far-off sprite must be rejected, not wrapped onto the screen.
  const int64_t w = SpriteWidth(block), h = SpriteHeight(block);
  const int64_t screenRows = FrameBufferHeight;
  int64_t cx = x, cy = y;
  if ((cx < 0 && cx + w < 0) || (cy < 0 && cy + h < 0) || cy >= screenRows) return 0;
  const uint16_t* src = SpritePixels(block);
  int64_t firstRow = 0;
  if (cy < 0) {
    firstRow = -cy;
    cy = 0;
  }
  if (firstRow >= h) return 1;
  // The horizontal clip is the same for every row.
  const int64_t skipLeft = cx < 0 ? -cx : 0;
  int64_t n = w - skipLeft;
  if (cx + w - 1 > int64_t(width) - 1) n -= cx + w - width;
  const int64_t column = std::max<int64_t>(cx, 0);
  for (int64_t row = firstRow; row < h; ++row, ++cy) {
    if (cx > int64_t(width) - 1 || cy >= screenRows) return 0;
    if (n > 0)
      BlitRow(pixels + cy * width + column, src + row * w + skipLeft, int32_t(n), mode, key);
  }
  return 1;
}

int Graphics2D::DrawSpriteFile(const char* name, int32_t x, int32_t y, uint32_t mode) {
  int32_t slot = LoadSprite(name);
  if (slot == -1) return 0;
  DrawSprite(slot, x, y, mode, 0);
  ReleaseSprite(slot);
  return 1;
}

int Graphics2D::DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t extra,
                         uint16_t colour) {
  if (x0 < 0 || int64_t(x1) >= int64_t(width) - 1 || y0 < 0 || int64_t(y1) >= int64_t(height) - 1)
    return 0;
  // 64-bit distances: the guards above leave x1 and y1 free to be far off to the left or top.
  const int64_t dx = x1 > x0 ? int64_t(x1) - x0 : int64_t(x0) - x1;
  const int64_t dy = y1 > y0 ? int64_t(y1) - y0 : int64_t(y0) - y1;
  const int64_t sx = x0 > x1 ? -1 : 1, sy = y0 > y1 ? -1 : 1;
  const bool alongX = dx >= dy;
  const int64_t n = alongX ? dx : dy, m = alongX ? dy : dx;
  int64_t error = 2 * m - n;
  int64_t x = x0, y = y0;
  // Every step moves along the major axis, so the edge test ends a long line within one
  // screen's length.
  for (int64_t i = 0; i <= n; ++i) {
    if (x < 0 || x >= width || y < 0 || y >= height) return 0;
    pixels[y * width + x] = colour;
    if (error < 0) {
      if (alongX) x += sx; else y += sy;
      error += 2 * m;
    } else {
      x += sx;
      y += sy;
      error += 2 * (m - n);
    }
  }
  return 1;
}

namespace {
int32_t Clamp32(int64_t v) {
  return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}
}  // namespace

int Graphics2D::FillRect(int32_t x, int32_t y, int32_t w, int32_t h, uint16_t colour) {
  // Rows outside 0 .. height - 2 are refused by DrawLine anyway, so only those are visited;
  // the result is still that of the last row.
  const int64_t last = int64_t(y) + h - 1;
  if (last < y) return 0;
  const int32_t right = Clamp32(int64_t(x) + w);
  const int64_t from = std::max<int64_t>(y, 0);
  const int64_t to = std::min<int64_t>(last, int64_t(height) - 2);
  int result = 0;
  for (int64_t row = from; row <= to; ++row) result = DrawLine(x, int32_t(row), right, int32_t(row), 1, colour);
  return last == to ? result : 0;
}

int Graphics2D::DrawRect(int32_t x, int32_t y, int32_t w, int32_t h, uint16_t colour) {
  const int32_t x2 = Clamp32(int64_t(x) + w), y2 = Clamp32(int64_t(y) + h);
  DrawLine(x, y, x2, y, 1, colour);
  DrawLine(x, y2, x2, y2, 1, colour);
  DrawLine(x, y, x, y2, 1, colour);
  return DrawLine(x2, y, x2, y2, 1, colour);
}

void Graphics2D::FadeScreen(int32_t levelB, int32_t levelG, int32_t levelR) {
  // Each channel's 32 possible results, computed once per call.
  uint16_t tb[32], tg[32], tr[32];
  for (uint32_t v = 0; v < 32; ++v) {
    const uint32_t scaled = v * 256 / 31;
    tb[v] = uint16_t((scaled * uint32_t(levelB)) >> 8);
    tg[v] = uint16_t(((scaled * uint32_t(levelG)) >> 8) * 64);
    tr[v] = uint16_t(((scaled * uint32_t(levelR)) >> 8) * 2048);
  }
  const int64_t count = int64_t(width) * height;
  uint16_t* const __restrict target = pixels;
  for (int64_t i = 0; i < count; ++i) {
    const uint32_t p = target[i];
    target[i] = uint16_t(tr[p >> 11] + tg[(p >> 6) & 31] + tb[p & 31]);
  }
}

int32_t Graphics2D::ScaleX(int32_t v) const {
  return int32_t((int64_t(LayoutWidth / 4) * v) >> 8);
}

int32_t Graphics2D::ScaleY(int32_t v) const {
  return int32_t((int64_t(LayoutHeight / 4) * v) >> 8);
}
