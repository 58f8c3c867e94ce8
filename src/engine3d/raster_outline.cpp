// Outline polygons: one-pixel lines kept inside a 2-pixel border of the frame.
#include "engine3d/engine3d.h"
#include "engine3d/pipeline.h"

namespace {

constexpr int32_t kBorder = 2 * 256;
constexpr int32_t kMaxX = (kFrameWidth - 2) * 256;   // 60928
constexpr int32_t kMaxY = (kFrameHeight - 2) * 256;  // 81408

inline int32_t Clamp(int32_t v, int32_t hi) { return v <= kBorder ? kBorder : (v > hi ? hi : v); }

void DrawLine(const Engine3D& e, uint16_t* frame, int32_t ax, int32_t ay, int32_t bx,
              int32_t by, uint16_t colour) {
  ax = Clamp(ax, kMaxX);
  bx = Clamp(bx, kMaxX);
  ay = Clamp(ay, kMaxY);
  by = Clamp(by, kMaxY);
  // Clipped edges running along the border would draw a frame around the view.
  int32_t acol = ax >> 8, bcol = bx >> 8, arow = ay >> 8, brow = by >> 8;
  if (acol == bcol && (acol == 2 || acol == kFrameWidth - 2)) return;
  if (arow == brow && (arow == 2 || arow == kFrameHeight - 2)) return;
  int32_t dx = bx - ax, dy = by - ay;
  int32_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  int32_t steps = (adx > ady ? adx : ady) >> 8;
  if (steps < 1) return;
  int32_t q = e.Reciprocal(steps);
  int32_t sx = (q * dx) >> 16, sy = (q * dy) >> 16;
  int32_t x = ax, y = ay;
  for (int32_t i = 0; i < steps; ++i) {
    frame[(y >> 8) * kFrameWidth + (x >> 8)] = colour;
    x += sx;
    y += sy;
  }
}

}  // namespace

void DrawOutlinePolygon(const Engine3D& e, uint16_t* frame, ClipVertex* const* corners,
                        int count, uint16_t colour) {
  if (!frame) return;
  for (int i = 0; i < count; ++i) {
    const ClipVertex* a = corners[i];
    const ClipVertex* b = corners[i + 1 < count ? i + 1 : 0];
    DrawLine(e, frame, a->sx, a->sy, b->sx, b->sy, colour);
  }
}
