// The entity manager: the table of live entities, its tick of movement and collisions, and
// the collision dispatch by type code.
#include <cstdint>

#include "world/kinds.h"
#include "world/world_internal.h"

int32_t HeadingFromDegrees(int32_t degrees) {
  // Whole degrees of a damaged file can be far beyond one turn: truncate in 64 bits and wrap
  // as the handheld's 32-bit result would.
  return int32_t(int64_t(double(degrees) * kDegreesToAngle));
}

void SetDirectionFromHeading(Entity* entity) {
  entity->dirX = Math->Sin(entity->heading);
  entity->dirZ = Math->Cos(entity->heading);
}

EntityManager* CreateEntityManager(World* world, ObjectStore* store) {
  EntityManager* m = static_cast<EntityManager*>(AllocZeroed(sizeof(EntityManager)));
  if (!m) return nullptr;
  m->app = world->app;
  m->store = store;
  m->count = 0;
  for (uint8_t*& buffer : m->work) buffer = static_cast<uint8_t*>(AllocZeroed(16));
  SoundSystem* sound = WorldSound(world);
  m->explosionSample = sound ? LoadWav(sound, "PlasmaExplosion.wav") : -1;
  return m;
}

void DestroyEntityManager(World* world, EntityManager* manager) {
  if (!manager) return;
  SoundSystem* sound = WorldSound(world);
  if (sound && manager->explosionSample >= 0) FreeSample(sound, manager->explosionSample);
  for (uint8_t* buffer : manager->work) MemFree(buffer);
  for (int32_t i = 0; i < manager->count; ++i) MemFree(manager->entities[i]);
  MemFree(manager);
}

Entity* AddEntity(EntityManager* manager, int32_t type, int32_t mode, void* kind) {
  if (!manager) return nullptr;
  if (manager->count + 1 > kMaxEntities) {
    LogMessage("Max entities reached.");
    return nullptr;
  }
  Entity* e = static_cast<Entity*>(AllocZeroed(sizeof(Entity)));
  if (!e) return nullptr;
  e->dirZ = 255;
  e->active = 1;
  e->type = type;
  e->mode = mode;
  e->kind = kind;
  manager->entities[manager->count++] = e;
  return e;
}

void DispatchCollision(World* world, Entity* self, Entity* other) {
  const KindFunctions* f = KindFunctionsFor(self->type);
  if (f && f->collide) f->collide(world, self->kind, self, other);
}

namespace {

// Whether two entities are surely apart: their distance is at least the gap along any one
// axis, so a gap of both radii or more rules the hit out without the square root. Only for
// radii where the distance cannot saturate first.
bool SurelyApart(const Entity* a, const Entity* b) {
  constexpr int32_t kSaneRadius = 20000;
  if (a->radius < 0 || b->radius < 0 || a->radius > kSaneRadius || b->radius > kSaneRadius)
    return false;
  const int64_t reach = int64_t(a->radius) + b->radius;
  auto gap = [](int32_t p, int32_t q) {
    int64_t d = int64_t(p) - q;
    return d < 0 ? -d : d;
  };
  return gap(a->x, b->x) >= reach || gap(a->y, b->y) >= reach || gap(a->z, b->z) >= reach;
}

}  // namespace

void UpdateEntities(World* world, EntityManager* manager) {
  if (!manager) return;
  const int32_t n = manager->count;
  for (int32_t i = 0; i < n; ++i) {
    Entity* e = manager->entities[i];
    e->prevX = e->x;
    e->prevY = e->y;
    e->prevZ = e->z;
    e->prevW = e->w;
  }
  for (int32_t i = 0; i < n; ++i) {
    Entity* self = manager->entities[i];
    self->age = WrapAdd(self->age, FrameDeltaMs);
    if (!self->active) continue;
    // Every pair is seen from both sides, each time with the positions of that moment.
    for (int32_t j = 0; j < manager->count; ++j) {
      Entity* other = manager->entities[j];
      if (other == self || !other->active) continue;
      if (WorldCollisionCulling && SurelyApart(self, other)) continue;
      int32_t d = MathTables::Distance3(self->x, self->y, self->z, other->x, other->y, other->z);
      if (int64_t(d) - self->radius - other->radius < 0 && d > 0)
        DispatchCollision(world, self, other);
    }
    MoveEntity(self);
    CollideWithWorld(world, manager, self);
  }
}
