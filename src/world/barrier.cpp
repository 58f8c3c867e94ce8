// The barrier: an energy curtain that stays up until the neural link has fallen.
#include <cstdint>

#include "world/kind_support.h"
#include "world/kinds.h"

namespace {

constexpr int32_t kLowered = 255;    // blend of the lowered frame
constexpr int32_t kLowerStep = 15;   // blend per step while it sinks in front of the player

struct Barrier {
  KindHeader header;  // object = "barrierup.tdo"
  FrameSet* frames;   // 1 "barrierup.tdo", 2 "barrierdown.tdo"
  int32_t blend;
  uint8_t open;
};

bool LinkDown(World* world) {
  PlayerData* player = WorldPlayerData(world);
  return player && player->neuralLinkDown;
}

void* CreateBarrier(World* world, const EntRecord&) {
  Barrier* b = static_cast<Barrier*>(AllocZeroed(sizeof(Barrier)));
  if (!b) return nullptr;
  b->header.type = kTypeBarrier;
  b->header.object = LoadKindObject(world, "barrierup.tdo");
  b->frames = CreateFrames(world, b->header.object, "barrierup.tdo", "barrierdown.tdo");
  b->header.entity = AddEntity(world->entities, kTypeBarrier, kModeGround, b);
  Entity* e = b->header.entity;
  if (e) e->radius = ObjectRadius(world, b->header.object);
  if (LinkDown(world)) {
    b->blend = kLowered;
    if (b->frames) b->frames->Blend(kLowered, 1, 2);
    b->open = 1;
    if (e) e->active = 0;
    SetObjectHidden(world, b->header.object, 1);
  }
  return b;
}

void UpdateBarrier(World* world, void* kind) {
  Barrier* b = static_cast<Barrier*>(kind);
  Entity* e = b->header.entity;
  ObjectStore* store = KindStore(world);
  if (!e || !store) return;
  store->SetPosition(b->header.object, e->x, e->y, e->z);
  store->SetAngles(b->header.object, e->pitch, e->heading, e->bank);
  // The link fell while the barrier stood in this map: it sinks where the player sees it and
  // lets the craft through once it is down.
  if (!b->open && LinkDown(world)) {
    b->blend = b->blend + kLowerStep > kLowered ? kLowered : b->blend + kLowerStep;
    if (b->frames) b->frames->Blend(b->blend, 1, 2);
    if (b->blend == kLowered) {
      b->open = 1;
      e->active = 0;
    }
  }
}

int32_t CollideBarrier(World* world, void* kind, Entity* self, Entity* other) {
  Barrier* b = static_cast<Barrier*>(kind);
  if (!other || other->type != kTypePlayer || !self->active) return 0;
  if (!b->open)
    ShowMessage(world, "Shutdown neural link to open");
  else
    self->active = 0;
  return 1;
}

void DestroyBarrier(World*, void* kind) { DestroyFrames(&static_cast<Barrier*>(kind)->frames); }

}  // namespace

const KindFunctions kBarrierKind = {CreateBarrier, UpdateBarrier, CollideBarrier, DestroyBarrier};
