// The pterano flyer: always flying once it has seen the player, it steers its height
// against the player's, aims with a wide window, fires torpedoes from alternating tubes,
// pauses after a long burst, and keeps away for a while after coming close.
#include "world/pterano_flyer.h"

#include "world/weapons.h"
#include "world/world_internal.h"

const EnemyTraits kPteranoFlyerTraits = {
    .type = kTypePteranoFlyer,
    .hitPoints = 130,
    .nearDistance = 3000,
    .seesDistance = 12000,
    .horizontalOnly = 1,
    .keepAwayDistance = 1000,
    .keepAwayMs = 5000,
    .finalDelayBase = 1000,
    .plasmaDamage = 10,
    .bulletDamage = 5,
    .torpedoDamage = 25,
    .bounces = 1,
    .bitesPlayer = 0,
};

namespace {

constexpr int32_t kMaxSpeed = 700;
constexpr int32_t kTurnRate = 1600;
constexpr int32_t kMaxPitch = 50000;
constexpr int32_t kLowestAbove = 501;    // descending stops below this height over the player
constexpr int32_t kHighestAbove = 1500;  // climbing stops at this height over the player
constexpr int32_t kClimbStep = 10;

// Moves the pitch `step` toward 0 without passing it.
int32_t TowardLevel(int32_t pitch, int32_t step) {
  if (pitch > 0) return pitch > step ? pitch - step : 0;
  if (pitch < 0) return pitch < -step ? pitch + step : 0;
  return 0;
}

// Its own aim: aligned within a wide window, turning only outside a narrow one.
void FlyerAim(Enemy* enemy, const Entity* player) {
  Entity* e = enemy->entity;
  const Vec3 v = PlayerInEnemyFrame(enemy, player);
  enemy->flags.aligned = v.x > -500 && v.x < 500 && v.z > 0;
  if (v.x >= -99 && v.x < 100 && v.z > 0) return;
  if (v.x > 0) e->turnRight = 1;
  if (v.x < 0) e->turnLeft = 1;
}

void Attack(World* world, Enemy* enemy, const Entity* player) {
  PteranoFlyer* p = reinterpret_cast<PteranoFlyer*>(enemy);
  const Entity* e = enemy->entity;
  const PositionBlock muzzle =
      MuzzlePosition(e, enemy->muzzleSide ? -25 : 25, 0, 30, e->heading);
  const int32_t pitch = PitchAtPlayer(enemy, player, {muzzle.x, muzzle.y, muzzle.z});
  if (!FireShotWeapon(world, p->torpedoes, muzzle, -pitch, e->heading)) return;
  enemy->muzzleSide ^= 1;
  enemy->shotCounter += MathTables::RandomBelow(2);
  if (enemy->shotCounter >= 9) enemy->pauseTimer = MathTables::RandomBelow(5000) + 3000;
}

void Decide(World* world, PteranoFlyer* p, const Entity* player) {
  Enemy* enemy = &p->enemy;
  const EnemyFlags& f = enemy->flags;
  if (!f.hasSeenPlayer) return;
  enemy->entity->thrust = 1;
  SteerFlyerAltitude(p, player);
  if (!f.perceived || !f.playerNear) {
    FlyerAim(enemy, player);
  } else if (enemy->pauseTimer > 0 || enemy->keepAwayTimer > 0) {
    EnemyTurnAway(enemy, player);
  } else if (f.aligned) {
    FlyerAim(enemy, player);
    Attack(world, enemy, player);
  }
}

void* CreatePteranoFlyer(World* world, const EntRecord&) {
  PteranoFlyer* p = static_cast<PteranoFlyer*>(AllocZeroed(sizeof(PteranoFlyer)));
  if (!p) return nullptr;
  if (InitEnemy(world, &p->enemy, kPteranoFlyerTraits, "pteranoflyer.tdo", "ptr_expl_f1.tdo",
                "ptr_expl_f2.tdo", kModeFlyer)) {
    p->enemy.entity->maxSpeed = kMaxSpeed;
    p->enemy.entity->turnRate = kTurnRate;
    p->torpedoes = CreateShotWeapon(world, kTorpedoLauncher, p->enemy.entity);
  }
  p->enemy.engineSample = LoadEnemySample(world, "PteranoEng.wav", -1);
  return p;
}

void UpdatePteranoFlyer(World* world, void* kind) {
  PteranoFlyer* p = static_cast<PteranoFlyer*>(kind);
  Enemy* enemy = &p->enemy;
  if (p->torpedoes) UpdateShotWeapon(world, p->torpedoes);
  if (!EnemyStepBegins(world, enemy)) return;
  if (enemy->header.state != kEnemyAlive) {
    EnemyAfterDeath(world, enemy);
    return;
  }
  Entity* e = enemy->entity;
  const int32_t engine = EnemyEngineFollows(world, enemy);
  if (engine >= 0) {
    int32_t pitch = 256 - (e->y >> 2);
    pitch = pitch < 200 ? 200 : (pitch > 350 ? 350 : pitch);
    SetSamplePitch(WorldSound(world), engine, pitch);
  }
  if (enemy->scene) {
    enemy->scene->SetPosition(enemy->header.object, e->x, e->y, e->z);
    enemy->scene->SetAngles(enemy->header.object, e->pitch, e->heading, e->bank);
  }
  EnemyPerceive(world, enemy);
  if (const Entity* player = PlayerEntity(world)) Decide(world, p, player);
  EnemyDiesIfDestroyed(world, enemy);
}

void DestroyPteranoFlyer(World* world, void* kind) {
  PteranoFlyer* p = static_cast<PteranoFlyer*>(kind);
  if (p->torpedoes) DestroyShotWeapon(world, p->torpedoes);
  p->torpedoes = nullptr;
  ReleaseEnemy(world, &p->enemy);
}

}  // namespace

void SteerFlyerAltitude(PteranoFlyer* flyer, const Entity* player) {
  Enemy* enemy = &flyer->enemy;
  Entity* e = enemy->entity;
  const int32_t above = WrapSub(e->y, player->y);
  if (enemy->flags.playerNear && enemy->keepAwayTimer <= 0) {
    if (above < kLowestAbove) {
      e->pitch = TowardLevel(e->pitch, 2500);
    } else {
      e->y -= kClimbStep;
      e->pitch += 1500;
      if (e->pitch > kMaxPitch) e->pitch = kMaxPitch;
    }
  } else if (above >= kHighestAbove) {
    e->pitch = TowardLevel(e->pitch, 1500);
  } else {
    e->y += kClimbStep;
    e->pitch -= 1500;
    if (e->pitch < -kMaxPitch) e->pitch = -kMaxPitch;
  }
}

const KindFunctions kPteranoFlyerKind = {CreatePteranoFlyer, UpdatePteranoFlyer, CollideEnemy,
                                         DestroyPteranoFlyer};
