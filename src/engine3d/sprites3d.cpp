// 3D sprites: images from the sprite table placed in the world and scaled with depth.
#include "core/log.h"
#include "engine3d/engine3d.h"
#include "engine3d/pipeline.h"
#include "gfx2d/gfx2d.h"

namespace {

// Sprites nearer than this are behind or inside the eye and would blow up to the screen.
constexpr int32_t kSpriteNearest = 10;

uint16_t HalfSize(int32_t pixels, double scale) {
  double v = double(pixels) * scale;
  return uint16_t(v <= 0.0 ? 0.0 : (v >= 65535.0 ? 65535.0 : v));
}

}  // namespace

int32_t Engine3D::AddSprite(const char* file, int32_t mode, int32_t key, double scale) {
  if (spriteCount + 1 > kMaxSprites3D) {
    LogMessage("Max sprites reached");
    return -1;
  }
  if (!Gfx2D) return -1;
  int32_t slot = Gfx2D->LoadSprite(file, 1);
  if (slot < 0) return -1;
  uint16_t* block = Gfx2D->SpriteBlock(slot);
  Sprite3D& s = sprites[spriteCount];
  s = Sprite3D{};
  s.halfWidth = HalfSize(SpriteWidth(block), scale);
  s.halfHeight = HalfSize(SpriteHeight(block), scale);
  s.mode = mode;
  s.key = key;
  s.image = block;
  s.spriteIndex = slot;
  s.ownsEntry = 1;
  s.visible = 0;
  return spriteCount++;
}

Sprite3D* Engine3D::SetSpritePosition(int32_t i, int32_t x, int32_t y, int32_t z) {
  if (i < 0 || i >= spriteCount) return nullptr;
  Sprite3D& s = sprites[i];
  s.x = x;
  s.y = y;
  s.z = z;
  return &s;
}

void DrawSprite3D(Engine3D& e, const Sprite3D& s) {
  if (s.camZ <= kSpriteNearest || !s.image) return;
  int32_t sx1, sy1, sx2, sy2;
  ProjectPoint(e, WrapSub(s.camX, s.halfWidth), WrapAdd(s.camY, s.halfHeight), s.camZ, &sx1, &sy1);
  ProjectPoint(e, WrapAdd(s.camX, s.halfWidth), WrapSub(s.camY, s.halfHeight), s.camZ, &sx2, &sy2);
  BlitSprite(e, e.frameBuffer, sx1 >> 8, sy1 >> 8, sx2 >> 8, sy2 >> 8, s.image, 0, 0,
             SpriteWidth(s.image), SpriteHeight(s.image), e.x0, e.y0, e.x1, e.y1, s.mode, s.key);
}
