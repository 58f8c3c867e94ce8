// SpriteImage: one named sprite with its place and blit mode, drawn through Gfx2D.
#include <cstring>

#include "gfx2d/gfx2d.h"

namespace {
void CopyName(char (&out)[64], const char* text) {
  memset(out, 0, sizeof out);
  if (text) strncpy(out, text, sizeof out - 1);
}
}  // namespace

void SpriteImage::Init(void* ownerForm, const char* controlName) {
  owner = ownerForm;
  slot = -1;
  x = 0;
  y = 0;
  visible = 1;
  CopyName(name, controlName);
}

int SpriteImage::Load(const char* file, uint32_t mode, uint32_t key) {
  blitMode = mode;
  colourKey = key;
  CopyName(fileName, file);
  if (!Gfx2D) return 0;
  int32_t loaded = Gfx2D->LoadSprite(file, 1);
  if (loaded == -1) return 0;
  slot = loaded;
  Gfx2D->GetSpriteSize(slot, &width, &height);
  return 1;
}

int SpriteImage::Draw() {
  if (visible && Gfx2D) Gfx2D->DrawSprite(slot, x, y, blitMode, uint16_t(colourKey));
  return 1;
}

void SpriteImage::Release() {
  if (Gfx2D) Gfx2D->ReleaseSprite(slot);
  slot = -1;
}
