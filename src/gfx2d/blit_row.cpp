// 2D blit rows: the per-mode pixel rules, eight pixels at a time where the compiler can.
#include "gfx2d/blit_row.h"

#include <algorithm>
#include <cstring>

#include "core/display.h"
#include "gfx2d/gfx2d.h"

void BlitRowScalar(uint16_t* __restrict dst, const uint16_t* __restrict src, int32_t n,
                   uint32_t mode, uint16_t key) {
  switch (mode) {
    case ColourKey:
      for (int32_t i = 0; i < n; ++i)
        if (src[i] != key) dst[i] = src[i];
      break;
    case Blend50:
      for (int32_t i = 0; i < n; ++i) dst[i] = HalfBlend(src[i], dst[i]);
      break;
    case KeyBlend:
      for (int32_t i = 0; i < n; ++i) dst[i] = src[i] != key ? src[i] : HalfBlend(dst[i], key);
      break;
    default:
      if (n > 0) std::copy(src, src + n, dst);
      break;
  }
}

#if defined(__GNUC__)

namespace {

using Lanes = PixelLanes;
constexpr int32_t kLanes = 8;

inline Lanes Load(const uint16_t* p) {
  Lanes v;
  memcpy(&v, p, sizeof v);
  return v;
}

inline void Store(uint16_t* p, Lanes v) { memcpy(p, &v, sizeof v); }

// All ones in the lanes where the source is not the key.
inline Lanes NotKey(Lanes s, uint16_t key) { return (Lanes)(s != key); }

}  // namespace

void BlitRow(uint16_t* dst, const uint16_t* src, int32_t n, uint32_t mode, uint16_t key) {
  if (mode != ColourKey && mode != Blend50 && mode != KeyBlend) {
    BlitRowScalar(dst, src, n, mode, key);
    return;
  }
  int32_t i = 0;
  for (; i + kLanes <= n; i += kLanes) {
    const Lanes s = Load(src + i), d = Load(dst + i);
    Lanes out;
    if (mode == ColourKey) {
      const Lanes m = NotKey(s, key);
      out = (s & m) | (d & ~m);
    } else if (mode == Blend50) {
      out = HalfBlendLanes(s, d);
    } else {
      const Lanes m = NotKey(s, key);
      out = (s & m) | (HalfBlendLanes(d, Lanes{} + key) & ~m);
    }
    Store(dst + i, out);
  }
  BlitRowScalar(dst + i, src + i, n - i, mode, key);
}

#else

void BlitRow(uint16_t* dst, const uint16_t* src, int32_t n, uint32_t mode, uint16_t key) {
  BlitRowScalar(dst, src, n, mode, key);
}

#endif
