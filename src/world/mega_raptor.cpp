// The mega raptor: growls, perceives about once a second, hunts by the hunter's rules, bites
// back when touched, fires plasma from alternating flanks in bursts and then evades, walks
// on a five-frame cycle and explodes through the ExplosionManager.
#include "world/mega_raptor.h"

#include "world/weapons.h"
#include "world/world_internal.h"

const EnemyTraits kMegaRaptorTraits = {
    .type = kTypeMegaRaptor,
    .hitPoints = 200,
    .nearDistance = 2000,
    .seesDistance = 5000,
    .horizontalOnly = 0,
    .keepAwayDistance = 0,
    .keepAwayMs = 0,
    .finalDelayBase = 2500,
    .plasmaDamage = 10,
    .bulletDamage = 7,
    .torpedoDamage = 0,
    .bounces = 1,
    .bitesPlayer = 1,
};

namespace {

constexpr int32_t kMaxSpeed = 60;
constexpr int32_t kTurnRate = 6000;
constexpr int32_t kWalkSettleSpeed = 40;
constexpr int32_t kRestBlend = 30;     // below this at the start of segment 2 or 4: standing
constexpr int32_t kMuzzleRight = 100;  // the plasma guns' offset: (+-100, 45, 30)
constexpr int32_t kMuzzleUp = 45;
constexpr int32_t kMuzzleAhead = 30;
constexpr int32_t kBurstLength = 10;   // a burst counter above this ends the burst

void PlayAt(World* world, int32_t slot, const Entity* e) {
  SoundSystem* sound = WorldSound(world);
  if (!sound || slot < 0) return;
  SetSample3D(sound, slot, e->x, e->y, e->z, 0);
  PlaySample(sound, slot, 0);
}

void Growl(World* world, MegaRaptor* r) {
  r->growlTimer -= FrameDeltaMs;
  if (r->growlTimer >= 1) return;
  r->growlTimer = MathTables::RandomBelow(40000) + 4000;
  PlayAt(world, r->growlSample, r->enemy.entity);
  if (SoundSystem* sound = WorldSound(world); sound && r->growlSample >= 0)
    SetSamplePitch(sound, r->growlSample, MathTables::RandomBelow(100) + 200);
}

void Attack(World* world, Enemy* enemy, const Entity* player) {
  MegaRaptor* r = reinterpret_cast<MegaRaptor*>(enemy);
  const Entity* e = enemy->entity;
  const int32_t side = enemy->muzzleSide ? -kMuzzleRight : kMuzzleRight;
  const PositionBlock muzzle = MuzzlePosition(e, side, kMuzzleUp, kMuzzleAhead, e->heading);
  const int32_t pitch = PitchAtPlayer(enemy, player, {muzzle.x, muzzle.y, muzzle.z});
  if (!FireShotWeapon(world, r->plasmaGun, muzzle, -pitch, e->heading)) return;
  enemy->shotCounter += MathTables::RandomBelow(3);
  enemy->muzzleSide ^= 1;
  if (enemy->shotCounter > kBurstLength) {
    enemy->shotCounter = 0;
    enemy->evadeTimer = MathTables::RandomBelow(4000) + 1000;
  }
}

// The walk cycle at the raptor's own speed; standing, the legs finish their stride and
// stop only upright, at the start of segment 2 or 4.
void Walk(World* world, MegaRaptor* r) {
  const Entity* e = r->enemy.entity;
  r->walkSpeed = e->speed;
  if (e->speed < 11 && !r->settling) {
    const bool upright = (r->walkFrame == 2 || r->walkFrame == 4) && r->walkBlend < kRestBlend;
    if (!upright) r->settling = 1;
    return;
  }
  if (r->settling) r->walkSpeed = kWalkSettleSpeed;
  r->walkBlend += r->walkSpeed;
  if (r->walkBlend >= 255) {
    r->walkBlend = 0;
    r->walkFrame = r->walkFrame >= r->walkFrameCount ? 2 : r->walkFrame + 1;
    if (r->walkFrame == 2 || r->walkFrame == 4) PlayAt(world, r->stepSample, e);
  }
  if (r->walkAnimator) r->walkAnimator->Blend(r->walkBlend, r->walkFrame - 1, r->walkFrame);
  r->settling = 0;
}

void* CreateMegaRaptor(World* world, const EntRecord&) {
  MegaRaptor* r = static_cast<MegaRaptor*>(AllocZeroed(sizeof(MegaRaptor)));
  if (!r) return nullptr;
  r->stepSample = r->growlSample = -1;
  if (InitEnemy(world, &r->enemy, kMegaRaptorTraits, "megaraptor.tdo", "mrpt_expl_f1.tdo",
                "mrpt_expl_f2.tdo", kModeGround)) {
    r->enemy.entity->maxSpeed = kMaxSpeed;
    r->enemy.entity->turnRate = kTurnRate;
  }
  r->stepSample = LoadEnemySample(world, "step.wav", 80);
  if (SoundSystem* sound = WorldSound(world); sound && r->stepSample >= 0)
    SetSamplePitch(sound, r->stepSample, 220);
  r->growlSample = LoadEnemySample(world, "RaptorGrowl.wav", 80);
  r->growlTimer = MathTables::RandomBelow(40000) + 4000;
  r->walkFrameCount = 5;
  r->walkFrame = 2;
  r->walkSpeed = kWalkSettleSpeed;
  if (r->enemy.entity) r->plasmaGun = CreateShotWeapon(world, kPlasmaGun, r->enemy.entity);
  static const char* const kWalkFrames[] = {"megaraptor_f1.tdo", "megaraptor_f2.tdo",
                                            "megaraptor_f1.tdo", "megaraptor_f4.tdo",
                                            "megaraptor_f1.tdo"};
  r->walkAnimator = MakeKindFrameSet(
      world, r->enemy.scene ? r->enemy.scene->Get(r->enemy.header.object) : nullptr,
      kWalkFrames, 5);
  return r;
}

void UpdateMegaRaptor(World* world, void* kind) {
  MegaRaptor* r = static_cast<MegaRaptor*>(kind);
  Enemy* enemy = &r->enemy;
  if (r->plasmaGun) UpdateShotWeapon(world, r->plasmaGun);
  if (!EnemyStepBegins(world, enemy)) return;
  if (enemy->header.state != kEnemyAlive) {
    EnemyAfterDeath(world, enemy);
    return;
  }
  Entity* e = enemy->entity;
  Growl(world, r);
  if (enemy->scene) {
    enemy->scene->SetPosition(enemy->header.object, e->x, e->y, e->z);
    enemy->scene->SetAngles(enemy->header.object, 0, e->heading, 0);
  }
  if (SoundSystem* sound = WorldSound(world); sound && r->stepSample >= 0)
    SetSample3D(sound, r->stepSample, e->x, e->y, e->z, 0);
  EnemyPerceive(world, enemy);
  if (const Entity* player = PlayerEntity(world))
    EnemyHunt(world, enemy, player, true, Attack);
  EnemyDiesIfDestroyed(world, enemy);
  Walk(world, r);
}

void DestroyMegaRaptor(World* world, void* kind) {
  MegaRaptor* r = static_cast<MegaRaptor*>(kind);
  DestroyShotWeapon(world, r->plasmaGun);
  r->plasmaGun = nullptr;
  FreeKindFrameSet(r->walkAnimator);
  r->walkAnimator = nullptr;
  FreeEnemySample(world, &r->stepSample);
  FreeEnemySample(world, &r->growlSample);
  ReleaseEnemy(world, &r->enemy);
}

}  // namespace

const KindFunctions kMegaRaptorKind = {CreateMegaRaptor, UpdateMegaRaptor, CollideEnemy,
                                       DestroyMegaRaptor};
