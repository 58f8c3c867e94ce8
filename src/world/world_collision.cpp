// Entities against the map's solid objects: ground following, walls, damaging ground, and
// the hits of projectiles and flyers.
#include <cstdint>

#include "world/world_internal.h"

bool WorldCollisionCulling = true;

namespace {

constexpr int32_t kReach = 4400;          // objects farther away are not examined
constexpr int32_t kGroundSearch = 500;    // a ground polygon is found near its first vertex
constexpr int32_t kHoverHeight = 100;     // entities hover this far above the ground
constexpr int32_t kFixedSettleMs = 10000; // fixed entities stop settling after this
constexpr uint8_t kPolyDamaging = 1;
constexpr uint8_t kPolyWall = 2;

void RestorePosition(Entity* e) {
  e->x = e->prevX;
  e->y = e->prevY;
  e->z = e->prevZ;
  e->w = e->prevW;
}

// Whether object o can hold anything that touches the entity. Every polygon lies within the
// object's radius of its origin, so a ground polygon under the entity needs the entity over
// the disc of that radius, and a polygon centre near enough needs the entity within twice
// the radius plus half its own. Only used where the polygon tests cannot wrap, so skipping
// never changes a result.
bool MayReach(const Object3D* o, const Entity* e, bool groundTest) {
  constexpr int32_t kSafe = 1 << 29;
  auto inRange = [](int32_t v) { return v > -kSafe && v < kSafe; };
  if (o->radius < 0 || o->radius >= 16000 || e->radius <= -(1 << 20) || e->radius >= (1 << 20) ||
      !inRange(o->x) || !inRange(o->y) || !inRange(o->z) || !inRange(e->x) || !inRange(e->y) ||
      !inRange(e->z))
    return true;
  int64_t dx = int64_t(e->x) - o->x, dy = int64_t(e->y) - o->y, dz = int64_t(e->z) - o->z;
  if (groundTest) {
    int64_t reach = int64_t(o->radius) + 1;
    return dx * dx + dz * dz <= reach * reach;
  }
  int64_t reach = int64_t(e->radius >> 1) + 2 * int64_t(o->radius) + 4;
  if (reach < 0) return false;
  return dx * dx + dy * dy + dz * dz <= reach * reach;
}

int64_t AxisGap(int32_t a, int32_t b) {
  int64_t d = int64_t(a) - b;
  return d < 0 ? -d : d;
}

// Sets y from the polygon's plane, answers walls and damaging ground.
void FollowGround(World* world, EntityManager* manager, Entity* e, const Object3D* o,
                  const Poly3D& p) {
  const Vertex3D& v = o->vertices[p.corner[0]];
  int64_t nx = p.nx, ny = p.ny, nz = p.nz;
  if (nx == 0 && ny == 0 && nz == 0) ny = 256;  // a degenerate plane counts as flat
  else if (ny == 0) ny = 256;
  int64_t along = nz * (int64_t(e->z) - o->z - v.z) + nx * (int64_t(e->x) - o->x - v.x);
  int64_t groundY = int64_t(o->y) - along / ny + v.y;

  if (p.type == kPolyWall) {
    RestorePosition(e);
    e->speed = 0;
    DispatchCollision(world, e, nullptr);
  }
  if (p.type == kPolyDamaging && e->type == kTypePlayer) {
    // Stops at 0 as shot damage does: the display never shows a negative energy.
    if (PlayerCraft* craft = world->player)
      craft->energy = craft->energy > 5 ? craft->energy - 5 : 0;
    SoundSystem* sound = WorldSound(world);
    if (sound && manager->explosionSample >= 0 &&
        !IsSamplePlaying(sound, manager->explosionSample))
      PlaySample(sound, manager->explosionSample, 0);
  }
  e->y = int32_t(int64_t(e->y) + ((groundY + kHoverHeight - e->y) >> 3));
  e->planeX = p.nx;
  e->planeY = p.ny;
  e->planeZ = p.nz;
  e->planeD = 0;  // polygons keep no plane distance
}

}  // namespace

bool PolygonUnder(const Object3D* o, const Poly3D& p, int32_t x, int32_t z) {
  const int n = p.cornerCount;
  const Vertex3D& first = o->vertices[p.corner[0]];
  int32_t fx = WrapAdd(first.x, o->x), fz = WrapAdd(first.z, o->z);
  // Distance3(...) >= kGroundSearch without the root: a rounded root reaches 500 exactly
  // when the sum of squares passes 499 * 499 + 499, and an axis gap of 500 alone does.
  const int64_t dx = int64_t(fx) - x, dz = int64_t(fz) - z;
  if (dx <= -kGroundSearch || dx >= kGroundSearch || dz <= -kGroundSearch || dz >= kGroundSearch)
    return false;
  static_assert(kGroundSearch == 500);
  if (dx * dx + dz * dz > int64_t(499) * 499 + 499) return false;
  for (int i = 0; i < n; ++i) {
    int j = (i + 1) % n;
    const Vertex3D& a = o->vertices[p.corner[i]];
    const Vertex3D& b = o->vertices[p.corner[j]];
    // Computed in 32 bits as the handheld did; huge objects wrap the same way.
    int32_t ax = WrapSub(WrapAdd(a.x, o->x), x), az = WrapSub(WrapAdd(a.z, o->z), z);
    int32_t bx = WrapSub(WrapAdd(b.x, o->x), x), bz = WrapSub(WrapAdd(b.z, o->z), z);
    if (WrapSub(WrapMul(bx, az), WrapMul(bz, ax)) <= 0) return false;
  }
  return true;
}

void CollideWithWorld(World* world, EntityManager* manager, Entity* e) {
  ObjectStore* store = manager->store;
  if (!store) return;
  const int32_t mode = e->mode;
  if (mode < kModeHover || mode > kModeFixed) return;
  if (mode == kModeFixed && e->age > kFixedSettleMs) return;
  const bool hits = mode == kModeBallistic || mode == kModeFlyer;
  for (int32_t k = 0; k < store->count; ++k) {
    if (k == e->ownObject) continue;
    const Object3D* o = store->objects[k];
    if (!o->visible || !o->solid || o->entity) continue;
    // Cheap tests first: the distance is at least the gap along each axis.
    if (WorldCollisionCulling && (AxisGap(o->x, e->x) > kReach || AxisGap(o->y, e->y) > kReach ||
                                  AxisGap(o->z, e->z) > kReach || !MayReach(o, e, !hits)))
      continue;
    if (MathTables::Distance3(o->x, o->y, o->z, e->x, e->y, e->z) > kReach) continue;
    manager->polygons = o->polygons;
    manager->polygonCount = o->polygonCount;
    manager->vertices = o->vertices;
    for (int32_t i = 0; i < o->polygonCount; ++i) {
      const Poly3D& p = o->polygons[i];
      if (hits) {
        int32_t d = MathTables::Distance3(WrapAdd(o->x, p.cx), WrapAdd(o->y, p.cy),
                                          WrapAdd(o->z, p.cz), e->x, e->y, e->z);
        if (int64_t(d) < int64_t(e->radius >> 1) + (p.radius >> 1)) {
          RestorePosition(e);
          DispatchCollision(world, e, nullptr);
          return;
        }
        continue;
      }
      if (!PolygonUnder(o, p, e->x, e->z)) continue;
      if (mode == kModeFixed) {
        int64_t sum = 0;
        for (int c = 0; c < p.cornerCount; ++c) sum += int64_t(o->vertices[p.corner[c]].y) + o->y;
        e->y = int32_t(sum / p.cornerCount + kHoverHeight);
        return;
      }
      FollowGround(world, manager, e, o, p);
      return;
    }
  }
}
