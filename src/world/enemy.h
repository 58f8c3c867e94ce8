// Inside the world: what the five enemy kinds share. Each enemy record begins with an
// Enemy; the kinds differ in their EnemyTraits, their weapon, their drawing and their
// decision step, which live in their own files.
//
// One enemy step: perception turns distances and timers into flags (the distances about
// once a second), a decision turns the flags into turn and thrust requests and shots, and
// hit points at 0 start the death: the model gives way to its explosion, which flies apart
// over 257 steps while the ExplosionManager's fireball plays, then the enemy stays dormant.
#pragma once

#include <cstdint>

#include "world/kinds.h"

// What differs between the kinds, read by the shared steps.
struct EnemyTraits {
  int32_t type;
  int32_t hitPoints;        // at creation
  int32_t nearDistance;     // playerNear below this
  int32_t seesDistance;     // seesPlayer below this
  uint8_t horizontalOnly;   // distances ignore height (the flyer)
  int32_t keepAwayDistance; // closer than this starts the keep-away timer (0: never)
  int32_t keepAwayMs;
  int32_t finalDelayBase;   // final-sequence death timer = random 7000 + this
  int32_t plasmaDamage;     // per plasma shot of another owner
  int32_t bulletDamage;     // per bullet of another owner
  int32_t torpedoDamage;    // per torpedo of another owner; 0: torpedoes pass
  uint8_t bounces;          // bumping into an entity pushes it back out
  uint8_t bitesPlayer;      // bumping into the player starts the bite timer, not blocked
};

// The perception flags, one byte each.
struct EnemyFlags {
  uint8_t seesPlayer;
  uint8_t perceived;
  uint8_t hasSeenPlayer;
  uint8_t playerNear;
  uint8_t lowHealth;
  uint8_t evading;
  uint8_t aligned;
  uint8_t blocked;
  uint8_t biting;
  uint8_t playerDead;
};

enum EnemyState : int32_t { kEnemyAlive = 0, kEnemyExploding = 1, kEnemyDead = 2 };

// The part every enemy record starts with.
struct Enemy {
  KindHeader header;         // object = the model; hitPoints; state (EnemyState)
  const EnemyTraits* traits;
  int32_t explosionObject;   // hidden until death
  FrameSet* explosionAnimator;  // the explosion's two frames
  int32_t explosionTime;
  int32_t explosionStep;     // 1
  int32_t finalTimer;        // ms left during the final sequence
  int32_t perceptionTimer;   // ms since the last perception
  int32_t evadeTimer;        // ms
  int32_t blockedTimer;      // ms; above 2000 a wanderer turns left
  int32_t biteTimer;         // ms since touching the player, counting down from 4000
  int32_t pauseTimer;        // ms a flyer or tower holds fire
  int32_t keepAwayTimer;     // ms a flyer keeps away after coming close
  int32_t shotCounter;       // burst counter
  int32_t muzzleSide;        // 0 or 1, for guns that alternate
  EnemyFlags flags;
  ObjectStore* scene;
  Entity* entity;
  int32_t engineSample;      // looped engine sound, -1 for none
};

// Where the player is, for the kinds that hunt it; null without a player or its entity.
Entity* PlayerEntity(World* world);

// ---------------------------------------------------------------------------------------
// Creation and release

// Fills the shared part: traits, hit points, models (the explosion hidden, with its two
// frames), the entity of the given mode and the final-sequence timer. The entity's radius is
// the model's bounding radius. False when the entity table was full (the record still holds
// what was loaded and must be released with ReleaseEnemy).
bool InitEnemy(World* world, Enemy* enemy, const EnemyTraits& traits, const char* model,
               const char* explosion1, const char* explosion2, int32_t mode);
void ReleaseEnemy(World* world, Enemy* enemy);

// A sample by name at the given volume (negative: as loaded); -1 when it does not load.
int32_t LoadEnemySample(World* world, const char* name, int32_t volume);
void FreeEnemySample(World* world, int32_t* slot);

// ---------------------------------------------------------------------------------------
// The update's shared steps

// Steps before the state's work: false when the enemy does nothing more this step (dormant
// and not exploding). Runs the final-sequence timer while the player reads the final text.
bool EnemyStepBegins(World* world, Enemy* enemy);
// Keeps the engine loop playing at the entity and returns its slot (-1 when none).
int32_t EnemyEngineFollows(World* world, Enemy* enemy);
// Timers every step, the distances when more than 1000 ms have gathered; clears the turn
// and thrust requests.
void EnemyPerceive(World* world, Enemy* enemy);
// Hit points at 0: the model gives way to the explosion at the model's place and
// orientation, the entity becomes dormant, a fireball starts. True when it died now.
bool EnemyDiesIfDestroyed(World* world, Enemy* enemy);
// States 1 and 2: the explosion flies apart, then the enemy stays dormant.
void EnemyAfterDeath(World* world, Enemy* enemy);

// ---------------------------------------------------------------------------------------
// Decisions

// The player's position relative to the enemy, turned into its frame (x right, z ahead).
Vec3 PlayerInEnemyFrame(const Enemy* enemy, const Entity* player);
// Turns toward the player: aligned when -99 <= x < 100 and z >= 1.
void EnemyAim(Enemy* enemy, const Entity* player);
// Turns away from the player; aligned = 0.
void EnemyTurnAway(Enemy* enemy, const Entity* player);
// After a bump: turn left while the blocked timer is above 2000, else walk straight on.
void EnemyWander(Enemy* enemy);
// Fires the kind's weapon at the player.
using EnemyAttack = void (*)(World* world, Enemy* enemy, const Entity* player);
// The hunter's decision, first match wins: wander while the player is dead; bite back
// (aim and attack) for kinds that bite; wander while blocked; idle until the player was
// seen; approach while it is not near; turn away while evading; aim until aligned; then
// aim and attack.
void EnemyHunt(World* world, Enemy* enemy, const Entity* player, bool bites,
               EnemyAttack attack);
// The pitch (positive down) that points a shot from the muzzle at the player's middle,
// 150 above its entity.
int32_t PitchAtPlayer(const Enemy* enemy, const Entity* player, const Vec3& muzzle);

// ---------------------------------------------------------------------------------------
// Hits and bumps

// The shared collision handler: damage by projectile type (never from its own shots, only
// from active ones, never below 0), the map and bumps set the blocked timer, bumping the
// player bites when the kind does, bouncing kinds are pushed back out.
int32_t CollideEnemy(World* world, void* kind, Entity* self, Entity* other);

// Negates the velocity and stands self clear of other at the sum of their radii plus 10.
void BounceOff(Entity* self, const Entity* other);

// ---------------------------------------------------------------------------------------
// Drawing

// The model tilted so that its up follows `up` (unit 256; AxisMatrix about the half-way axis
// between the vertical and `up`) and turned by `yaw`, then rolled by `bank`. Written into the
// object's matrix, which the pipeline then uses as it is.
void TiltObject(Object3D* object, Vec3 up, int32_t yaw, int32_t bank);
// The upward normal of the ground the entity stood on last; straight up when none.
Vec3 GroundNormal(const Entity* entity);
