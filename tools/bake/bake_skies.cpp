// The sky panoramas: 640 x 128 sprites whose 512 columns make one full turn and whose
// last 128 columns repeat the first, painted from periodic noise so the turn is seamless.
#include <algorithm>
#include <cmath>
#include <functional>

#include "bake.h"
#include "bake_image.h"
#include "bake_noise.h"

namespace {

constexpr int kTurn = 512;     // columns per full turn
constexpr int kWidth = 640;
constexpr int kHeight = 128;
// A level camera looks at rows 28..107; the horizon sits low in that window.
constexpr float kHorizon = 100.0f;

// Vertical gradient through colour stops (position 0..1 down the sky).
struct Stop {
  float at;
  Rgb colour;
};
Rgb Gradient(const Stop* stops, int n, float t) {
  if (t <= stops[0].at) return stops[0].colour;
  for (int i = 1; i < n; ++i)
    if (t <= stops[i].at)
      return Mix(stops[i - 1].colour, stops[i].colour,
                 SmoothStep(0, 1, (t - stops[i - 1].at) / (stops[i].at - stops[i - 1].at)));
  return stops[n - 1].colour;
}

// Shortest column distance around the turn.
float WrapDx(float x, float centre) {
  float d = std::fabs(x - centre);
  return std::min(d, float(kTurn) - d);
}

// Paints a silhouette whose top edge is height(x) (a row), with a soft one-pixel edge;
// colour(x, y, depthBelowEdge) gives its pixels.
void Silhouette(RgbImage& img, const std::function<float(float)>& edge,
                const std::function<Rgb(int, int, float)>& colour) {
  for (int x = 0; x < kTurn; ++x) {
    const float top = edge(float(x));
    for (int y = std::max(0, int(std::floor(top))); y < kHeight; ++y) {
      const float cover = std::clamp(float(y) + 1.0f - top, 0.0f, 1.0f);
      img.Blend(x, y, colour(x, y, float(y) - top), cover);
    }
  }
}

// A soft glowing disc (sun, moon halo) added over the sky.
void Glow(RgbImage& img, float cx, float cy, float radius, const Rgb& core, const Rgb& halo,
          float haloReach, float haloStrength) {
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kTurn; ++x) {
      const float dx = WrapDx(float(x) + 0.5f, cx), dy = float(y) + 0.5f - cy;
      const float d = std::sqrt(dx * dx + dy * dy);
      img.Blend(x, y, halo, haloStrength * std::exp(-std::max(0.0f, d - radius) / haloReach));
      img.Blend(x, y, core, std::clamp(radius + 0.5f - d, 0.0f, 1.0f));
    }
}

// The first 128 columns again after the turn, so the 128-column window never wraps.
void CloseTheTurn(RgbImage& img) {
  for (int y = 0; y < kHeight; ++y)
    for (int x = kTurn; x < kWidth; ++x) img.At(x, y) = img.At(x - kTurn, y);
}

RgbImage DuskDesert() {
  RgbImage img(kWidth, kHeight);
  const Stop stops[] = {{0.0f, MakeRgb(22, 14, 58)},    {0.45f, MakeRgb(92, 40, 104)},
                        {0.75f, MakeRgb(214, 92, 84)},  {0.92f, MakeRgb(250, 158, 82)},
                        {1.0f, MakeRgb(255, 214, 128)}};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kTurn; ++x) img.At(x, y) = Gradient(stops, 5, float(y) / kHorizon);
  const float sunX = 150, sunY = 86;
  Glow(img, sunX, sunY, 9, MakeRgb(255, 240, 190), MakeRgb(255, 150, 70), 22, 0.7f);
  // Long streaks of cloud lit from below by the low sun.
  for (int y = 10; y < 90; ++y)
    for (int x = 0; x < kTurn; ++x) {
      const float n = WrapFbm2(float(x), float(y) * 5.0f, kTurn, 8, 4, 11);
      const float band = SmoothStep(10, 35, float(y)) * (1 - SmoothStep(70, 90, float(y)));
      const float a = SmoothStep(0.52f, 0.72f, n) * band * 0.85f;
      const float lit = std::exp(-WrapDx(float(x), sunX) / 120.0f);
      const Rgb c = Mix(MakeRgb(96, 52, 110), MakeRgb(255, 150, 110), 0.25f + 0.75f * lit * float(y) / 90.0f);
      img.Blend(x, y, c, a);
    }
  // Far ranges, hazy with the evening light.
  Silhouette(img, [](float x) { return 90.0f - 16.0f * WrapFbm1(x, kTurn, 6, 5, 21); },
             [](int, int y, float) {
               return Mix(MakeRgb(168, 78, 96), MakeRgb(120, 52, 80), float(y - 74) / 40.0f);
             });
  // Flat-topped mesas in front, their rims catching the sun.
  auto mesa = [](float x) {
    const float n = WrapFbm1(x, kTurn, 10, 2, 33);
    return 101.0f - 19.0f * SmoothStep(0.49f, 0.57f, n) - 2.5f * WrapFbm1(x, kTurn, 64, 2, 34);
  };
  Silhouette(img, mesa, [sunX](int x, int, float depth) {
    const Rgb body = MakeRgb(62, 26, 44);
    const float lit = std::exp(-WrapDx(float(x), sunX) / 90.0f);
    return depth < 1.5f ? Mix(body, MakeRgb(255, 140, 70), 0.35f + 0.5f * lit) : body;
  });
  // Sand below the horizon.
  Silhouette(img, [](float x) { return 104.0f - 1.5f * WrapFbm1(x, kTurn, 16, 3, 41); },
             [](int x, int y, float) {
               const float n = WrapFbm2(float(x), float(y) * 6.0f, kTurn, 32, 3, 42);
               return Mix(MakeRgb(150, 74, 54), MakeRgb(92, 40, 40), float(y - 102) / 26.0f + 0.2f * (n - 0.5f));
             });
  CloseTheTurn(img);
  return img;
}

RgbImage IceField() {
  RgbImage img(kWidth, kHeight);
  const Stop stops[] = {{0.0f, MakeRgb(34, 78, 160)}, {0.6f, MakeRgb(110, 160, 220)},
                        {1.0f, MakeRgb(212, 232, 248)}};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kTurn; ++x) img.At(x, y) = Gradient(stops, 3, float(y) / kHorizon);
  Glow(img, 400, 26, 6, MakeRgb(255, 255, 240), MakeRgb(230, 240, 255), 18, 0.55f);
  // Thin high cirrus.
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < kTurn; ++x) {
      const float n = WrapFbm2(float(x), float(y) * 4.0f, kTurn, 8, 5, 51);
      img.Blend(x, y, MakeRgb(245, 250, 255), SmoothStep(0.55f, 0.8f, n) * 0.6f);
    }
  // Two ranges of straight-flanked peaks: snow-capped, the west flanks lit, the east flanks
  // in blue shadow, bare rock below a ragged snow line; the far range fades into the haze.
  auto range = [&img](float base, float tall, int count, uint32_t seed, float haze) {
    // The peak whose flank forms the edge at x, and which side of it x lies on.
    auto edgeAt = [=](float x, bool* east) {
      float top = base;
      *east = false;
      for (int i = 0; i < count; ++i) {
        const float cx = Hash01(i, 1, 0, seed) * kTurn;
        const float peak = base - tall * (0.45f + 0.55f * Hash01(i, 2, 0, seed));
        const float steep = 0.55f + 0.5f * Hash01(i, 3, 0, seed);
        float d = x - cx;
        if (d > kTurn / 2) d -= kTurn;
        if (d < -kTurn / 2) d += kTurn;
        const float y = peak + std::fabs(d) * steep;
        if (y < top) {
          top = y;
          *east = d > 0;
        }
      }
      return top + 3.0f * (WrapFbm1(x, kTurn, 48, 3, seed + 9) - 0.5f);
    };
    Silhouette(img, [=](float x) { bool e; return edgeAt(x, &e); },
               [=](int x, int y, float depth) {
                 bool east;
                 edgeAt(float(x), &east);
                 const float snowLine = 5.0f + 12.0f * WrapFbm1(float(x), kTurn, 32, 3, seed + 3);
                 const float rock = SmoothStep(snowLine - 1.5f, snowLine + 1.5f, depth) *
                                    (0.6f + 0.4f * WrapFbm2(float(x), float(y) * 3.0f, kTurn, 64, 2, seed + 5));
                 const Rgb snow = east ? MakeRgb(158, 182, 224) : MakeRgb(244, 248, 255);
                 const Rgb stone = east ? MakeRgb(64, 74, 104) : MakeRgb(112, 124, 152);
                 return Mix(Mix(snow, stone, rock), MakeRgb(196, 218, 242), haze);
               });
  };
  range(92, 40, 12, 61, 0.5f);
  range(102, 26, 20, 71, 0.0f);
  // The ice sheet.
  Silhouette(img, [](float) { return 103.0f; }, [](int x, int y, float) {
    const float n = WrapFbm2(float(x), float(y) * 8.0f, kTurn, 32, 3, 81);
    return Mix(MakeRgb(196, 220, 240), MakeRgb(120, 156, 200), float(y - 103) / 25.0f + 0.15f * (n - 0.5f));
  });
  CloseTheTurn(img);
  return img;
}

RgbImage ToxicJungle() {
  RgbImage img(kWidth, kHeight);
  const Stop stops[] = {{0.0f, MakeRgb(18, 34, 18)}, {0.5f, MakeRgb(72, 104, 30)},
                        {0.85f, MakeRgb(170, 196, 56)}, {1.0f, MakeRgb(214, 232, 96)}};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kTurn; ++x) img.At(x, y) = Gradient(stops, 4, float(y) / kHorizon);
  Glow(img, 300, 48, 8, MakeRgb(236, 255, 170), MakeRgb(180, 230, 60), 26, 0.6f);
  // Heavy banks of poisonous cloud: bright where they face the sun above, dark beneath.
  for (int y = 0; y < 92; ++y)
    for (int x = 0; x < kTurn; ++x) {
      const float n = WrapFbm2(float(x), float(y) * 2.2f, kTurn, 6, 4, 91);
      const float above = WrapFbm2(float(x), float(y - 4) * 2.2f, kTurn, 6, 4, 91);
      const float a = SmoothStep(0.46f, 0.7f, n) * (1 - SmoothStep(56, 92, float(y)));
      const float light = SmoothStep(-0.06f, 0.06f, n - above);
      const Rgb c = Mix(MakeRgb(150, 188, 56), MakeRgb(40, 64, 24), light);
      img.Blend(x, y, c, a * 0.8f);
    }
  // Tree crowns: round tops on random trunks, far layer hazy, near layer dark with lit rims.
  auto canopy = [](uint32_t seed, float base, float spread) {
    return [=](float x) {
      float top = base;
      for (int i = 0; i < 48; ++i) {
        const float cx = Hash01(i, 1, 0, seed) * kTurn;
        const float r = 5.0f + Hash01(i, 2, 0, seed) * 9.0f;
        const float cy = base - spread * Hash01(i, 3, 0, seed) - r * 0.3f;
        const float dx = WrapDx(x, cx);
        if (dx < r) top = std::min(top, cy - std::sqrt(r * r - dx * dx));
      }
      return top - 2.0f * WrapFbm1(x, kTurn, 128, 2, seed + 5);
    };
  };
  Silhouette(img, canopy(101, 92, 8), [](int, int, float) { return MakeRgb(66, 100, 34); });
  Silhouette(img, canopy(103, 100, 10), [](int, int y, float depth) {
    const Rgb body = Mix(MakeRgb(22, 46, 18), MakeRgb(8, 20, 8), float(y - 80) / 48.0f);
    return depth < 1.5f ? MakeRgb(120, 170, 50) : body;
  });
  CloseTheTurn(img);
  return img;
}

RgbImage StarryNight() {
  RgbImage img(kWidth, kHeight);
  const Stop stops[] = {{0.0f, MakeRgb(4, 5, 16)}, {0.7f, MakeRgb(12, 18, 46)},
                        {1.0f, MakeRgb(34, 46, 88)}};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kTurn; ++x) img.At(x, y) = Gradient(stops, 3, float(y) / kHorizon);
  // A faint galactic band that rises and falls once around the turn.
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kTurn; ++x) {
      const float centre = 42.0f + 18.0f * std::sin(float(x) / kTurn * 6.2831853f);
      const float dy = (float(y) - centre) / 14.0f;
      const float n = WrapFbm2(float(x), float(y) * 2.0f, kTurn, 16, 4, 111);
      img.Blend(x, y, MakeRgb(110, 96, 170), std::exp(-dy * dy) * SmoothStep(0.35f, 0.8f, n) * 0.5f);
    }
  // Stars, thicker in the band; the brightest get a small cross.
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < kTurn; ++x) {
      const float centre = 42.0f + 18.0f * std::sin(float(x) / kTurn * 6.2831853f);
      const float dy = (float(y) - centre) / 16.0f;
      const float chance = 0.012f + 0.03f * std::exp(-dy * dy);
      if (Hash01(x, y, 0, 121) >= chance) continue;
      const float b = 0.35f + 0.65f * Hash01(x, y, 1, 121);
      const float tint = Hash01(x, y, 2, 121);
      const Rgb c = tint < 0.3f ? MakeRgb(190, 210, 255) : tint > 0.85f ? MakeRgb(255, 226, 180) : MakeRgb(240, 240, 255);
      img.Blend(x, y, c, b * (1.0f - float(y) / 110.0f));
      if (b > 0.97f) {
        img.Blend(WrapIndex(x - 1, kTurn), y, c, 0.45f);
        img.Blend(WrapIndex(x + 1, kTurn), y, c, 0.45f);
        img.Blend(x, y - 1, c, 0.45f);
        img.Blend(x, y + 1, c, 0.45f);
      }
    }
  // A crescent moon.
  // The unlit part shows faintly, lit by the planet below.
  Glow(img, 80, 30, 10, MakeRgb(28, 34, 62), MakeRgb(120, 140, 200), 16, 0.35f);
  for (int y = 0; y < 60; ++y)
    for (int x = 60; x < 100; ++x) {
      const float dx = float(x) + 0.5f - 80, dy = float(y) + 0.5f - 30;
      const float lit = std::clamp(10.5f - std::sqrt(dx * dx + dy * dy), 0.0f, 1.0f);
      const float ex = dx - 4.5f, ey = dy + 2.0f;
      const float shadow = std::clamp(9.5f - std::sqrt(ex * ex + ey * ey), 0.0f, 1.0f);
      img.Blend(x, y, MakeRgb(240, 236, 210), lit * (1 - shadow));
    }
  // A ringed planet low in the east.
  const float px = 330, py = 58, pr = 12;
  for (int y = 30; y < 90; ++y)
    for (int x = 300; x < 362; ++x) {
      const float dx = float(x) + 0.5f - px, dy = float(y) + 0.5f - py;
      // The ring is an ellipse tilted a little; its far half is hidden by the planet.
      const float rx = dx * 0.97f + dy * 0.26f, ry = -dx * 0.26f + dy * 0.97f;
      const float e = std::sqrt(rx * rx / (26.0f * 26.0f) + ry * ry / (5.0f * 5.0f));
      const float ring = std::clamp(1.0f - std::fabs(e - 0.85f) * 9.0f, 0.0f, 1.0f);
      const float d = std::sqrt(dx * dx + dy * dy);
      const float body = std::clamp(pr + 0.5f - d, 0.0f, 1.0f);
      if (ry < 0) img.Blend(x, y, MakeRgb(200, 170, 130), ring * 0.8f);
      const float bands = 0.5f + 0.5f * std::sin(dy * 1.3f + 0.4f * std::sin(dx * 0.5f));
      Rgb pc = Mix(MakeRgb(190, 96, 60), MakeRgb(240, 170, 110), bands);
      pc = Scale(pc, std::clamp(0.35f + 0.65f * (-dx - dy * 0.6f + pr) / (2 * pr), 0.25f, 1.0f));
      img.Blend(x, y, pc, body);
      if (ry >= 0) img.Blend(x, y, MakeRgb(220, 190, 150), ring * 0.85f);
    }
  // Low hills with a faint rim of sky light.
  Silhouette(img, [](float x) { return 96.0f - 12.0f * WrapFbm1(x, kTurn, 6, 4, 131); },
             [](int, int, float depth) {
               return depth < 1.0f ? MakeRgb(52, 64, 110) : MakeRgb(10, 12, 26);
             });
  Silhouette(img, [](float x) { return 104.0f - 5.0f * WrapFbm1(x, kTurn, 12, 4, 141); },
             [](int, int, float) { return MakeRgb(4, 5, 12); });
  CloseTheTurn(img);
  return img;
}

// Red-black sky over a volcanic plain: ash clouds lit from below by the fires, smoking cones
// on the horizon with glowing flows down their flanks.
RgbImage Volcanic() {
  RgbImage img(kWidth, kHeight);
  const Stop stops[] = {{0.0f, MakeRgb(10, 6, 8)}, {0.5f, MakeRgb(48, 14, 12)},
                        {0.85f, MakeRgb(150, 40, 16)}, {1.0f, MakeRgb(236, 110, 30)}};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kTurn; ++x) img.At(x, y) = Gradient(stops, 4, float(y) / kHorizon);
  // A dim sun behind the ash.
  Glow(img, 220, 40, 7, MakeRgb(255, 190, 120), MakeRgb(160, 60, 30), 20, 0.4f);
  // Ash clouds: dark above, glowing at their undersides from the fires below.
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < kTurn; ++x) {
      const float n = WrapFbm2(float(x), float(y) * 2.6f, kTurn, 8, 4, 151);
      const float below = WrapFbm2(float(x), float(y + 4) * 2.6f, kTurn, 8, 4, 151);
      const float a = SmoothStep(0.44f, 0.68f, n) * (1 - SmoothStep(70, 96, float(y)));
      const float glow = SmoothStep(-0.05f, 0.05f, n - below) * float(y) / 96.0f;
      img.Blend(x, y, Mix(MakeRgb(26, 16, 16), MakeRgb(220, 80, 30), glow * 0.8f), a * 0.85f);
    }
  // Volcanic cones: a few peaks standing out of a ragged range, each smoking.
  const float cones[][3] = {{60, 64, 30}, {190, 74, 24}, {330, 58, 34}, {450, 72, 22}};
  auto range = [&cones](float x) {
    float top = 96.0f - 8.0f * WrapFbm1(x, kTurn, 12, 4, 161);
    for (const auto& c : cones) top = std::min(top, c[1] + WrapDx(x, c[0]) * 36.0f / c[2]);
    return top;
  };
  Silhouette(img, range, [&cones](int x, int y, float depth) {
    Rgb body = Mix(MakeRgb(30, 18, 18), MakeRgb(12, 8, 8), float(y - 60) / 50.0f);
    for (const auto& c : cones) {
      // A glowing flow winds down each cone from its crater.
      const float dx = WrapDx(float(x), c[0] + 3.0f * std::sin(float(y) * 0.4f));
      if (dx < 1.6f && float(y) > c[1] + 1 && float(y) < 100) body = Mix(MakeRgb(255, 150, 40), body, dx / 1.6f);
    }
    return depth < 1.0f ? Mix(body, MakeRgb(200, 70, 30), 0.5f) : body;
  });
  for (const auto& c : cones)
    for (int y = 0; y < int(c[1]); ++y)
      for (int x = 0; x < kTurn; ++x) {
        // Smoke rises and drifts east from each crater.
        const float rise = c[1] - float(y);
        const float cx = c[0] + rise * 0.5f;
        const float w = 3.0f + rise * 0.35f;
        const float n = WrapFbm2(float(x), float(y) * 3.0f, kTurn, 16, 3, 171);
        const float a = std::exp(-WrapDx(float(x), cx) / w) * (0.4f + 0.6f * n) * std::exp(-rise / 40.0f);
        img.Blend(x, y, MakeRgb(60, 44, 40), std::min(0.8f, a));
      }
  // The glowing plain below the horizon.
  Silhouette(img, [](float x) { return 103.0f - 1.5f * WrapFbm1(x, kTurn, 16, 3, 181); },
             [](int x, int y, float) {
               const float n = WrapFbm2(float(x), float(y) * 5.0f, kTurn, 32, 3, 182);
               return n > 0.62f ? MakeRgb(200, 70, 20) : Mix(MakeRgb(40, 20, 18), MakeRgb(14, 8, 8), float(y - 100) / 28.0f);
             });
  CloseTheTurn(img);
  return img;
}

// A storm over the machine fortress: low slate clouds, a lightning stroke, the fortress's
// towers and walls black against a cold glow on the horizon.
RgbImage StormFortress() {
  RgbImage img(kWidth, kHeight);
  const Stop stops[] = {{0.0f, MakeRgb(14, 16, 24)}, {0.55f, MakeRgb(46, 54, 72)},
                        {0.9f, MakeRgb(104, 118, 140)}, {1.0f, MakeRgb(150, 170, 186)}};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kTurn; ++x) img.At(x, y) = Gradient(stops, 4, float(y) / kHorizon);
  // Rolling storm clouds in two layers.
  for (int layer = 0; layer < 2; ++layer)
    for (int y = 0; y < 90; ++y)
      for (int x = 0; x < kTurn; ++x) {
        const float n = WrapFbm2(float(x), float(y) * (2.0f + layer), kTurn, 6 + 4 * layer, 4, 191 + layer);
        const float a = SmoothStep(0.42f, 0.66f, n) * (1 - SmoothStep(50 + 20 * layer, 90, float(y)));
        const Rgb c = layer ? MakeRgb(70, 78, 96) : MakeRgb(26, 28, 38);
        img.Blend(x, y, c, a * 0.85f);
      }
  // Lightning: a jagged stroke with a soft glow, and a second fork.
  for (int bolt = 0; bolt < 2; ++bolt) {
    float x = bolt ? 372.0f : 140.0f;
    const int bottom = bolt ? 70 : 92;
    for (int y = bolt ? 30 : 12; y < bottom; ++y) {
      x += (Hash01(y, bolt, 0, 201) - 0.5f) * 4.0f;
      for (int dx = -6; dx <= 6; ++dx) {
        const int px = WrapIndex(int(x) + dx, kTurn);
        const float d = std::fabs(float(dx));
        img.Blend(px, y, MakeRgb(150, 170, 255), 0.35f * std::exp(-d / 2.5f));
        if (d < 1) img.Blend(px, y, MakeRgb(240, 244, 255), 0.95f);
      }
    }
  }
  // The fortress: a wall along the horizon with square towers, antennae and lit slits.
  auto fortress = [](float x) {
    float top = 98.0f - 3.0f * WrapFbm1(x, kTurn, 32, 2, 211);
    for (int i = 0; i < 14; ++i) {
      const float cx = Hash01(i, 1, 0, 212) * kTurn, w = 3.0f + 5.0f * Hash01(i, 2, 0, 212);
      const float h = 10.0f + 24.0f * Hash01(i, 3, 0, 212);
      if (WrapDx(x, cx) < w) top = std::min(top, 96.0f - h);
      if (WrapDx(x, cx) < 0.6f) top = std::min(top, 90.0f - h - 8.0f);  // antenna
    }
    return top;
  };
  Silhouette(img, fortress, [](int x, int y, float depth) {
    const bool slit = (y % 6 == 2) && Hash01(x / 2, y, 0, 221) > 0.8f;
    if (slit && depth > 2) return MakeRgb(255, 80, 60);
    return depth < 1.0f ? MakeRgb(80, 92, 120) : MakeRgb(10, 12, 18);
  });
  Silhouette(img, [](float x) { return 105.0f - 1.0f * WrapFbm1(x, kTurn, 16, 3, 231); },
             [](int, int y, float) { return Mix(MakeRgb(24, 26, 32), MakeRgb(8, 9, 12), float(y - 104) / 24.0f); });
  CloseTheTurn(img);
  return img;
}

}  // namespace

bool BakeSkies(const BakeContext& ctx) {
  bool ok = WriteSpr(ctx, "sky_desert.spr", DuskDesert(), true);
  ok = WriteSpr(ctx, "sky_ice.spr", IceField(), true) && ok;
  ok = WriteSpr(ctx, "sky_jungle.spr", ToxicJungle(), true) && ok;
  ok = WriteSpr(ctx, "sky_night.spr", StarryNight(), true) && ok;
  ok = WriteSpr(ctx, "sky_volcanic.spr", Volcanic(), true) && ok;
  ok = WriteSpr(ctx, "sky_storm.spr", StormFortress(), true) && ok;
  return ok;
}
