// Textured spans: one row of the polygon filler, texel by texel through the look-up table.
#include <cstring>

#include "engine3d/engine3d.h"
#include "engine3d/pipeline.h"

// texel (u, v) = texture[((v >> 8) & 63) * 64 + ((u >> 8) & 63)];
// pixel = lut[(shade >> 8) * 256 + texel]; written with masks and shifts.
#define KVR_TEXEL_PIXEL                                                          \
  *dst++ = lut[(shade & ~255) + texture[((v >> 2) & 0xFC0) | ((u >> 8) & 63)]]; \
  u += du;                                                                        \
  v += dv;                                                                        \
  shade += ds;

void TexturedSpanScalar(uint16_t* dst, int32_t n, const uint8_t* texture, const uint16_t* lut,
                        int32_t u, int32_t v, int32_t shade, int32_t du, int32_t dv, int32_t ds) {
  for (; n >= 8; n -= 8) {
    KVR_TEXEL_PIXEL KVR_TEXEL_PIXEL KVR_TEXEL_PIXEL KVR_TEXEL_PIXEL
    KVR_TEXEL_PIXEL KVR_TEXEL_PIXEL KVR_TEXEL_PIXEL KVR_TEXEL_PIXEL
  }
  while (n-- > 0) {
    KVR_TEXEL_PIXEL
  }
}

#undef KVR_TEXEL_PIXEL

#if defined(__GNUC__)

namespace {

// Eight pixels side by side in 16-bit lanes. Only bits 8..13 of u and v pick the texel, so
// they may wrap at 16 bits; the shade stays within the table's guard rows, -2048..18431,
// which 16 bits hold exactly.
typedef uint16_t Lanes __attribute__((vector_size(16)));
constexpr int kLanes = 8;

// Row offsets are kept non-negative by counting from the first guard row.
constexpr uint16_t kGuardOffset = kLutGuardRows * 256;

}  // namespace

void TexturedSpan(uint16_t* dst, int32_t n, const uint8_t* texture, const uint16_t* lut,
                  int32_t u, int32_t v, int32_t shade, int32_t du, int32_t dv, int32_t ds) {
  // Setting up the lanes costs more than a few pixels do.
  if (n < 4) return TexturedSpanScalar(dst, n, texture, lut, u, v, shade, du, dv, ds);
  const Lanes step = {0, 1, 2, 3, 4, 5, 6, 7};
  const Lanes su = Lanes{} + uint16_t(du), sv = Lanes{} + uint16_t(dv),
              ss = Lanes{} + uint16_t(ds);
  Lanes lu = uint16_t(u) + step * su;
  Lanes lv = uint16_t(v) + step * sv;
  Lanes ls = uint16_t(shade) + step * ss;
  const uint16_t* table = lut - kGuardOffset;
  for (;;) {
    const Lanes texel = ((lv >> 2) & 0xFC0) | ((lu >> 8) & 63);
    const Lanes row = (ls & 0xFF00) + kGuardOffset;
    uint16_t t[kLanes], r[kLanes];
    memcpy(t, &texel, sizeof t);
    memcpy(r, &row, sizeof r);
    auto pixel = [&](int k) { dst[k] = table[size_t(r[k]) + texture[t[k]]]; };
    if (n >= kLanes) {
      pixel(0), pixel(1), pixel(2), pixel(3), pixel(4), pixel(5), pixel(6), pixel(7);
    } else {
      for (int k = 0; k < n; ++k) pixel(k);
      return;
    }
    dst += kLanes;
    n -= kLanes;
    if (n == 0) return;
    lu += su * uint16_t(kLanes);
    lv += sv * uint16_t(kLanes);
    ls += ss * uint16_t(kLanes);
  }
}

#else

void TexturedSpan(uint16_t* dst, int32_t n, const uint8_t* texture, const uint16_t* lut,
                  int32_t u, int32_t v, int32_t shade, int32_t du, int32_t dv, int32_t ds) {
  TexturedSpanScalar(dst, n, texture, lut, u, v, shade, du, dv, ds);
}

#endif
