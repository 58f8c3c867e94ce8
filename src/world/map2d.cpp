// The radar map: the map's ground outlines drawn once into the IMG_MAP2D picture, shaded by
// height, and the dots of the craft, the enemies and the ship drawn over it every frame.
#include <climits>
#include <cstdint>

#include "world/world_internal.h"

namespace {

constexpr uint16_t kPlayerDot = 53215;
constexpr uint16_t kEnemyDot = 63488;
constexpr uint16_t kShipDot = 1984;

bool Drawn(const Object3D* o) { return o && !o->hidden && !o->entity; }

// Float to int with saturation: a far-off entity must not be undefined behaviour.
int32_t ToInt(float f) {
  if (!(f > -2147483648.0f)) return f != f ? 0 : INT32_MIN;
  if (f >= 2147483648.0f) return INT32_MAX;
  return int32_t(f);
}

int32_t ToInt(double f) {
  if (!(f > -2147483648.0)) return f != f ? 0 : INT32_MIN;
  if (f >= 2147483648.0) return INT32_MAX;
  return int32_t(f);
}

// Bounds of every vertex of the drawn map geometry; false when there is none.
bool Measure(const ObjectStore& store, Map2D* m) {
  bool any = false;
  int64_t minX = 0, maxX = 0, minZ = 0, maxZ = 0, minY = 0, maxY = 0;
  for (int32_t k = 0; k < store.count; ++k) {
    const Object3D* o = store.objects[k];
    if (!Drawn(o)) continue;
    for (int32_t i = 0; i < o->vertexCount; ++i) {
      int64_t x = int64_t(o->vertices[i].x) + o->x, y = int64_t(o->vertices[i].y) + o->y;
      int64_t z = int64_t(o->vertices[i].z) + o->z;
      if (!any) {
        minX = maxX = x;
        minY = maxY = y;
        minZ = maxZ = z;
        any = true;
      }
      if (x < minX) minX = x;
      if (x > maxX) maxX = x;
      if (y < minY) minY = y;
      if (y > maxY) maxY = y;
      if (z < minZ) minZ = z;
      if (z > maxZ) maxZ = z;
    }
  }
  auto clamp = [](int64_t v) { return int32_t(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v); };
  m->minX = clamp(minX);
  m->maxX = clamp(maxX);
  m->minY = clamp(minY);
  m->maxY = clamp(maxY);
  m->minZ = clamp(minZ);
  m->maxZ = clamp(maxZ);
  return any;
}

void DrawOutlines(const ObjectStore& store, const Map2D* m) {
  const double shadeStep = m->maxY > m->minY ? 31.0 / (double(m->maxY) - m->minY) : 0.0;
  for (int32_t k = 0; k < store.count; ++k) {
    const Object3D* o = store.objects[k];
    if (!Drawn(o)) continue;
    for (int32_t i = 0; i < o->polygonCount; ++i) {
      const Poly3D& p = o->polygons[i];
      int32_t px[4], pz[4];
      int64_t heights = 0;
      for (int c = 0; c < p.cornerCount; ++c) {
        const Vertex3D& v = o->vertices[p.corner[c]];
        px[c] = ToInt((float(int64_t(v.x) + o->x + m->offsetX)) * m->scale + float(m->marginX));
        pz[c] = ToInt((float(int64_t(v.z) + o->z + m->offsetZ)) * m->scale + float(m->marginY));
        heights += int64_t(v.y) + o->y;
      }
      int64_t average = heights / p.cornerCount;
      int32_t shade = ToInt(double(average - m->minY) * shadeStep);
      uint16_t colour = uint16_t(WrapAdd(shade, WrapMul(64, shade)));
      for (int c = 0; c < p.cornerCount; ++c) {
        int n = (c + 1) % p.cornerCount;
        Gfx2D->DrawLine(px[c], WrapSub(m->height, pz[c]), px[n], WrapSub(m->height, pz[n]), 1,
                        colour);
      }
    }
  }
}

}  // namespace

Map2D* CreateMap2D(World* world, Engine3D* scene, int32_t image, int32_t x, int32_t y,
                   int32_t width, int32_t height) {
  Map2D* m = static_cast<Map2D*>(AllocZeroed(sizeof(Map2D)));
  if (!m) return nullptr;
  m->image = image;
  m->app = world->app;
  m->scene = scene;
  m->controlX = x;
  m->controlY = y;
  m->width = width;
  m->height = height;
  if (!scene || !Measure(scene->store, m) || width <= 0 || height <= 0) return m;
  // An empty extent counts as one unit so the scale stays finite.
  int64_t rangeX = int64_t(m->maxX) - m->minX, rangeZ = int64_t(m->maxZ) - m->minZ;
  if (rangeX <= 0) rangeX = 1;
  if (rangeZ <= 0) rangeZ = 1;
  if (rangeX / width <= rangeZ / height)
    m->scale = float(height) / float(rangeZ);
  else
    m->scale = float(width) / float(rangeX);
  m->marginX = (width - ToInt(float(rangeX) * m->scale)) / 2;
  m->marginY = (height - ToInt(float(rangeZ) * m->scale)) / 2;
  m->offsetX = WrapSub(0, m->minX);
  m->offsetZ = WrapSub(0, m->minZ);

  uint16_t* block = Gfx2D ? Gfx2D->SpriteBlock(image) : nullptr;
  if (!block) return m;
  // Draw into the picture instead of the screen, then give the screen back.
  uint16_t* pixels = Gfx2D->pixels;
  int32_t targetWidth = Gfx2D->width, targetHeight = Gfx2D->height;
  Gfx2D->pixels = SpritePixels(block);
  Gfx2D->width = SpriteWidth(block);
  Gfx2D->height = SpriteHeight(block);
  DrawOutlines(scene->store, m);
  Gfx2D->pixels = pixels;
  Gfx2D->width = targetWidth;
  Gfx2D->height = targetHeight;
  return m;
}

void DestroyMap2D(Map2D* map) { MemFree(map); }

void DrawMap2DEntities(Map2D* m, const EntityManager* entities) {
  if (!m || !m->enabled || !entities || !Gfx2D) return;
  for (int32_t i = 0; i < entities->count; ++i) {
    const Entity* e = entities->entities[i];
    if (!e->active) continue;
    uint16_t colour;
    switch (e->type) {
      case kTypePlayer: colour = kPlayerDot; break;
      case kTypeStegoTank: case kTypeMegaRaptor: case kTypePteranoFlyer:
      case kTypeShootingTower: case kTypeHoverChasmo: colour = kEnemyDot; break;
      case kTypeShip: colour = kShipDot; break;
      default: continue;
    }
    int32_t x = ToInt(float(int64_t(e->x) + m->offsetX) * m->scale + float(m->marginX) +
                      float(m->controlX));
    int32_t y = ToInt(float(int64_t(m->maxZ) - e->z) * m->scale + float(m->marginY) +
                      float(m->controlY));
    if (x > m->controlX && x < m->controlX + m->width && y > m->controlY &&
        y < m->controlY + m->height)
      Gfx2D->FillRect(x - 1, y - 1, 2, 2, colour);
  }
}
