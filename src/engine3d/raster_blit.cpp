// Scaled sprite blits for 3D sprites: nearest-neighbour, four blend modes.
#include <cstring>

#include "core/display.h"
#include "engine3d/engine3d.h"
#include "engine3d/pipeline.h"
#include "gfx2d/gfx2d.h"

namespace {

// Dark source pixels show the background through, bright ones cover it.
inline uint16_t BrightnessBlend(uint16_t s, uint16_t d) {
  int32_t sr = s >> 11, sg = (s >> 6) & 31, sb = s & 31;
  int32_t dr = d >> 11, dg = (d >> 6) & 31, db = d & 31;
  int32_t ws = 2 * sr + sg + sb;
  int32_t wd = 128 - ws;
  int32_t r = ((2 * dr * wd) >> 8) + ((2 * sr * ws) >> 8);
  int32_t g = ((2 * dg * wd) >> 8) + ((2 * sg * ws) >> 8);
  int32_t b = ((2 * db * wd) >> 8) + ((2 * sb * ws) >> 8);
  return uint16_t((r << 11) | (g << 6) | b);
}

// One destination row; Mode picks the per-pixel rule at compile time, rows unrolled by 16.
template <int Mode>
inline void BlitRowPixels(uint16_t* dst, const uint16_t* src, int32_t u, int32_t du, int32_t n,
                          uint16_t key) {
  auto pixel = [&](uint16_t* d) {
    uint16_t s = src[u >> 8];
    u += du;
    if (Mode == 0) {
      if (s != key) *d = s;
    } else if (Mode == 1) {
      if (s != key) *d = HalfBlend(s, *d);
    } else if (Mode == 2) {
      *d = HalfBlend(s, *d);
    } else {
      if (s != key) *d = BrightnessBlend(s, *d);
    }
  };
  for (; n >= 16; n -= 16, dst += 16)
    for (int k = 0; k < 16; ++k) pixel(dst + k);
  for (; n > 0; --n) pixel(dst++);
}

#if defined(__GNUC__)

// Eight pixels in 16-bit lanes: the source pixels are fetched one by one, the rules worked
// on all eight at once. Every intermediate of the blends stays below 2^16, and the packed
// result drops the same high bits the pixel-by-pixel one does.
using Lanes = PixelLanes;

inline Lanes BrightnessLanes(Lanes s, Lanes d) {
  const Lanes sr = s >> 11, sg = (s >> 6) & 31, sb = s & 31;
  const Lanes dr = d >> 11, dg = (d >> 6) & 31, db = d & 31;
  const Lanes ws = 2 * sr + sg + sb;
  const Lanes wd = 128 - ws;
  const Lanes r = ((2 * dr * wd) >> 8) + ((2 * sr * ws) >> 8);
  const Lanes g = ((2 * dg * wd) >> 8) + ((2 * sg * ws) >> 8);
  const Lanes b = ((2 * db * wd) >> 8) + ((2 * sb * ws) >> 8);
  return (r << 11) | (g << 6) | b;
}

template <int Mode>
inline void BlitRowLanes(uint16_t* dst, const uint16_t* src, int32_t u, int32_t du, int32_t n,
                         uint16_t key) {
  for (; n >= 8; n -= 8, dst += 8) {
    const Lanes s = {src[u >> 8],          src[(u + du) >> 8],     src[(u + 2 * du) >> 8],
                     src[(u + 3 * du) >> 8], src[(u + 4 * du) >> 8], src[(u + 5 * du) >> 8],
                     src[(u + 6 * du) >> 8], src[(u + 7 * du) >> 8]};
    u += 8 * du;
    Lanes d;
    memcpy(&d, dst, sizeof d);
    Lanes out;
    if (Mode == 2) {
      out = HalfBlendLanes(s, d);
    } else {
      const Lanes drawn = (Lanes)(s != key);
      const Lanes over = Mode == 0 ? s : (Mode == 1 ? HalfBlendLanes(s, d) : BrightnessLanes(s, d));
      out = (over & drawn) | (d & ~drawn);
    }
    memcpy(dst, &out, sizeof out);
  }
  BlitRowPixels<Mode>(dst, src, u, du, n, key);
}

#endif

template <int Mode>
inline void BlitRowMode(uint16_t* dst, const uint16_t* src, int32_t u, int32_t du, int32_t n,
                        uint16_t key, bool lanes) {
#if defined(__GNUC__)
  if (lanes) return BlitRowLanes<Mode>(dst, src, u, du, n, key);
#endif
  BlitRowPixels<Mode>(dst, src, u, du, n, key);
}

void BlitRowAny(uint16_t* dst, const uint16_t* src, int32_t u, int32_t du, int32_t n,
                int32_t mode, uint16_t key, bool lanes) {
  switch (mode) {
    case 0: BlitRowMode<0>(dst, src, u, du, n, key, lanes); break;
    case 1: BlitRowMode<1>(dst, src, u, du, n, key, lanes); break;
    case 2: BlitRowMode<2>(dst, src, u, du, n, key, lanes); break;
    case 3: BlitRowMode<3>(dst, src, u, du, n, key, lanes); break;
    default: break;
  }
}

template <int Mode>
void BlitRows(uint16_t* dst, const uint16_t* pixels, int32_t imageWidth, int32_t u, int32_t du,
              int32_t v, int32_t dv, int32_t columns, int32_t rows, uint16_t key) {
  for (int32_t r = 0; r < rows; ++r, dst += kFrameWidth, v += dv)
    BlitRowMode<Mode>(dst, pixels + (v >> 8) * imageWidth, u, du, columns, key, true);
}

}  // namespace

void BlitSprite(const Engine3D& e, uint16_t* frame, int32_t left, int32_t top, int32_t right,
                int32_t bottom, const uint16_t* image, int32_t srcLeft, int32_t srcTop,
                int32_t srcRight, int32_t srcBottom, int32_t clipX0, int32_t clipY0,
                int32_t clipX1, int32_t clipY1, int32_t mode, int32_t key) {
  if (!frame || !image) return;
  int64_t width = int64_t(right) - left, height = int64_t(bottom) - top;
  if (width < 1 || height < 1 || mode < 0 || mode > 3) return;
  auto reciprocal = [&e](int64_t n) { return n < 16384 ? int64_t(e.Reciprocal(int32_t(n))) : 65536 / n; };
  int64_t du = (reciprocal(width) * (int64_t(srcRight) - srcLeft)) >> 8;
  int64_t dv = (reciprocal(height) * (int64_t(srcBottom) - srcTop)) >> 8;
  int64_t u = int64_t(srcLeft) << 8, v = int64_t(srcTop) << 8;
  int64_t l = left, t = top;
  if (l < clipX0) {
    u += (clipX0 - l) * du;
    l = clipX0;
  }
  if (t < clipY0) {
    v += (clipY0 - t) * dv;
    t = clipY0;
  }
  int64_t columns = (right < clipX1 ? right : clipX1) - l;
  int64_t rows = (bottom < clipY1 ? bottom : clipY1) - t;
  if (columns < 1 || rows < 1) return;
  // The sprite's own rectangle always lies inside its image; a hand-made call could ask
  // for more, which is cut here rather than read past the block. A source rectangle given
  // right to left (or bottom to top) mirrors the sprite: the steps go backwards, so the first
  // and the last texel are each checked against both sides.
  const int32_t imageWidth = SpriteWidth(image), imageHeight = SpriteHeight(image);
  auto inside = [](int64_t first, int64_t last, int32_t size) {
    return first >= 0 && last >= 0 && (first >> 8) < size && (last >> 8) < size;
  };
  if (!inside(u, u + (columns - 1) * du, imageWidth) ||
      !inside(v, v + (rows - 1) * dv, imageHeight))
    return;
  uint16_t* dst = frame + t * kFrameWidth + l;
  const uint16_t* pixels = SpritePixels(image);
  int32_t c = int32_t(columns), r = int32_t(rows);
  uint16_t k = uint16_t(key);
  switch (mode) {
    case 0: BlitRows<0>(dst, pixels, imageWidth, int32_t(u), int32_t(du), int32_t(v), int32_t(dv), c, r, k); break;
    case 1: BlitRows<1>(dst, pixels, imageWidth, int32_t(u), int32_t(du), int32_t(v), int32_t(dv), c, r, k); break;
    case 2: BlitRows<2>(dst, pixels, imageWidth, int32_t(u), int32_t(du), int32_t(v), int32_t(dv), c, r, k); break;
    default: BlitRows<3>(dst, pixels, imageWidth, int32_t(u), int32_t(du), int32_t(v), int32_t(dv), c, r, k); break;
  }
}

void BlitSpriteRow(uint16_t* dst, const uint16_t* src, int32_t u, int32_t du, int32_t n,
                   int32_t mode, uint16_t key) {
  BlitRowAny(dst, src, u, du, n, mode, key, true);
}

void BlitSpriteRowScalar(uint16_t* dst, const uint16_t* src, int32_t u, int32_t du, int32_t n,
                         int32_t mode, uint16_t key) {
  BlitRowAny(dst, src, u, du, n, mode, key, false);
}
