// The hover chasmo: hunts like the stego tank on its hover drive, hums as it goes, fires
// rockets and evades after each, and floats about 50 above its entity, bobbing and easing
// its lean toward the ground under it.
#include "world/hover_chasmo.h"

#include "world/weapons.h"
#include "world/world_internal.h"

const EnemyTraits kHoverChasmoTraits = {
    .type = kTypeHoverChasmo,
    .hitPoints = 230,
    .nearDistance = 2000,
    .seesDistance = 5000,
    .horizontalOnly = 0,
    .keepAwayDistance = 0,
    .keepAwayMs = 0,
    .finalDelayBase = 2000,
    .plasmaDamage = 10,
    .bulletDamage = 5,
    .torpedoDamage = 0,
    .bounces = 1,
    .bitesPlayer = 0,
};

namespace {

constexpr int32_t kMaxSpeed = 1000;
constexpr int32_t kBobStep = 25;    // of 2048 per step
constexpr int32_t kFloatHeight = 50;
constexpr int32_t kLeanEase = 16;   // the up vector closes 1/16 of the gap per step

void Attack(World* world, Enemy* enemy, const Entity* player) {
  HoverChasmo* h = reinterpret_cast<HoverChasmo*>(enemy);
  const Entity* e = enemy->entity;
  const PositionBlock muzzle = MuzzlePosition(e, 0, 220, 30, e->heading);
  const int32_t pitch = PitchAtPlayer(enemy, player, {muzzle.x, muzzle.y, muzzle.z});
  if (FireRocket(world, h->launcher, muzzle, -pitch, e->heading, e->bank))
    enemy->evadeTimer = MathTables::RandomBelow(4000) + 1000;
}

void Draw(HoverChasmo* h) {
  const Entity* e = h->enemy.entity;
  const Vec3 n = GroundNormal(e);
  h->up.x += (n.x - h->up.x) / kLeanEase;
  h->up.y += (n.y - h->up.y) / kLeanEase;
  h->up.z += (n.z - h->up.z) / kLeanEase;
  h->bobPhase = (h->bobPhase + kBobStep) & 2047;
  const int32_t y = WrapAdd(e->y, (Math->sine[h->bobPhase] >> 2) + kFloatHeight);
  h->enemy.scene->SetPosition(h->enemy.header.object, e->x, y, e->z);
  TiltObject(h->enemy.scene->Get(h->enemy.header.object), h->up, e->heading, e->bank);
}

void* CreateHoverChasmo(World* world, const EntRecord&) {
  HoverChasmo* h = static_cast<HoverChasmo*>(AllocZeroed(sizeof(HoverChasmo)));
  if (!h) return nullptr;
  h->up = {0, 256, 0};
  if (InitEnemy(world, &h->enemy, kHoverChasmoTraits, "hoverchasmo.tdo", "hv_expl_f1.tdo",
                "hv_expl_f2.tdo", kModeHover)) {
    h->enemy.entity->maxSpeed = kMaxSpeed;
    h->launcher = CreateRocketLauncher(world, h->enemy.entity);
  }
  h->enemy.engineSample = LoadEnemySample(world, "hover.wav", 250);
  return h;
}

void UpdateHoverChasmo(World* world, void* kind) {
  HoverChasmo* h = static_cast<HoverChasmo*>(kind);
  Enemy* enemy = &h->enemy;
  if (h->launcher) UpdateRocketLauncher(world, h->launcher);
  if (!EnemyStepBegins(world, enemy)) return;
  if (enemy->header.state != kEnemyAlive) {
    EnemyAfterDeath(world, enemy);
    return;
  }
  EnemyEngineFollows(world, enemy);
  if (enemy->scene) Draw(h);
  EnemyPerceive(world, enemy);
  if (const Entity* player = PlayerEntity(world))
    EnemyHunt(world, enemy, player, false, Attack);
  EnemyDiesIfDestroyed(world, enemy);
}

void DestroyHoverChasmo(World* world, void* kind) {
  HoverChasmo* h = static_cast<HoverChasmo*>(kind);
  if (h->launcher) DestroyRocketLauncher(world, h->launcher);
  h->launcher = nullptr;
  ReleaseEnemy(world, &h->enemy);
}

}  // namespace

const KindFunctions kHoverChasmoKind = {CreateHoverChasmo, UpdateHoverChasmo, CollideEnemy,
                                        DestroyHoverChasmo};
