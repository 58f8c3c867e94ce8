// Texture-pack builder: 32 procedural 64 x 64 textures of colour numbers, a palette of 16
// colour ramps, and the 64-row look-up table from dark to bright, in the pack layout.
#pragma once

#include <cstdint>
#include <functional>

#include "bake.h"
#include "bake_image.h"

// The palette: 16 ramps of 16 shades, colour number = ramp * 16 + shade (0 dark .. 15 light).
enum Ramp : uint8_t {
  kRampGrey, kRampSteel, kRampOlive, kRampGrass, kRampEarth, kRampSand, kRampRust, kRampRed,
  kRampFire, kRampCyan, kRampBlue, kRampPurple, kRampIvory, kRampScales, kRampYellow,
  kRampIce,
};

// Colour number of a ramp at level 0..1 (clamped).
uint8_t RampColour(Ramp ramp, float level);

// Periodic noise for textures: wraps every 64 texels in both directions.
float TileNoise(float u, float v, int cells, uint32_t seed);           // 0..1
float TileFbm(float u, float v, int cells, int octaves, uint32_t seed);  // 0..1

// Look-up rows: vertex shades of lit surfaces fall between these rows; the rows above
// kLitRow fade towards the pack's haze (bright fog), the rows below towards black.
constexpr int kDarkRow = 8;
constexpr int kLitRow = 40;

class TexPackBuilder {
 public:
  TexPackBuilder();

  // Paints texture t (0..31): paint(u, v) returns the colour number of texel (u, v).
  void Paint(int t, const std::function<uint8_t(int u, int v)>& paint);
  uint8_t& Texel(int t, int u, int v) { return textures_[t][(v & 63) * 64 + (u & 63)]; }

  // Colour that the brightest rows fade to (the bright fog of maps that ask for it).
  Rgb haze = MakeRgb(200, 210, 220);
  Rgb palette[256];

  // The screen colour (8-bit channels) of colour number n at look-up row r.
  Rgb Shaded(int n, int row) const;
  // The pack file: textures, the table back to front in 5-5-5 (red in the low bits),
  // then the palette.
  Bytes Encode() const;

 private:
  uint8_t textures_[32][4096] = {};
};
