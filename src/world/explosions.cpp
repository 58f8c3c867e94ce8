// The explosion pool: eight fireball flip-books, each with its own "BigExplosion.wav".
#include <cstdint>
#include <cstdio>

#include "world/world_internal.h"

namespace {

constexpr int32_t kFirstFrameMs = 50;
constexpr int32_t kFrameMs = 30;
constexpr int32_t kLastFrameNumber = 32;
constexpr double kExplosionScale = 4.0;

}  // namespace

ExplosionManager* CreateExplosionManager(World* world, Engine3D* scene) {
  ExplosionManager* m = static_cast<ExplosionManager*>(AllocZeroed(sizeof(ExplosionManager)));
  if (!m) return nullptr;
  m->app = world->app;
  m->scene = scene;
  SoundSystem* sound = WorldSound(world);
  for (int i = 0; i < kExplosionSlots; ++i) {
    SprAnim* anim = static_cast<SprAnim*>(AllocZeroed(sizeof(SprAnim)));
    m->anims[i] = anim;
    m->samples[i] = -1;
    if (!anim) continue;
    anim->Init(world->app, scene);
    if (!anim->AddBaseSprite("expl_w_smoke_002.spr", 0, kFirstFrameMs, kAnimOnce, ColourKey, 0,
                             kExplosionScale)) {
      char text[64];
      snprintf(text, sizeof text, "Error from SprAnim_Explosion1[%d]->AddBaseSprite", i);
      LogMessage(text);
    }
    for (int n = 3; n <= kLastFrameNumber; ++n) {
      char name[32];
      snprintf(name, sizeof name, n < 10 ? "expl_w_smoke_00%d.spr" : "expl_w_smoke_0%d.spr", n);
      anim->AddFrame(name, kFrameMs);
    }
    anim->SetVisible(0);
    m->samples[i] = sound ? LoadWav(sound, "BigExplosion.wav") : -1;
    if (m->samples[i] < 0) LogMessage("Error loading BigExplosion.wav");
  }
  return m;
}

int32_t StartExplosion(World* world, ExplosionManager* manager, int32_t x, int32_t y,
                       int32_t z) {
  if (!manager) return 0;
  for (int i = 0; i < kExplosionSlots; ++i) {
    SprAnim* anim = manager->anims[i];
    if (!anim || anim->playing) continue;
    anim->SetPosition(x, y, z);
    anim->SetVisible(1);
    anim->Play(0);
    if (SoundSystem* sound = WorldSound(world); sound && manager->samples[i] >= 0) {
      SetSample3D(sound, manager->samples[i], x, y, z, 0);
      PlaySample(sound, manager->samples[i], 0);
    }
    return 1;
  }
  return 0;
}

void UpdateExplosions(ExplosionManager* manager) {
  if (!manager) return;
  for (SprAnim* anim : manager->anims)
    if (anim) anim->Update();
}

void DestroyExplosionManager(World* world, ExplosionManager* manager) {
  if (!manager) return;
  SoundSystem* sound = WorldSound(world);
  for (int i = 0; i < kExplosionSlots; ++i) {
    if (SprAnim* anim = manager->anims[i]) {
      anim->Release();
      MemFree(anim);
    }
    if (sound && manager->samples[i] >= 0) FreeSample(sound, manager->samples[i]);
  }
  MemFree(manager);
}
