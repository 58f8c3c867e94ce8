// The star chart: "starchart.map" with the campaign's six star systems as small 3D worlds,
// "starchart.ent" with one destination per system, and the selection marker
// "StarChartSel.spr".
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "bake.h"
#include "bake_ui.h"
#include "model_builder.h"
#include "texture_names.h"

namespace {

// The star chart's map file differs from a game map: 128 reserved bytes per object and
// 128-byte pack and background names.
constexpr int kChartReservedBytes = 128;
constexpr int kChartNameBytes = 128;
constexpr int kEntRecordBytes = 220;
constexpr int kEntTagBytes = 128;
constexpr int kEntEntryBytes = 64;

// One star system: where it hangs in the chart, how its world looks, and where a jump there
// arrives (the map of the system's launch pad, at its "default" entry point beside it).
struct StarSystem {
  const char* name;     // shown under the chart
  const char* mapFile;  // the destination
  double angle;         // degrees around the chart's centre, 0 along +z, 90 along +x
  double radius;        // distance from the centre
  double height;        // y
  double size;          // planet radius
  int ground;           // MapTex texture of the planet
  int sun;              // MapTex texture of its small sun
  bool ringed;
};

// Neighbouring systems alternate high and low, so the world opposite the selected one
// (between it and the camera) never hides it.
const StarSystem kSystems[] = {
    {"Desert system", "map1_3.map", 20, 640, 180, 150, MapTex::kSand, MapTex::kLava, false},
    {"Ice system", "map2_1.map", 80, 700, -160, 140, MapTex::kIce, MapTex::kCrystal, true},
    {"Jungle system", "map3_1.map", 140, 620, 200, 165, MapTex::kOrganic, MapTex::kLava, false},
    {"Volcanic system", "map4_1.map", 205, 690, -170, 145, MapTex::kLava, MapTex::kCrystal, false},
    {"Moon system", "map5_1.map", 265, 640, 190, 125, MapTex::kRockGrey, MapTex::kIce, true},
    {"Fortress system", "map6_1.map", 320, 700, -150, 160, MapTex::kMetalPlates, MapTex::kLava, false},
};

V3 SystemCentre(const StarSystem& s) {
  const double a = s.angle * 3.14159265358979 / 180;
  return V3{s.radius * std::sin(a), s.height, s.radius * std::cos(a)};
}

Skin S(int texture, double texelsPerUnit = 0, bool glow = false) {
  Skin skin;
  skin.texture = texture;
  skin.texelsPerUnit = texelsPerUnit;
  skin.glow = glow;
  return skin;
}

// A planet with a small sun beside it, around the object's origin; lit from its sun.
ModelBuilder SystemModel(const StarSystem& s) {
  ModelBuilder m;
  const V3 sunAt{-s.size * 1.9, s.size * 0.9, -s.size * 0.6};
  m.SetLight(Normalised(sunAt), 8, 44);
  m.Sphere(V3{0, 0, 0}, s.size, 6, 10, S(s.ground, 0.5));
  m.Sphere(sunAt, s.size * 0.32, 3, 6, S(s.sun, 0, true));
  if (s.ringed) {
    // A flat ring: one face up and one down, so it shows from both sides.
    m.Push();
    m.RotateZ(14);
    m.Prism(V3{0, -1, 0}, V3{0, 1, 0}, s.size * 1.7, 10, S(s.sun, 0, true), true);
    m.Pop();
  }
  return m;
}

void PutName(Bytes& b, const char* text, int bytes) {
  const size_t at = b.size();
  b.resize(at + bytes, 0);
  std::memcpy(b.data() + at, text, std::min<size_t>(std::strlen(text), bytes - 1));
}

bool WriteChartMap(const BakeContext& ctx) {
  Bytes b;
  PutU32LE(b, uint32_t(std::size(kSystems)));
  for (const StarSystem& s : kSystems) {
    const V3 c = SystemCentre(s);
    PutU32LE(b, uint32_t(int32_t(std::lround(c.x))));
    PutU32LE(b, uint32_t(int32_t(std::lround(c.y))));
    PutU32LE(b, uint32_t(int32_t(-std::lround(c.z))));  // stored negated
    b.resize(b.size() + kChartReservedBytes, 0);
    PutU32LE(b, 0);  // not solid
    const Bytes tdo = SystemModel(s).ToTdo();
    b.insert(b.end(), tdo.begin(), tdo.end());
  }
  PutName(b, "map1.tex", kChartNameBytes);
  PutName(b, "sky_night.spr", kChartNameBytes);  // named, never loaded: the form has its own
  return WriteOut(ctx, "starchart.map", b);
}

bool WriteChartEntities(const BakeContext& ctx) {
  Bytes b;
  PutU32LE(b, uint32_t(std::size(kSystems)));
  int number = 1;
  for (const StarSystem& s : kSystems) {
    const V3 c = SystemCentre(s);
    const size_t start = b.size();
    PutU32LE(b, 0);               // reserved
    PutU32LE(b, uint32_t(number++));  // the star-system number
    // The marker floats above the planet.
    PutU32LE(b, uint32_t(int32_t(std::lround(c.x))));
    PutU32LE(b, uint32_t(int32_t(std::lround(c.y + s.size + 70))));
    PutU32LE(b, uint32_t(int32_t(std::lround(c.z))));
    PutU32LE(b, 0);  // w
    PutU32LE(b, 0);  // heading
    PutName(b, s.name, kEntTagBytes);
    PutName(b, s.mapFile, kEntEntryBytes);
    if (b.size() - start != kEntRecordBytes) return false;
  }
  return WriteOut(ctx, "starchart.ent", b);
}

// The selection marker: an amber chevron pointing down at the chosen world, over black
// (the colour key).
bool WriteMarker(const BakeContext& ctx) {
  RgbImage img(16, 16, Rgb{0, 0, 0});
  const Rgb amber = ui::kAmber, deep = ui::kAmberDeep;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      // A downward triangle with a hollow centre and a dark rim.
      const double cx = x + 0.5 - 8, cy = y + 0.5;
      const double halfWidth = (15.5 - cy) * 0.5;
      if (std::fabs(cx) > halfWidth || cy < 1) continue;
      const double edge = std::min(halfWidth - std::fabs(cx), cy - 1);
      const bool inner = std::fabs(cx) < halfWidth - 3.5 && cy > 4.5 && cy < 11;
      if (inner) continue;
      img.At(x, y) = edge < 1.0 ? deep : amber;
    }
  return ui::WriteKeyedSpr(ctx, "StarChartSel.spr", img, 0, false);
}

}  // namespace

bool BakeStarChart(const BakeContext& ctx) {
  bool ok = WriteChartMap(ctx);
  ok = WriteChartEntities(ctx) && ok;
  ok = WriteMarker(ctx) && ok;
  return ok;
}
