// The rocket launcher: one rocket model with a flame behind it, a fireball when it bursts,
// and the area damage of the burst.
#include <cstdio>

#include "gfx2d/gfx2d.h"
#include "world/weapons.h"
#include "world/world_internal.h"

namespace {

constexpr int32_t kRocketSpeed = 200;
constexpr int32_t kFlightMs = 4000;
constexpr int32_t kFlameBehind = -60;
constexpr int32_t kBurstVolume = 80;
constexpr int32_t kBurstReach = 800;
constexpr uint16_t kKeyBlue = MakeColour(0, 0, 31);
constexpr uint16_t kKeyBlack = MakeColour(0, 0, 0);

ObjectStore* StoreOf(World* world) { return world->scene ? &world->scene->store : nullptr; }

// Where the entity's own 3D object stands; the entity's position when it has none.
Vec3 ObjectPosition(World* world, const Entity* e) {
  ObjectStore* store = StoreOf(world);
  if (const Object3D* o = store && e->ownObject >= 0 ? store->Get(e->ownObject) : nullptr)
    return {o->x, o->y, o->z};
  return {e->x, e->y, e->z};
}

void HideRocket(World* world, RocketLauncher* launcher) {
  if (ObjectStore* store = StoreOf(world))
    if (Object3D* o = store->Get(launcher->object)) o->hidden = 1;
}

void PlaceFlame(RocketLauncher* launcher) {
  Vec3 behind = {0, 0, kFlameBehind};
  Math->TurnAboutX(&behind, launcher->pitch);
  Math->TurnAboutY(&behind, launcher->heading);
  const Entity* r = launcher->rocket;
  launcher->flame.SetPosition(WrapAdd(r->x, behind.x), WrapAdd(r->y, behind.y),
                              WrapAdd(r->z, behind.z));
}

int32_t Skill(World* world) {
  return world->host ? world->host->GetPlayerData().skillLevel : 2;
}

}  // namespace

RocketLauncher* CreateRocketLauncher(World* world, Entity* owner) {
  RocketLauncher* launcher = static_cast<RocketLauncher*>(AllocZeroed(sizeof(RocketLauncher)));
  if (!launcher) return nullptr;
  launcher->app = world->app;
  launcher->scene = world->scene;
  launcher->owner = owner;
  launcher->object = -1;
  ObjectStore* store = StoreOf(world);
  if (store) launcher->object = store->LoadShared("rocket.tdo", 1, 2);
  if (launcher->object < 0) LogMessage("Error loading rocket.tdo");
  HideRocket(world, launcher);
  SoundSystem* sound = WorldSound(world);
  launcher->travelSample = sound ? LoadWav(sound, "rocket_travel.wav") : -1;
  if (launcher->travelSample < 0) LogMessage("Error loading rocket_travel.wav");
  launcher->burstSample = sound ? LoadWav(sound, "BigExplosion.wav") : -1;
  if (launcher->burstSample < 0) {
    LogMessage("Error loading BigExplosion.wav");
  } else {
    SetSampleVolume(sound, launcher->burstSample, kBurstVolume);
    SetSamplePan(sound, launcher->burstSample, 0);
  }
  launcher->flame.Init(world->app, world->scene);
  if (launcher->flame.AddBaseSprite("rocketflame_f1.spr", 0, 30, kAnimLoop, 1, kKeyBlue, 0.4))
    for (int n = 2; n <= 6; ++n) {
      char name[32];
      snprintf(name, sizeof name, "rocketflame_f%d.spr", n);
      launcher->flame.AddFrame(name, 30);
    }
  launcher->flame.SetVisible(0);
  launcher->burst.Init(world->app, world->scene);
  if (launcher->burst.AddBaseSprite("expl_002.spr", 0, 100, kAnimOnce, 3, kKeyBlack, 8.0))
    for (int n = 3; n <= 22; ++n) {
      char name[32];
      snprintf(name, sizeof name, "expl_%03d.spr", n);
      launcher->burst.AddFrame(name, 100);
    }
  launcher->burst.SetVisible(0);
  Entity* e = AddEntity(world->entities, kTypeRocket, kModeBallistic, launcher);
  launcher->rocket = e;
  if (e) {
    const Object3D* o = store ? store->Get(launcher->object) : nullptr;
    e->radius = o ? o->radius : 0;
    e->ownObject = launcher->object;
    e->maxSpeed = kRocketSpeed;
    e->owner = owner;
    e->active = 0;
  }
  return launcher;
}

int32_t FireRocket(World* world, RocketLauncher* launcher, const PositionBlock& muzzle,
                   int32_t pitch, int32_t heading, int32_t bank) {
  if (!launcher || !launcher->rocket) return 0;
  if (launcher->state != kRocketReady || launcher->time != 0) return 0;
  Entity* e = launcher->rocket;
  e->x = muzzle.x;
  e->y = muzzle.y;
  e->z = muzzle.z;
  e->w = muzzle.w;
  ShotDirection(pitch, heading, &e->dirX, &e->dirY, &e->dirZ);
  e->dirW = 0;
  launcher->pitch = pitch;
  launcher->heading = heading;
  launcher->bank = bank;
  if (ObjectStore* store = StoreOf(world)) {
    store->SetPosition(launcher->object, e->x, e->y, e->z);
    store->SetAngles(launcher->object, pitch, heading, bank);
    if (Object3D* o = store->Get(launcher->object)) o->hidden = 0;
  }
  PlaceFlame(launcher);
  launcher->flame.SetVisible(1);
  launcher->flame.Play(0);
  e->active = 1;
  launcher->state = kRocketFlying;
  if (SoundSystem* sound = WorldSound(world); sound && launcher->travelSample >= 0) {
    SetSample3D(sound, launcher->travelSample, e->x, e->y, e->z, 0);
    PlaySample(sound, launcher->travelSample, 0);
  }
  return 1;
}

void UpdateRocketLauncher(World* world, RocketLauncher* launcher) {
  if (!launcher || !launcher->rocket) return;
  Entity* e = launcher->rocket;
  SoundSystem* sound = WorldSound(world);
  if (launcher->state == kRocketFlying) {
    launcher->time = WrapAdd(launcher->time, FrameDeltaMs);
    if (launcher->time > kFlightMs) {
      // A rocket that hit nothing ends with its flight instead of hanging in the air.
      launcher->state = kRocketReady;
      launcher->time = 0;
      e->active = 0;
      HideRocket(world, launcher);
      launcher->flame.SetVisible(0);
      launcher->flame.Stop();
      if (sound && launcher->travelSample >= 0) StopSample(sound, launcher->travelSample);
      return;
    }
    launcher->flame.Update();
    PlaceFlame(launcher);
    if (ObjectStore* store = StoreOf(world)) store->SetPosition(launcher->object, e->x, e->y, e->z);
    if (sound && launcher->travelSample >= 0)
      SetSample3D(sound, launcher->travelSample, e->x, e->y, e->z, 0);
  } else if (launcher->state == kRocketBursting) {
    launcher->burst.Update();
    launcher->time = WrapAdd(launcher->time, FrameDeltaMs);
    if (!launcher->burst.playing) {
      launcher->state = kRocketReady;
      launcher->time = 0;
    }
  }
}

void BurstRocket(World* world, RocketLauncher* launcher) {
  if (!launcher || !launcher->rocket || launcher->state == kRocketBursting) return;
  Entity* e = launcher->rocket;
  launcher->state = kRocketBursting;
  launcher->time = 0;
  launcher->flame.SetVisible(0);
  launcher->flame.Stop();
  HideRocket(world, launcher);
  launcher->burst.SetPosition(e->x, e->y, e->z);
  launcher->burst.SetVisible(1);
  launcher->burst.Play(0);
  if (SoundSystem* sound = WorldSound(world); sound && launcher->burstSample >= 0) {
    if (launcher->travelSample >= 0) StopSample(sound, launcher->travelSample);
    StopSample(sound, launcher->burstSample);
    SetSample3D(sound, launcher->burstSample, e->x, e->y, e->z, 0);
    PlaySample(sound, launcher->burstSample, 0);
  }
  e->active = 0;
  AreaDamage(world, e);
}

void BurstRocketAt(World* world, RocketLauncher* launcher, int32_t x, int32_t y, int32_t z) {
  if (!launcher || !launcher->rocket || launcher->state == kRocketBursting) return;
  Entity* e = launcher->rocket;
  e->x = x;
  e->y = y;
  e->z = z;
  // The damage is measured from the rocket's object: it goes off where the rocket is.
  if (ObjectStore* store = StoreOf(world)) store->SetPosition(launcher->object, x, y, z);
  BurstRocket(world, launcher);
}

void DestroyRocketLauncher(World* world, RocketLauncher* launcher) {
  if (!launcher) return;
  launcher->flame.Release();
  launcher->burst.Release();
  if (SoundSystem* sound = WorldSound(world)) {
    if (launcher->travelSample >= 0) FreeSample(sound, launcher->travelSample);
    if (launcher->burstSample >= 0) FreeSample(sound, launcher->burstSample);
  }
  MemFree(launcher);
}

// Anything but a projectile or the rocket's owner sets it off.
int32_t CollideRocket(World* world, void* kind, Entity*, Entity* other) {
  RocketLauncher* launcher = static_cast<RocketLauncher*>(kind);
  if (!launcher) return 0;
  if (other && (IsProjectileType(other->type) || other == launcher->owner)) return 0;
  BurstRocket(world, launcher);
  return 0;
}

const KindFunctions kRocketKind = {nullptr, nullptr, CollideRocket, nullptr};

int32_t BurstDamage(int32_t distance) {
  if (distance <= 0 || distance >= kBurstReach) return 0;
  return int32_t(70.0 - double(distance) * 0.0875);
}

void AreaDamage(World* world, Entity* source) {
  EntityManager* manager = world->entities;
  if (!manager || !source) return;
  const Vec3 at = ObjectPosition(world, source);
  for (int32_t i = 0; i < manager->count; ++i) {
    Entity* victim = manager->entities[i];
    if (victim == source || !victim->active || !victim->kind) continue;
    int32_t times;  // multiple of the damage for the kinds a blast hurts
    switch (victim->type) {
      case kTypePlayer: times = 1; break;
      case kTypeStegoTank: times = 2; break;
      case kTypeMegaRaptor: times = 3; break;
      case kTypePteranoFlyer: times = 4; break;
      case kTypeShootingTower: times = 1; break;
      default: continue;
    }
    const Vec3 p = ObjectPosition(world, victim);
    const int32_t d = MathTables::Distance3(at.x, at.y, at.z, p.x, p.y, p.z);
    if (d >= kBurstReach) continue;
    const int32_t damage = BurstDamage(d);
    if (victim->type == kTypePlayer) {
      PlayerCraft* craft = static_cast<PlayerCraft*>(victim->kind);
      const int32_t skill = Skill(world);
      const double factor = skill == 1 ? 2.0 / 3.0 : (skill == 3 ? 1.5 : 1.0);
      int32_t energy = int32_t(double(craft->energy) - double(damage) * factor);
      craft->energy = energy < 0 ? 0 : energy;
    } else {
      KindHeader* header = static_cast<KindHeader*>(victim->kind);
      int32_t hp = header->hitPoints - times * damage;
      header->hitPoints = hp < 0 ? 0 : hp;
    }
  }
}
