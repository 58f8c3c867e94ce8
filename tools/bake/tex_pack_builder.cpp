// Texture-pack builder: palette ramps, periodic noise, the shade table and the pack layout.
#include "tex_pack_builder.h"

#include <algorithm>
#include <cmath>

#include "bake_noise.h"

namespace {

// Dark, middle and light stops of each ramp, in Ramp order.
const Rgb kRampStops[16][3] = {
    {{20, 20, 22}, {110, 110, 112}, {228, 228, 230}},   // grey
    {{16, 20, 28}, {86, 100, 118}, {200, 212, 228}},    // steel
    {{22, 26, 12}, {92, 104, 52}, {192, 202, 132}},     // olive
    {{10, 28, 8}, {58, 118, 34}, {170, 215, 110}},      // grass
    {{26, 16, 8}, {104, 72, 44}, {204, 164, 112}},      // earth
    {{60, 48, 28}, {180, 150, 100}, {246, 228, 178}},   // sand
    {{30, 12, 6}, {140, 62, 26}, {232, 152, 82}},       // rust
    {{34, 4, 4}, {168, 30, 24}, {252, 136, 112}},       // red
    {{48, 6, 0}, {232, 92, 10}, {255, 244, 160}},       // fire
    {{0, 24, 30}, {20, 170, 190}, {205, 255, 255}},     // cyan
    {{6, 10, 40}, {40, 82, 172}, {152, 192, 252}},      // blue
    {{20, 6, 30}, {112, 40, 142}, {222, 162, 242}},     // purple
    {{40, 34, 24}, {190, 175, 140}, {252, 246, 226}},   // ivory
    {{8, 20, 10}, {50, 92, 40}, {152, 182, 92}},        // scales
    {{44, 32, 0}, {224, 182, 20}, {255, 246, 142}},     // yellow
    {{60, 80, 102}, {172, 202, 222}, {246, 250, 255}},  // ice
};

int To5(float v) { return std::clamp(int(std::lround(v * 31.0f / 255.0f)), 0, 31); }

}  // namespace

uint8_t RampColour(Ramp ramp, float level) {
  int shade = int(std::lround(std::clamp(level, 0.0f, 1.0f) * 15.0f));
  return uint8_t(int(ramp) * 16 + shade);
}

float TileNoise(float u, float v, int cells, uint32_t seed) {
  const float tx = u / 64.0f * float(cells), ty = v / 64.0f * float(cells);
  const int ix = int(std::floor(tx)), iy = int(std::floor(ty));
  const float fx = tx - float(ix), fy = ty - float(iy);
  auto at = [&](int dx, int dy) {
    return Hash01(WrapIndex(ix + dx, cells), WrapIndex(iy + dy, cells), cells, seed);
  };
  const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  const float top = at(0, 0) + (at(1, 0) - at(0, 0)) * sx;
  const float bottom = at(0, 1) + (at(1, 1) - at(0, 1)) * sx;
  return top + (bottom - top) * sy;
}

float TileFbm(float u, float v, int cells, int octaves, uint32_t seed) {
  float sum = 0, amp = 1, norm = 0;
  for (int o = 0; o < octaves && cells <= 64; ++o, cells *= 2, amp *= 0.5f) {
    sum += TileNoise(u, v, cells, seed + uint32_t(o) * 977u) * amp;
    norm += amp;
  }
  return sum / norm;
}

TexPackBuilder::TexPackBuilder() {
  for (int r = 0; r < 16; ++r)
    for (int s = 0; s < 16; ++s) {
      float t = float(s) / 15.0f;
      const Rgb* k = kRampStops[r];
      palette[r * 16 + s] = t < 0.5f ? Mix(k[0], k[1], t * 2) : Mix(k[1], k[2], t * 2 - 1);
    }
}

void TexPackBuilder::Paint(int t, const std::function<uint8_t(int u, int v)>& paint) {
  for (int v = 0; v < 64; ++v)
    for (int u = 0; u < 64; ++u) textures_[t][v * 64 + u] = paint(u, v);
}

Rgb TexPackBuilder::Shaded(int n, int row) const {
  const Rgb& c = palette[n & 255];
  if (row <= kLitRow) {
    float f = 0.03f + 0.97f * std::pow(float(row) / float(kLitRow), 1.2f);
    return Scale(c, f);
  }
  float t = float(row - kLitRow) / float(63 - kLitRow);
  return Mix(c, haze, 0.8f * t);
}

Bytes TexPackBuilder::Encode() const {
  Bytes out;
  out.reserve(size_t(32 * 4096 + 32768 + 768));
  for (const auto& t : textures_) out.insert(out.end(), t, t + 4096);
  // Entry k of the file is table entry 16383 - k.
  for (int k = 0; k < 16384; ++k) {
    int entry = 16383 - k;
    Rgb c = Shaded(entry & 255, entry >> 8);
    PutU16BE(out, uint16_t(To5(c.r) | (To5(c.g) << 5) | (To5(c.b) << 10)));
  }
  for (const Rgb& c : palette) {
    out.push_back(uint8_t(std::clamp(std::lround(c.r), 0L, 255L)));
    out.push_back(uint8_t(std::clamp(std::lround(c.g), 0L, 255L)));
    out.push_back(uint8_t(std::clamp(std::lround(c.b), 0L, 255L)));
  }
  return out;
}
