// Key-frame sets of the kinds' models (walk cycles and explosions), made and freed alike.
#include <new>

#include "world/world_internal.h"

FrameSet* MakeKindFrameSet(World* world, Object3D* base, const char* const* frames, int count) {
  if (!base || !world->scene) return nullptr;
  void* memory = AllocZeroed(sizeof(FrameSet));
  if (!memory) return nullptr;
  FrameSet* set = new (memory) FrameSet();
  set->Create(int32_t(world->app), world->scene);
  set->SetBase(base);
  for (int i = 0; i < count; ++i) set->AddFrame(frames[i], 1);
  return set;
}

void FreeKindFrameSet(FrameSet* set) {
  if (!set) return;
  set->Destroy();
  set->~FrameSet();
  MemFree(set);
}
