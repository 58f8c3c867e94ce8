// The explosion flip-book expl_w_smoke_002.spr .. expl_w_smoke_032.spr: a fireball that
// flashes, rolls outward and cools into a rising cloud of smoke that thins away. Drawn as a
// 3D sprite with black as the colour key, so every visible pixel must stay off pure black.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "bake.h"
#include "bake_image.h"
#include "bake_noise.h"

namespace {

constexpr int kSize = 64;
constexpr int kFirstFrame = 2;
constexpr int kLastFrame = 32;

// Fire from hottest (t = 1) to coolest (t = 0).
Rgb FireColour(float t) {
  if (t > 0.8f) return Mix(MakeRgb(255, 214, 110), MakeRgb(255, 250, 230), (t - 0.8f) / 0.2f);
  if (t > 0.5f) return Mix(MakeRgb(250, 130, 30), MakeRgb(255, 214, 110), (t - 0.5f) / 0.3f);
  if (t > 0.25f) return Mix(MakeRgb(170, 46, 16), MakeRgb(250, 130, 30), (t - 0.25f) / 0.25f);
  return Mix(MakeRgb(70, 30, 22), MakeRgb(170, 46, 16), t / 0.25f);
}

// Keeps an opaque pixel away from the key colour after 5-bit rounding.
Rgb Opaque(Rgb c) { return MakeRgb(std::max(c.r, 18.0f), std::max(c.g, 16.0f), std::max(c.b, 16.0f)); }

RgbImage Frame(int index) {
  const float t = float(index) / float(kLastFrame - kFirstFrame);  // 0 .. 1 over the clip
  RgbImage img(kSize, kSize);
  const float cx = 32, cy = 36;
  // The fireball swells fast and burns out by two thirds of the clip.
  const float fireR = 6 + 22 * (1 - std::exp(-t * 7));
  const float heat = std::clamp(1.15f - t * 1.6f, 0.0f, 1.0f);
  // Smoke rises and spreads while it thins.
  const float smokeR = 10 + 20 * std::sqrt(t);
  const float smokeY = cy - 14 * t * t - 2;
  const float smokeDensity = std::clamp(t * 3.0f, 0.0f, 1.0f) * std::clamp(1.25f - t, 0.0f, 1.0f);
  const float roll = t * 40;  // the turbulence drifts upward as it burns
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const float n = WrapFbm2(float(x) * 6, (float(y) + roll) * 6, 1024, 16, 3, 41);
      const float n2 = WrapFbm2(float(x) * 5 + 300, (float(y) + roll * 0.6f) * 5, 1024, 12, 3, 43);
      // The burning part shrinks back into the cloud as it cools.
      const float fd = std::hypot(float(x) - cx, float(y) - cy) / (fireR * (0.45f + 0.55f * heat)) + (n - 0.5f) * 0.7f;
      const float sd = std::hypot(float(x) - cx, (float(y) - smokeY) * 1.15f) / smokeR + (n2 - 0.5f) * 0.6f;
      Rgb c;
      bool visible = false;
      if (smokeDensity > 0 && sd < 1) {
        // Smoke: thicker towards the middle, its edge eaten away as it thins.
        const float body = (1 - sd) * smokeDensity * 2.4f;
        if (body > 0.1f + 0.22f * Hash01(x, y, index, 5)) {
          const float light = std::clamp(0.35f + (smokeY - float(y)) / (smokeR * 2.5f) + (n2 - 0.5f), 0.0f, 1.0f);
          c = Mix(MakeRgb(58, 52, 48), MakeRgb(168, 156, 142), light);
          visible = true;
        }
      }
      if (heat > 0 && fd < 1) {
        const float core = (1 - fd) * heat * 1.4f;
        if (core > 0.08f) {
          const Rgb fire = FireColour(std::clamp(core, 0.0f, 1.0f));
          c = visible ? Mix(c, fire, std::clamp(core * 2.5f, 0.0f, 1.0f)) : fire;
          visible = true;
        }
      }
      if (visible) img.At(x, y) = Opaque(c);
    }
  return img;
}

}  // namespace

bool BakeExplosions(const BakeContext& ctx) {
  bool ok = true;
  for (int f = kFirstFrame; f <= kLastFrame; ++f) {
    char name[32];
    snprintf(name, sizeof name, "expl_w_smoke_%03d.spr", f);
    ok = WriteSpr(ctx, name, Frame(f - kFirstFrame), false) && ok;
  }
  return ok;
}
