// The desktop installer's files: setup.ini, license.txt and the artwork setup.png.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "bake.h"
#include "core/random.h"
#include "platform/platform.h"

namespace {

// The picture sits inside Picture1's 2-pixel frame (180 x 330).
constexpr int kArtW = 176;
constexpr int kArtH = 326;

struct Rgb {
  float r, g, b;
};

Rgb Mix(Rgb a, Rgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

class Canvas {
 public:
  Canvas() : px_(size_t(kArtW) * kArtH, Rgb{0, 0, 0}) {}
  Rgb& At(int x, int y) { return px_[size_t(y) * kArtW + x]; }
  void Blend(int x, int y, Rgb c, float a) {
    if (x < 0 || y < 0 || x >= kArtW || y >= kArtH || a <= 0) return;
    At(x, y) = Mix(At(x, y), c, std::min(a, 1.0f));
  }
  void Add(int x, int y, Rgb c, float a) {
    if (x < 0 || y < 0 || x >= kArtW || y >= kArtH || a <= 0) return;
    Rgb& p = At(x, y);
    p = {std::min(255.0f, p.r + c.r * a), std::min(255.0f, p.g + c.g * a),
         std::min(255.0f, p.b + c.b * a)};
  }
  // Even-odd scanline fill through pixel centres.
  void FillPolygon(const std::vector<std::pair<float, float>>& pts, Rgb c) {
    for (int y = 0; y < kArtH; ++y) {
      float sy = y + 0.5f;
      std::vector<float> xs;
      for (size_t i = 0; i < pts.size(); ++i) {
        auto [x0, y0] = pts[i];
        auto [x1, y1] = pts[(i + 1) % pts.size()];
        if ((y0 <= sy && y1 > sy) || (y1 <= sy && y0 > sy))
          xs.push_back(x0 + (sy - y0) * (x1 - x0) / (y1 - y0));
      }
      std::sort(xs.begin(), xs.end());
      for (size_t i = 0; i + 1 < xs.size(); i += 2)
        for (int x = int(std::ceil(xs[i] - 0.5f)); x < int(std::ceil(xs[i + 1] - 0.5f)); ++x)
          Blend(x, y, c, 1.0f);
    }
  }
  void FillDisc(float cx, float cy, float r, Rgb c) {
    for (int y = int(cy - r - 1); y <= int(cy + r + 1); ++y)
      for (int x = int(cx - r - 1); x <= int(cx + r + 1); ++x) {
        float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
        Blend(x, y, c, std::clamp(r - d + 0.5f, 0.0f, 1.0f));
      }
  }
  // 5-6-5 with a 4 x 4 ordered dither, so the sky's gradients do not band.
  std::vector<uint16_t> To565() const {
    static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    std::vector<uint16_t> out(px_.size());
    for (int y = 0; y < kArtH; ++y)
      for (int x = 0; x < kArtW; ++x) {
        const Rgb& p = px_[size_t(y) * kArtW + x];
        float t = (kBayer[y & 3][x & 3] + 0.5f) / 16.0f;
        auto q = [t](float v, int levels) {
          return std::clamp(int(std::clamp(v, 0.0f, 255.0f) * levels / 255.0f + t), 0, levels);
        };
        out[size_t(y) * kArtW + x] = uint16_t(q(p.r, 31) << 11 | q(p.g, 63) << 5 | q(p.b, 31));
      }
    return out;
  }

 private:
  std::vector<Rgb> px_;
};

// Block capitals, 5 x 7, for the studio's name and the title.
struct Glyph {
  char c;
  const char* rows[7];
};
const Glyph kGlyphs[] = {
    {'V', {"X...X", "X...X", "X...X", "X...X", "X...X", ".X.X.", "..X.."}},
    {'O', {".XXX.", "X...X", "X...X", "X...X", "X...X", "X...X", ".XXX."}},
    {'M', {"X...X", "XX.XX", "X.X.X", "X.X.X", "X...X", "X...X", "X...X"}},
    {'T', {"XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "..X.."}},
    {'A', {".XXX.", "X...X", "X...X", "XXXXX", "X...X", "X...X", "X...X"}},
    {'L', {"X....", "X....", "X....", "X....", "X....", "X....", "XXXXX"}},
    {'G', {".XXX.", "X...X", "X....", "X.XXX", "X...X", "X...X", ".XXXX"}},
    {'E', {"XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX"}},
    {'S', {".XXXX", "X....", "X....", ".XXX.", "....X", "....X", "XXXX."}},
    {'3', {"XXXX.", "....X", "....X", ".XXX.", "....X", "....X", "XXXX."}},
    {'D', {"XXXX.", "X...X", "X...X", "X...X", "X...X", "X...X", "XXXX."}},
    {'R', {"XXXX.", "X...X", "X...X", "XXXX.", "X.X..", "X..X.", "X...X"}},
    {'K', {"X...X", "X..X.", "X.X..", "XX...", "X.X..", "X..X.", "X...X"}},
};

const Glyph* FindGlyph(char c) {
  for (const Glyph& g : kGlyphs)
    if (g.c == c) return &g;
  return nullptr;
}

int TextWidth(const char* text, int scale, int gap) {
  int n = int(strlen(text));
  return n * 5 * scale + (n - 1) * gap;
}

// Draws text centred on the picture; each lit cell is a scale x scale block.
void DrawText(Canvas& c, const char* text, int y, int scale, int gap, Rgb top, Rgb bottom,
              Rgb shadow) {
  int x = (kArtW - TextWidth(text, scale, gap)) / 2;
  for (const char* p = text; *p; ++p, x += 5 * scale + gap) {
    const Glyph* g = FindGlyph(*p);
    if (!g) continue;
    for (int pass = 0; pass < 2; ++pass)
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col) {
          if (g->rows[row][col] != 'X') continue;
          for (int dy = 0; dy < scale; ++dy)
            for (int dx = 0; dx < scale; ++dx) {
              int px = x + col * scale + dx, py = y + row * scale + dy;
              if (pass == 0) {
                c.Blend(px + 1, py + 1, shadow, 1.0f);
                c.Blend(px + 2, py + 2, shadow, 0.6f);
              } else {
                c.Blend(px, py, Mix(top, bottom, float(row * scale + dy) / (7 * scale)), 1.0f);
              }
            }
        }
  }
}

// A ridge line by midpoint displacement: heights[x] for every column.
std::vector<float> Ridge(float base, float rough, uint32_t seed) {
  HandheldSrand(seed);
  const int n = 256;
  std::vector<float> h(n + 1, base);
  float amp = rough;
  for (int step = n; step > 1; step /= 2) {
    for (int i = 0; i < n; i += step) {
      float r = float(HandheldRand()) / kRandMax * 2.0f - 1.0f;
      h[i + step / 2] = (h[i] + h[i + step]) / 2 + r * amp;
    }
    amp *= 0.55f;
  }
  std::vector<float> out(kArtW);
  for (int x = 0; x < kArtW; ++x) out[x] = h[x * n / kArtW];
  return out;
}

void FillBelow(Canvas& c, const std::vector<float>& ridge, Rgb top, Rgb bottom) {
  for (int x = 0; x < kArtW; ++x)
    for (int y = 0; y < kArtH; ++y) {
      float cover = std::clamp(y + 0.5f - ridge[x] + 0.5f, 0.0f, 1.0f);
      if (cover > 0) c.Blend(x, y, Mix(top, bottom, std::clamp((y - ridge[x]) / 60.0f, 0.0f, 1.0f)),
                             cover);
    }
}

// The walking combat craft, seen from the side against the setting sun.
void DrawWalker(Canvas& c, float ox, float oy) {
  const Rgb hull = {16, 10, 24};
  auto P = [&](std::initializer_list<std::pair<float, float>> pts) {
    std::vector<std::pair<float, float>> v;
    for (auto [x, y] : pts) v.push_back({ox + x, oy + y});
    c.FillPolygon(v, hull);
  };
  // A limb from (x0, y0) to (x1, y1), w pixels thick, with a round joint at its end.
  auto Limb = [&](float x0, float y0, float x1, float y1, float w) {
    float dx = x1 - x0, dy = y1 - y0, len = std::hypot(dx, dy);
    float nx = -dy / len * w / 2, ny = dx / len * w / 2;
    P({{x0 + nx, y0 + ny}, {x1 + nx, y1 + ny}, {x1 - nx, y1 - ny}, {x0 - nx, y0 - ny}});
    c.FillDisc(ox + x1, oy + y1, w / 2, hull);
  };
  // Two reverse-knee legs (the far one a stride ahead), the hull, its guns.
  for (float stride : {12.0f, 0.0f}) {
    Limb(stride - 2, 6, stride + 12, 28, 9);
    Limb(stride + 12, 28, stride + 2, 50, 7);
    P({{stride - 8, 56}, {stride + 14, 56}, {stride + 10, 50}, {stride - 4, 50}});
  }
  P({{-24, -6}, {-10, -18}, {20, -20}, {34, -10}, {36, 4}, {24, 12}, {-16, 12}, {-26, 4}});
  P({{-8, -18}, {-4, -26}, {14, -26}, {20, -20}});  // sensor dome
  P({{30, -4}, {62, -6}, {62, -1}, {30, 2}});        // main cannon
  P({{26, 6}, {50, 6}, {50, 9}, {26, 10}});          // second barrel
  P({{-22, 0}, {-36, 2}, {-40, -2}, {-24, -6}});     // tail fin
  // The rim facing the sun catches its light.
  std::vector<uint8_t> mask(size_t(kArtW) * kArtH, 0);
  for (int y = 0; y < kArtH; ++y)
    for (int x = 0; x < kArtW; ++x) {
      const Rgb& p = c.At(x, y);
      mask[size_t(y) * kArtW + x] = p.r == hull.r && p.g == hull.g && p.b == hull.b;
    }
  auto in = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < kArtW && y < kArtH && mask[size_t(y) * kArtW + x];
  };
  for (int y = 0; y < kArtH; ++y)
    for (int x = 0; x < kArtW; ++x) {
      if (!in(x, y)) continue;
      if (!in(x - 1, y) || !in(x, y - 1))
        c.Add(x, y, Rgb{255, 140, 60}, 0.7f);
      else if (!in(x - 2, y) || !in(x, y - 2))
        c.Add(x, y, Rgb{255, 120, 50}, 0.25f);
    }
  // The cockpit glows.
  for (int i = 0; i < 3; ++i) c.FillDisc(ox + 4 + i * 5, oy - 10, 1.6f, Rgb{120, 240, 255});
}

std::vector<uint16_t> PaintArtwork() {
  Canvas c;
  // Dusk over an alien range: indigo overhead, a red band, the sun sinking behind it.
  const Rgb top = {14, 10, 40}, mid = {96, 34, 104}, low = {236, 120, 64};
  for (int y = 0; y < kArtH; ++y) {
    float t = float(y) / 210.0f;
    Rgb sky = t < 0.6f ? Mix(top, mid, t / 0.6f) : Mix(mid, low, std::min(1.0f, (t - 0.6f) / 0.4f));
    for (int x = 0; x < kArtW; ++x) c.At(x, y) = sky;
  }
  HandheldSrand(4242);
  for (int i = 0; i < 90; ++i) {
    int x = HandheldRand() % kArtW, y = HandheldRand() % 130;
    float a = (HandheldRand() % 100) / 100.0f * (1.0f - y / 150.0f);
    c.Add(x, y, Rgb{255, 250, 235}, a);
    if (HandheldRand() % 9 == 0)
      for (int d = -1; d <= 1; d += 2) {
        c.Add(x + d, y, Rgb{200, 210, 255}, a * 0.4f);
        c.Add(x, y + d, Rgb{200, 210, 255}, a * 0.4f);
      }
  }
  // A ringed gas giant high over the range.
  const float px = 132, py = 92, pr = 30;
  for (int y = int(py - pr - 1); y <= int(py + pr + 1); ++y)
    for (int x = int(px - pr - 1); x <= int(px + pr + 1); ++x) {
      float dx = x + 0.5f - px, dy = y + 0.5f - py, d = std::hypot(dx, dy);
      float cover = std::clamp(pr - d + 0.5f, 0.0f, 1.0f);
      if (cover <= 0) continue;
      float band = 0.5f + 0.5f * std::sin(dy * 0.55f + std::sin(dx * 0.08f) * 2.0f);
      float light = std::clamp(0.25f + 0.9f * (-dx * 0.6f + dy * 0.3f) / pr * -1.0f, 0.08f, 1.0f);
      Rgb body = Mix(Rgb{150, 110, 170}, Rgb{220, 170, 150}, band);
      c.Blend(x, y, Rgb{body.r * light, body.g * light, body.b * light}, cover);
    }
  for (float a = 0; a < 6.2832f; a += 0.002f) {
    for (float rr = 40; rr < 50; rr += 0.7f) {
      float x = px + std::cos(a) * rr, y = py + std::sin(a) * rr * 0.22f;
      y -= (x - px) * 0.18f;
      bool behind = std::sin(a) < 0 && std::hypot(x - px, y - py) < pr;
      if (!behind) c.Blend(int(x), int(y), Rgb{210, 180, 200}, 0.10f);
    }
  }
  // The sun, half set, with its glow.
  const float sx = 42, sy = 180;
  for (int y = 120; y < 240; ++y)
    for (int x = 0; x < kArtW; ++x) {
      float d = std::hypot(x - sx, (y - sy) * 1.3f);
      c.Add(x, y, Rgb{255, 150, 60}, 0.6f * std::exp(-d / 26.0f));
    }
  c.FillDisc(sx, sy, 17, Rgb{255, 226, 150});
  FillBelow(c, Ridge(192, 26, 77), Rgb{92, 44, 96}, Rgb{56, 28, 70});
  FillBelow(c, Ridge(222, 18, 1234), Rgb{46, 22, 54}, Rgb{28, 14, 36});
  std::vector<float> ground = Ridge(262, 6, 99);
  for (int x = 0; x < kArtW; ++x) ground[x] = std::min(ground[x], 262.0f);
  FillBelow(c, ground, Rgb{18, 11, 26}, Rgb{10, 6, 14});
  DrawWalker(c, 70, 204);

  DrawText(c, "VOMTAL GAMES", 12, 2, 3, Rgb{200, 235, 255}, Rgb{120, 170, 230}, Rgb{8, 4, 20});
  for (int x = 20; x < kArtW - 20; ++x) c.Add(x, 31, Rgb{120, 170, 230}, 0.5f);
  DrawText(c, "3D", 272, 2, 3, Rgb{255, 236, 180}, Rgb{255, 150, 60}, Rgb{0, 0, 0});
  DrawText(c, "MORVEK", 292, 4, 4, Rgb{255, 236, 180}, Rgb{240, 110, 40}, Rgb{0, 0, 0});
  return c.To565();
}

}  // namespace

bool BakeInstaller(const BakeContext& ctx) {
  std::string ini, license;
  if (!ReadSource(ctx, "installer/setup.ini", &ini) ||
      !ReadSource(ctx, "installer/license.txt", &license)) {
    fprintf(stderr, "bake: content/installer/setup.ini or license.txt is missing\n");
    return false;
  }
  if (!WriteOutText(ctx, "setup.ini", ini) || !WriteOutText(ctx, "license.txt", license))
    return false;
  std::vector<uint16_t> art = PaintArtwork();
  if (!WritePng565(ctx.outDir + "setup.png", art.data(), kArtW, kArtH)) {
    fprintf(stderr, "bake: cannot write %ssetup.png\n", ctx.outDir.c_str());
    return false;
  }
  return true;
}
