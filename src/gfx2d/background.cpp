// Sky backgrounds: a scrolling window onto a 640 x 128 panorama, or a plain colour fill.
#include <algorithm>
#include <cstring>

#include "core/core.h"
#include "gfx2d/gfx2d.h"

namespace {
constexpr int32_t kWindowWidth = 32768;   // 128 columns, 8.8
constexpr int32_t kWindowHeight = 20480;  // 80 rows, 8.8
constexpr int32_t kHeadingPerColumn = 1024;
constexpr int32_t kPitchPerRow = 1792;
}  // namespace

void Background::Create(void* ownerForm, const char* controlName, int32_t areaX, int32_t areaY,
                        int32_t areaWidth, int32_t areaHeight) {
  *this = Background();
  owner = ownerForm;
  if (controlName) strncpy(name, controlName, sizeof name - 1);
  screenPixels = int32_t(int64_t(FrameBufferWidth) * FrameBufferHeight);
  SetArea(areaX, areaY, areaWidth, areaHeight);
  margin = 0;
  windowWidth = kWindowWidth;
  windowHeight = kWindowHeight;
  plain = 1;
  heading = -1;
  slot = -1;
  pitch = 0;
  fillColour = fillColourCopy = 0;
  visible = 1;
}

void Background::SetArea(int32_t areaX, int32_t areaY, int32_t areaWidth, int32_t areaHeight) {
  const int64_t screenWidth = FrameBufferWidth;
  x = areaX;
  y = areaY;
  width = areaWidth;
  height = areaHeight;
  fillStart = int32_t(std::clamp<int64_t>(screenWidth * areaY, INT32_MIN, INT32_MAX));
  fillLength = int32_t(std::clamp<int64_t>(screenWidth * areaHeight, INT32_MIN, INT32_MAX));
}

int Background::LoadBackground(const char* file) {
  if (plain) return 1;
  if (!Gfx2D) return 0;
  int32_t loadedSlot = Gfx2D->LoadSprite(file);
  if (loadedSlot == -1) {
    LogMessage("Error Loading background:");
    return 0;
  }
  int32_t w, h;
  Gfx2D->GetSpriteSize(loadedSlot, &w, &h);
  if (w != kPanoramaWidth || h != kPanoramaHeight) {
    LogMessage("Background is in a wrong format.");
    Gfx2D->ReleaseSprite(loadedSlot);
    return 0;
  }
  // A second load replaces the first panorama instead of holding it for ever.
  if (slot != -1) Gfx2D->ReleaseSprite(slot);
  slot = loadedSlot;
  imageWidth = w;
  imageHeight = h;
  loaded = 1;
  return 1;
}

void Background::SetFillColour(uint16_t colour) {
  fillColour = colour;
  fillColourCopy = colour;
}

int Background::DrawBackground(uint16_t* dest) {
  if (!visible) return 1;
  const int64_t screenWidth = FrameBufferWidth, screenRows = FrameBufferHeight;
  if (plain) {
    // Whole rows from the area's top; never past the frame.
    target = dest;
    const int64_t start = std::max<int64_t>(fillStart, 0);
    const int64_t end = std::min<int64_t>(int64_t(fillStart) + fillLength, screenWidth * screenRows);
    if (dest && end > start) std::fill(dest + start, dest + end, fillColour);
    return 1;
  }
  const uint16_t* block = Gfx2D ? Gfx2D->SpriteBlock(slot) : nullptr;
  if (!loaded || !block) return 0;
  target = dest;
  windowWidth = kWindowWidth;
  windowHeight = kWindowHeight;
  if (!dest || width <= 0 || height <= 0) return 1;
  // The start column is the heading divided by 1024, truncated (so the construction
  // heading -1 still shows column 0), then wrapped into the 512 columns of one turn; the
  // 80-row window is kept inside the 128 rows, so no camera angle reads outside the panorama.
  constexpr int32_t kTurnColumns = kFullTurn / kHeadingPerColumn;
  const int32_t startColumn =
      ((heading / kHeadingPerColumn) % kTurnColumns + kTurnColumns) % kTurnColumns;
  const int32_t hStep = kWindowWidth / width;
  const int32_t vStep = kWindowHeight / height;
  const int32_t startRow = std::clamp(pitch / kPitchPerRow, 0, kPanoramaHeight - 80);
  const uint16_t* image = SpritePixels(block);
  // The area is clipped to the frame once, up front; the row loop itself never tests pixels.
  const int64_t firstColumn = std::max<int64_t>(0, -int64_t(x));
  const int64_t lastColumn = std::min<int64_t>(width, screenWidth - x);  // exclusive
  int64_t rowPosition = int64_t(startRow) * 256;
  int64_t destRow = y;
  // The window is taller than the area, so most source rows are drawn twice or more: a row
  // that repeats the one above is copied from it.
  int64_t lastSourceRow = -1;
  const uint16_t* lastOut = nullptr;
  for (int32_t r = 0; r < height; ++r, rowPosition += vStep) {
    if (destRow >= screenRows) break;
    const int64_t sourceRow = rowPosition >> 8;
    if (sourceRow * kPanoramaWidth > 81920 - kPanoramaWidth) continue;
    if (destRow >= 0 && destRow < screenRows && firstColumn < lastColumn) {
      const uint16_t* src = image + sourceRow * kPanoramaWidth;
      uint16_t* out = dest + destRow * screenWidth + x;
      if (sourceRow == lastSourceRow) {
        memcpy(out + firstColumn, lastOut + firstColumn, size_t(lastColumn - firstColumn) * 2);
        lastOut = out;
        ++destRow;
        continue;
      }
      lastSourceRow = sourceRow;
      lastOut = out;
      // Pixels 0 and 1 both take the start column; from there the position steps by hStep.
      const uint32_t base = uint32_t(startColumn) * 256;
      int64_t k = firstColumn;
      if (k == 0) out[k++] = src[base >> 8];
      uint32_t position = base + uint32_t(k - 1) * uint32_t(hStep);
      for (; k < lastColumn; ++k, position += uint32_t(hStep)) out[k] = src[position >> 8];
    }
    ++destRow;
  }
  return 1;
}

bool Background::Covers(int32_t* left, int32_t* top, int32_t* right, int32_t* bottom) const {
  if (!visible) return false;
  const int64_t screenWidth = FrameBufferWidth, screenRows = FrameBufferHeight;
  if (plain) {
    // Whole rows, from the same clamped start and end the fill uses.
    const int64_t start = std::max<int64_t>(fillStart, 0);
    const int64_t end = std::min<int64_t>(int64_t(fillStart) + fillLength, screenWidth * screenRows);
    if (end <= start || start % screenWidth != 0 || end % screenWidth != 0) return false;
    *left = 0;
    *right = int32_t(screenWidth);
    *top = int32_t(start / screenWidth);
    *bottom = int32_t(end / screenWidth);
    return true;
  }
  if (!loaded || !Gfx2D || !Gfx2D->SpriteBlock(slot) || width <= 0 || height <= 0) return false;
  // Rows are written in order from the top; a source row past the panorama would be skipped,
  // leaving the rows under it short. The source row only grows, so the last one decides.
  const int64_t vStep = kWindowHeight / height;
  const int64_t startRow = std::clamp(pitch / kPitchPerRow, 0, kPanoramaHeight - 80);
  const int64_t lastSourceRow = (startRow * 256 + (int64_t(height) - 1) * vStep) >> 8;
  if (lastSourceRow * kPanoramaWidth > 81920 - kPanoramaWidth) return false;
  const int64_t l = std::max<int64_t>(x, 0), r = std::min<int64_t>(int64_t(x) + width, screenWidth);
  const int64_t t = std::max<int64_t>(y, 0), b = std::min<int64_t>(int64_t(y) + height, screenRows);
  if (l >= r || t >= b) return false;
  *left = int32_t(l);
  *right = int32_t(r);
  *top = int32_t(t);
  *bottom = int32_t(b);
  return true;
}

void Background::Release() {
  if (slot != -1 && Gfx2D) Gfx2D->ReleaseSprite(slot);
  slot = -1;
  loaded = 0;
}
