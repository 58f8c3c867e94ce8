// Engine3D creation with all its fixed pools, the visibility setting, and destruction.
#include <cstring>

#include "core/display.h"
#include "core/files.h"
#include "core/fixed_math.h"
#include "core/log.h"
#include "engine3d/engine3d.h"
#include "engine3d/pipeline.h"
#include "gfx2d/gfx2d.h"

namespace {

int32_t Clamp(int64_t v, int32_t lo, int32_t hi) {
  return v < lo ? lo : (v > hi ? hi : int32_t(v));
}

}  // namespace

void Engine3D::SetViewport(int32_t x, int32_t y, int32_t w, int32_t h) {
  // The rasterisers write straight into the frame buffer inside the viewport, so a
  // rectangle reaching outside it is cut to it.
  int32_t fw = int32_t(FrameBufferWidth), fh = int32_t(FrameBufferHeight);
  x0 = Clamp(x, 0, fw);
  y0 = Clamp(y, 0, fh);
  x1 = Clamp(int64_t(x) + w, x0, fw);
  y1 = Clamp(int64_t(y) + h, y0, fh);
  viewWidth = x1 - x0;
  viewHeight = y1 - y0;
}

int Engine3D::Create(void* ownerValue, const char* controlName, int32_t x, int32_t y,
                     int32_t w, int32_t h) {
  owner = ownerValue;
  strncpy(name, controlName ? controlName : "", sizeof name - 1);
  SetViewport(x, y, w, h);

  SetVisibility(4000);
  polygonsUsed = verticesUsed = 0;
  MathTables::Identity(&cameraMatrix);

  reciprocal = static_cast<uint16_t*>(MemAlloc(16384 * sizeof(uint16_t)));
  if (!reciprocal) return 0;
  int r = LoadReciprocalTable(reciprocal);
  if (r == 1) return LogMessage("Error loading 148"), 0;
  if (r == 2) return LogMessage("Error reading from 148"), 0;

  constexpr size_t kLutBlockEntries = size_t(kShadeRows + 2 * kLutGuardRows) * 256;
  for (int b = 0; b < 2; ++b) {
    lutBlocks[b] = static_cast<uint16_t*>(AllocZeroed(kLutBlockEntries * sizeof(uint16_t)));
    if (!lutBlocks[b]) return LogMessage("Error allocating memory - code 1286."), 0;
    luts[b] = lutBlocks[b] + kLutGuardRows * 256;
  }
  textureBlock = static_cast<uint8_t*>(AllocZeroed(size_t(2 * kTexturesPerBank) * kTextureBytes));
  if (!textureBlock) return LogMessage("Error allocating memory for textures."), 0;
  for (int b = 0; b < 2; ++b)
    for (int t = 0; t < kTexturesPerBank; ++t)
      textures[b][t] = textureBlock + size_t(b * kTexturesPerBank + t) * kTextureBytes;

  polySoup = static_cast<Poly3D*>(AllocZeroed(size_t(kPolySoupSize) * sizeof(Poly3D)));
  if (!polySoup) return LogMessage("Error allocating memory for poly soup."), 0;
  vertSoup = static_cast<Vertex3D*>(AllocZeroed(size_t(kVertSoupSize) * sizeof(Vertex3D)));
  if (!vertSoup) return LogMessage("Error allocating memory for vert soup."), 0;
  projected = static_cast<int32_t*>(AllocZeroed(size_t(kVertSoupSize) * 2 * sizeof(int32_t)));
  if (!projected) return LogMessage("Error allocating memory for vert soup."), 0;
  polygonsDirty = 0;

  sprites[0] = Sprite3D{};
  fogMode = 0;
  ready = 1;
  return 1;
}

void Engine3D::SetVisibility(int32_t v) {
  visibility = Clamp(v, kMinVisibility, kMaxVisibility);
  fogStart = visibility - kFogDepth;
}

void Engine3D::ReleaseSprite3D(int32_t i) {
  if (i < 0 || i >= spriteCount) return;
  Sprite3D& s = sprites[i];
  if (!s.ownsEntry) return;
  if (Gfx2D && s.spriteIndex >= 0) Gfx2D->ReleaseSprite(s.spriteIndex);
  s.spriteIndex = -1;
  // The block may be freed now: a released sprite must not be drawn from it again.
  s.image = nullptr;
}

void Engine3D::Destroy() {
  store.Release();
  for (int32_t i = 0; i < spriteCount; ++i) ReleaseSprite3D(i);
  spriteCount = 0;
  for (int b = 0; b < 2; ++b) {
    MemFree(lutBlocks[b]);
    lutBlocks[b] = nullptr;
    luts[b] = nullptr;
    for (int t = 0; t < kTexturesPerBank; ++t) textures[b][t] = nullptr;
  }
  MemFree(reciprocal);
  MemFree(polySoup);
  MemFree(vertSoup);
  MemFree(projected);
  MemFree(textureBlock);
  reciprocal = nullptr;
  polySoup = nullptr;
  vertSoup = nullptr;
  projected = nullptr;
  textureBlock = nullptr;
  polygonsUsed = verticesUsed = polygonsDirty = 0;
  ready = 0;
}
