// The pickups the craft takes by touching them: energy, the three ammunition packs, the
// mission items (ship keycard, X Bomb, mainframe code card) and the hyperload station, all
// driven by one table of their models, spins, conditions and effects.
#include <cstdint>

#include "world/kind_support.h"
#include "world/kinds.h"

namespace {

constexpr int32_t kRechargeVolume = 150;
constexpr int32_t kPickupHeight = 100;    // the model floats this far above its entity
constexpr int32_t kStationDepth = 60;     // the hyperload station stands this far below

struct Pickup {
  KindHeader header;  // object = its model
  uint32_t app;
  Engine3D* scene;
  int32_t sample;     // "recharge.wav"
  const struct PickupRow* row;
};

// Whether the craft may take it, and what taking it does.
using PickupCondition = bool (*)(World* world, PlayerCraft* craft);
using PickupEffect = void (*)(World* world, PlayerCraft* craft);

struct PickupRow {
  int32_t type;
  const char* model;
  int32_t spinX, spinY, spinZ;
  PickupCondition condition;
  PickupEffect effect;
  const char* message;  // null: none
};

void RefreshAmmo(World* world, PlayerCraft* craft) {
  const PlayerHooks* hooks = GetPlayerHooks();
  if (hooks && hooks->refreshAmmoDisplay) hooks->refreshAmmoDisplay(world, craft);
}

int32_t AddUpTo(int32_t value, int32_t add, int32_t most) {
  return value + add > most ? most : value + add;
}

// A mission flag of the player record, saved to its file at once.
void SetMissionFlag(World* world, uint8_t PlayerData::*flag) {
  if (PlayerData* player = WorldPlayerData(world)) {
    player->*flag = 1;
    SavePlayerRecord(world);
  }
}

const PickupRow kRows[] = {
    {kTypeEnergyPack, "energypack.tdo", 1456, 2912, 1456,
     [](World*, PlayerCraft* c) { return c && c->energy < 250; },
     [](World*, PlayerCraft* c) { c->energy = AddUpTo(c->energy, 100, 250); }, nullptr},
    {kTypeAmmoMGun, "ammo_mgun.tdo", 1456, 2912, 1456,
     [](World*, PlayerCraft* c) { return c && c->gunAmmo < 300; },
     [](World* w, PlayerCraft* c) {
       c->gunAmmo = AddUpTo(c->gunAmmo, 200, 300);
       RefreshAmmo(w, c);
     },
     nullptr},
    {kTypeAmmoPlasma, "ammo_plasma.tdo", 1456, 2912, 1456,
     [](World*, PlayerCraft* c) { return c && c->plasmaAmmo < 150; },
     [](World* w, PlayerCraft* c) {
       c->plasmaAmmo = AddUpTo(c->plasmaAmmo, 100, 150);
       RefreshAmmo(w, c);
     },
     nullptr},
    {kTypeAmmoRocket, "ammo_rocket.tdo", 1456, 2912, 1456,
     [](World*, PlayerCraft* c) { return c && c->rockets < 8; },
     [](World* w, PlayerCraft* c) {
       c->rockets = AddUpTo(c->rockets, 4, 8);
       RefreshAmmo(w, c);
     },
     nullptr},
    {kTypeShipKeyCard, "keycard.tdo", 0, 2912, 0, [](World*, PlayerCraft*) { return true; },
     [](World* w, PlayerCraft*) { SetMissionFlag(w, &PlayerData::haveShipKeyCard); },
     "You got the ship keycard"},
    {kTypeXBomb, "bomb.tdo", 0, 2912, 0, [](World*, PlayerCraft*) { return true; },
     [](World* w, PlayerCraft*) { SetMissionFlag(w, &PlayerData::xBomb); }, "You got the X Bomb"},
    {kTypeCodeCard, "keycard.tdo", 0, 2912, 0, [](World*, PlayerCraft*) { return true; },
     [](World* w, PlayerCraft*) { SetMissionFlag(w, &PlayerData::selfDestructCode); },
     "You got the mainframe self destruction code"},
    {kTypeHyperLoad, "hyperload.tdo", 0, 0, 0,
     [](World* w, PlayerCraft*) {
       PlayerData* player = WorldPlayerData(w);
       return player && !player->hyperjumpLoaded;
     },
     [](World* w, PlayerCraft*) { SetMissionFlag(w, &PlayerData::hyperjumpLoaded); },
     "Hyperjump device has been charged."},
};

const PickupRow* RowFor(int32_t type) {
  for (const PickupRow& row : kRows)
    if (row.type == type) return &row;
  return nullptr;
}

void* CreatePickup(World* world, const EntRecord& record) {
  const PickupRow* row = RowFor(record.type);
  if (!row) return nullptr;
  Pickup* p = static_cast<Pickup*>(AllocZeroed(sizeof(Pickup)));
  if (!p) return nullptr;
  p->header.type = row->type;
  p->app = world->app;
  p->scene = world->scene;
  p->row = row;
  p->header.object = LoadKindObject(world, row->model);
  p->sample = LoadKindSample(world, "recharge.wav", kRechargeVolume);
  p->header.entity = AddEntity(world->entities, row->type, kModeGround, p);
  if (p->header.entity) p->header.entity->radius = ObjectRadius(world, p->header.object);
  return p;
}

void UpdatePickup(World* world, void* kind) {
  Pickup* p = static_cast<Pickup*>(kind);
  Entity* e = p->header.entity;
  ObjectStore* store = KindStore(world);
  if (!e || !e->active || !store) return;
  if (p->header.type == kTypeHyperLoad) {
    store->SetPosition(p->header.object, e->x, e->y - kStationDepth, e->z);
    store->SetAngles(p->header.object, 0, e->heading, 0);
    return;
  }
  store->AddAngles(p->header.object, p->row->spinX, p->row->spinY, p->row->spinZ);
  store->SetPosition(p->header.object, e->x, e->y + kPickupHeight, e->z);
}

int32_t CollidePickup(World* world, void* kind, Entity* self, Entity* other) {
  Pickup* p = static_cast<Pickup*>(kind);
  if (!other || other->type != kTypePlayer || !self->active) return 0;
  PlayerCraft* craft = static_cast<PlayerCraft*>(other->kind);
  if (!p->row->condition(world, craft)) return 0;
  PlayKindSample(world, p->sample, 0);
  // The station stays where it is and only refuses a second charge.
  if (p->header.type != kTypeHyperLoad) {
    self->active = 0;
    SetObjectHidden(world, p->header.object, 1);
  }
  p->row->effect(world, craft);
  if (p->row->message) ShowMessage(world, p->row->message);
  return 1;
}

void DestroyPickup(World* world, void* kind) {
  FreeKindSample(world, &static_cast<Pickup*>(kind)->sample);
}

constexpr KindFunctions kPickupFunctions = {CreatePickup, UpdatePickup, CollidePickup,
                                             DestroyPickup};

}  // namespace

const KindFunctions kEnergyPackKind = kPickupFunctions;
const KindFunctions kAmmoMGunKind = kPickupFunctions;
const KindFunctions kAmmoPlasmaKind = kPickupFunctions;
const KindFunctions kAmmoRocketKind = kPickupFunctions;
const KindFunctions kShipKeyCardKind = kPickupFunctions;
const KindFunctions kXBombKind = kPickupFunctions;
const KindFunctions kCodeCardKind = kPickupFunctions;
const KindFunctions kHyperLoadKind = kPickupFunctions;
