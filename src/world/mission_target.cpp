// The neural link's and the mainframe's shared life: sound, placement and explosion.
#include "world/mission_target.h"

#include "world/kind_support.h"
#include "world/world_internal.h"

MissionTarget* CreateMissionTarget(World* world, const MissionTargetLooks& looks) {
  MissionTarget* t = static_cast<MissionTarget*>(AllocZeroed(sizeof(MissionTarget)));
  if (!t) return nullptr;
  t->header.type = looks.type;
  t->header.state = kTargetIntact;
  t->header.object = LoadKindObject(world, looks.model);
  t->explosionObject = LoadKindObject(world, looks.explosion1);
  SetObjectHidden(world, t->explosionObject, 1);
  t->explosionFrames = CreateFrames(world, t->explosionObject, looks.explosion1, looks.explosion2);
  t->sample = LoadKindSample(world, looks.sample, looks.volume);
  PlayKindSample(world, t->sample, 1);
  t->countdown = looks.countdown;
  t->explosionStep = looks.explosionStep;
  t->modelOffsetY = looks.modelOffsetY;
  t->explosionOffsetY = looks.explosionOffsetY;
  t->header.entity = AddEntity(world->entities, looks.type, kModeFixed, t);
  if (t->header.entity) t->header.entity->radius = ObjectRadius(world, t->header.object);
  return t;
}

void PlaceMissionTarget(World* world, MissionTarget* t) {
  Entity* e = t->header.entity;
  if (!e) return;
  if (t->header.state == kTargetIntact && !e->active) {
    // Destroyed on an earlier visit: the map state brings it back dormant and hidden, and
    // its hum must not go on over the ruins.
    StopKindSample(world, t->sample);
    SetObjectHidden(world, t->header.object, 1);
    t->header.state = kTargetDestroyed;
    return;
  }
  if (t->header.state != kTargetIntact && t->header.state != kTargetCountingDown) return;
  if (ObjectStore* store = KindStore(world)) {
    store->SetPosition(t->header.object, e->x, e->y + t->modelOffsetY, e->z);
    store->SetAngles(t->header.object, 0, e->heading, 0);
  }
  if (SoundSystem* sound = WorldSound(world); sound && t->sample >= 0)
    SetSample3D(sound, t->sample, e->x, e->y, e->z, 0);
}

void ExplodeMissionTarget(World* world, MissionTarget* t) {
  Entity* e = t->header.entity;
  t->header.state = kTargetExploding;
  t->explosionTime = 0;
  SetObjectHidden(world, t->header.object, 1);
  if (ObjectStore* store = KindStore(world); store && e) {
    store->SetPosition(t->explosionObject, e->x, e->y + t->explosionOffsetY, e->z);
    store->SetAngles(t->explosionObject, 0, e->heading, 0);
  }
  SetObjectHidden(world, t->explosionObject, 0);
  if (e && world->explosions) StartExplosion(world, world->explosions, e->x, e->y, e->z);
  StopKindSample(world, t->sample);
  if (e) e->active = 0;
}

void AnimateMissionTargetExplosion(World* world, MissionTarget* t) {
  t->explosionTime += t->explosionStep;
  if (t->explosionFrames) t->explosionFrames->Blend(int32_t(t->explosionTime), 1, 2);
  if (t->explosionTime > 256) {
    SetObjectHidden(world, t->explosionObject, 1);
    t->header.state = kTargetDestroyed;
  }
}

void DestroyMissionTarget(World* world, MissionTarget* t) {
  FreeKindSample(world, &t->sample);
  DestroyFrames(&t->explosionFrames);
}
