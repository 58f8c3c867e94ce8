// The textured polygon filler: affine texture mapping with the shade row interpolated.
#include "core/display.h"
#include "engine3d/engine3d.h"
#include "engine3d/pipeline.h"

namespace {

inline int32_t Ceil8(int32_t y) { return (y + 255) >> 8; }

// One side of the polygon walking from vertex to vertex, one row at a time.
struct Edge {
  int index;        // vertex the current stretch starts at
  int direction;    // -1 left edge (lower indices), +1 right edge
  int rows;         // rows left on the current stretch
  int walked;       // vertices passed, to stop on malformed input
  int32_t x, u, v, shade;
  int32_t dx, du, dv, dshade;
};

inline int32_t Step(const Engine3D& e, int32_t from, int32_t to, int32_t h) {
  return int32_t((int64_t(to - from) * e.Reciprocal(h)) >> 16);
}

// Moves to the next stretch at least one row high; false when the polygon has none left.
bool NextStretch(const Engine3D& e, Edge& edge, const RasterVertex* vtx, int count) {
  while (edge.walked < count) {
    int next = edge.index + edge.direction;
    if (next < 0) next = count - 1;
    if (next >= count) next = 0;
    ++edge.walked;
    const RasterVertex& a = vtx[edge.index];
    const RasterVertex& b = vtx[next];
    int32_t h = Ceil8(b.y) - Ceil8(a.y);
    edge.index = next;
    if (h < 1) continue;
    edge.rows = h;
    edge.x = a.x;
    edge.u = a.u;
    edge.v = a.v;
    edge.shade = a.shade;
    edge.dx = Step(e, a.x, b.x, h);
    edge.du = Step(e, a.u, b.u, h);
    edge.dv = Step(e, a.v, b.v, h);
    edge.dshade = Step(e, a.shade, b.shade, h);
    return true;
  }
  return false;
}

}  // namespace

void FillTexturedPolygon(const Engine3D& e, const RasterVertex* vtx, int count,
                         const uint8_t* texture, uint16_t* frame, const uint16_t* lut) {
  if (count < 3 || count > kMaxClipCorners || !texture || !frame || !lut) return;
  int top = 0;
  int32_t minY = vtx[0].y, maxY = vtx[0].y;
  for (int i = 1; i < count; ++i) {
    if (vtx[i].y <= minY) {  // ties go to the highest index
      minY = vtx[i].y;
      top = i;
    }
    if (vtx[i].y > maxY) maxY = vtx[i].y;
  }
  int32_t first = Ceil8(minY) > e.y0 ? Ceil8(minY) : e.y0;
  int32_t last = Ceil8(maxY) < e.y1 ? Ceil8(maxY) : e.y1;
  if (first >= last) return;

  const int32_t pitch = int32_t(FrameBufferWidth);
  const int32_t x0 = e.x0, x1 = e.x1;
  uint16_t* row = frame + first * pitch;
  Edge left{top, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Edge right{top, +1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const uint16_t* reciprocal = e.reciprocal;
  for (int32_t y = first; y < last;) {
    if (left.rows == 0 && !NextStretch(e, left, vtx, count)) return;
    if (right.rows == 0 && !NextStretch(e, right, vtx, count)) return;
    // The rows until either edge turns a corner: both edges step evenly, so they are walked
    // here in locals (the records stay in memory only across NextStretch).
    int32_t rows = left.rows < right.rows ? left.rows : right.rows;
    if (rows > last - y) rows = last - y;
    int32_t lx = left.x, lu = left.u, lv = left.v, ls = left.shade;
    int32_t rx = right.x, ru = right.u, rv = right.v, rs = right.shade;
    for (int32_t k = 0; k < rows; ++k, row += pitch) {
      int32_t l = lx >> 8;
      int32_t r = (rx + 255) >> 8;
      // Clipped edges can end a pixel or two short of the viewport's sides: close the gap.
      if (l < x0 + 2) l = x0;
      if (r > x1 - 2) r = x1;
      int32_t n = r - l;
      if (n >= 1) {
        int32_t q = reciprocal[n];  // n is at most the frame's width
        int32_t du = int32_t((int64_t(ru - lu) * q) >> 16);
        int32_t dv = int32_t((int64_t(rv - lv) * q) >> 16);
        int32_t ds = int32_t((int64_t(rs - ls) * q) >> 16);
        TexturedSpan(row + l, n, texture, lut, lu, lv, ls, du, dv, ds);
      }
      lx += left.dx, lu += left.du, lv += left.dv, ls += left.dshade;
      rx += right.dx, ru += right.du, rv += right.dv, rs += right.dshade;
    }
    left.x = lx, left.u = lu, left.v = lv, left.shade = ls;
    right.x = rx, right.u = ru, right.v = rv, right.shade = rs;
    left.rows -= rows;
    right.rows -= rows;
    y += rows;
  }
}
