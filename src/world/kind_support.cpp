// Shared services of the pickups, mission objects, ship and map exit.
#include "world/kind_support.h"

#include <string>

#include "world/world_internal.h"

namespace {

void LogLoadError(const char* name) { LogMessage((std::string("Error loading ") + name).c_str()); }

}  // namespace

ObjectStore* KindStore(World* world) { return world->scene ? &world->scene->store : nullptr; }

int32_t LoadKindObject(World* world, const char* name) {
  ObjectStore* store = KindStore(world);
  int32_t index = store ? store->LoadShared(name, 1, 2) : -1;
  if (index < 0) LogLoadError(name);
  return index;
}

int32_t LoadKindSample(World* world, const char* name, int32_t volume) {
  SoundSystem* sound = WorldSound(world);
  if (!sound) return -1;
  int32_t slot = LoadWav(sound, name);
  if (slot < 0) {
    LogLoadError(name);
    return -1;
  }
  SetSampleVolume(sound, slot, volume);
  return slot;
}

void FreeKindSample(World* world, int32_t* slot) {
  SoundSystem* sound = WorldSound(world);
  if (sound && *slot >= 0) FreeSample(sound, *slot);
  *slot = -1;
}

void PlayKindSample(World* world, int32_t slot, int32_t loop) {
  SoundSystem* sound = WorldSound(world);
  if (sound && slot >= 0) PlaySample(sound, slot, loop);
}

void StopKindSample(World* world, int32_t slot) {
  SoundSystem* sound = WorldSound(world);
  if (sound && slot >= 0) StopSample(sound, slot);
}

void SetObjectHidden(World* world, int32_t object, uint8_t hidden) {
  ObjectStore* store = KindStore(world);
  if (Object3D* o = store ? store->Get(object) : nullptr) o->hidden = hidden;
}

int32_t ObjectRadius(World* world, int32_t object) {
  ObjectStore* store = KindStore(world);
  Object3D* o = store ? store->Get(object) : nullptr;
  return o ? o->radius : 0;
}

FrameSet* CreateFrames(World* world, int32_t base, const char* frameA, const char* frameB) {
  ObjectStore* store = KindStore(world);
  Object3D* o = store ? store->Get(base) : nullptr;
  if (!o) return nullptr;
  FrameSet* frames = new FrameSet();
  frames->Create(int32_t(world->app), world->scene);
  frames->SetBase(o);
  frames->AddFrame(frameA, 1);
  frames->AddFrame(frameB, 1);
  return frames;
}

void DestroyFrames(FrameSet** frames) {
  if (*frames) (*frames)->Destroy();
  delete *frames;
  *frames = nullptr;
}

void ShowMessage(World* world, const char* text) {
  if (world->host) world->host->ShowHudMessage(text);
}

PlayerData* WorldPlayerData(World* world) {
  return world->host ? &world->host->GetPlayerData() : nullptr;
}

void SavePlayerRecord(World* world) {
  if (PlayerData* player = WorldPlayerData(world)) WritePlayerData(*player);
}
