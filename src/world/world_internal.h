// Shared inside the world core: movement, world collision and the host's services with
// their test-friendly null checks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

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

// ---------------------------------------------------------------------------------------
// Map and entity-list files, shared by map loading and the star chart

// The reserved block of each object: 58 bytes in a game map, 128 in the star chart's.
constexpr size_t kMapReservedBytes = 58;
constexpr size_t kChartReservedBytes = 128;

// The one table of .ent records, filled by ReadEntRecords.
EntRecord* EntRecordTable();
// Reads the record count and the records (zero-filled first) into the table, logging "Error
// loading entities" on a short read and refusing a count outside 0..50 before reading.
// Returns the count (0 when refused); *read says how many records were read whole.
int32_t ReadEntRecords(FILE* f, int32_t* read);
// Reads `count` map objects (position, reserved block, solid word, model) into the store,
// placing each at (x, y, -z). False after logging when an object cannot be loaded.
bool ReadMapObjects(ByteReader* in, ObjectStore* store, int32_t count, size_t reservedBytes);
// A zero-padded name field of `bytes` bytes, kept terminated; false on a short read.
bool ReadMapName(ByteReader* in, char* out, size_t bytes);

// The heading the star chart's camera turns to for a destination: the half turn beyond the
// direction of its marker from the centre.
int32_t StarChartTargetHeading(const EntRecord& record);
// The scenery of "starchart.map" into the chart's scene (objects, its texture pack and
// "ents.tex"; the background is named and not loaded); false after logging when the
// opening must stop.
bool LoadStarChartScene(Engine3D* scene);
// The destinations of "starchart.ent" into the shared record table; how many were read whole.
int32_t LoadStarChartRecords();

// Key-frame sets of the kinds' models: a zero-filled FrameSet over `base` with the named
// frames added in order. Null when there is no base, no scene or no memory; the kind then
// goes without the animation.
FrameSet* MakeKindFrameSet(World* world, Object3D* base, const char* const* frames, int count);
void FreeKindFrameSet(FrameSet* set);
