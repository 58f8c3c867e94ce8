// Nearest-neighbour scaling of the frame into the window's own pixels, without the graphics card.
#include "platform/sdl/frame_scale.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/platform.h"

FramePlace PlaceFrame(int w, int h) {
  int scale = std::min(w / kScreenWidth, h / kScreenHeight);
  if (scale < 1) {
    // A window smaller than the frame still shows all of it.
    double f = std::min(w / double(kScreenWidth), h / double(kScreenHeight));
    int fw = int(kScreenWidth * f), fh = int(kScreenHeight * f);
    return FramePlace{(w - fw) / 2, (h - fh) / 2, fw, fh};
  }
  return FramePlace{(w - kScreenWidth * scale) / 2, (h - kScreenHeight * scale) / 2,
                    kScreenWidth * scale, kScreenHeight * scale};
}

void LayoutPoint(const FramePlace& r, double px, double py, int* x, int* y) {
  if (r.w <= 0 || r.h <= 0) {
    *x = *y = -1;
    return;
  }
  *x = int((px - r.x) * kScreenWidth / r.w);
  *y = int((py - r.y) * kScreenHeight / r.h);
}

namespace {

// Rounds a / b up, for a >= 0 and b > 0.
int CeilDiv(int a, int b) { return (a + b - 1) / b; }

// Frame pixels as window pixels: through `lut` when the window has its own format, computed
// when it takes 0xRRGGBB (a 256 KB table mostly misses the cache, which the game's drawing
// fills between two frames; the arithmetic runs on whole vectors of pixels).
void ConvertRow(const uint16_t* src, int n, const uint32_t* lut, uint32_t* out) {
  if (lut) {
    for (int i = 0; i < n; ++i) out[i] = lut[src[i]];
  } else {
    // Eight at a time with a fixed count, so even a build that vectorises only such loops does.
    int i = 0;
    for (; i + 8 <= n; i += 8)
      for (int j = 0; j < 8; ++j) out[i + j] = Rgb888From565(src[i + j]);
    for (; i < n; ++i) out[i] = Rgb888From565(src[i]);
  }
}

// Four pixels widened to 4K window pixels, each stored K times side by side: written out in
// full, so the compiler sees one fixed pattern and makes it a few vector shuffles and stores.
template <int K, size_t... J>
void WidenFour(const uint32_t* row, uint32_t* out, std::index_sequence<J...>) {
  const uint32_t p[4] = {row[0], row[1], row[2], row[3]};
  ((out[J] = p[J / K]), ...);
}

// A converted row widened `K` times.
template <int K>
void WidenRow(const uint32_t* row, int n, uint32_t* out) {
  int i = 0;
  for (; i + 4 <= n; i += 4, out += 4 * K)
    WidenFour<K>(row + i, out, std::make_index_sequence<4 * K>());
  for (; i < n; ++i, out += K)
    for (int j = 0; j < K; ++j) out[j] = row[i];
}

void WidenRow(const uint32_t* row, int n, int scale, uint32_t* out) {
  switch (scale) {
    case 2: WidenRow<2>(row, n, out); break;
    case 3: WidenRow<3>(row, n, out); break;
    case 4: WidenRow<4>(row, n, out); break;
    default:
      for (int i = 0; i < n; ++i, out += scale) std::fill_n(out, scale, row[i]);
      break;
  }
}

}  // namespace

FramePlace ScaleFrameArea(const uint16_t* frame, const uint32_t* lut, uint8_t* pixels, int pitch,
                          const FramePlace& r, const FrameArea& area, const uint16_t* shown) {
  const int x0 = std::max(area.x, 0), x1 = std::min(area.x + area.w, kScreenWidth);
  const int y0 = std::max(area.y, 0), y1 = std::min(area.y + area.h, kScreenHeight);
  if (r.w <= 0 || r.h <= 0 || x0 >= x1 || y0 >= y1) return FramePlace{};
  // Output pixel (dx, dy) shows frame pixel (dx * 240 / w, dy * 320 / h), so frame columns
  // [a, b) cover output columns [ceil(a * w / 240), ceil(b * w / 240)), and rows likewise.
  const int left = CeilDiv(x0 * r.w, kScreenWidth), right = CeilDiv(x1 * r.w, kScreenWidth);
  const int top = CeilDiv(y0 * r.h, kScreenHeight), bottom = CeilDiv(y1 * r.h, kScreenHeight);
  const int width = right - left;
  // At a whole scale every game pixel becomes a square of scale x scale window pixels; only a
  // window smaller than the frame needs the column of every output pixel looked up.
  const int scale = r.w / kScreenWidth;
  const bool whole = scale >= 1 && r.w == kScreenWidth * scale && r.h == kScreenHeight * scale;
  std::vector<int> column;
  if (!whole) {
    column.resize(size_t(width));
    for (int i = 0; i < width; ++i) column[size_t(i)] = (left + i) * kScreenWidth / r.w;
  }
  const uint32_t* previous = nullptr;
  int previousRow = -1;
  for (int dy = top; dy < bottom; ++dy) {
    const int sy = dy * kScreenHeight / r.h;
    auto* out = reinterpret_cast<uint32_t*>(pixels + ptrdiff_t(r.y + dy) * pitch) + r.x + left;
    const uint16_t* src = frame + sy * kScreenWidth + x0;
    if (sy == previousRow) {
      // A scaled row repeats the one above it: copying is cheaper than converting it again.
      // In a real window this also beat copying from a private row, and streaming stores.
      if (previous) memcpy(out, previous, size_t(width) * 4);
      continue;
    }
    previousRow = sy;
    previous = nullptr;
    // Storing into a window's pixels costs the same whether or not they change: a row the
    // window shows already is left alone, with the rows that repeat it.
    if (shown && memcmp(src, shown + (src - frame), size_t(x1 - x0) * 2) == 0) continue;
    if (whole && scale == 1) {
      ConvertRow(src, x1 - x0, lut, out);
    } else {
      uint32_t row[kScreenWidth];
      ConvertRow(src, x1 - x0, lut, row);
      if (whole) {
        WidenRow(row, x1 - x0, scale, out);
      } else {
        for (int i = 0; i < width; ++i) out[i] = row[column[size_t(i)] - x0];
      }
    }
    previous = out;
  }
  return FramePlace{r.x + left, r.y + top, width, bottom - top};
}

void ClearBars(uint8_t* pixels, int pitch, int w, int h, const FramePlace& r, uint32_t colour) {
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(pixels + ptrdiff_t(y) * pitch);
    if (y < r.y || y >= r.y + r.h || r.w <= 0) {
      std::fill(row, row + w, colour);
    } else {
      std::fill(row, row + std::clamp(r.x, 0, w), colour);
      std::fill(row + std::clamp(r.x + r.w, 0, w), row + w, colour);
    }
  }
}

int ChangedAreas(const uint16_t* before, const uint16_t* after, FrameArea* areas) {
  constexpr int kColumns = kScreenWidth / kFrameTile, kRows = kScreenHeight / kFrameTile;
  static_assert(kColumns * kFrameTile == kScreenWidth && kRows * kFrameTile == kScreenHeight);
  static_assert(kColumns <= 32 && kRows <= kMaxFrameAreas);
  // Half of all frames repeat the one before (two timer messages a logic step): one wide
  // comparison of the whole frame settles those, and leaves the others at their first change.
  constexpr size_t kRowBytes = kScreenWidth * sizeof(uint16_t);
  if (memcmp(before, after, kRowBytes * kScreenHeight) == 0) return 0;
  // One bit a tile column, one word a tile row: set where any pixel of the tile differs.
  uint32_t dirty[kRows] = {};
  constexpr int kWords = kFrameTile * 2 / 8;
  for (int y = 0; y < kScreenHeight; ++y) {
    const uint16_t* a = before + y * kScreenWidth;
    const uint16_t* b = after + y * kScreenWidth;
    // Most rows of the panel stay as they were: the same wide comparison passes them quickly.
    if (memcmp(a, b, kRowBytes) == 0) continue;
    uint32_t bits = 0;
    for (int c = 0; c < kColumns; ++c) {
      uint64_t wa[kWords], wb[kWords];
      memcpy(wa, a + c * kFrameTile, sizeof wa);
      memcpy(wb, b + c * kFrameTile, sizeof wb);
      uint64_t differ = 0;
      for (int k = 0; k < kWords; ++k) differ |= wa[k] ^ wb[k];
      bits |= uint32_t(differ != 0) << c;
    }
    dirty[y / kFrameTile] |= bits;
  }
  // Runs of changed tiles along each tile row; a run just under one of the same columns
  // lengthens it, so a band that changed whole (the 3D view) stays one area.
  int count = 0;
  for (int t = 0; t < kRows; ++t) {
    for (int c = 0; c < kColumns;) {
      if (!(dirty[t] >> c & 1)) {
        ++c;
        continue;
      }
      int e = c;
      while (e < kColumns && (dirty[t] >> e & 1)) ++e;
      const FrameArea run{c * kFrameTile, t * kFrameTile, (e - c) * kFrameTile, kFrameTile};
      c = e;
      int i = 0;
      while (i < count && !(areas[i].x == run.x && areas[i].w == run.w &&
                            areas[i].y + areas[i].h == run.y))
        ++i;
      if (i < count) {
        areas[i].h += kFrameTile;
      } else if (count < kMaxFrameAreas) {
        areas[count++] = run;
      } else {
        count = -1;  // too scattered to list
        break;
      }
    }
    if (count < 0) break;
  }
  if (count >= 0) return count;
  // A scattered change: one area a tile row, from its first changed tile to its last.
  count = 0;
  for (int t = 0; t < kRows; ++t) {
    if (!dirty[t]) continue;
    const int c = std::countr_zero(dirty[t]), e = 32 - std::countl_zero(dirty[t]);
    areas[count++] = FrameArea{c * kFrameTile, t * kFrameTile, (e - c) * kFrameTile, kFrameTile};
  }
  return count;
}
