// Shared inside the world core: movement, world collision and the host's services with
// their test-friendly null checks.
#pragma once

#include <cstdint>

#include "world/kinds.h"

// The host's sound system, null without a host or sound.
inline SoundSystem* WorldSound(const World* world) {
  return world && world->host ? world->host->GetSound() : nullptr;
}
// The host's form manager, null without a host or forms.
inline FormManager* WorldForms(const World* world) {
  return world && world->host ? world->host->GetForms() : nullptr;
}

// World collision skips whole objects whose bounding sphere cannot reach the entity, and the
// pair test skips entities apart by both radii along one axis, before any square root. The
// results are the same either way; tests and benchmarks turn it off to compare.
extern bool WorldCollisionCulling;

// One tick of the entity's movement mode (any other mode does not move).
void MoveEntity(Entity* e);
// The entity against the map's solid objects: ground following, walls, damaging ground.
void CollideWithWorld(World* world, EntityManager* manager, Entity* e);
// Whether (x, z) lies over the ground polygon p of object o (within 500 of its first vertex
// and inside its outline).
bool PolygonUnder(const Object3D* o, const Poly3D& p, int32_t x, int32_t z);
