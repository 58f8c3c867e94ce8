// The studio splash vomtal.spr: the emblem and the studio's name on a dark glowing field.
#include <algorithm>
#include <cmath>
#include <vector>

#include "bake.h"
#include "bake_image.h"
#include "bake_noise.h"

namespace {

struct Point {
  float x, y;
};

bool InsidePolygon(const std::vector<Point>& poly, float x, float y) {
  bool in = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const Point& a = poly[i];
    const Point& b = poly[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
  }
  return in;
}

// Share of 4 x 4 samples of pixel (x, y) inside the polygon: smooth edges.
float Coverage(const std::vector<Point>& poly, int x, int y) {
  int hits = 0;
  for (int sy = 0; sy < 4; ++sy)
    for (int sx = 0; sx < 4; ++sx)
      hits += InsidePolygon(poly, float(x) + (float(sx) + 0.5f) / 4, float(y) + (float(sy) + 0.5f) / 4);
  return float(hits) / 16.0f;
}

std::vector<Point> Hexagon(float cx, float cy, float r) {
  std::vector<Point> p;
  for (int i = 0; i < 6; ++i) {
    const float a = float(i) * 1.0471976f - 1.5707963f;  // pointy top
    p.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return p;
}

std::vector<Point> Offset(std::vector<Point> p, float dx, float dy, float scale, Point about) {
  for (Point& q : p) q = {about.x + (q.x - about.x) * scale + dx, about.y + (q.y - about.y) * scale + dy};
  return p;
}

// Fills a polygon, the colour chosen per pixel.
template <typename F>
void FillPolygon(RgbImage& img, const std::vector<Point>& poly, F colour) {
  float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
  for (const Point& p : poly) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  for (int y = int(minY) - 1; y <= int(maxY) + 1; ++y)
    for (int x = int(minX) - 1; x <= int(maxX) + 1; ++x) {
      const float c = Coverage(poly, x, y);
      if (c > 0) img.Blend(x, y, colour(x, y), c);
    }
}

Rgb GoldFill(float t) { return Mix(MakeRgb(255, 236, 160), MakeRgb(226, 100, 28), t); }
Rgb SteelFill(float t) { return Mix(MakeRgb(236, 240, 250), MakeRgb(128, 140, 168), t); }
Rgb Shadow(float) { return MakeRgb(0, 0, 0); }
Rgb Grey(float) { return MakeRgb(120, 118, 140); }

RgbImage Splash() {
  const int w = 240, h = 320;
  RgbImage img(w, h);
  const float cx = 120, cy = 116;
  // Night-blue field with a warm glow behind the emblem and a faint grain.
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Rgb c = Mix(MakeRgb(10, 12, 32), MakeRgb(26, 10, 34), float(y) / float(h));
      const float dx = float(x) - cx, dy = float(y) - cy;
      const float d = std::sqrt(dx * dx + dy * dy);
      c = Mix(c, MakeRgb(150, 54, 30), 0.55f * std::exp(-d / 55.0f));
      c = Mix(c, MakeRgb(40, 60, 120), 0.12f * Hash01(x, y, 0, 7));
      img.At(x, y) = c;
    }
  // Emblem: a steel hexagon ring around a molten core, and a chiselled V across it.
  const Point centre{cx, cy};
  const auto outer = Hexagon(cx, cy, 62);
  const auto inner = Hexagon(cx, cy, 52);
  FillPolygon(img, Offset(outer, 4, 5, 1, centre), [](int, int) { return MakeRgb(4, 2, 8); });
  FillPolygon(img, outer, [&](int x, int y) {
    const float t = ((float(x) - cx) + (float(y) - cy)) / 124.0f + 0.5f;
    return Mix(MakeRgb(230, 236, 250), MakeRgb(70, 76, 100), std::clamp(t, 0.0f, 1.0f));
  });
  FillPolygon(img, Hexagon(cx, cy, 55), [](int, int) { return MakeRgb(16, 8, 14); });
  FillPolygon(img, inner, [&](int x, int y) {
    const float dx = float(x) - cx, dy = float(y) - cy + 10;
    const float d = std::sqrt(dx * dx + dy * dy) / 52.0f;
    return Mix(MakeRgb(255, 190, 70), MakeRgb(110, 16, 30), std::clamp(d, 0.0f, 1.0f));
  });
  // Cracks of light across the core, like cooling lava.
  for (int y = int(cy) - 52; y < int(cy) + 52; ++y)
    for (int x = int(cx) - 46; x < int(cx) + 46; ++x) {
      if (!InsidePolygon(inner, float(x) + 0.5f, float(y) + 0.5f)) continue;
      const float n = WrapFbm2(float(x) * 4, float(y) * 4, 512, 8, 3, 17);
      const float crack = 1.0f - std::fabs(n - 0.5f) * 16.0f;
      img.Blend(x, y, MakeRgb(255, 230, 140), std::clamp(crack, 0.0f, 1.0f) * 0.6f);
    }
  const std::vector<Point> v = {{cx - 40, cy - 34}, {cx - 18, cy - 34}, {cx, cy + 12},
                                {cx + 18, cy - 34}, {cx + 40, cy - 34}, {cx + 7, cy + 44},
                                {cx - 7, cy + 44}};
  FillPolygon(img, Offset(v, 0, 0, 1.16f, {cx, cy + 2}), [](int, int) { return MakeRgb(10, 4, 8); });
  FillPolygon(img, v, [&](int x, int y) {
    // Two facets: the left arm catches the light, the right one is in shade.
    const bool left = float(x) < cx;
    const float t = std::clamp((float(y) - (cy - 34)) / 78.0f, 0.0f, 1.0f);
    return left ? SteelFill(t * 0.8f) : Mix(SteelFill(0.6f + 0.4f * t), MakeRgb(70, 80, 110), 0.35f);
  });
  // The name: drop shadow, then gold capitals; "GAMES" in steel between two rules.
  const std::string name = "VOMTAL";
  const int nameW = InkTextWidth(name, LetterStyle::Large, 2, 4);
  const int nameX = (w - nameW) / 2, nameY = 198;
  DrawInkText(img, nameX + 3, nameY + 4, name, LetterStyle::Large, 2, 4, Shadow, 2, MakeRgb(0, 0, 0));
  DrawInkText(img, nameX, nameY, name, LetterStyle::Large, 2, 4, GoldFill, 2, MakeRgb(30, 8, 8));
  const std::string games = "GAMES";
  const int gamesW = InkTextWidth(games, LetterStyle::Bold, 2, 6);
  const int gamesX = (w - gamesW) / 2, gamesY = 246;
  DrawInkText(img, gamesX, gamesY, games, LetterStyle::Bold, 2, 6, SteelFill, 1, MakeRgb(8, 8, 20));
  for (int x = 22; x < gamesX - 10; ++x) {
    const float fade = float(x - 22) / float(gamesX - 32);
    img.Blend(x, gamesY + 8, MakeRgb(230, 150, 70), fade);
    img.Blend(w - 1 - x, gamesY + 8, MakeRgb(230, 150, 70), fade);
  }
  const std::string line = "Copyright Vomtal Games";
  DrawInkText(img, (w - InkTextWidth(line, LetterStyle::Small, 1, 1)) / 2, 298, line,
              LetterStyle::Small, 1, 1, Grey, 0, MakeRgb(0, 0, 0));
  return img;
}

}  // namespace

bool BakeSprites(const BakeContext& ctx) { return WriteSpr(ctx, "vomtal.spr", Splash(), true); }
