// A map seen from above, drawn into a canvas of its own: shared by "show map" and the
// campaign sheet of "show campaign".
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine3d/engine3d.h"
#include "gfx2d/gfx2d.h"
#include "map_reader.h"

// A picture of 5-6-5 pixels larger than the frame buffer.
struct Canvas {
  int w, h;
  std::vector<uint16_t> px;
  Canvas(int width, int height) : w(width), h(height), px(size_t(width) * height, 0) {}
  void Put(int x, int y, uint16_t c) {
    if (x >= 0 && y >= 0 && x < w && y < h) px[size_t(y) * w + x] = c;
  }
  void Rect(int x, int y, int rw, int rh, uint16_t c) {
    for (int j = y; j < y + rh; ++j)
      for (int i = x; i < x + rw; ++i) Put(i, j, c);
  }
  void Line(int x0, int y0, int x1, int y1, uint16_t c) {
    const int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int s = 0; s <= n; ++s)
      Put(x0 + (n ? (x1 - x0) * s / n : 0), y0 + (n ? (y1 - y0) * s / n : 0), c);
  }
};

inline uint16_t Colour(double r, double g, double b) {  // 0..1 each
  auto q = [](double v) { return int(std::lround(std::clamp(v, 0.0, 1.0) * 31)); };
  return MakeColour(q(r), q(g), q(b));
}

// Where world positions land in a top view: north is up.
struct TopLayout {
  double minX = 0, maxZ = 0, scale = 1;
  int margin = 0;
  int minY = 0, maxY = 0, width = 0, depth = 0;  // the ground's extent
  double ToX(double x) const { return margin + (x - minX) * scale; }
  double ToY(double z) const { return margin + (maxZ - z) * scale; }
};

// Draws the map loaded in `e` with its records over a square of the canvas's width, the
// records' names beside them when `labels`; false when the map has no solid ground.
bool DrawTopView(Engine3D& e, const std::vector<EntRow>& rows, Canvas& c, bool labels, TopLayout* layout);
// Text with a dark outline; nothing when there is no font.
void CanvasText(Canvas& c, Font& font, bool haveFont, int x, int y, const std::string& s, uint16_t colour);
