// The stego tank: its engine's pitch follows its speed, it fires rockets from a pod on a
// mast and evades after each, and it is drawn leaning on the ground under it (its model
// faces backwards, so it is turned by half a turn more than its heading).
#include "world/stego_tank.h"

#include "world/weapons.h"
#include "world/world_internal.h"

const EnemyTraits kStegoTankTraits = {
    .type = kTypeStegoTank,
    .hitPoints = 300,
    .nearDistance = 2000,
    .seesDistance = 5000,
    .horizontalOnly = 0,
    .keepAwayDistance = 0,
    .keepAwayMs = 0,
    .finalDelayBase = 500,
    .plasmaDamage = 10,
    .bulletDamage = 7,
    .torpedoDamage = 0,
    .bounces = 1,
    .bitesPlayer = 0,
};

namespace {

constexpr int32_t kMaxSpeed = 60;
constexpr int32_t kTurnRate = 6000;
constexpr int32_t kLowestPitch = 200;
constexpr int32_t kHalfTurn = kFullTurn / 2;

void Attack(World* world, Enemy* enemy, const Entity* player) {
  StegoTank* t = reinterpret_cast<StegoTank*>(enemy);
  const Entity* e = enemy->entity;
  const PositionBlock muzzle = MuzzlePosition(e, 0, 220, 30, e->heading);
  const int32_t pitch = PitchAtPlayer(enemy, player, {muzzle.x, muzzle.y, muzzle.z});
  if (FireRocket(world, t->launcher, muzzle, -pitch, e->heading, 0))
    enemy->evadeTimer = MathTables::RandomBelow(4000) + 1000;
}

void* CreateStegoTank(World* world, const EntRecord&) {
  StegoTank* t = static_cast<StegoTank*>(AllocZeroed(sizeof(StegoTank)));
  if (!t) return nullptr;
  if (InitEnemy(world, &t->enemy, kStegoTankTraits, "stegotank.tdo", "stgt_expl_f1.tdo",
                "stgt_expl_f2.tdo", kModeGround)) {
    t->enemy.entity->maxSpeed = kMaxSpeed;
    t->enemy.entity->turnRate = kTurnRate;
    t->launcher = CreateRocketLauncher(world, t->enemy.entity);
  }
  t->enemy.engineSample = LoadEnemySample(world, "StegoEng2.wav", -1);
  return t;
}

void UpdateStegoTank(World* world, void* kind) {
  StegoTank* t = static_cast<StegoTank*>(kind);
  Enemy* enemy = &t->enemy;
  if (t->launcher) UpdateRocketLauncher(world, t->launcher);
  if (!EnemyStepBegins(world, enemy)) return;
  if (enemy->header.state != kEnemyAlive) {
    EnemyAfterDeath(world, enemy);
    return;
  }
  Entity* e = enemy->entity;
  t->enginePitch += (e->speed * 8 - t->enginePitch) >> 4;
  if (t->enginePitch < kLowestPitch) t->enginePitch = kLowestPitch;
  const int32_t engine = EnemyEngineFollows(world, enemy);
  if (engine >= 0) SetSamplePitch(WorldSound(world), engine, t->enginePitch);
  if (enemy->scene) {
    enemy->scene->SetPosition(enemy->header.object, e->x, e->y, e->z);
    TiltObject(enemy->scene->Get(enemy->header.object), GroundNormal(e),
               WrapAdd(e->heading, kHalfTurn), 0);
  }
  EnemyPerceive(world, enemy);
  if (const Entity* player = PlayerEntity(world))
    EnemyHunt(world, enemy, player, false, Attack);
  // Its own rocket goes off where it dies.
  if (EnemyDiesIfDestroyed(world, enemy) && t->launcher)
    BurstRocketAt(world, t->launcher, e->x, e->y, e->z);
}

void DestroyStegoTank(World* world, void* kind) {
  StegoTank* t = static_cast<StegoTank*>(kind);
  if (t->launcher) DestroyRocketLauncher(world, t->launcher);
  t->launcher = nullptr;
  ReleaseEnemy(world, &t->enemy);
}

}  // namespace

const KindFunctions kStegoTankKind = {CreateStegoTank, UpdateStegoTank, CollideEnemy,
                                      DestroyStegoTank};
