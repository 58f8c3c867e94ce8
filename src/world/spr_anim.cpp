// SprAnim: a flip-book of sprite-table images shown through one 3D sprite of the scene.
#include <cstdint>

#include "world/kinds.h"

void SprAnim::Init(uint32_t ownerWord, Engine3D* sceneEngine) {
  playing = 0;
  owner = ownerWord;
  scene = sceneEngine;
  animation = -1;
  frame = 0;
  previousAnimation = -1;
  time = 0;
  sprite = -1;
  visible = 0;
  for (int i = 0; i < kSprAnimFrames; ++i) {
    images[i] = -1;
    durations[i] = 0;
  }
  mode = 0;
}

bool SprAnim::AddBaseSprite(const char* file, int32_t anim, int32_t duration, int32_t playMode,
                            int32_t blitMode, int32_t key, double scale) {
  if (!scene) return false;
  int32_t index = scene->AddSprite(file, blitMode, key, scale);
  if (index < 0) return false;
  sprite = index;
  // Frame 0 is the scene sprite's own image; only animation 0 is ever used.
  images[0] = scene->sprites[index].spriteIndex;
  durations[0] = duration;
  if (anim == 0) mode = playMode;
  return true;
}

bool SprAnim::AddFrame(const char* file, int32_t duration) {
  if (!Gfx2D) return false;
  int32_t slot = Gfx2D->LoadSprite(file);
  if (slot < 0) return false;
  for (int i = 1; i < kSprAnimFrames; ++i) {
    if (images[i] == -1) {
      images[i] = slot;
      durations[i] = duration;
      return true;
    }
  }
  Gfx2D->ReleaseSprite(slot);
  LogMessage("Max spr anim reached.");
  return false;
}

void SprAnim::Play(int32_t anim) {
  animation = anim;
  frame = 0;
  playing = 1;
  // A reused animation starts from its first picture, not from where it last stopped.
  if (scene && sprite >= 0 && Gfx2D && images[0] >= 0)
    scene->sprites[sprite].image = Gfx2D->SpriteBlock(images[0]);
}

void SprAnim::Stop() { playing = 0; }

void SprAnim::SetVisible(uint8_t flag) {
  visible = flag;
  if (scene && sprite >= 0) scene->sprites[sprite].visible = flag;
}

void SprAnim::SetPosition(int32_t x, int32_t y, int32_t z) {
  if (scene) scene->SetSpritePosition(sprite, x, y, z);
}

void SprAnim::Update() {
  if (!playing || animation < 0) return;
  if (animation != previousAnimation || frame < 0 || frame >= kSprAnimFrames) {
    frame = 0;
    time = 0;
  }
  time = WrapAdd(time, FrameDeltaMs);
  if (time > durations[frame]) {
    time = 0;
    ++frame;
    bool atEnd = frame >= kSprAnimFrames || images[frame] == -1;
    if (atEnd && mode == kAnimLoop) {
      frame = 0;
      atEnd = false;
    }
    if (atEnd && mode == kAnimOnce) {
      SetVisible(0);
      Stop();
    } else if (atEnd) {
      frame = 0;  // a mode of neither kind: keep to the pictures that exist
    } else if (scene && sprite >= 0 && Gfx2D) {
      scene->sprites[sprite].image = Gfx2D->SpriteBlock(images[frame]);
    }
  }
  previousAnimation = animation;
}

void SprAnim::Release() {
  // The scene sprite may outlive the animation: it must not keep showing a freed picture.
  if (scene && sprite >= 0 && sprite < scene->spriteCount) {
    scene->sprites[sprite].image = Gfx2D && images[0] >= 0 ? Gfx2D->SpriteBlock(images[0]) : nullptr;
    scene->sprites[sprite].visible = 0;
  }
  for (int i = 1; i < kSprAnimFrames; ++i) {
    if (images[i] != -1 && Gfx2D) Gfx2D->ReleaseSprite(images[i]);
    images[i] = -1;
  }
}
