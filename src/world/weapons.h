// The four weapons every armed kind carries: the shot pools (machine gun, plasma gun,
// torpedo launcher) and the rocket launcher, with the area damage of a rocket's burst.
//
// A weapon is created by its owner (the player's craft or an enemy) with the owner's entity,
// updated by the owner once per world step (also while the owner is dead, so its shots fly
// on and age) and destroyed by the owner. Every shot is an entity of the map's manager,
// made when the weapon is created: firing allocates nothing. Weapons never deal damage
// themselves: a victim's collision handler reads the type of the projectile that touched
// it, its `active` flag and its `owner` (its own shots never hurt it). Only a rocket's
// burst hurts by itself, through AreaDamage.
#pragma once

#include <cstdint>

#include "world/kinds.h"

// A position block (x, y, z and the fourth word) as the weapons copy it into a shot.
struct PositionBlock {
  int32_t x, y, z, w;
};

// The owner's position plus an offset (right, up, ahead) turned about the vertical axis by
// `heading`: where a muzzle is. The fourth word is the owner's.
PositionBlock MuzzlePosition(const Entity* owner, int32_t offsetX, int32_t offsetY,
                             int32_t offsetZ, int32_t heading);

// The unit-255 direction of a shot: straight ahead, pitched (positive down), then turned
// by the heading.
void ShotDirection(int32_t pitch, int32_t heading, int32_t* dirX, int32_t* dirY, int32_t* dirZ);

// ---------------------------------------------------------------------------------------
// Shot pools

enum ShotWeaponType : int32_t {
  kMachineGun = 0,       // bullets (type 4), 16 shots, 200 ms apart, speed 800
  kPlasmaGun = 1,        // plasma (type 3), 16 shots, 150 ms apart, speed 200
  kTorpedoLauncher = 2,  // torpedoes (type 8), 8 shots, 150 ms apart, speed 200
};

constexpr int kMaxShotsPerPool = 16;

enum ShotState : int32_t { kShotFree = 0, kShotFlying = 1, kShotBursting = 2 };

struct Shot {
  SprAnim flight;
  SprAnim impact;
  Entity* entity;     // null when the entity table was full
  int32_t state;      // ShotState
  int32_t age;        // ms since it left
  int32_t fireSample;    // plasma and torpedo: one per shot; machine gun: the gun's
  int32_t impactSample;
};

struct ShotWeapon {
  uint32_t app;
  Entity* owner;
  Engine3D* scene;
  int32_t lastShot;        // index of the shot fired last
  int32_t sinceLastShot;   // ms
  Shot shots[kMaxShotsPerPool];
  int32_t type;            // ShotWeaponType
  int32_t shotCount;       // 16, 16 or 8
};

// Builds the pool: sprites, entities (dormant, radius 128, this weapon as their kind) and
// samples. Load failures are logged and the weapon still works without what failed. Null
// only when memory is short.
ShotWeapon* CreateShotWeapon(World* world, ShotWeaponType type, Entity* owner);
// Fires from the muzzle with the given pitch and heading: 1 when a shot left; 0 when the
// weapon's minimum interval has not passed or every shot is still in use.
int32_t FireShotWeapon(World* world, ShotWeapon* gun, const PositionBlock& muzzle,
                       int32_t pitch, int32_t heading);
// Once per world step, by the owner.
void UpdateShotWeapon(World* world, ShotWeapon* gun);
// Ends a flying shot with its impact sprite and sound where it is.
void BurstShot(World* world, ShotWeapon* gun, int32_t shot);
// Releases the sprites and samples; the entities stay with the manager.
void DestroyShotWeapon(World* world, ShotWeapon* gun);

// ---------------------------------------------------------------------------------------
// The rocket launcher: one rocket with its flame, and a fireball when it bursts.

enum RocketLauncherState : int32_t { kRocketReady = 0, kRocketFlying = 1, kRocketBursting = 2 };

struct RocketLauncher {
  uint32_t app;
  Engine3D* scene;
  Entity* rocket;       // null when the entity table was full
  Entity* owner;
  int32_t state;        // RocketLauncherState
  int32_t time;         // ms in the current state
  int32_t travelSample;  // "rocket_travel.wav"
  int32_t burstSample;   // "BigExplosion.wav"
  int32_t object;       // "rocket.tdo", hidden while not flying
  SprAnim flame;
  SprAnim burst;
  int32_t pitch, heading, bank;  // the rocket's rotation, for its flame
};

RocketLauncher* CreateRocketLauncher(World* world, Entity* owner);
// Only when ready: 1 when the rocket left.
int32_t FireRocket(World* world, RocketLauncher* launcher, const PositionBlock& muzzle,
                   int32_t pitch, int32_t heading, int32_t bank);
void UpdateRocketLauncher(World* world, RocketLauncher* launcher);
// Bursts the rocket where it is (nothing when it is already bursting): fireball, sound and
// area damage with the rocket as the source.
void BurstRocket(World* world, RocketLauncher* launcher);
// Moves the rocket to the point and bursts it there: the blast of a dying owner.
void BurstRocketAt(World* world, RocketLauncher* launcher, int32_t x, int32_t y, int32_t z);
void DestroyRocketLauncher(World* world, RocketLauncher* launcher);

// Damage of a burst at distance d: 70 at the rim of a victim's object down to 0 at 800,
// and 0 at distance 0.
int32_t BurstDamage(int32_t distance);
// Hurts every active player, stego tank, raptor, flyer and tower within 800 of the source
// (measured between their own 3D objects), each by its own multiple of the damage.
void AreaDamage(World* world, Entity* source);

// The projectiles' rows of the kind table (kPlasmaKind, kRifleBulletKind, kTorpedoKind,
// kRocketKind) hold only their collision handlers: a shot bursts on anything but its
// owner, another projectile or a shot of its own pool.
int32_t CollideShot(World* world, void* kind, Entity* self, Entity* other);
int32_t CollideRocket(World* world, void* kind, Entity* self, Entity* other);

// True for the projectile types 2, 3, 4 and 8.
inline bool IsProjectileType(int32_t type) {
  return type == kTypeRocket || type == kTypePlasma || type == kTypeRifleBullet ||
         type == kTypeTorpedo;
}
