// The weapons: shot lifetimes, what stops a shot, the pool's limits, the rocket's flight,
// burst and area damage, and the machine gun's sound.
#include "world_fixture.h"

namespace {

using WeaponsTest = CraftTest;

TEST_F(WeaponsTest, AtTheEndOfItsLifeABulletVanishesWhileOtherShotsBurst) {
  struct Case {
    ShotWeaponType type;
    int32_t lifetimeSteps;  // steps of 40 ms that reach the lifetime
    bool bursts;
  };
  const Case cases[] = {{kMachineGun, 100, false}, {kPlasmaGun, 100, true},
                        {kTorpedoLauncher, 300, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    FreshMap();
    ShotWeapon* gun = CreateShotWeapon(&world, c.type, Add(kTypeShootingTower, -1));
    ASSERT_NE(gun, nullptr);
    gun->sinceLastShot = 1000;
    ASSERT_EQ(FireShotWeapon(&world, gun, {0, 100, 0, 0}, 0, 0), 1);
    const Shot& shot = gun->shots[0];
    EXPECT_EQ(shot.entity->active, 1);
    EXPECT_EQ(scene->sprites[shot.flight.sprite].visible, 1);
    for (int i = 0; i < c.lifetimeSteps; ++i) {
      UpdateEntities(&world, world.entities);
      UpdateShotWeapon(&world, gun);
    }
    EXPECT_EQ(shot.state, kShotFlying);  // exactly at its lifetime it still flies
    UpdateEntities(&world, world.entities);
    UpdateShotWeapon(&world, gun);
    EXPECT_EQ(shot.entity->active, 0);
    EXPECT_EQ(scene->sprites[shot.flight.sprite].visible, 0);
    EXPECT_EQ(shot.state, c.bursts ? kShotBursting : kShotFree);
    EXPECT_EQ(shot.impact.playing, c.bursts ? 1 : 0);
    EXPECT_EQ(scene->sprites[shot.impact.sprite].visible, c.bursts ? 1 : 0);
    // A burst ends with its impact picture and frees the shot.
    for (int i = 0; i < 60; ++i) UpdateShotWeapon(&world, gun);
    EXPECT_EQ(shot.state, kShotFree);
    EXPECT_EQ(scene->sprites[shot.impact.sprite].visible, 0);
    DestroyShotWeapon(&world, gun);
  }
  EXPECT_EQ(dir.Log(), "");
}

TEST_F(WeaponsTest, AShotPassesOtherProjectilesItsOwnerAndItsPoolButBurstsOnAnythingElse) {
  Entity* owner = Add(kTypeMegaRaptor, -1, 0, 100, -50);
  owner->radius = 150;
  ShotWeapon* gun = CreateShotWeapon(&world, kPlasmaGun, owner);
  ShotWeapon* other = CreateShotWeapon(&world, kMachineGun, nullptr);
  gun->sinceLastShot = other->sinceLastShot = 1000;
  // Fired from inside its owner, through a bullet and a second shot of its own.
  ASSERT_EQ(FireShotWeapon(&world, gun, {0, 100, 0, 0}, 0, 0), 1);
  gun->sinceLastShot = 1000;
  ASSERT_EQ(FireShotWeapon(&world, gun, {0, 100, 60, 0}, 0, 0), 1);
  ASSERT_EQ(FireShotWeapon(&world, other, {0, 100, 120, 0}, 0, kFullTurn / 2), 1);
  for (int i = 0; i < 3; ++i) UpdateEntities(&world, world.entities);
  EXPECT_EQ(gun->shots[0].state, kShotFlying);
  EXPECT_EQ(gun->shots[1].state, kShotFlying);
  // The bullet, fired by nobody, passed the plasma shots and burst on the raptor.
  EXPECT_EQ(other->shots[0].state, kShotBursting);
  // A pickup in the way is something else.
  Entity* pack = AddVictim(kTypeEnergyPack, 0, 100, gun->shots[0].entity->z + 200);
  for (int i = 0; i < 3; ++i) UpdateEntities(&world, world.entities);
  EXPECT_EQ(gun->shots[0].state, kShotBursting);
  EXPECT_EQ(gun->shots[1].state, kShotBursting);
  EXPECT_EQ(pack->active, 1);
  DestroyShotWeapon(&world, gun);
  DestroyShotWeapon(&world, other);
}

TEST_F(WeaponsTest, AFullPoolDoesNotFireAndSpendsNoCharge) {
  host.player.weapon = kWeaponPlasma;
  host.player.plasmaAmmo = 40;
  MakeCraft();
  Hold(kActShoot);
  Step(16 * 4);  // a shot every 160 ms: all 16 out within their 4000 ms
  EXPECT_EQ(FlyingShots(craft->plasmaGun), 16);
  EXPECT_EQ(craft->plasmaAmmo, 24);
  Step(8);
  EXPECT_EQ(FlyingShots(craft->plasmaGun), 16);
  EXPECT_EQ(craft->plasmaAmmo, 24);
  EXPECT_EQ(FireShotWeapon(&world, craft->plasmaGun, {0, 0, 0, 0}, 0, 0), 0);
  // Its own shots, fired from inside it, never hurt the craft.
  EXPECT_EQ(craft->energy, 250);
}

TEST_F(WeaponsTest, TheBurstHurtsByDistanceAndByVictim) {
  struct Distance {
    int32_t d, damage;
  };
  for (const Distance& c : {Distance{0, 0}, Distance{1, 69}, Distance{400, 35},
                            Distance{799, 0}, Distance{800, 0}, Distance{5000, 0}})
    EXPECT_EQ(BurstDamage(c.d), c.damage) << c.d;

  // By victim, 400 away; the player by skill: two thirds, all, or one and a half of the
  // damage, truncated.
  struct Victim {
    int32_t type, skill, lost;
  };
  for (const Victim& v : {Victim{kTypeStegoTank, 2, 70}, Victim{kTypeMegaRaptor, 2, 105},
                          Victim{kTypePteranoFlyer, 2, 140}, Victim{kTypeShootingTower, 2, 35},
                          Victim{kTypeHoverChasmo, 2, 0}, Victim{kTypeAmmoMGun, 2, 0},
                          Victim{kTypePlayer, 1, 24}, Victim{kTypePlayer, 2, 35},
                          Victim{kTypePlayer, 3, 53}}) {
    FreshMap();  // the craft left behind gives its energy back to the player data
    host.player.skillLevel = v.skill;
    host.player.energy = 250;
    int32_t* left = nullptr;
    if (v.type == kTypePlayer) {
      MakeCraft(400, 100, 0);
      scene->store.SetPosition(craft->craftObject, 400, 100, 0);
      left = &craft->energy;
    } else {
      left = &static_cast<KindHeader*>(AddVictim(v.type, 400, 100, 0, 250)->kind)->hitPoints;
    }
    RocketLauncher* launcher = CreateRocketLauncher(&world, Add(kTypeStegoTank, -1));
    BurstRocketAt(&world, launcher, 0, 100, 0);
    EXPECT_EQ(*left, 250 - v.lost) << v.type << " at skill " << v.skill;
    DestroyRocketLauncher(&world, launcher);
  }
}

TEST_F(WeaponsTest, ARocketThatHitsNothingEndsWhenTheLauncherIsReadyAgain) {
  RocketLauncher* launcher = CreateRocketLauncher(&world, Add(kTypeHoverChasmo, -1));
  ASSERT_NE(launcher, nullptr);
  Object3D* model = scene->store.Get(launcher->object);
  ASSERT_NE(model, nullptr);
  EXPECT_EQ(model->hidden, 1);
  ASSERT_EQ(FireRocket(&world, launcher, {0, 300, 0, 0}, 0, 0, 0), 1);
  EXPECT_EQ(FireRocket(&world, launcher, {0, 300, 0, 0}, 0, 0, 0), 0);  // one at a time
  EXPECT_EQ(model->hidden, 0);
  EXPECT_EQ(launcher->rocket->radius, model->radius);
  for (int i = 0; i < 100; ++i) {
    UpdateEntities(&world, world.entities);
    UpdateRocketLauncher(&world, launcher);
  }
  EXPECT_EQ(launcher->state, kRocketFlying);
  EXPECT_EQ(model->z, launcher->rocket->z);
  EXPECT_EQ(model->z, 100 * ((253 * 200) >> 10));
  const Sprite3D& flame = scene->sprites[launcher->flame.sprite];
  EXPECT_EQ(flame.z, model->z - 60);
  UpdateEntities(&world, world.entities);
  UpdateRocketLauncher(&world, launcher);
  EXPECT_EQ(launcher->state, kRocketReady);
  EXPECT_EQ(launcher->time, 0);
  EXPECT_EQ(launcher->rocket->active, 0);
  EXPECT_EQ(model->hidden, 1);
  EXPECT_EQ(flame.visible, 0);
  EXPECT_EQ(FireRocket(&world, launcher, {0, 300, 0, 0}, 0, 0, 0), 1);
  DestroyRocketLauncher(&world, launcher);
  EXPECT_EQ(dir.Log(), "");
}

TEST_F(WeaponsTest, ARocketBurstsOnWhatItHitsButNotOnShotsOrItsOwner) {
  Entity* owner = Add(kTypeStegoTank, -1, 0, 300, -100);
  owner->radius = 200;
  RocketLauncher* launcher = CreateRocketLauncher(&world, owner);
  ShotWeapon* gun = CreateShotWeapon(&world, kMachineGun, nullptr);
  gun->sinceLastShot = 1000;
  ASSERT_EQ(FireShotWeapon(&world, gun, {0, 300, 400, 0}, 0, kFullTurn / 2), 1);
  ASSERT_EQ(FireRocket(&world, launcher, {0, 300, 0, 0}, 0, 0, 0), 1);
  Entity* raptor = AddVictim(kTypeMegaRaptor, 0, 300, 1500, 200);
  int steps = 0;
  while (launcher->state == kRocketFlying && steps < 100) {
    UpdateEntities(&world, world.entities);
    UpdateRocketLauncher(&world, launcher);
    UpdateShotWeapon(&world, gun);
    ++steps;
  }
  EXPECT_EQ(launcher->state, kRocketBursting);
  EXPECT_GT(launcher->rocket->z, 1000);  // through its owner and the bullet, up to the raptor
  EXPECT_LT(static_cast<KindHeader*>(raptor->kind)->hitPoints, 200);
  EXPECT_EQ(scene->store.Get(launcher->object)->hidden, 1);
  EXPECT_EQ(scene->sprites[launcher->burst.sprite].visible, 1);
  // A second burst while bursting does nothing; the fireball ends and the launcher is ready.
  const int32_t hp = static_cast<KindHeader*>(raptor->kind)->hitPoints;
  BurstRocket(&world, launcher);
  EXPECT_EQ(static_cast<KindHeader*>(raptor->kind)->hitPoints, hp);
  for (int i = 0; i < 100 && launcher->state != kRocketReady; ++i)
    UpdateRocketLauncher(&world, launcher);
  EXPECT_EQ(launcher->state, kRocketReady);
  DestroyShotWeapon(&world, gun);
  DestroyRocketLauncher(&world, launcher);
}

TEST_F(WeaponsTest, TheMachineGunLoopFollowsThePlayersTrigger) {
  MakeCraft();
  const int32_t loop = craft->machineGun->shots[0].fireSample;
  ASSERT_GE(loop, 0);
  Hold(kActShoot);
  Step(5);
  EXPECT_EQ(FlyingShots(craft->machineGun), 1);
  EXPECT_TRUE(IsSamplePlaying(host.sound, loop));
  Release(kActShoot);
  Step(4);  // up to 200 ms after the last shot the loop plays on
  EXPECT_TRUE(IsSamplePlaying(host.sound, loop));
  Step(2);
  EXPECT_FALSE(IsSamplePlaying(host.sound, loop));
  // Switching away stops it at once, even with the trigger held.
  Hold(kActShoot);
  Step(5);
  EXPECT_TRUE(IsSamplePlaying(host.sound, loop));
  Tap(kActChangeWeapon);
  EXPECT_FALSE(IsSamplePlaying(host.sound, loop));
  // A tower's gun keeps to the same rule: it sounds while the player fires the machine gun.
  Release(kActShoot);
  Entity* tower = AddVictim(kTypeShootingTower, 3000, 100, 0);
  ShotWeapon* towerGun = CreateShotWeapon(&world, kMachineGun, tower);
  craft->weapon = kWeaponMachineGun;
  Hold(kActShoot);
  UpdateShotWeapon(&world, towerGun);
  EXPECT_TRUE(IsSamplePlaying(host.sound, towerGun->shots[0].fireSample));
  DestroyShotWeapon(&world, towerGun);
}

}  // namespace
