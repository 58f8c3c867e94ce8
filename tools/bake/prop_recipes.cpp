// The props a map can place, each a short recipe over the model builder's primitives,
// textured from the map's own pack (bank 0).
#include "prop_recipes.h"

#include <cmath>

#include "bake_noise.h"
#include "texture_names.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

Skin S(int texture, double texelsPerUnit = 0, bool glow = false) {
  Skin s;
  s.texture = texture;
  s.texelsPerUnit = texelsPerUnit;
  s.glow = glow;
  return s;
}

double Jitter(uint32_t seed, int i, int k) { return Hash01(i, k, 3, seed) * 2 - 1; }

// A lumpy block: a box whose corners are pushed about, wider at the bottom.
void Lump(ModelBuilder& m, V3 centre, V3 size, double rough, uint32_t seed, int salt,
          const Skin& skin) {
  V3 c[8];
  for (int i = 0; i < 8; ++i) {
    const bool top = i >= 4;
    const int k = i % 4;
    const double sx = (k == 1 || k == 2) ? 0.5 : -0.5, sz = (k >= 2) ? 0.5 : -0.5;
    const double narrow = top ? 0.7 : 1.0;
    c[i] = V3{centre.x + size.x * sx * narrow * (1 + rough * Jitter(seed, salt * 8 + i, 0)),
              centre.y + (top ? size.y * 0.5 * (1 + rough * Jitter(seed, salt * 8 + i, 1)) : -size.y * 0.5),
              centre.z + size.z * sz * narrow * (1 + rough * Jitter(seed, salt * 8 + i, 2))};
  }
  m.Block(c, skin);
}

void Rock(ModelBuilder& m, double s, uint32_t seed) {
  Lump(m, V3{0, 70 * s, 0}, V3{260 * s, 160 * s, 220 * s}, 0.3, seed, 0, S(MapTex::kRockRed, 0.25));
  Lump(m, V3{60 * s, 150 * s, -20 * s}, V3{130 * s, 90 * s, 120 * s}, 0.35, seed, 1,
       S(MapTex::kRockRed, 0.25));
}

void Boulders(ModelBuilder& m, double s, uint32_t seed) {
  for (int i = 0; i < 4; ++i) {
    const double a = 2 * kPi * i / 4 + Jitter(seed, i, 5);
    const double r = (i == 0 ? 0 : 150) * s;
    const double size = (i == 0 ? 220 : 120 + 40 * Jitter(seed, i, 6)) * s;
    Lump(m, V3{std::cos(a) * r, size * 0.35, std::sin(a) * r}, V3{size, size * 0.8, size * 0.9}, 0.3,
         seed, i, S(i % 2 ? MapTex::kRockGrey : MapTex::kRockRed, 0.3));
  }
}

// A weathered stone needle: stacked lumps narrowing upwards.
void Spire(ModelBuilder& m, double s, uint32_t seed) {
  double y = 0, w = 240 * s;
  for (int i = 0; i < 4; ++i) {
    const double h = (260 - 30 * i) * s;
    Lump(m, V3{12 * Jitter(seed, i, 7) * s, y + h / 2, 12 * Jitter(seed, i, 8) * s}, V3{w, h, w * 0.9},
         0.15, seed, i, S(i % 2 ? MapTex::kCliff : MapTex::kRockRed, 0.25));
    y += h * 0.95;
    w *= 0.72;
  }
}

// A lattice power pylon with a glowing beacon: a landmark seen from afar.
void Pylon(ModelBuilder& m, double s, uint32_t) {
  const double h = 900 * s, foot = 110 * s, top = 35 * s;
  const Skin steel = S(MapTex::kMetalPlates, 0.5);
  for (int i = 0; i < 4; ++i) {
    const double a = kPi / 4 + kPi / 2 * i;
    const V3 b{std::cos(a) * foot, 0, std::sin(a) * foot}, t{std::cos(a) * top, h, std::sin(a) * top};
    m.Beam(b, t, 16 * s, 16 * s, V3{-std::sin(a), 0, std::cos(a)}, steel);
  }
  for (int k = 1; k <= 3; ++k) {
    const double y = h * k / 4, r = foot + (top - foot) * k / 4;
    m.Box(V3{0, y, 0}, V3{r * 1.5, 12 * s, r * 1.5}, steel);
  }
  m.Box(V3{0, h, 0}, V3{340 * s, 18 * s, 26 * s}, steel);  // cross arm
  m.Sphere(V3{0, h + 40 * s, 0}, 28 * s, 3, 6, S(MapTex::kLava, 0, true));
}

// A squat outpost building with a door, lit windows and a flat roof.
void Building(ModelBuilder& m, double s, uint32_t) {
  const double w = 420 * s, d = 320 * s, h = 220 * s;
  m.Box(V3{0, h / 2, 0}, V3{w, h, d}, S(MapTex::kConcreteWall, 0.2));
  m.Box(V3{0, h + 12 * s, 0}, V3{w + 30 * s, 24 * s, d + 30 * s}, S(MapTex::kRoof, 0.2));
  m.Panel(V3{0, 70 * s, -d / 2 - 2}, V3{55 * s, 0, 0}, V3{0, 70 * s, 0}, V3{0, 0, -1}, S(MapTex::kDoor));
  for (int side = -1; side <= 1; side += 2)
    m.Panel(V3{side * w * 0.3, 140 * s, -d / 2 - 2}, V3{60 * s, 0, 0}, V3{0, 30 * s, 0}, V3{0, 0, -1},
            S(MapTex::kWindowWall, 0, true));
  m.Cylinder(V3{w * 0.3, h + 24 * s, d * 0.2}, V3{w * 0.3, h + 110 * s, d * 0.2}, 30 * s, 6,
             S(MapTex::kPipes, 0.3));
}

// The stumps of a fallen wall: broken brick slabs of uneven height.
void Ruin(ModelBuilder& m, double s, uint32_t seed) {
  const Skin brick = S(MapTex::kBrick, 0.35);
  for (int i = 0; i < 5; ++i) {
    const double h = (90 + 160 * Hash01(i, 1, 2, seed)) * s;
    m.Box(V3{(i - 2) * 95 * s, h / 2, 0}, V3{90 * s, h, 45 * s}, brick);
  }
  for (int i = 0; i < 3; ++i) {
    const double h = (70 + 140 * Hash01(i, 4, 2, seed)) * s;
    m.Box(V3{-190 * s, h / 2, (i + 1) * 90 * s}, V3{45 * s, h, 85 * s}, brick);
  }
  m.Push();
  m.Translate(V3{80 * s, 20 * s, 140 * s});
  m.RotateY(25);
  m.RotateZ(12);
  m.Box(V3{0, 0, 0}, V3{170 * s, 40 * s, 60 * s}, S(MapTex::kConcreteWall, 0.3));  // a fallen lintel
  m.Pop();
}

// The landing pad: a low octagonal deck with hazard edging and beacon lights; drivable.
void LandingPad(ModelBuilder& m, double s, uint32_t) {
  const double r = 520 * s, h = 14;
  m.Prism(V3{0, 0, 0}, V3{0, h, 0}, r, 8, S(MapTex::kLandingPad), true);
  m.Prism(V3{0, -4, 0}, V3{0, h - 4, 0}, r + 40 * s, 8, S(MapTex::kHazardFloor, 0.3), false);
  for (int i = 0; i < 8; ++i) {
    const double a = 2 * kPi * (i + 0.5) / 8;
    m.Box(V3{std::cos(a) * (r + 20 * s), h + 10, std::sin(a) * (r + 20 * s)}, V3{24, 20, 24},
          S(MapTex::kLava, 0, true));
  }
}

// A leaning wreck of a tower: a landmark on a hill.
void Tower(ModelBuilder& m, double s, uint32_t) {
  m.Prism(V3{0, 0, 0}, V3{0, 600 * s, 0}, 90 * s, 6, S(MapTex::kTechWall, 0.4));
  m.Prism(V3{0, 600 * s, 0}, V3{0, 680 * s, 0}, 140 * s, 6, S(MapTex::kMetalPlates, 0.4));
  m.Sphere(V3{0, 710 * s, 0}, 34 * s, 3, 6, S(MapTex::kCrystal, 0, true));
}

// A cluster of glowing crystals.
void Crystals(ModelBuilder& m, double s, uint32_t seed) {
  for (int i = 0; i < 5; ++i) {
    const double a = 2 * kPi * i / 5, r = (i ? 70 : 0) * s, h = (160 + 160 * Hash01(i, 9, 1, seed)) * s;
    const V3 b{std::cos(a) * r, 0, std::sin(a) * r};
    const V3 t = b + V3{std::cos(a) * r * 0.6, h, std::sin(a) * r * 0.6};
    m.Cone(b, t, 30 * s, 0, 4, S(MapTex::kCrystal, 0, true), false);
  }
}

const PropRecipe kRecipes[] = {
    {"rock", 170, Rock},         {"boulders", 230, Boulders}, {"spire", 150, Spire},
    {"pylon", 110, Pylon},       {"building", 260, Building}, {"ruin", 230, Ruin},
    {"landing_pad", 0, LandingPad}, {"tower", 140, Tower},    {"crystals", 90, Crystals},
};

}  // namespace

const PropRecipe* FindPropRecipe(const std::string& name) {
  for (const PropRecipe& r : kRecipes)
    if (name == r.name) return &r;
  return nullptr;
}

std::string PropRecipeNames() {
  std::string s;
  for (const PropRecipe& r : kRecipes) s += std::string(s.empty() ? "" : " ") + r.name;
  return s;
}
