// The texture packs: "ents.tex" for the entity models and "map1.tex" .. "map6.tex" for the
// ground and buildings of the six star systems.
#include <algorithm>
#include <cmath>

#include "bake.h"
#include "bake_noise.h"
#include "tex_pack_builder.h"
#include "texture_names.h"

namespace {

constexpr float kPi = 3.14159265f;

int Mod(int a, int m) { return ((a % m) + m) % m; }

// Plates of w x h texels (rows shifted by `offset` every other row): a dark groove on the
// cell border, a highlight inside its top and left edges, a shadow inside the others.
float Plate(int u, int v, int w, int h, int offset = 0) {
  int row = v / h;
  int lu = Mod(u + (row & 1) * offset, w), lv = Mod(v, h);
  if (lu == 0 || lv == 0) return -0.38f;
  if (lu == 1 || lv == 1) return 0.14f;
  if (lu == w - 1 || lv == h - 1) return -0.12f;
  return 0.0f;
}

// Rivets 3 texels in from each corner of w x h plates.
float Rivets(int u, int v, int w, int h) {
  int lu = Mod(u, w), lv = Mod(v, h);
  for (int cy : {3, h - 4})
    for (int cx : {3, w - 4}) {
      if (lu == cx && lv == cy) return 0.3f;
      if (lu == cx + 1 && lv == cy + 1) return -0.2f;
    }
  return 0.0f;
}

// Overlapping round scales in rows of `size` texels.
float Scales(int u, int v, int size) {
  int row = Mod(v, 64) / size;
  float lu = float(Mod(u + (row & 1) * size / 2, size)) + 0.5f - size * 0.5f;
  float lv = float(Mod(v, size)) + 0.5f;
  float d = std::sqrt(lu * lu + lv * lv) / float(size);
  if (d > 0.95f) return -0.3f;
  return 0.25f - d * 0.45f;
}

// Crack lines where two noise fields nearly cross.
float Cracks(int u, int v, uint32_t seed) {
  float n = TileFbm(float(u), float(v), 4, 3, seed);
  return std::fabs(n - 0.5f) < 0.018f ? -0.35f : 0.0f;
}

void PaintEntities(TexPackBuilder& b) {
  using namespace EntsTex;
  b.Paint(kSteel, [](int u, int v) {
    float streak = TileFbm(float(u) * 0.25f, float(v) * 4.0f, 4, 3, 11) - 0.5f;
    return RampColour(kRampSteel, 0.56f + streak * 0.22f + Plate(u, v, 32, 32));
  });
  b.Paint(kArmourOlive, [](int u, int v) {
    float wear = TileFbm(float(u), float(v), 8, 3, 12) - 0.5f;
    float chip = TileNoise(float(u), float(v), 32, 13) > 0.86f ? 0.22f : 0.0f;
    return chip > 0 ? RampColour(kRampSteel, 0.6f)
                    : RampColour(kRampOlive, 0.52f + wear * 0.25f + Plate(u, v, 32, 32) +
                                                 Rivets(u, v, 32, 32));
  });
  b.Paint(kArmourDark, [](int u, int v) {
    float wear = TileFbm(float(u), float(v), 8, 3, 14) - 0.5f;
    return RampColour(kRampGrey, 0.36f + wear * 0.2f + Plate(u, v, 16, 32, 8) +
                                     Rivets(u, v, 16, 32) * 0.7f);
  });
  b.Paint(kGlass, [](int u, int v) {
    // Dark tinted glass with a sky reflection at the top and two bright streaks.
    float level = 0.62f - float(v) / 64.0f * 0.42f;
    int streak = Mod(u + v, 64);
    if ((streak > 14 && streak < 19) || (streak > 22 && streak < 24)) level += 0.3f;
    return RampColour(kRampBlue, level);
  });
  b.Paint(kGlowOrange, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 4, 15);
    return RampColour(kRampFire, 0.45f + n * 0.6f);
  });
  b.Paint(kGlowCyan, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 4, 16);
    float band = 0.5f + 0.5f * std::sin(float(v) / 64.0f * 2 * kPi * 4);
    return RampColour(kRampCyan, 0.4f + n * 0.35f + band * 0.25f);
  });
  b.Paint(kHazard, [](int u, int v) {
    float wear = TileFbm(float(u), float(v), 16, 2, 17);
    bool yellow = Mod(u + v, 32) < 16;
    if (wear > 0.72f) return RampColour(kRampGrey, 0.3f + (wear - 0.7f));
    return yellow ? RampColour(kRampYellow, 0.62f + (wear - 0.5f) * 0.3f)
                  : RampColour(kRampGrey, 0.1f + wear * 0.1f);
  });
  b.Paint(kScalesGreen, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 3, 18) - 0.5f;
    return RampColour(kRampScales, 0.5f + Scales(u, v, 8) + n * 0.3f);
  });
  b.Paint(kScalesBrown, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 3, 19) - 0.5f;
    return RampColour(kRampEarth, 0.5f + Scales(u, v, 8) + n * 0.3f);
  });
  b.Paint(kArmourRed, [](int u, int v) {
    float wear = TileFbm(float(u), float(v), 8, 3, 20) - 0.5f;
    return RampColour(kRampRed, 0.48f + wear * 0.2f + Plate(u, v, 32, 16, 16) +
                                    Rivets(u, v, 32, 16));
  });
  b.Paint(kRust, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 5, 21);
    float pit = TileNoise(float(u), float(v), 64, 22) > 0.8f ? -0.2f : 0.0f;
    return n > 0.58f ? RampColour(kRampRust, 0.3f + n * 0.5f + pit)
                     : RampColour(kRampSteel, 0.3f + n * 0.4f + pit);
  });
  b.Paint(kVent, [](int u, int v) {
    int lv = Mod(v, 8);
    float level = lv < 2 ? 0.55f : (lv < 6 ? 0.12f + float(lv) * 0.03f : 0.4f);
    if (Mod(u, 32) == 0 || Mod(u, 32) == 31) level = 0.45f;
    return RampColour(kRampGrey, level);
  });
  b.Paint(kTread, [](int u, int v) {
    int lv = Mod(v, 16);
    float level = lv < 5 ? 0.42f - float(lv) * 0.03f : 0.16f;
    level += (TileNoise(float(u), float(v), 16, 23) - 0.5f) * 0.15f;
    return RampColour(kRampGrey, level);
  });
  b.Paint(kCamo, [](int u, int v) {
    float a = TileFbm(float(u), float(v), 4, 3, 24), c = TileFbm(float(u), float(v), 4, 3, 25);
    if (a > 0.58f) return RampColour(kRampEarth, 0.38f);
    if (c > 0.56f) return RampColour(kRampGrass, 0.3f);
    return RampColour(kRampOlive, 0.55f + (a - 0.5f) * 0.2f);
  });
  b.Paint(kGunMetal, [](int u, int v) {
    float streak = TileFbm(float(u) * 4.0f, float(v) * 0.25f, 4, 3, 26) - 0.5f;
    float ring = Mod(v, 16) == 0 ? -0.15f : 0.0f;
    return RampColour(kRampSteel, 0.3f + streak * 0.2f + ring);
  });
  b.Paint(kLights, [](int u, int v) {
    int cu = Mod(u, 8), cv = Mod(v, 8);
    if (cu >= 2 && cu <= 4 && cv >= 2 && cv <= 4) {
      uint32_t pick = Hash32(u / 8, v / 8, 0, 27) % 5;
      const Ramp ramps[5] = {kRampRed, kRampFire, kRampCyan, kRampGrass, kRampYellow};
      return RampColour(ramps[pick], cu == 3 && cv == 3 ? 0.95f : 0.7f);
    }
    return RampColour(kRampGrey, 0.22f + Plate(u, v, 32, 16) * 0.5f);
  });
  b.Paint(kMembrane, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 4, 28);
    float vein = std::fabs(TileFbm(float(u), float(v), 4, 2, 29) - 0.5f) < 0.03f ? -0.2f : 0.0f;
    return RampColour(kRampPurple, 0.4f + n * 0.3f + vein);
  });
  b.Paint(kConcrete, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 8, 4, 30);
    return RampColour(kRampGrey, 0.42f + (n - 0.5f) * 0.35f + Plate(u, v, 64, 32) * 0.6f +
                                     Cracks(u, v, 31));
  });
  b.Paint(kMainframe, [](int u, int v) {
    int cv = Mod(v, 16);
    if (cv >= 5 && cv <= 10 && Mod(u, 6) >= 2) {
      uint32_t h = Hash32(u / 6, v / 16, 1, 32) % 4;
      return h == 0 ? RampColour(kRampRed, 0.8f)
                    : (h == 1 ? RampColour(kRampGrass, 0.85f) : RampColour(kRampCyan, 0.5f + 0.1f * float(h)));
    }
    return RampColour(kRampSteel, 0.3f + Plate(u, v, 64, 16));
  });
  b.Paint(kNeural, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 4, 33);
    float swirl = 0.5f + 0.5f * std::sin((float(u) + n * 40.0f) / 64.0f * 2 * kPi * 2);
    return RampColour(kRampPurple, 0.35f + swirl * 0.45f + n * 0.2f);
  });
  b.Paint(kHullWhite, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 8, 3, 34) - 0.5f;
    return RampColour(kRampIvory, 0.74f + n * 0.12f + Plate(u, v, 32, 16, 16) * 0.8f);
  });
  b.Paint(kHullWindows, [](int u, int v) {
    int cu = Mod(u, 16), cv = Mod(v, 32);
    if (cv >= 10 && cv <= 17 && cu >= 3 && cu <= 12)
      return RampColour(kRampBlue, cv < 12 ? 0.75f : 0.45f);
    return RampColour(kRampIvory, 0.72f + Plate(u, v, 64, 32) * 0.8f);
  });
  b.Paint(kCrate, [](int u, int v) {
    int lu = Mod(u, 64), lv = Mod(v, 64);
    bool frame = lu < 5 || lu > 58 || lv < 5 || lv > 58;
    bool cross = std::abs(lu - lv) < 4 || std::abs(lu + lv - 63) < 4;
    float grain = TileFbm(float(u) * 0.3f, float(v) * 3.0f, 4, 2, 35) - 0.5f;
    if (frame) return RampColour(kRampOlive, 0.35f + (lu < 2 || lv < 2 ? 0.15f : 0.0f));
    if (cross) return RampColour(kRampOlive, 0.5f);
    return RampColour(kRampOlive, 0.62f + grain * 0.3f + (Mod(v, 12) == 0 ? -0.2f : 0.0f));
  });
  b.Paint(kEnergyCell, [](int u, int v) {
    int lu = Mod(u, 64), lv = Mod(v, 64);
    bool bar = (std::abs(lu - 32) < 6 && lv > 12 && lv < 52) || (std::abs(lv - 32) < 6 && lu > 12 && lu < 52);
    if (bar) return RampColour(kRampGrass, 0.9f - std::fabs(float(lu) - 32.0f) * 0.03f);
    return RampColour(kRampSteel, 0.25f + Plate(u, v, 64, 64) * 1.5f);
  });
  b.Paint(kArmourOrange, [](int u, int v) {
    float wear = TileFbm(float(u), float(v), 8, 3, 36) - 0.5f;
    return RampColour(kRampRust, 0.72f + wear * 0.2f + Plate(u, v, 32, 32) + Rivets(u, v, 32, 32));
  });
  b.Paint(kArmourBlue, [](int u, int v) {
    float wear = TileFbm(float(u), float(v), 8, 3, 37) - 0.5f;
    return RampColour(kRampBlue, 0.5f + wear * 0.2f + Plate(u, v, 32, 32) + Rivets(u, v, 32, 32));
  });
  b.Paint(kMarkings, [](int u, int v) {
    int lu = Mod(u, 32), lv = Mod(v, 64);
    bool chevron = std::abs(std::abs(lu - 16) - (lv - 20)) < 3 && lv > 18 && lv < 46;
    if (chevron) return RampColour(kRampIvory, 0.85f);
    return RampColour(kRampGrey, 0.3f + Plate(u, v, 64, 64));
  });
  b.Paint(kScorched, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 5, 38);
    if (n > 0.66f) return RampColour(kRampFire, (n - 0.6f) * 3.0f);
    return RampColour(kRampGrey, 0.06f + n * 0.3f);
  });
  b.Paint(kBone, [](int u, int v) {
    float n = TileFbm(float(u) * 0.4f, float(v) * 2.0f, 4, 3, 39) - 0.5f;
    return RampColour(kRampIvory, 0.62f + n * 0.3f);
  });
  b.Paint(kEye, [](int u, int v) {
    float du = float(Mod(u, 64)) - 31.5f, dv = float(Mod(v, 64)) - 31.5f;
    float d = std::sqrt(du * du + dv * dv) / 32.0f;
    if (d < 0.18f) return RampColour(kRampFire, 1.0f);
    return RampColour(kRampRed, 0.95f - d * 0.6f);
  });
  b.Paint(kChrome, [](int u, int v) {
    float band = 0.5f + 0.5f * std::sin(float(v) / 64.0f * 2 * kPi * 3 + float(u) * 0.05f);
    return RampColour(kRampIce, 0.3f + band * 0.6f);
  });
  b.Paint(kRubber, [](int u, int v) {
    float level = Mod(v, 8) < 4 ? 0.2f : 0.1f;
    return RampColour(kRampGrey, level + (TileNoise(float(u), float(v), 32, 40) - 0.5f) * 0.06f);
  });
}

void PaintMap(TexPackBuilder& b) {
  using namespace MapTex;
  b.Paint(kGrass, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 5, 101);
    float blade = TileNoise(float(u), float(v) * 0.5f, 64, 102);
    return RampColour(kRampGrass, 0.32f + n * 0.35f + (blade - 0.5f) * 0.25f);
  });
  b.Paint(kDirt, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 5, 103);
    float pebble = TileNoise(float(u), float(v), 32, 104) > 0.85f ? 0.2f : 0.0f;
    return RampColour(kRampEarth, 0.35f + n * 0.35f + pebble);
  });
  b.Paint(kSand, [](int u, int v) {
    float ripple = 0.5f + 0.5f * std::sin((float(v) + TileFbm(float(u), float(v), 4, 2, 105) * 24.0f) / 64.0f * 2 * kPi * 5);
    return RampColour(kRampSand, 0.45f + ripple * 0.18f + (TileNoise(float(u), float(v), 64, 106) - 0.5f) * 0.12f);
  });
  b.Paint(kRockGrey, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 5, 107);
    return RampColour(kRampGrey, 0.22f + n * 0.5f + Cracks(u, v, 108));
  });
  b.Paint(kRockRed, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 5, 109);
    return RampColour(kRampRust, 0.2f + n * 0.45f + Cracks(u, v, 110));
  });
  b.Paint(kCliff, [](int u, int v) {
    float warp = TileFbm(float(u), float(v), 4, 3, 111) * 16.0f;
    float layer = 0.5f + 0.5f * std::sin((float(v) + warp) / 64.0f * 2 * kPi * 4);
    float n = TileFbm(float(u), float(v), 8, 3, 112);
    return RampColour(kRampEarth, 0.2f + layer * 0.35f + n * 0.2f);
  });
  b.Paint(kConcreteWall, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 8, 4, 113);
    float stain = std::max(0.0f, TileFbm(float(u) * 2.0f, float(v) * 0.2f, 4, 2, 114) - 0.55f);
    return RampColour(kRampGrey, 0.5f + (n - 0.5f) * 0.3f - stain + Plate(u, v, 64, 32) * 0.7f);
  });
  b.Paint(kBrick, [](int u, int v) {
    int row = v / 8;
    int lu = Mod(u + (row & 1) * 8, 16), lv = Mod(v, 8);
    if (lu == 0 || lv == 0) return RampColour(kRampGrey, 0.35f);
    float n = Hash01(Mod(u + (row & 1) * 8, 64) / 16, row, 0, 115);
    return RampColour(kRampRed, 0.35f + n * 0.2f + (lv == 1 ? 0.1f : 0.0f) +
                                    (TileNoise(float(u), float(v), 32, 116) - 0.5f) * 0.15f);
  });
  b.Paint(kTechFloor, [](int u, int v) {
    int lu = Mod(u, 8), lv = Mod(v, 8);
    float level = (lu == 0 || lv == 0) ? 0.15f : ((lu + lv) % 4 == 1 ? 0.6f : 0.45f);
    return RampColour(kRampSteel, level + Plate(u, v, 32, 32) * 0.8f);
  });
  b.Paint(kLava, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 5, 117);
    float crust = TileFbm(float(u), float(v), 8, 3, 118);
    if (crust > 0.62f) return RampColour(kRampGrey, 0.08f + (crust - 0.62f) * 0.5f);
    return RampColour(kRampFire, 0.35f + n * 0.7f);
  });
  b.Paint(kWater, [](int u, int v) {
    float wave = 0.5f + 0.5f * std::sin((float(u) + TileFbm(float(u), float(v), 4, 3, 119) * 30.0f) / 64.0f * 2 * kPi * 3);
    return RampColour(kRampBlue, 0.35f + wave * 0.25f);
  });
  b.Paint(kSnow, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 4, 120);
    return RampColour(kRampIce, 0.7f + n * 0.3f);
  });
  b.Paint(kIce, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 3, 121);
    return RampColour(kRampIce, 0.35f + n * 0.35f + Cracks(u, v, 122) * -0.8f);
  });
  b.Paint(kGravel, [](int u, int v) {
    float stone = TileNoise(float(u), float(v), 16, 123);
    float n = TileNoise(float(u), float(v), 64, 124);
    return RampColour(kRampGrey, 0.25f + stone * 0.3f + (n - 0.5f) * 0.3f);
  });
  b.Paint(kMud, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 4, 125);
    float wet = n > 0.6f ? 0.15f : 0.0f;
    return RampColour(kRampEarth, 0.18f + n * 0.25f + wet);
  });
  b.Paint(kMossRock, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 5, 126);
    float moss = TileFbm(float(u), float(v), 4, 3, 127);
    if (moss > 0.56f) return RampColour(kRampGrass, 0.25f + n * 0.3f);
    return RampColour(kRampGrey, 0.25f + n * 0.4f + Cracks(u, v, 128));
  });
  b.Paint(kTechWall, [](int u, int v) {
    int lv = Mod(v, 32);
    if (lv >= 14 && lv <= 16) return RampColour(kRampCyan, lv == 15 ? 0.95f : 0.7f);
    return RampColour(kRampSteel, 0.42f + Plate(u, v, 32, 32) + Rivets(u, v, 32, 32) * 0.6f);
  });
  b.Paint(kHazardFloor, [](int u, int v) {
    float wear = TileFbm(float(u), float(v), 8, 3, 129);
    bool yellow = Mod(u - v, 32) < 16;
    return yellow ? RampColour(kRampYellow, 0.45f + wear * 0.25f)
                  : RampColour(kRampGrey, 0.12f + wear * 0.15f);
  });
  b.Paint(kDoor, [](int u, int v) {
    int lu = Mod(u, 64), lv = Mod(v, 64);
    if (lu == 31 || lu == 32) return RampColour(kRampGrey, 0.08f);
    if (lv > 28 && lv < 34) return RampColour(kRampYellow, Mod(lu + lv, 8) < 4 ? 0.6f : 0.15f);
    return RampColour(kRampSteel, 0.5f + Plate(u, v, 32, 64) + Rivets(u, v, 32, 64));
  });
  b.Paint(kPipes, [](int u, int v) {
    float t = float(Mod(u, 16)) / 16.0f;
    float round = std::sin(t * kPi);
    float joint = Mod(v, 32) < 3 ? 0.12f : 0.0f;
    return RampColour(kRampRust, 0.12f + round * 0.6f + joint);
  });
  b.Paint(kCrystal, [](int u, int v) {
    float a = TileNoise(float(u), float(v), 8, 130), c = TileNoise(float(u + 17), float(v), 8, 131);
    float facet = std::fabs(a - c);
    return RampColour(kRampPurple, 0.3f + facet * 1.4f + (Mod(u + 2 * v, 64) < 2 ? 0.3f : 0.0f));
  });
  b.Paint(kMetalPlates, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 8, 3, 132) - 0.5f;
    return RampColour(kRampGrey, 0.32f + n * 0.2f + Plate(u, v, 32, 32, 16) + Rivets(u, v, 32, 32));
  });
  b.Paint(kRoad, [](int u, int v) {
    float n = TileNoise(float(u), float(v), 64, 133);
    int lu = Mod(u, 64), lv = Mod(v, 64);
    if (lu >= 30 && lu <= 33 && lv < 40) return RampColour(kRampYellow, 0.7f);
    return RampColour(kRampGrey, 0.2f + n * 0.12f);
  });
  b.Paint(kTiles, [](int u, int v) {
    int cu = Mod(u, 64) / 16, cv = Mod(v, 64) / 16;
    float base = ((cu + cv) & 1) ? 0.62f : 0.5f;
    return RampColour(kRampIvory, base + Plate(u, v, 16, 16) * 0.6f);
  });
  b.Paint(kOrganic, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 4, 134);
    float cell = TileNoise(float(u), float(v), 8, 135);
    return RampColour(kRampPurple, 0.2f + n * 0.3f + (cell > 0.7f ? 0.25f : 0.0f));
  });
  b.Paint(kAsh, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 5, 136);
    bool ember = TileNoise(float(u), float(v), 64, 137) > 0.93f;
    if (ember) return RampColour(kRampFire, 0.6f);
    return RampColour(kRampGrey, 0.08f + n * 0.25f);
  });
  b.Paint(kGrassDirt, [](int u, int v) {
    float patch = TileFbm(float(u), float(v), 4, 4, 138);
    float n = TileFbm(float(u), float(v), 8, 3, 139);
    return patch > 0.52f ? RampColour(kRampGrass, 0.3f + n * 0.35f)
                         : RampColour(kRampEarth, 0.35f + n * 0.3f);
  });
  b.Paint(kCaveRock, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 5, 140);
    return RampColour(kRampEarth, 0.1f + n * 0.3f + Cracks(u, v, 141));
  });
  b.Paint(kRoof, [](int u, int v) {
    int lv = Mod(v, 8);
    return RampColour(kRampRust, 0.3f + (lv < 2 ? 0.2f : 0.0f) - (lv == 7 ? 0.12f : 0.0f) +
                                     (TileNoise(float(u), float(v), 16, 142) - 0.5f) * 0.12f);
  });
  b.Paint(kWindowWall, [](int u, int v) {
    int cu = Mod(u, 32), cv = Mod(v, 32);
    if (cu >= 6 && cu <= 25 && cv >= 8 && cv <= 23)
      return RampColour(kRampBlue, 0.3f + (cu + cv < 26 ? 0.35f : 0.0f));
    return RampColour(kRampGrey, 0.55f + Plate(u, v, 32, 32) * 0.6f);
  });
  b.Paint(kLandingPad, [](int u, int v) {
    float du = float(Mod(u, 64)) - 31.5f, dv = float(Mod(v, 64)) - 31.5f;
    float d = std::sqrt(du * du + dv * dv);
    if (d > 24 && d < 28) return RampColour(kRampYellow, 0.7f);
    bool h = (std::fabs(du) > 8 && std::fabs(du) < 13 && std::fabs(dv) < 14) ||
             (std::fabs(dv) < 2.5f && std::fabs(du) < 13);
    if (h) return RampColour(kRampIvory, 0.85f);
    return RampColour(kRampGrey, 0.22f + (TileNoise(float(u), float(v), 32, 143) - 0.5f) * 0.1f);
  });
  b.Paint(kBarrier, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 3, 144);
    float band = 0.5f + 0.5f * std::sin(float(v) / 64.0f * 2 * kPi * 8);
    return RampColour(kRampCyan, 0.3f + band * 0.4f + n * 0.25f);
  });
}

// The look of one star system's pack. Every pack keeps the same 32 slots (texture_names.h),
// so a map source names its textures the same way in every system and the props build from
// any pack; a system gets its own look from a colour grade over the whole palette, its own
// haze (what the bright fog fades to) and a few slots painted for its ground.
struct SystemLook {
  const char* file;
  Rgb haze;
  Rgb tint;           // the palette is pulled towards this colour...
  float tintAmount;   // ...by this much
  float saturation;   // 1 keeps the colours; below 1 greys them
  float brightness;
  void (*repaint)(TexPackBuilder& b);  // slots of its own, or null
};

// Ice: the water slot freezes over and the mud becomes slush.
void IceSlots(TexPackBuilder& b) {
  using namespace MapTex;
  b.Paint(kWater, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 4, 301);
    return RampColour(kRampIce, 0.25f + n * 0.25f + Cracks(u, v, 302) * -0.9f);
  });
  b.Paint(kMud, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 4, 303);
    return n > 0.55f ? RampColour(kRampIce, 0.55f + n * 0.2f) : RampColour(kRampGrey, 0.4f + n * 0.3f);
  });
}

// Jungle: the water slot is a poisonous green pool with bubbles, the grass grows rank.
void JungleSlots(TexPackBuilder& b) {
  using namespace MapTex;
  b.Paint(kWater, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 4, 311);
    bool bubble = TileNoise(float(u), float(v), 16, 312) > 0.8f;
    return RampColour(bubble ? kRampYellow : kRampGrass, bubble ? 0.75f : 0.4f + n * 0.45f);
  });
  b.Paint(kGrass, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 5, 313);
    float blade = TileNoise(float(u) * 2.0f, float(v) * 0.3f, 64, 314);
    return RampColour(kRampScales, 0.22f + n * 0.35f + (blade - 0.5f) * 0.35f);
  });
}

// Volcanic: brighter, hotter lava and basalt columns on the cliff slot.
void VolcanicSlots(TexPackBuilder& b) {
  using namespace MapTex;
  b.Paint(kLava, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 4, 5, 321);
    float crust = TileFbm(float(u), float(v), 8, 3, 322);
    if (crust > 0.66f) return RampColour(kRampGrey, 0.06f + (crust - 0.66f) * 0.4f);
    return RampColour(kRampFire, 0.5f + n * 0.6f);
  });
  b.Paint(kCliff, [](int u, int v) {
    int lu = Mod(u, 16);
    float n = TileFbm(float(u), float(v), 8, 3, 323);
    return RampColour(kRampGrey, (lu == 0 ? 0.04f : 0.12f + (lu == 1 ? 0.1f : 0.0f)) + n * 0.14f);
  });
}

// Moon: the sand slot is fine grey regolith pitted with tiny craters.
void MoonSlots(TexPackBuilder& b) {
  using namespace MapTex;
  b.Paint(kSand, [](int u, int v) {
    float n = TileFbm(float(u), float(v), 8, 4, 331);
    float pit = TileNoise(float(u), float(v), 16, 332);
    return RampColour(kRampGrey, 0.38f + n * 0.25f + (pit > 0.8f ? -0.15f : pit > 0.74f ? 0.1f : 0.0f));
  });
}

const SystemLook kLooks[] = {
    {"map1.tex", MakeRgb(214, 206, 190), MakeRgb(255, 180, 120), 0.0f, 1.0f, 1.0f, nullptr},
    {"map2.tex", MakeRgb(236, 242, 250), MakeRgb(200, 225, 255), 0.22f, 0.7f, 1.08f, IceSlots},
    {"map3.tex", MakeRgb(150, 176, 90), MakeRgb(90, 150, 40), 0.2f, 1.0f, 0.85f, JungleSlots},
    {"map4.tex", MakeRgb(200, 90, 50), MakeRgb(120, 30, 20), 0.25f, 0.9f, 0.75f, VolcanicSlots},
    {"map5.tex", MakeRgb(120, 130, 160), MakeRgb(90, 100, 150), 0.15f, 0.35f, 0.8f, MoonSlots},
    {"map6.tex", MakeRgb(150, 160, 176), MakeRgb(110, 130, 170), 0.2f, 0.55f, 0.85f, nullptr},
};

void Grade(TexPackBuilder& b, const SystemLook& look) {
  for (Rgb& c : b.palette) {
    const float grey = (c.r + c.g + c.b) / 3;
    Rgb g = Mix(MakeRgb(grey, grey, grey), c, look.saturation);
    g = Mix(g, Scale(look.tint, (grey + 40) / 295), look.tintAmount);
    c = Scale(g, look.brightness);
    c.r = std::min(c.r, 255.0f), c.g = std::min(c.g, 255.0f), c.b = std::min(c.b, 255.0f);
  }
}

}  // namespace

bool BakeTextures(const BakeContext& ctx) {
  TexPackBuilder ents;
  PaintEntities(ents);
  bool ok = WriteOut(ctx, "ents.tex", ents.Encode());
  for (const SystemLook& look : kLooks) {
    TexPackBuilder map;
    map.haze = look.haze;
    PaintMap(map);
    if (look.repaint) look.repaint(map);
    Grade(map, look);
    ok = WriteOut(ctx, look.file, map.Encode()) && ok;
  }
  return ok;
}
