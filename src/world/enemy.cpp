// What the five enemy kinds share: creation, perception, aiming, wandering, hits and bumps,
// the death with its explosion, and the tilted drawing of the ground kinds.
#include "world/enemy.h"

#include <cmath>
#include <new>

#include "world/weapons.h"
#include "world/world_internal.h"

namespace {

constexpr int32_t kPerceptionIntervalMs = 1000;
constexpr int32_t kBumpTimerMs = 4000;         // blocked and bite timers after a bump
constexpr int32_t kWanderTurnUntilMs = 2000;   // blocked timer above this: turn left
constexpr int32_t kLowHealth = 30;
constexpr int32_t kExplosionEnd = 256;         // the blend's last step
constexpr int32_t kPlayerMiddle = 150;         // shots aim this far above the player's entity
constexpr int32_t kFinalTextState = 7;         // the player's craft reads the final text

// The yaw AxisMatrix turns by about the vertical (cosine -0.930727, sine 0.365715), in
// heading units: taken back before the enemy's own yaw so that a level enemy faces its way.
int32_t AxisMatrixTurn() {
  static const int32_t turn =
      int32_t(std::lround(std::atan2(0.365715, -0.930727) * kFullTurn / 6.283185307179586));
  return turn;
}

Object3D* ObjectOf(const Enemy* enemy, int32_t index) {
  return enemy->scene ? enemy->scene->Get(index) : nullptr;
}

void ShowObject(Enemy* enemy, int32_t index, bool shown) {
  if (Object3D* o = ObjectOf(enemy, index)) o->hidden = shown ? 0 : 1;
}

// Where an entity's own model stands; the entity itself when it has none.
Vec3 ModelPosition(World* world, const Entity* e) {
  const Object3D* o = world->scene ? world->scene->store.Get(e->ownObject) : nullptr;
  if (o && e->ownObject >= 0) return {o->x, o->y, o->z};
  return {e->x, e->y, e->z};
}

int32_t DamageBy(const EnemyTraits& traits, int32_t type) {
  switch (type) {
    case kTypePlasma: return traits.plasmaDamage;
    case kTypeRifleBullet: return traits.bulletDamage;
    case kTypeTorpedo: return traits.torpedoDamage;
    default: return 0;  // a rocket hurts by its blast alone
  }
}

}  // namespace

Entity* PlayerEntity(World* world) {
  return world && world->player ? world->player->entity : nullptr;
}

// ---------------------------------------------------------------------------------------
// Creation and release

int32_t LoadEnemySample(World* world, const char* name, int32_t volume) {
  SoundSystem* sound = WorldSound(world);
  if (!sound) return -1;
  int32_t slot = LoadWav(sound, name);
  if (slot >= 0 && volume >= 0) SetSampleVolume(sound, slot, volume);
  return slot;
}

void FreeEnemySample(World* world, int32_t* slot) {
  SoundSystem* sound = WorldSound(world);
  if (sound && *slot >= 0) FreeSample(sound, *slot);
  *slot = -1;
}

bool InitEnemy(World* world, Enemy* enemy, const EnemyTraits& traits, const char* model,
               const char* explosion1, const char* explosion2, int32_t mode) {
  ObjectStore* store = world->scene ? &world->scene->store : nullptr;
  enemy->header.type = traits.type;
  enemy->header.hitPoints = traits.hitPoints;
  enemy->header.state = kEnemyAlive;
  enemy->traits = &traits;
  enemy->scene = store;
  enemy->engineSample = -1;
  enemy->explosionStep = 1;
  enemy->header.object = store ? store->LoadShared(model, 1, 2) : -1;
  enemy->explosionObject = store ? store->LoadShared(explosion1, 1, 2) : -1;
  ShowObject(enemy, enemy->explosionObject, false);
  const char* const frames[] = {explosion1, explosion2};
  enemy->explosionAnimator = MakeKindFrameSet(world, ObjectOf(enemy, enemy->explosionObject),
                                               frames, 2);
  enemy->finalTimer = MathTables::RandomBelow(7000) + traits.finalDelayBase;

  Entity* e = world->entities ? AddEntity(world->entities, traits.type, mode, enemy) : nullptr;
  enemy->entity = e;
  enemy->header.entity = e;
  if (!e) return false;
  const Object3D* body = ObjectOf(enemy, enemy->header.object);
  e->radius = body ? body->radius : 0;
  e->ownObject = enemy->header.object;
  return true;
}

void ReleaseEnemy(World* world, Enemy* enemy) {
  if (enemy->engineSample >= 0 && WorldSound(world)) StopSample(WorldSound(world), enemy->engineSample);
  FreeEnemySample(world, &enemy->engineSample);
  FreeKindFrameSet(enemy->explosionAnimator);
  enemy->explosionAnimator = nullptr;
}

// ---------------------------------------------------------------------------------------
// The update's shared steps

bool EnemyStepBegins(World* world, Enemy* enemy) {
  Entity* e = enemy->entity;
  if (!e || (!e->active && enemy->header.state != kEnemyExploding)) return false;
  if (world->player && world->player->header.state == kFinalTextState) {
    enemy->finalTimer -= FrameDeltaMs;
    if (enemy->finalTimer < 1) enemy->header.hitPoints = 0;
  }
  return true;
}

int32_t EnemyEngineFollows(World* world, Enemy* enemy) {
  SoundSystem* sound = WorldSound(world);
  const Entity* e = enemy->entity;
  if (!sound || enemy->engineSample < 0) return -1;
  if (!IsSamplePlaying(sound, enemy->engineSample)) PlaySample(sound, enemy->engineSample, 1);
  SetSample3D(sound, enemy->engineSample, e->x, e->y, e->z, 0);
  return enemy->engineSample;
}

void EnemyPerceive(World* world, Enemy* enemy) {
  Entity* e = enemy->entity;
  EnemyFlags& f = enemy->flags;
  const int32_t dt = FrameDeltaMs;
  enemy->perceptionTimer += dt;
  if (enemy->evadeTimer > 0) {
    f.evading = 1;
    enemy->evadeTimer -= dt;
  }
  f.blocked = enemy->blockedTimer >= 1;
  if (f.blocked) enemy->blockedTimer -= dt;
  f.biting = enemy->biteTimer >= 1;
  if (f.biting) enemy->biteTimer -= dt;
  // A pause holds the burst counter at 0 until it has run out.
  if (enemy->pauseTimer > 0) {
    enemy->pauseTimer -= dt;
    enemy->shotCounter = 0;
  }
  if (enemy->keepAwayTimer > 0) enemy->keepAwayTimer -= dt;
  e->thrust = 0;
  e->turnLeft = 0;
  e->turnRight = 0;

  if (enemy->perceptionTimer <= kPerceptionIntervalMs) return;
  const Entity* player = PlayerEntity(world);
  if (!player) {
    enemy->perceptionTimer = 0;
    return;
  }
  const EnemyTraits& t = *enemy->traits;
  f.perceived = 1;
  const Vec3 me = ModelPosition(world, e);
  const Vec3 it = ModelPosition(world, player);
  const int32_t d = MathTables::Distance3(me.x, t.horizontalOnly ? 0 : me.y, me.z, it.x,
                                          t.horizontalOnly ? 0 : it.y, it.z);
  f.playerNear = d < t.nearDistance;
  if (d < t.seesDistance) {
    f.seesPlayer = 1;
    f.hasSeenPlayer = 1;
  } else {
    f.seesPlayer = 0;
  }
  if (t.keepAwayDistance > 0 && d < t.keepAwayDistance && enemy->keepAwayTimer <= 0)
    enemy->keepAwayTimer = t.keepAwayMs;
  f.playerDead = player->active ? 0 : 1;
  f.lowHealth = enemy->header.hitPoints < kLowHealth;
  f.evading = enemy->evadeTimer > 0;
  if (f.evading) enemy->evadeTimer -= dt;
  enemy->perceptionTimer = 0;
}

bool EnemyDiesIfDestroyed(World* world, Enemy* enemy) {
  if (enemy->header.hitPoints > 0 || enemy->header.state != kEnemyAlive) return false;
  Entity* e = enemy->entity;
  enemy->header.state = kEnemyExploding;
  ShowObject(enemy, enemy->header.object, false);
  // The wreck stands where the model stood and as it was turned.
  const Object3D* body = ObjectOf(enemy, enemy->header.object);
  if (Object3D* wreck = ObjectOf(enemy, enemy->explosionObject)) {
    if (body) {
      wreck->x = body->x, wreck->y = body->y, wreck->z = body->z;
      wreck->angleX = body->angleX, wreck->angleY = body->angleY, wreck->angleZ = body->angleZ;
      wreck->matrix = body->matrix;
      wreck->presetMatrix = body->presetMatrix;
    } else {
      enemy->scene->SetPosition(enemy->explosionObject, e->x, e->y, e->z);
      enemy->scene->SetAngles(enemy->explosionObject, 0, e->heading, 0);
    }
    wreck->hidden = 0;
  }
  e->active = 0;
  if (world->explosions) StartExplosion(world, world->explosions, e->x, e->y, e->z);
  if (SoundSystem* sound = WorldSound(world); sound && enemy->engineSample >= 0)
    StopSample(sound, enemy->engineSample);
  return true;
}

void EnemyAfterDeath(World* world, Enemy* enemy) {
  (void)world;
  if (enemy->header.state == kEnemyExploding) {
    enemy->explosionTime += enemy->explosionStep;
    if (enemy->explosionAnimator) enemy->explosionAnimator->Blend(enemy->explosionTime, 1, 2);
    if (enemy->explosionTime > kExplosionEnd) {
      ShowObject(enemy, enemy->explosionObject, false);
      enemy->header.state = kEnemyDead;
    }
  } else if (enemy->header.state == kEnemyDead) {
    enemy->entity->active = 0;
  }
}

// ---------------------------------------------------------------------------------------
// Decisions

Vec3 PlayerInEnemyFrame(const Enemy* enemy, const Entity* player) {
  const Entity* e = enemy->entity;
  Vec3 v = {WrapSub(player->x, e->x), WrapSub(player->y, e->y), WrapSub(player->z, e->z)};
  Math->TurnAboutY(&v, -e->heading);
  return v;
}

void EnemyAim(Enemy* enemy, const Entity* player) {
  Entity* e = enemy->entity;
  const Vec3 v = PlayerInEnemyFrame(enemy, player);
  if (v.x >= -99 && v.x < 100 && v.z >= 1) {
    enemy->flags.aligned = 1;
    return;
  }
  enemy->flags.aligned = 0;
  if (v.x > 0) e->turnRight = 1;
  if (v.x < 0) e->turnLeft = 1;
}

void EnemyTurnAway(Enemy* enemy, const Entity* player) {
  Entity* e = enemy->entity;
  const Vec3 v = PlayerInEnemyFrame(enemy, player);
  if (v.x > 0) e->turnLeft = 1;
  if (v.x < 0) e->turnRight = 1;
  enemy->flags.aligned = 0;
}

void EnemyWander(Enemy* enemy) {
  if (enemy->blockedTimer > kWanderTurnUntilMs)
    enemy->entity->turnLeft = 1;
  else
    enemy->entity->thrust = 1;
  enemy->flags.aligned = 0;
}

int32_t PitchAtPlayer(const Enemy* enemy, const Entity* player, const Vec3& muzzle) {
  Vec3 t = {WrapSub(player->x, muzzle.x), WrapSub(WrapAdd(player->y, kPlayerMiddle), muzzle.y),
            WrapSub(player->z, muzzle.z)};
  Math->TurnAboutY(&t, -enemy->entity->heading);
  return int32_t(float(Math->Atan2(double(t.y), double(t.z)) * kRadiansToAngle));
}

void EnemyHunt(World* world, Enemy* enemy, const Entity* player, bool bites,
               EnemyAttack attack) {
  const EnemyFlags& f = enemy->flags;
  Entity* e = enemy->entity;
  if (f.playerDead) {
    EnemyWander(enemy);
  } else if (bites && f.biting) {
    EnemyAim(enemy, player);
    attack(world, enemy, player);
  } else if (f.blocked) {
    EnemyWander(enemy);
  } else if (!f.seesPlayer && !f.hasSeenPlayer) {
    // idle
  } else if (!(f.perceived && f.playerNear)) {
    EnemyAim(enemy, player);
    e->thrust = 1;
  } else if (f.evading) {
    EnemyTurnAway(enemy, player);
    e->thrust = 1;
  } else if (!f.aligned) {
    EnemyAim(enemy, player);
  } else {
    EnemyAim(enemy, player);
    attack(world, enemy, player);
  }
}

// ---------------------------------------------------------------------------------------
// Hits and bumps

void BounceOff(Entity* self, const Entity* other) {
  self->vx = WrapSub(0, self->vx);
  self->vy = WrapSub(0, self->vy);
  self->vz = WrapSub(0, self->vz);
  Vec3 d = {WrapSub(other->x, self->x), WrapSub(other->y, self->y), WrapSub(other->z, self->z)};
  MathTables::Normalize(&d);
  const int64_t reach = int64_t(self->radius) + other->radius + 10;
  self->x = int32_t(int64_t(other->x) - ((reach * d.x) >> 8));
  self->y = int32_t(int64_t(other->y) - ((reach * d.y) >> 8));
  self->z = int32_t(int64_t(other->z) - ((reach * d.z) >> 8));
}

int32_t CollideEnemy(World* world, void* kind, Entity* self, Entity* other) {
  (void)world;
  Enemy* enemy = static_cast<Enemy*>(kind);
  if (!enemy) return 0;
  if (!other) {
    if (enemy->blockedTimer < 1) enemy->blockedTimer = kBumpTimerMs;
    return 0;
  }
  // Shots hurt by their type; they never push the enemy about.
  if (IsProjectileType(other->type)) {
    if (other->owner == self || !other->active) return 0;
    const int32_t damage = DamageBy(*enemy->traits, other->type);
    if (damage > 0) {
      const int32_t hp = enemy->header.hitPoints - damage;
      enemy->header.hitPoints = hp < 0 ? 0 : hp;
    }
    return 0;
  }
  if (enemy->traits->bounces) BounceOff(self, other);
  if (enemy->traits->bitesPlayer && other->type == kTypePlayer) {
    if (enemy->biteTimer < 1) enemy->biteTimer = kBumpTimerMs;
  } else if (enemy->blockedTimer < 1) {
    enemy->blockedTimer = kBumpTimerMs;
  }
  return 0;
}

// ---------------------------------------------------------------------------------------
// Drawing

Vec3 GroundNormal(const Entity* entity) {
  Vec3 n = {entity->planeX, entity->planeY, entity->planeZ};
  if (n.x == 0 && n.y == 0 && n.z == 0) return {0, 256, 0};
  if (n.y < 0) n = {-n.x, -n.y, -n.z};  // whichever way the polygon was wound
  MathTables::Normalize(&n);
  return n;
}

void TiltObject(Object3D* object, Vec3 up, int32_t yaw, int32_t bank) {
  if (!object) return;
  // Half-way between the vertical and `up`: turning about it carries the one to the other.
  Vec3 axis = {up.x, WrapAdd(up.y, 256), up.z};
  MathTables::Normalize(&axis);
  object->tiltX = axis.x;
  object->tiltY = axis.y;
  object->tiltZ = axis.z;
  Matrix3 m;
  MathTables::AxisMatrix(axis.x, axis.y, axis.z, &m);
  Math->RotateY(&m, WrapSub(yaw, AxisMatrixTurn()));
  if (bank != 0) Math->RotateZ(&m, bank);
  object->matrix = m;
  object->presetMatrix = 1;
  object->angleY = yaw;
  object->angleZ = bank;
}
