// The read-only view of the world: copies of the craft's and the entities' state.
#include "world/kinds.h"
#include "world/player_craft.h"

bool WorldView::MapLoaded() const { return world_ && WorldMapLoaded(world_); }

bool WorldView::Playing() const { return MapLoaded() && world_->worldState == kWorldPlaying; }

const char* WorldView::MapName() const { return MapLoaded() ? world_->currentMapFile : ""; }

CraftReading WorldView::Craft() const {
  CraftReading r;
  if (!MapLoaded() || !world_->player || !world_->player->entity) return r;
  const PlayerCraft* c = world_->player;
  const Entity* e = c->entity;
  r.present = true;
  r.alive = c->header.state == kCraftAlive;
  r.x = e->x;
  r.y = e->y;
  r.z = e->z;
  r.heading = e->heading;
  r.pitch = e->pitch;
  r.speed = e->speed;
  r.dx = int32_t(int64_t(e->x) - e->prevX);
  r.dz = int32_t(int64_t(e->z) - e->prevZ);
  r.engineOn = e->thrust != 0;
  r.energy = c->energy;
  r.weapon = c->weapon;
  r.gunAmmo = c->gunAmmo;
  r.plasmaAmmo = c->plasmaAmmo;
  r.rockets = c->rockets;
  return r;
}

int32_t WorldView::EntityCount() const { return MapLoaded() ? world_->entities->count : 0; }

EntityReading WorldView::EntityAt(int32_t index) const {
  EntityReading r;
  if (index < 0 || index >= EntityCount()) return r;
  const Entity* e = world_->entities->entities[index];
  if (!e) return r;
  r.type = e->type;
  r.x = e->x;
  r.y = e->y;
  r.z = e->z;
  r.active = e->active != 0;
  r.dx = int32_t(int64_t(e->x) - e->prevX);
  r.dy = int32_t(int64_t(e->y) - e->prevY);
  r.dz = int32_t(int64_t(e->z) - e->prevZ);
  r.fromCraft = world_->player && e->owner && e->owner == world_->player->entity;
  // An enemy that is exploding still has an active entity for a moment; it is no target.
  const bool enemy = e->type == kTypeStegoTank || e->type == kTypeMegaRaptor ||
                     e->type == kTypePteranoFlyer || e->type == kTypeShootingTower ||
                     e->type == kTypeHoverChasmo;
  if (r.active && enemy && e->kind) {
    const KindHeader* h = static_cast<const KindHeader*>(e->kind);
    if (h->type == e->type && h->entity == e && h->state != 0) r.active = false;
  }
  return r;
}

int32_t WorldView::ChartSelected() const {
  return world_ && world_->starChart ? world_->starChart->selected : -1;
}

int32_t WorldView::ChartCount() const {
  return world_ && world_->starChart ? world_->starChart->count : 0;
}

const char* WorldView::ChartDestination(int32_t index) const {
  if (!world_ || !world_->starChart || index < 0 || index >= world_->starChart->count) return "";
  return world_->starChart->records[index].entry;
}
