// The escape ship: with the keycard the craft drives up its ramp, the door swings shut and
// the ship climbs away in a spiral, which ends the game.
#include <cstdint>

#include "world/kind_support.h"
#include "world/kinds.h"

namespace {

enum ShipState : int32_t { kShipWaiting = 0, kShipBoarding = 1, kShipDeparting = 2 };

constexpr int32_t kCraftInside = 5;      // the craft's state once it is in the bay
constexpr int32_t kShipRadius = 700;     // the craft meets the ship at its ramp
constexpr int32_t kDoorClosed = 255;
constexpr int32_t kFadeAt = 60;
constexpr int32_t kClimbSteps = 200;

struct Ship {
  ShipHead head;      // object = "ship.tdo", state = ShipState; the departure counter
  FrameSet* door;     // 1 "ship.tdo" (open), 2 "shipclosed.tdo"
  int32_t departureSample;  // "ship.wav"
  int32_t doorSample;       // "rotate.wav"
  int32_t doorBlend;
  int32_t climbStep;
};

void* CreateShip(World* world, const EntRecord&) {
  Ship* s = static_cast<Ship*>(AllocZeroed(sizeof(Ship)));
  if (!s) return nullptr;
  s->head.header.type = kTypeShip;
  s->head.header.object = LoadKindObject(world, "ship.tdo");
  if (Object3D* o = KindStore(world) ? KindStore(world)->Get(s->head.header.object) : nullptr)
    o->solid = 1;
  s->door = CreateFrames(world, s->head.header.object, "ship.tdo", "shipclosed.tdo");
  s->departureSample = LoadKindSample(world, "ship.wav", 120);
  s->doorSample = LoadKindSample(world, "rotate.wav", 160);
  if (SoundSystem* sound = world->host ? world->host->GetSound() : nullptr;
      sound && s->doorSample >= 0)
    SetSamplePitch(sound, s->doorSample, 80);
  Entity* e = AddEntity(world->entities, kTypeShip, kModeGround, s);
  s->head.header.entity = e;
  if (e) {
    e->maxSpeed = 60;
    e->turnRate = 6000;
    e->radius = kShipRadius;
  }
  return s;
}

void UpdateShip(World* world, void* kind) {
  Ship* s = static_cast<Ship*>(kind);
  Entity* e = s->head.header.entity;
  ObjectStore* store = KindStore(world);
  if (!e || !store) return;
  store->SetPosition(s->head.header.object, e->x, e->y, e->z);
  if (s->head.header.state != kShipDeparting)
    store->SetAngles(s->head.header.object, e->pitch, e->heading, e->bank);

  if (s->head.header.state == kShipBoarding) {
    PlayerCraft* craft = world->player;
    if (!craft || craft->header.state != kCraftInside) return;
    s->doorBlend += 3;
    if (s->door) s->door->Blend(s->doorBlend, 1, 2);
    if (s->doorBlend == 3) PlayKindSample(world, s->doorSample, 0);
    if (s->doorBlend == 138) PlayKindSample(world, s->departureSample, 0);
    if (s->doorBlend >= kDoorClosed) {
      s->head.header.state = kShipDeparting;
      e->active = 0;
      s->climbStep = 0;
      SetObjectHidden(world, craft->craftObject, 1);
    }
  } else if (s->head.header.state == kShipDeparting) {
    s->head.departureCounter += 1;
    s->climbStep += 1;
    if (s->head.departureCounter == kFadeAt && world->host) world->host->SetFadeOut();
    if (s->head.departureCounter < kClimbSteps) {
      Vec3 climb = {s->climbStep, s->climbStep, s->climbStep};
      Math->TurnAboutY(&climb, e->heading);
      e->x = WrapAdd(e->x, climb.x);
      e->y = WrapAdd(e->y, climb.y);
      e->z = WrapAdd(e->z, climb.z);
      e->bank -= 600;
      e->pitch -= 1000;
      e->heading = WrapAdd(e->heading, 800);
      store->SetPosition(s->head.header.object, e->x, e->y, e->z);
      store->SetAngles(s->head.header.object, e->pitch, e->heading, e->bank);
    }
  }
}

int32_t CollideShip(World* world, void* kind, Entity*, Entity* other) {
  Ship* s = static_cast<Ship*>(kind);
  if (!other || other->type != kTypePlayer) return 0;
  PlayerData* player = WorldPlayerData(world);
  if (!player || !player->haveShipKeyCard) {
    ShowMessage(world, "You need the ship keycard");
    return 1;
  }
  s->head.header.state = kShipBoarding;
  return 1;
}

void DestroyShip(World* world, void* kind) {
  Ship* s = static_cast<Ship*>(kind);
  FreeKindSample(world, &s->departureSample);
  FreeKindSample(world, &s->doorSample);
  DestroyFrames(&s->door);
}

}  // namespace

const KindFunctions kShipKind = {CreateShip, UpdateShip, CollideShip, DestroyShip};
