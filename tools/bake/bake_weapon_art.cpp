// The weapons' art: the rocket model and the flip-books of tracers, plasma bolts, rocket
// flames, fireballs and torpedoes with their impacts.
//
// A 3D sprite is drawn image size x scale world units across, and the scales are fixed by
// the game code, so each image is sized for its drawn size: the tracer about 30 units, a
// plasma bolt 50, its splash 150, a bullet hit 160, the rocket flame 50, the rocket's
// fireball 500, a torpedo 50. Keyed sprites are painted with hard edges (a pixel is either
// the key or opaque); the fireball is drawn by brightness, so black is its transparency.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "bake.h"
#include "bake_image.h"
#include "bake_noise.h"
#include "bake_ui.h"
#include "model_builder.h"
#include "texture_names.h"

namespace {

constexpr float kTwoPiF = 6.2831853f;

// Colour keys as the game code gives them.
constexpr uint16_t kKeyWhite = Pixel5(31, 31, 31);
constexpr uint16_t kKeyRed = Pixel5(31, 0, 0);
constexpr uint16_t kKeyBlue = Pixel5(0, 0, 31);
constexpr uint16_t kKeyBlack = Pixel5(0, 0, 0);

Rgb KeyColour(uint16_t key) { return Exact5(key >> 11, (key >> 6) & 31, key & 31); }

// Noise around a circle: 0..1 for an angle, wrapping after one turn.
float RoundNoise(float angle, int cells, uint32_t seed) {
  float turns = angle / kTwoPiF;
  turns -= std::floor(turns);
  return WrapFbm1(turns * 256.0f, 256, cells, 3, seed);
}

// A colour ramp: stops at positions 0..1, linear between.
struct Stop {
  float at;
  Rgb colour;
};
template <size_t N>
Rgb Ramp(const Stop (&stops)[N], float t) {
  if (t <= stops[0].at) return stops[0].colour;
  for (size_t i = 1; i < N; ++i)
    if (t <= stops[i].at)
      return Mix(stops[i - 1].colour, stops[i].colour,
                 (t - stops[i - 1].at) / (stops[i].at - stops[i - 1].at));
  return stops[N - 1].colour;
}

std::string Numbered(const char* prefix, int n, const char* suffix) {
  char name[64];
  snprintf(name, sizeof name, "%s%d%s", prefix, n, suffix);
  return name;
}

// ---------------------------------------------------------------------------------------
// Machine gun: a hot tracer and a four-frame spark of the hit.

// Small: it starts a step in front of the eye, where a bigger one would fill the view.
RgbImage Tracer() {
  const int n = 10;
  RgbImage img(n, n, KeyColour(kKeyWhite));
  static const Stop kHeat[] = {{0.0f, MakeRgb(255, 250, 200)},
                               {0.45f, MakeRgb(255, 214, 90)},
                               {0.8f, MakeRgb(250, 130, 36)},
                               {1.0f, MakeRgb(196, 64, 18)}};
  const float c = 4.5f;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const float dx = float(x) - c, dy = float(y) - c;
      const float d = std::sqrt(dx * dx + dy * dy) / 3.6f;
      // A round core with a stippled glow around it.
      if (d <= 1.0f || (d < 1.35f && Hash01(x, y, 0, 41) > (d - 1.0f) * 2.6f))
        img.At(x, y) = Ramp(kHeat, std::min(d, 1.0f));
    }
  return img;
}

// The spark of a bullet hit, painted pixel by pixel: it flashes, scatters and smokes.
RgbImage BulletHit(int frame) {
  static const char* kFrames[4][8] = {
      {"........", "........", "...oo...", "..oWYo..", "..oYWo..", "...oo...", "........",
       "........"},
      {"r..o...r", ".o.Y.o..", "..oYYo..", "oYYWWYYo", "..oYWo..", ".o.Y..o.", "r..o...r",
       "........"},
      {"o..r..r.", "........", "..rggr..", "r.goog.o", ".rgoogr.", "..rggr..", "........",
       ".o..r..o"},
      {"........", "..d..g..", ".g.dd...", "..dgg.d.", "..gdd.g.", ".d..g...", "...d..d.",
       "........"},
  };
  RgbImage img(8, 8, KeyColour(kKeyWhite));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      switch (kFrames[frame][y][x]) {
        case 'W': img.At(x, y) = MakeRgb(255, 248, 206); break;
        case 'Y': img.At(x, y) = MakeRgb(255, 216, 84); break;
        case 'o': img.At(x, y) = MakeRgb(248, 146, 40); break;
        case 'r': img.At(x, y) = MakeRgb(198, 70, 22); break;
        case 'g': img.At(x, y) = MakeRgb(124, 114, 104); break;
        case 'd': img.At(x, y) = MakeRgb(72, 66, 62); break;
        default: break;
      }
    }
  return img;
}

// ---------------------------------------------------------------------------------------
// Plasma: a crackling blue-white ball, and the ring it bursts into.

RgbImage PlasmaBolt(int frame) {
  const int n = 128;
  RgbImage img(n, n, KeyColour(kKeyRed));
  static const Stop kGlow[] = {{0.0f, MakeRgb(244, 252, 255)},
                               {0.3f, MakeRgb(176, 240, 255)},
                               {0.62f, MakeRgb(70, 186, 255)},
                               {0.88f, MakeRgb(36, 96, 236)},
                               {1.0f, MakeRgb(22, 44, 150)}};
  const float c = 63.5f, radius = 36.0f;
  const uint32_t seed = 300u + uint32_t(frame) * 17u;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const float dx = float(x) - c, dy = float(y) - c;
      const float r = std::sqrt(dx * dx + dy * dy);
      const float a = std::atan2(dy, dx);
      // The rim ripples; it is redrawn differently in each frame, so the ball flickers.
      const float edge = radius * (0.86f + 0.3f * RoundNoise(a, 12, seed));
      if (r <= edge) {
        const float swirl = WrapFbm2(float(x) * 2.0f, float(y) * 2.0f, 256, 16, 2, seed + 5);
        img.At(x, y) = Ramp(kGlow, std::clamp(r / edge + 0.18f * (swirl - 0.5f), 0.0f, 1.0f));
        continue;
      }
      // Arcs: thin filaments that leave the rim where the noise along the angle peaks.
      const float arc = RoundNoise(a + r * 0.03f * (frame - 1.0f), 40, seed + 9);
      if (arc > 0.74f && r < edge + 22.0f * (arc - 0.74f) / 0.26f)
        img.At(x, y) = Mix(MakeRgb(200, 240, 255), MakeRgb(60, 130, 255), (r - edge) / 22.0f);
    }
  return img;
}

RgbImage PlasmaSplash(int frame) {
  const int n = 96;
  const float t = float(frame) / 12.0f;  // 13 frames, 0..1
  RgbImage img(n, n, KeyColour(kKeyRed));
  const float c = 47.5f;
  const float ring = 8.0f + 36.0f * std::sqrt(t);
  const float thick = 3.0f + 11.0f * (1.0f - t);
  static const Stop kRing[] = {{0.0f, MakeRgb(240, 252, 255)},
                               {0.5f, MakeRgb(96, 210, 255)},
                               {1.0f, MakeRgb(34, 80, 220)}};
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const float dx = float(x) - c, dy = float(y) - c;
      const float r = std::sqrt(dx * dx + dy * dy);
      const float a = std::atan2(dy, dx);
      const float wobble = (RoundNoise(a, 10, 700u + uint32_t(frame)) - 0.5f) * 6.0f;
      const float off = std::fabs(r - ring - wobble) / thick;
      // The ring thins out as it spreads; the flash fills the middle of the first frames.
      const bool flash = t < 0.3f && r < ring * (1.0f - t * 2.5f);
      const bool inRing = off < 1.0f && Hash01(x, y, frame, 71) > t * t * 0.85f;
      if (flash)
        img.At(x, y) = Mix(MakeRgb(250, 254, 255), MakeRgb(140, 226, 255), r / std::max(ring, 1.0f));
      else if (inRing)
        img.At(x, y) = Ramp(kRing, std::clamp(0.25f * off + 0.75f * t, 0.0f, 1.0f));
    }
  // Sparks flung out ahead of the ring.
  for (int s = 0; s < 22; ++s) {
    const float a = Hash01(s, 0, 0, 77) * kTwoPiF;
    const float speed = 0.6f + 0.6f * Hash01(s, 1, 0, 77);
    const float r = (10.0f + 40.0f * t) * speed * 1.15f;
    if (r > 46.0f || Hash01(s, 2, frame, 77) < t * 0.7f) continue;
    const int px = int(c + std::cos(a) * r), py = int(c + std::sin(a) * r);
    img.FillRect(px, py, 2, 2, t < 0.5f ? MakeRgb(214, 246, 255) : MakeRgb(90, 170, 255));
  }
  return img;
}

// ---------------------------------------------------------------------------------------
// Rocket: the flame behind it and the fireball of its burst.

RgbImage RocketFlame(int frame) {
  const int n = 64;
  RgbImage img(n, n, KeyColour(kKeyBlue));
  static const Stop kFire[] = {{0.0f, MakeRgb(255, 252, 220)},
                               {0.3f, MakeRgb(255, 226, 110)},
                               {0.6f, MakeRgb(255, 150, 40)},
                               {0.85f, MakeRgb(232, 80, 20)},
                               {1.0f, MakeRgb(150, 36, 12)}};
  const float c = 31.5f;
  const uint32_t seed = 900u + uint32_t(frame) * 13u;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const float dx = float(x) - c, dy = float(y) - c;
      const float r = std::sqrt(dx * dx + dy * dy);
      const float a = std::atan2(dy, dx);
      // Tongues of flame: the outline swings between 14 and 29 pixels with the noise.
      const float edge = 14.0f + 15.0f * std::pow(RoundNoise(a, 9, seed), 1.6f);
      if (r > edge) continue;
      const float flicker = WrapFbm2(float(x) * 3.0f, float(y) * 3.0f, 256, 12, 2, seed + 3);
      img.At(x, y) = Ramp(kFire, std::clamp(r / edge + 0.2f * (flicker - 0.5f), 0.0f, 1.0f));
    }
  return img;
}

RgbImage Fireball(int frame) {
  const int n = 32;
  const float t = float(frame) / 20.0f;  // 21 frames, 0..1
  RgbImage img(n, n);                    // black: nothing shows
  const float c = 15.5f;
  const float radius = 2.0f + 13.5f * (1.0f - std::exp(-t * 7.0f));
  // The heat falls off over the first half; the rest is smoke thinning into the air.
  const float heat = std::exp(-t * 3.2f);
  static const Stop kHeat[] = {{0.0f, MakeRgb(70, 62, 58)},
                               {0.25f, MakeRgb(150, 40, 14)},
                               {0.5f, MakeRgb(240, 110, 24)},
                               {0.75f, MakeRgb(255, 200, 70)},
                               {1.0f, MakeRgb(255, 250, 224)}};
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const float dx = float(x) - c, dy = float(y) - c;
      const float r = std::sqrt(dx * dx + dy * dy) / radius;
      // Billows that rise: the noise field slides up as time goes on.
      const float billow = WrapFbm2(float(x) * 8.0f, (float(y) + t * 14.0f) * 8.0f, 256, 8, 3, 1200);
      const float body = std::clamp(1.0f - r * r * (1.1f - 0.5f * billow), 0.0f, 1.0f);
      if (body <= 0.0f) continue;
      const float temperature = std::clamp(heat * (0.55f + 0.7f * body) * (0.7f + 0.6f * billow), 0.0f, 1.0f);
      const float density = body * (1.0f - 0.85f * t * t);
      img.At(x, y) = Scale(Ramp(kHeat, temperature), std::clamp(density * 1.25f, 0.0f, 1.0f));
    }
  return img;
}

// ---------------------------------------------------------------------------------------
// Torpedo: a violet energy ball with three arms that turn a third of a circle per loop.

RgbImage Torpedo(int frame) {
  const int n = 80;
  RgbImage img(n, n, KeyColour(kKeyBlack));
  static const Stop kCore[] = {{0.0f, MakeRgb(255, 236, 255)},
                               {0.4f, MakeRgb(246, 140, 255)},
                               {0.8f, MakeRgb(178, 60, 230)},
                               {1.0f, MakeRgb(100, 30, 150)}};
  const float c = 39.5f;
  const float spin = float(frame) / 8.0f * (kTwoPiF / 3.0f);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const float dx = float(x) - c, dy = float(y) - c;
      const float r = std::sqrt(dx * dx + dy * dy);
      const float a = std::atan2(dy, dx);
      if (r <= 15.0f) {
        img.At(x, y) = Ramp(kCore, r / 15.0f);
        continue;
      }
      // Three spiral arms out to 36 pixels, narrowing as they curl.
      if (r > 36.0f) continue;
      const float phase = a * 3.0f - r * 0.16f - spin * 3.0f;
      const float arm = 0.5f + 0.5f * std::cos(phase);
      const float width = 0.9f - 0.5f * (r - 15.0f) / 21.0f;
      if (arm > 1.0f - width * 0.5f)
        img.At(x, y) = Mix(MakeRgb(232, 120, 255), MakeRgb(110, 40, 200), (r - 15.0f) / 21.0f);
      else if (r < 20.0f && Hash01(x, y, frame, 93) > 0.45f)
        img.At(x, y) = MakeRgb(150, 60, 210);
    }
  return img;
}

// ---------------------------------------------------------------------------------------
// The rocket: a white body with a red nose, four fins and a glowing nozzle, nose along +z,
// its origin at the middle so its bounding radius stays small.

Skin S(int texture, double texelsPerUnit = 0, bool glow = false) {
  Skin s;
  s.texture = texture;
  s.texelsPerUnit = texelsPerUnit;
  s.glow = glow;
  return s;
}

ModelBuilder Rocket() {
  using namespace EntsTex;
  ModelBuilder m;
  m.SetLight(V3{-0.4, 0.85, -0.3}, 14, 42);
  const double r = 9;
  m.Cylinder(V3{0, 0, -46}, V3{0, 0, 30}, r, 8, S(kHullWhite), false);
  m.Cone(V3{0, 0, 30}, V3{0, 0, 58}, r, 0.5, 8, S(kArmourRed), false);
  m.Cylinder(V3{0, 0, 12}, V3{0, 0, 18}, r + 0.8, 8, S(kHazard), false);
  m.Cone(V3{0, 0, -46}, V3{0, 0, -56}, r, r - 3, 8, S(kGunMetal), false);
  m.Panel(V3{0, 0, -56.5}, V3{5, 0, 0}, V3{0, 5, 0}, V3{0, 0, -1}, S(kGlowOrange, 0, true));
  for (int k = 0; k < 4; ++k) {
    m.Push();
    m.RotateZ(45.0 + 90.0 * k);
    m.Wedge(V3{0, r + 7, -38}, V3{2.5, 14, 18}, 0.6, 0.0, S(kArmourRed));
    m.Pop();
  }
  return m;
}

bool WriteFlipBooks(const BakeContext& ctx) {
  bool ok = ui::WriteKeyedSpr(ctx, "RifleMachineTravel.spr", Tracer(), kKeyWhite, false);
  for (int i = 1; i <= 4; ++i)
    ok = ok && ui::WriteKeyedSpr(ctx, Numbered("RifleMachineExplosion", i, ".spr"),
                                 BulletHit(i - 1), kKeyWhite, false);
  for (int i = 1; i <= 3; ++i)
    ok = ok && ui::WriteKeyedSpr(ctx, Numbered("plasma", i, ".spr"), PlasmaBolt(i - 1), kKeyRed, false);
  for (int i = 10; i <= 22; ++i)
    ok = ok && ui::WriteKeyedSpr(ctx, Numbered("plasma", i, ".spr"), PlasmaSplash(i - 10), kKeyRed, false);
  for (int i = 1; i <= 6; ++i)
    ok = ok && ui::WriteKeyedSpr(ctx, Numbered("rocketflame_f", i, ".spr"), RocketFlame(i - 1),
                                 kKeyBlue, false);
  // Drawn by brightness: black lets the scene through whatever its encoding, so the
  // fireball may be dithered into smooth smoke.
  for (int i = 2; i <= 22; ++i) {
    char name[32];
    snprintf(name, sizeof name, "expl_%03d.spr", i);
    ok = ok && WriteSpr(ctx, name, Fireball(i - 2), true);
  }
  for (int i = 1; i <= 8; ++i) {
    char name[32];
    snprintf(name, sizeof name, "torpedo_%03d.spr", i);
    ok = ok && ui::WriteKeyedSpr(ctx, name, Torpedo(i - 1), kKeyBlack, false);
  }
  return ok;
}

}  // namespace

bool BakeWeaponArt(const BakeContext& ctx) {
  return WriteFlipBooks(ctx) && Rocket().Write(ctx, "rocket.tdo");
}
