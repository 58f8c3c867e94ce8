// Nearest-neighbour scaling of the frame into the window's own pixels, without the graphics card.
#include "platform/sdl/frame_scale.h"

#include <algorithm>
#include <cstring>
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

void ScaleFrameRows(const uint16_t* frame, const uint32_t* lut, uint8_t* pixels, int pitch,
                    const FramePlace& r, int firstRow, int endRow, int* y0, int* y1) {
  *y0 = *y1 = 0;
  firstRow = std::max(firstRow, 0);
  endRow = std::min(endRow, kScreenHeight);
  if (r.w <= 0 || r.h <= 0 || firstRow >= endRow) return;
  // Output row dy shows frame row dy * 320 / h, so frame rows [a, b) cover output rows
  // [ceil(a * h / 320), ceil(b * h / 320)).
  const int top = (firstRow * r.h + kScreenHeight - 1) / kScreenHeight;
  const int bottom = (endRow * r.h + kScreenHeight - 1) / kScreenHeight;
  std::vector<int> column(size_t(r.w));
  for (int dx = 0; dx < r.w; ++dx) column[size_t(dx)] = dx * kScreenWidth / r.w;
  const uint32_t* previous = nullptr;
  int previousRow = -1;
  for (int dy = top; dy < bottom; ++dy) {
    const int sy = dy * kScreenHeight / r.h;
    auto* out = reinterpret_cast<uint32_t*>(pixels + ptrdiff_t(r.y + dy) * pitch) + r.x;
    if (sy == previousRow) {
      // A scaled row repeats the one above it: copying is cheaper than looking it up again.
      memcpy(out, previous, size_t(r.w) * 4);
    } else {
      const uint16_t* src = frame + sy * kScreenWidth;
      for (int dx = 0; dx < r.w; ++dx) out[dx] = lut[src[column[size_t(dx)]]];
    }
    previous = out;
    previousRow = sy;
  }
  *y0 = r.y + top;
  *y1 = r.y + bottom;
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

void ChangedRows(const uint16_t* before, const uint16_t* after, int* first, int* end) {
  const size_t line = kScreenWidth * sizeof(uint16_t);
  int a = 0, b = kScreenHeight;
  while (a < b && memcmp(before + a * kScreenWidth, after + a * kScreenWidth, line) == 0) ++a;
  while (b > a && memcmp(before + (b - 1) * kScreenWidth, after + (b - 1) * kScreenWidth, line) == 0)
    --b;
  *first = a;
  *end = b;
}
