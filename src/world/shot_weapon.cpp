// The shot pools: machine gun, plasma gun and torpedo launcher. Each shot is a dormant
// Ballistic entity with a flight and an impact flip-book, woken when it is fired.
#include <cstdio>

#include "gfx2d/gfx2d.h"
#include "world/weapons.h"
#include "world/world_internal.h"

namespace {

struct Sprites {
  const char* first;      // the base frame
  const char* pattern;    // printf pattern of the further frames
  int32_t from, to;       // numbers of the further frames
  int32_t duration;       // ms per frame
  int32_t blitMode;
  uint16_t key;
  double scale;
};

struct GunData {
  int32_t shotType;
  int32_t shots;
  int32_t minInterval;   // ms between shots
  int32_t speed;
  int32_t lifetime;      // ms
  bool burstsAtEnd;      // the machine gun's bullets vanish instead
  Sprites flight;
  Sprites impact;
  const char* fireSound;
  const char* impactSound;
  const char* spriteError;
  const char* fireError;
  const char* impactError;
};

constexpr uint16_t kKeyWhite = MakeColour(31, 31, 31);
constexpr uint16_t kKeyRed = MakeColour(31, 0, 0);
constexpr uint16_t kKeyBlack = MakeColour(0, 0, 0);

// Flight sprites are drawn keyed (mode 0), impacts keyed and half-transparent (mode 1).
constexpr Sprites kPlasmaImpact = {"plasma10.spr", "plasma%d.spr", 11, 22, 80, 1, kKeyRed, 0.8};

const GunData kGuns[3] = {
    {kTypeRifleBullet, 16, 200, 800, 4000, false,
     {"RifleMachineTravel.spr", nullptr, 0, -1, 30, 0, kKeyWhite, 1.5},
     {"RifleMachineExplosion1.spr", "RifleMachineExplosion%d.spr", 2, 4, 80, 1, kKeyWhite, 10.0},
     "RifleMachShot.wav", "BulletHit2.wav", "Error from SprAnim_RifleMachineFlare[%d]->AddBaseSprite",
     "Error loading RifleMachShot.wav", "Error loading BulletHit2.wav"},
    {kTypePlasma, 16, 150, 200, 4000, true,
     {"plasma1.spr", "plasma%d.spr", 2, 3, 30, 0, kKeyRed, 0.2},
     kPlasmaImpact,
     "PlasmaShot.wav", "PlasmaExplosion.wav", "Error from SprAnim_PlasmaFlare[%d]->AddBaseSprite",
     "Error loading PlasmaShot.wav", "Error loading PlasmaExplosion.wav"},
    {kTypeTorpedo, 8, 150, 200, 12000, true,
     {"torpedo_001.spr", "torpedo_%03d.spr", 2, 8, 50, 0, kKeyBlack, 0.3},
     kPlasmaImpact,
     "TorpedoShot.wav", "SmallExplosion.wav", "Error from SprAnim_TorpedoFlare[%d]->AddBaseSprite",
     "Error loading TorpedoShot.wav", "Error loading TorpedoExplosion.wav"},
};

constexpr int32_t kShotRadius = 128;
constexpr int32_t kGunLoopVolume = 50;
constexpr int32_t kBulletHitVolume = 150;
constexpr int32_t kGunLoopGraceMs = 200;  // the loop outlives the last shot by this much

const GunData& DataOf(const ShotWeapon* gun) { return kGuns[gun->type]; }

// The flip-book of a sprite table row: the base frame as the scene sprite, then the rest.
bool MakeAnimation(SprAnim* anim, World* world, const Sprites& s, int32_t playMode) {
  anim->Init(world->app, world->scene);
  if (!anim->AddBaseSprite(s.first, 0, s.duration, playMode, s.blitMode, s.key, s.scale))
    return false;
  for (int32_t n = s.from; n <= s.to; ++n) {
    char name[40];
    snprintf(name, sizeof name, s.pattern, n);
    anim->AddFrame(name, s.duration);
  }
  anim->SetVisible(0);
  return true;
}

int32_t LoadSample(SoundSystem* sound, const char* name, const char* error) {
  int32_t slot = sound ? LoadWav(sound, name) : -1;
  if (slot < 0) LogMessage(error);
  return slot;
}

// The machine gun's loop follows the player's trigger, whoever owns the gun: it plays while
// the player holds SHOOT with a loaded machine gun, stops at once when the player's weapon
// is another or empty, and otherwise stops once the gun has been quiet for 200 ms.
void UpdateGunLoop(World* world, ShotWeapon* gun) {
  SoundSystem* sound = WorldSound(world);
  const int32_t loop = gun->shots[0].fireSample;
  if (!sound || loop < 0) return;
  if (gun->owner) SetSample3D(sound, loop, gun->owner->x, gun->owner->y, gun->owner->z, 0);
  const PlayerCraft* player = world->player;
  const bool gunReady = player && player->weapon == kWeaponMachineGun && player->gunAmmo != 0;
  if (gunReady && ActionHeld(kActShoot) && player->header.state == 0) {
    if (!IsSamplePlaying(sound, loop)) PlaySample(sound, loop, 1);
  } else if (player && !gunReady) {
    StopSample(sound, loop);
  } else if (gun->sinceLastShot > kGunLoopGraceMs) {
    StopSample(sound, loop);
  }
}

}  // namespace

ShotWeapon* CreateShotWeapon(World* world, ShotWeaponType type, Entity* owner) {
  ShotWeapon* gun = static_cast<ShotWeapon*>(AllocZeroed(sizeof(ShotWeapon)));
  if (!gun) return nullptr;
  const GunData& data = kGuns[type];
  gun->app = world->app;
  gun->owner = owner;
  gun->scene = world->scene;
  gun->type = type;
  gun->shotCount = data.shots;
  SoundSystem* sound = WorldSound(world);
  // The machine gun has one pair of samples for all its shots.
  int32_t gunLoop = -1, gunHit = -1;
  if (type == kMachineGun) {
    gunLoop = LoadSample(sound, data.fireSound, data.fireError);
    if (gunLoop >= 0) SetSampleVolume(sound, gunLoop, kGunLoopVolume);
    gunHit = LoadSample(sound, data.impactSound, data.impactError);
    if (gunHit >= 0) SetSampleVolume(sound, gunHit, kBulletHitVolume);
  }
  for (int32_t i = 0; i < data.shots; ++i) {
    Shot& shot = gun->shots[i];
    if (!MakeAnimation(&shot.flight, world, data.flight, kAnimLoop)) {
      char text[80];
      snprintf(text, sizeof text, data.spriteError, int(i));
      LogMessage(text);
    }
    MakeAnimation(&shot.impact, world, data.impact, kAnimOnce);
    Entity* e = AddEntity(world->entities, data.shotType, kModeBallistic, gun);
    shot.entity = e;
    if (e) {
      e->maxSpeed = data.speed;
      e->radius = kShotRadius;
      e->owner = owner;
      // A shot has no object of its own: none of the map's objects is skipped for it.
      e->ownObject = -1;
      e->active = 0;
    }
    if (type == kMachineGun) {
      shot.fireSample = gunLoop;
      shot.impactSample = gunHit;
    } else {
      shot.fireSample = LoadSample(sound, data.fireSound, data.fireError);
      shot.impactSample = LoadSample(sound, data.impactSound, data.impactError);
    }
  }
  return gun;
}

int32_t FireShotWeapon(World* world, ShotWeapon* gun, const PositionBlock& muzzle,
                       int32_t pitch, int32_t heading) {
  if (!gun) return 0;
  const GunData& data = DataOf(gun);
  if (gun->sinceLastShot < data.minInterval) return 0;
  gun->sinceLastShot = 0;
  int32_t index = -1;
  for (int32_t i = 0; i < gun->shotCount; ++i)
    if (!gun->shots[i].flight.playing && !gun->shots[i].impact.playing && gun->shots[i].entity) {
      index = i;
      break;
    }
  if (index < 0) return 0;
  Shot& shot = gun->shots[index];
  Entity* e = shot.entity;
  shot.age = 0;
  e->x = muzzle.x;
  e->y = muzzle.y;
  e->z = muzzle.z;
  e->w = muzzle.w;
  ShotDirection(pitch, heading, &e->dirX, &e->dirY, &e->dirZ);
  e->dirW = 0;
  // Placed at once, so the frame drawn after this step does not show it where it last was.
  shot.flight.SetPosition(e->x, e->y, e->z);
  shot.flight.SetVisible(1);
  shot.flight.Play(0);
  e->active = 1;
  shot.state = kShotFlying;
  gun->lastShot = index;
  SoundSystem* sound = WorldSound(world);
  if (sound && shot.fireSample >= 0) {
    if (gun->type == kMachineGun) {
      if (!IsSamplePlaying(sound, shot.fireSample)) PlaySample(sound, shot.fireSample, 1);
    } else {
      SetSample3D(sound, shot.fireSample, e->x, e->y, e->z, 0);
      PlaySample(sound, shot.fireSample, 0);
    }
  }
  return 1;
}

void BurstShot(World* world, ShotWeapon* gun, int32_t index) {
  if (!gun || index < 0 || index >= gun->shotCount) return;
  Shot& shot = gun->shots[index];
  Entity* e = shot.entity;
  shot.state = kShotBursting;
  shot.flight.SetVisible(0);
  shot.flight.Stop();
  if (e) {
    shot.impact.SetPosition(e->x, e->y, e->z);
    e->active = 0;
  }
  shot.impact.SetVisible(1);
  shot.impact.Play(0);
  SoundSystem* sound = WorldSound(world);
  if (sound && shot.impactSample >= 0 && e) {
    SetSample3D(sound, shot.impactSample, e->x, e->y, e->z, 0);
    PlaySample(sound, shot.impactSample, 0);
  }
}

void UpdateShotWeapon(World* world, ShotWeapon* gun) {
  if (!gun) return;
  const GunData& data = DataOf(gun);
  gun->sinceLastShot = WrapAdd(gun->sinceLastShot, FrameDeltaMs);
  if (gun->type == kMachineGun) UpdateGunLoop(world, gun);
  for (int32_t i = 0; i < gun->shotCount; ++i) {
    Shot& shot = gun->shots[i];
    if (shot.state != kShotFlying) continue;
    shot.age = WrapAdd(shot.age, FrameDeltaMs);
    if (shot.age > data.lifetime) {
      if (data.burstsAtEnd) {
        BurstShot(world, gun, i);
      } else {
        shot.flight.SetVisible(0);
        shot.flight.Stop();
        shot.state = kShotFree;
        shot.age = 0;
        if (shot.entity) shot.entity->active = 0;
      }
      continue;
    }
    shot.flight.Update();
    if (shot.entity) shot.flight.SetPosition(shot.entity->x, shot.entity->y, shot.entity->z);
  }
  for (int32_t i = 0; i < gun->shotCount; ++i) {
    Shot& shot = gun->shots[i];
    if (shot.state != kShotBursting) continue;
    if (shot.entity) shot.entity->active = 0;
    shot.impact.Update();
    if (!shot.impact.playing) {
      shot.state = kShotFree;
      shot.age = 0;
    }
  }
}

void DestroyShotWeapon(World* world, ShotWeapon* gun) {
  if (!gun) return;
  SoundSystem* sound = WorldSound(world);
  for (int32_t i = 0; i < gun->shotCount; ++i) {
    Shot& shot = gun->shots[i];
    shot.flight.Release();
    shot.impact.Release();
    // The machine gun's pair is shared by all its shots: freed once, with shot 0.
    if (sound && (gun->type != kMachineGun || i == 0)) {
      if (shot.fireSample >= 0) FreeSample(sound, shot.fireSample);
      if (shot.impactSample >= 0) FreeSample(sound, shot.impactSample);
    }
  }
  MemFree(gun);
}

// Any entity or the map ends a shot, except its owner, other projectiles and its own pool.
int32_t CollideShot(World* world, void* kind, Entity* self, Entity* other) {
  ShotWeapon* gun = static_cast<ShotWeapon*>(kind);
  if (!gun) return 0;
  if (other) {
    if (other == gun->owner || IsProjectileType(other->type) || other->kind == gun) return 0;
  }
  for (int32_t i = 0; i < gun->shotCount; ++i)
    if (gun->shots[i].entity == self) {
      BurstShot(world, gun, i);
      break;
    }
  return 0;
}

const KindFunctions kPlasmaKind = {nullptr, nullptr, CollideShot, nullptr};
const KindFunctions kRifleBulletKind = {nullptr, nullptr, CollideShot, nullptr};
const KindFunctions kTorpedoKind = {nullptr, nullptr, CollideShot, nullptr};
