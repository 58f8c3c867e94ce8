// The shooting tower: once it has seen the living player it turns after it every step and,
// while the player is near, fires machine-gun bursts with pauses between them. Its entity
// rides 100 above the ground, so its model is drawn 100 lower.
#include "world/shooting_tower.h"

#include "world/weapons.h"
#include "world/world_internal.h"

const EnemyTraits kShootingTowerTraits = {
    .type = kTypeShootingTower,
    .hitPoints = 200,
    .nearDistance = 3000,
    .seesDistance = 4000,
    .horizontalOnly = 0,
    .keepAwayDistance = 0,
    .keepAwayMs = 0,
    .finalDelayBase = 1500,
    .plasmaDamage = 10,
    .bulletDamage = 5,
    .torpedoDamage = 0,
    .bounces = 0,
    .bitesPlayer = 0,
};

namespace {

constexpr int32_t kTurnRate = 6000;
constexpr int32_t kRideHeight = 100;
constexpr int32_t kGunPitch = 350;  // its gun sounds higher than the player's

void Attack(World* world, Enemy* enemy, const Entity* player) {
  ShootingTower* t = reinterpret_cast<ShootingTower*>(enemy);
  const Entity* e = enemy->entity;
  const PositionBlock muzzle = MuzzlePosition(e, 0, 220, 30, e->heading);
  const int32_t pitch = PitchAtPlayer(enemy, player, {muzzle.x, muzzle.y, muzzle.z});
  if (!FireShotWeapon(world, t->gun, muzzle, -pitch, e->heading)) return;
  enemy->shotCounter += MathTables::RandomBelow(8);
  if (enemy->shotCounter >= 11) enemy->pauseTimer = MathTables::RandomBelow(1000) + 1500;
}

void Decide(World* world, Enemy* enemy, const Entity* player) {
  const EnemyFlags& f = enemy->flags;
  if (f.playerDead || !f.hasSeenPlayer) return;
  EnemyAim(enemy, player);
  if (f.perceived && enemy->pauseTimer > 0) return;
  if (f.playerNear) Attack(world, enemy, player);
}

void* CreateShootingTower(World* world, const EntRecord&) {
  ShootingTower* t = static_cast<ShootingTower*>(AllocZeroed(sizeof(ShootingTower)));
  if (!t) return nullptr;
  if (InitEnemy(world, &t->enemy, kShootingTowerTraits, "shootingtower.tdo",
                "stt_expl_f1.tdo", "stt_expl_f2.tdo", kModeFixed)) {
    Entity* e = t->enemy.entity;
    e->turnRate = kTurnRate;
    e->radius /= 2;  // the footing and the column, not the gun's reach
    t->gun = CreateShotWeapon(world, kMachineGun, e);
    SoundSystem* sound = WorldSound(world);
    if (sound && t->gun && t->gun->shots[0].fireSample >= 0)
      SetSamplePitch(sound, t->gun->shots[0].fireSample, kGunPitch);
  }
  return t;
}

void UpdateShootingTower(World* world, void* kind) {
  ShootingTower* t = static_cast<ShootingTower*>(kind);
  Enemy* enemy = &t->enemy;
  if (t->gun) UpdateShotWeapon(world, t->gun);
  if (!EnemyStepBegins(world, enemy)) return;
  if (enemy->header.state != kEnemyAlive) {
    EnemyAfterDeath(world, enemy);
    return;
  }
  const Entity* e = enemy->entity;
  if (enemy->scene) {
    enemy->scene->SetPosition(enemy->header.object, e->x, WrapSub(e->y, kRideHeight), e->z);
    enemy->scene->SetAngles(enemy->header.object, 0, e->heading, 0);
  }
  EnemyPerceive(world, enemy);
  if (const Entity* player = PlayerEntity(world)) Decide(world, enemy, player);
  EnemyDiesIfDestroyed(world, enemy);
}

void DestroyShootingTower(World* world, void* kind) {
  ShootingTower* t = static_cast<ShootingTower*>(kind);
  if (t->gun) DestroyShotWeapon(world, t->gun);
  t->gun = nullptr;
  ReleaseEnemy(world, &t->enemy);
}

}  // namespace

const KindFunctions kShootingTowerKind = {CreateShootingTower, UpdateShootingTower,
                                          CollideEnemy, DestroyShootingTower};
