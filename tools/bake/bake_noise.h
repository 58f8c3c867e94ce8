// Deterministic noise for procedural art: hashes and value noise that can wrap around.
#pragma once

#include <cmath>
#include <cstdint>

// A well-mixed 32-bit hash of up to three integers and a seed.
inline uint32_t Hash32(int32_t a, int32_t b, int32_t c, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u ^ uint32_t(a) * 0x85EBCA6Bu ^ uint32_t(b) * 0xC2B2AE35u ^
               uint32_t(c) * 0x27D4EB2Fu;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

// 0..1 from a hash.
inline float Hash01(int32_t a, int32_t b, int32_t c, uint32_t seed) {
  return float(Hash32(a, b, c, seed) >> 8) / float(1 << 24);
}

inline float SmoothStep(float e0, float e1, float x) {
  float t = (x - e0) / (e1 - e0);
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  return t * t * (3 - 2 * t);
}

inline int WrapIndex(int i, int period) { return ((i % period) + period) % period; }

// Value noise 0..1 along x with `cells` lattice points per `period` units, wrapping there.
inline float WrapNoise1(float x, int period, int cells, uint32_t seed) {
  const float t = x / float(period) * float(cells);
  const int i = int(std::floor(t));
  const float f = t - float(i);
  const float a = Hash01(WrapIndex(i, cells), 0, cells, seed);
  const float b = Hash01(WrapIndex(i + 1, cells), 0, cells, seed);
  const float s = f * f * (3 - 2 * f);
  return a + (b - a) * s;
}

// Value noise 0..1 in two dimensions that wraps along x every `period` units; y is in units
// of one x cell.
inline float WrapNoise2(float x, float y, int period, int cells, uint32_t seed) {
  const float tx = x / float(period) * float(cells);
  const float ty = y / float(period) * float(cells);
  const int ix = int(std::floor(tx)), iy = int(std::floor(ty));
  const float fx = tx - float(ix), fy = ty - float(iy);
  auto v = [&](int dx, int dy) { return Hash01(WrapIndex(ix + dx, cells), iy + dy, cells, seed); };
  const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  const float top = v(0, 0) + (v(1, 0) - v(0, 0)) * sx;
  const float bottom = v(0, 1) + (v(1, 1) - v(0, 1)) * sx;
  return top + (bottom - top) * sy;
}

// Sums of octaves (cells doubling, amplitude halving), normalised to 0..1.
inline float WrapFbm1(float x, int period, int cells, int octaves, uint32_t seed) {
  float sum = 0, amp = 1, norm = 0;
  for (int o = 0; o < octaves; ++o, cells *= 2, amp *= 0.5f) {
    sum += WrapNoise1(x, period, cells, seed + uint32_t(o) * 101u) * amp;
    norm += amp;
  }
  return sum / norm;
}

inline float WrapFbm2(float x, float y, int period, int cells, int octaves, uint32_t seed) {
  float sum = 0, amp = 1, norm = 0;
  for (int o = 0; o < octaves; ++o, cells *= 2, amp *= 0.5f) {
    sum += WrapNoise2(x, y, period, cells, seed + uint32_t(o) * 131u) * amp;
    norm += amp;
  }
  return sum / norm;
}
