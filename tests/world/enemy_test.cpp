// The five enemies: what hurts them (and the craft), how they die, what they perceive, the
// raptor's order of decisions, wandering after a bump, the flyer's altitude, the tilted
// drawing.
#include <cstdint>
#include <tuple>
#include <vector>

#include "world/enemy.h"
#include "world/mega_raptor.h"
#include "world/pterano_flyer.h"
#include "world/stego_tank.h"
#include "world_fixture.h"

namespace {

const int32_t kEnemyTypes[] = {kTypeMegaRaptor, kTypeStegoTank, kTypeHoverChasmo,
                               kTypePteranoFlyer, kTypeShootingTower};

class EnemyTest : public KindTest {
 protected:
  void SetUp() override {
    WriteEnemyModels(dir, 100);
    KindTest::SetUp();
  }
  // An enemy as the map loader makes it: created, then placed with its heading.
  Enemy* Spawn(int32_t type, int32_t x, int32_t y, int32_t z, int32_t heading = 0) {
    Enemy* enemy = reinterpret_cast<Enemy*>(Make(type));
    Entity* e = enemy->entity;
    e->x = x, e->y = y, e->z = z;
    e->heading = heading;
    SetDirectionFromHeading(e);
    return enemy;
  }
  // The next update perceives.
  void Update1s(Enemy* enemy) {
    enemy->perceptionTimer = 1000;
    Update(enemy);
  }
  // A projectile of the type touching the enemy, fired by `owner`.
  // One entity stands for every shot in turn: the table holds 100.
  Entity* MakeShot(int32_t type, Entity* owner, uint8_t active = 1) {
    if (!shot) shot = AddEntity(world.entities, type, kModeBallistic, nullptr);
    shot->type = type;
    shot->owner = owner;
    shot->active = active;
    return shot;
  }

  Entity* shot = nullptr;
};

// What one projectile of another owner takes from each kind, and from the craft by skill;
// its own shots and spent shots take nothing, and rockets hurt only by their blast.
TEST_F(EnemyTest, DamageTakenPerProjectile) {
  struct Row {
    int32_t type, skill, hitPoints, plasma, bullet, torpedo;
  };
  const Row rows[] = {
      {kTypeMegaRaptor, 2, 200, 10, 7, 0},   {kTypeStegoTank, 2, 300, 10, 7, 0},
      {kTypeHoverChasmo, 2, 230, 10, 5, 0},  {kTypePteranoFlyer, 2, 130, 10, 5, 25},
      {kTypeShootingTower, 2, 200, 10, 5, 0}, {kTypePlayer, 1, 250, 7, 3, 13},
      {kTypePlayer, 2, 250, 10, 5, 20},      {kTypePlayer, 3, 250, 14, 7, 30},
  };
  Enemy* tower = Spawn(kTypeShootingTower, 0, 0, 50000);
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.type << " at skill " << row.skill);
    host.player.skillLevel = row.skill;
    Enemy* enemy = row.type == kTypePlayer ? nullptr : Spawn(row.type, 0, 100, 0);
    Entity* self = enemy ? enemy->entity : craft.entity;
    const int32_t& left = enemy ? enemy->header.hitPoints : craft.energy;
    const int32_t x = self->x, z = self->z;
    int32_t hp = left;
    EXPECT_EQ(hp, row.hitPoints);
    struct Hit {
      int32_t type, expected;
    };
    for (const Hit& hit : {Hit{kTypePlasma, row.plasma}, Hit{kTypeRifleBullet, row.bullet},
                           Hit{kTypeTorpedo, row.torpedo}, Hit{kTypeRocket, 0}}) {
      DispatchCollision(&world, self, MakeShot(hit.type, tower->entity));
      EXPECT_EQ(left, hp - hit.expected) << "projectile " << hit.type;
      hp = left;
      DispatchCollision(&world, self, MakeShot(hit.type, self));                   // its own
      DispatchCollision(&world, self, MakeShot(hit.type, tower->entity, 0));       // spent
      EXPECT_EQ(left, hp);
    }
    // Shots never push anything about.
    EXPECT_EQ(self->x, x);
    EXPECT_EQ(self->z, z);
    craft.energy = 250;
  }
}

// 5 hit points and a bullet for more end at 0; the next update explodes the enemy, which
// then flies apart for 257 steps and stays dormant.
TEST_F(EnemyTest, ABulletBelowZeroEndsAtZeroAndExplodesOnTheNextUpdate) {
  for (int32_t type : kEnemyTypes) {
    SCOPED_TRACE(type);
    Enemy* enemy = Spawn(type, 0, 100, 0);
    enemy->header.hitPoints = 5;
    DispatchCollision(&world, enemy->entity, MakeShot(kTypeRifleBullet, craft.entity));
    EXPECT_EQ(enemy->header.hitPoints, 0);
    EXPECT_EQ(enemy->header.state, kEnemyAlive);
    Update(enemy);
    EXPECT_EQ(enemy->header.state, kEnemyExploding);
    EXPECT_EQ(enemy->entity->active, 0);
    EXPECT_EQ(Object(enemy->header.object)->hidden, 1);
    EXPECT_EQ(Object(enemy->explosionObject)->hidden, 0);
    Update(enemy, 256);
    EXPECT_EQ(enemy->header.state, kEnemyExploding);
    Update(enemy);
    EXPECT_EQ(enemy->header.state, kEnemyDead);
    EXPECT_EQ(Object(enemy->explosionObject)->hidden, 1);
    Update(enemy, 10);
    EXPECT_EQ(enemy->entity->active, 0);
  }
  // Every death lit one of the eight fireballs.
  int playing = 0;
  for (SprAnim* anim : world.explosions->anims) playing += anim->playing;
  EXPECT_EQ(playing, 5);
}

// Each kind's perception distances: near and sees, the flyer measuring across the ground.
TEST_F(EnemyTest, PerceptionDistances) {
  struct Row {
    int32_t type, near, sees;
    bool horizontal;
  };
  const Row rows[] = {
      {kTypeMegaRaptor, 2000, 5000, false},  {kTypeStegoTank, 2000, 5000, false},
      {kTypeHoverChasmo, 2000, 5000, false}, {kTypePteranoFlyer, 3000, 12000, true},
      {kTypeShootingTower, 3000, 4000, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.type);
    Enemy* enemy = Spawn(row.type, 0, 100, 0);
    // Drawing puts the model where the distances are measured from.
    Update(enemy);
    const Object3D* model = Object(enemy->header.object);
    struct Probe {
      int32_t distance;
      uint8_t near, sees;
    };
    for (const Probe& p : {Probe{row.near - 1, 1, 1}, Probe{row.near, 0, 1},
                           Probe{row.sees - 1, 0, 1}, Probe{row.sees, 0, 0}}) {
      PlacePlayer(model->x, model->y, model->z + p.distance);
      // Height does not count for the flyer; for the others it is part of the distance.
      if (row.horizontal) craft.entity->y += 5000;
      enemy->perceptionTimer = 1000;
      EnemyPerceive(&world, enemy);
      EXPECT_EQ(enemy->flags.playerNear, p.near) << p.distance;
      EXPECT_EQ(enemy->flags.seesPlayer, p.sees) << p.distance;
      EXPECT_EQ(enemy->flags.hasSeenPlayer, 1);
    }
    PlacePlayer(model->x, model->y + 4000, model->z);
    enemy->perceptionTimer = 1000;
    EnemyPerceive(&world, enemy);
    EXPECT_EQ(enemy->flags.playerNear, row.horizontal ? 1 : 0);
  }
}

// The hunter's rules in order, first match wins: one row per rule, with the flags that a
// later rule would act on also set, to catch a wrong order.
TEST_F(EnemyTest, RaptorDecisionOrder) {
  enum Act { kIdle, kTurnLeft, kThrust, kAimAttack, kAimOnly, kApproach, kTurnAway };
  struct Row {
    const char* rule;
    EnemyFlags flags;
    int32_t blockedTimer;
    Act raptor, tank;  // the tank has no biting rule
  };
  auto F = [](uint8_t dead, uint8_t biting, uint8_t blocked, uint8_t sees, uint8_t seen,
              uint8_t near, uint8_t evading, uint8_t aligned) {
    EnemyFlags f = {};
    f.playerDead = dead, f.biting = biting, f.blocked = blocked, f.seesPlayer = sees;
    f.hasSeenPlayer = seen, f.perceived = 1, f.playerNear = near, f.evading = evading;
    f.aligned = aligned;
    return f;
  };
  const Row rows[] = {
      {"1 dead, bumped", F(1, 1, 1, 1, 1, 1, 0, 1), 3000, kTurnLeft, kTurnLeft},
      {"1 dead", F(1, 1, 0, 1, 1, 1, 0, 1), 0, kThrust, kThrust},
      {"2 biting", F(0, 1, 1, 0, 0, 0, 1, 0), 3000, kAimAttack, kTurnLeft},
      {"3 blocked", F(0, 0, 1, 1, 1, 1, 0, 1), 1500, kThrust, kThrust},
      {"4 never seen", F(0, 0, 0, 0, 0, 1, 1, 1), 0, kIdle, kIdle},
      {"5 not near", F(0, 0, 0, 0, 1, 0, 1, 1), 0, kApproach, kApproach},
      {"6 evading", F(0, 0, 0, 1, 1, 1, 1, 1), 0, kTurnAway, kTurnAway},
      {"7 not aligned", F(0, 0, 0, 1, 1, 1, 0, 0), 0, kAimOnly, kAimOnly},
      {"8 attack", F(0, 0, 0, 1, 1, 1, 0, 1), 0, kAimAttack, kAimAttack},
  };
  static int attacks;
  auto attack = [](World*, Enemy*, const Entity*) { ++attacks; };
  Enemy* raptor = Spawn(kTypeMegaRaptor, 0, 100, 0);
  Enemy* tank = Spawn(kTypeStegoTank, 0, 100, 0);
  // The player ahead and to the right: aiming turns right, turning away turns left.
  PlacePlayer(1000, 100, 1500);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.rule);
    for (Enemy* enemy : {raptor, tank}) {
      Entity* e = enemy->entity;
      e->thrust = e->turnLeft = e->turnRight = 0;
      enemy->flags = row.flags;
      enemy->blockedTimer = row.blockedTimer;
      attacks = 0;
      EnemyHunt(&world, enemy, craft.entity, enemy == raptor, attack);
      const Act want = enemy == raptor ? row.raptor : row.tank;
      const bool aims = want == kAimAttack || want == kAimOnly || want == kApproach;
      EXPECT_EQ(e->turnRight, aims ? 1 : 0) << enemy->header.type;
      EXPECT_EQ(e->turnLeft, want == kTurnLeft || want == kTurnAway ? 1 : 0);
      EXPECT_EQ(e->thrust, want == kThrust || want == kApproach || want == kTurnAway ? 1 : 0);
      EXPECT_EQ(attacks, want == kAimAttack ? 1 : 0);
    }
  }
}

// Aim: aligned within -99..99 straight ahead; otherwise it turns toward the player.
TEST_F(EnemyTest, AimWindow) {
  Enemy* raptor = Spawn(kTypeMegaRaptor, 0, 100, 0, kFullTurn / 4);  // facing +x
  struct Probe {
    int32_t x, z;  // world offset of the player
    uint8_t aligned, left, right;
  };
  for (const Probe& p : {Probe{3000, 0, 1, 0, 0}, Probe{3000, -95, 1, 0, 0},
                         Probe{3000, 300, 0, 1, 0}, Probe{3000, -300, 0, 0, 1},
                         Probe{-3000, -50, 0, 0, 1}}) {
    Entity* e = raptor->entity;
    e->turnLeft = e->turnRight = 0;
    PlacePlayer(p.x, 100, p.z);
    EnemyAim(raptor, craft.entity);
    EXPECT_EQ(std::make_tuple(raptor->flags.aligned, e->turnLeft, e->turnRight),
              std::make_tuple(p.aligned, p.left, p.right)) << p.x << "," << p.z;
  }
}

// With the player dead, an enemy that bumps into something turns left for 2000 ms, then
// walks straight on.
TEST_F(EnemyTest, WithThePlayerDeadABumpTurnsLeftFor2000Ms) {
  for (int32_t type : {kTypeMegaRaptor, kTypeStegoTank, kTypeHoverChasmo}) {
    SCOPED_TRACE(type);
    Enemy* enemy = Spawn(type, 0, 100, 0);
    craft.entity->active = 0;
    Update1s(enemy);
    ASSERT_EQ(enemy->flags.playerDead, 1);
    EXPECT_EQ(enemy->entity->thrust, 1);
    DispatchCollision(&world, enemy->entity, nullptr);  // the map
    int turning = 0, straight = 0;
    for (int step = 0; step < 100; ++step) {
      Update(enemy);
      const Entity* e = enemy->entity;
      EXPECT_EQ(e->turnRight, 0);
      EXPECT_NE(e->turnLeft, e->thrust);
      (e->turnLeft ? turning : straight)++;
      if (e->thrust) {
        EXPECT_EQ(turning, 49) << "turning stopped early at step " << step;
      }
    }
    // The timer counts down before the decision: 3960 .. 2040 turn, from 2000 on it walks.
    EXPECT_EQ(turning, 49);
    craft.entity->active = 1;
  }
}

// The dying stego tank sets off its own rocket: the blast reaches a raptor beside it.
TEST_F(EnemyTest, ADyingStegoTankBurstsItsRocket) {
  Enemy* tank = Spawn(kTypeStegoTank, 0, 100, 0);
  Enemy* raptor = Spawn(kTypeMegaRaptor, 400, 100, 0);
  Update(raptor);
  tank->header.hitPoints = 0;
  Update(tank);
  EXPECT_EQ(tank->header.state, kEnemyExploding);
  EXPECT_LT(raptor->header.hitPoints, 200);
  EXPECT_EQ(reinterpret_cast<StegoTank*>(tank)->launcher->state, kRocketBursting);
}

// The flyer's altitude: toward the player when near (not keeping away), else up to 1500
// above it, with the nose pitched along.
TEST_F(EnemyTest, FlyerAltitudeSteering) {
  struct Row {
    uint8_t near;
    int32_t keepAway, above, pitch;
    int32_t dy, newPitch;
  };
  const Row rows[] = {
      {1, 0, 2000, 0, -10, 1500},        // dives, nose down
      {1, 0, 2000, 49000, -10, 50000},   // nose held at 50000
      {1, 0, 500, 6000, 0, 3500},        // low enough: levels off by 2500
      {1, 0, 500, -1000, 0, 0},          // without passing level
      {1, 3000, 500, 0, 10, -1500},      // keeping away: climbs
      {0, 0, 1000, -49000, 10, -50000},  // far: climbs, nose held at -50000
      {0, 0, 1500, -4000, 0, -2500},     // high enough: levels off by 1500
  };
  Enemy* flyer = Spawn(kTypePteranoFlyer, 0, 0, 0);
  for (const Row& row : rows) {
    Entity* e = flyer->entity;
    flyer->flags.playerNear = row.near;
    flyer->keepAwayTimer = row.keepAway;
    PlacePlayer(0, 100, 0);
    e->y = 100 + row.above;
    e->pitch = row.pitch;
    SteerFlyerAltitude(reinterpret_cast<PteranoFlyer*>(flyer), craft.entity);
    EXPECT_EQ(e->y - (100 + row.above), row.dy) << row.above << " " << row.pitch;
    EXPECT_EQ(e->pitch, row.newPitch) << row.above << " " << row.pitch;
  }
}

// Coming within 1000 starts the flyer's 5000 ms keep-away, during which it turns away.
TEST_F(EnemyTest, FlyerKeepsAwayAfterComingClose) {
  Enemy* flyer = Spawn(kTypePteranoFlyer, 0, 400, 0);
  PlacePlayer(0, 100, 800);
  Update1s(flyer);
  EXPECT_EQ(flyer->keepAwayTimer, 5000);
  EXPECT_EQ(flyer->entity->thrust, 1);
  PlacePlayer(300, 100, 800);  // ahead and to the right: turning away turns left
  Update(flyer);
  EXPECT_EQ(flyer->entity->turnLeft, 1);
  EXPECT_EQ(flyer->keepAwayTimer, 4960);
}

// The raptor's plasma leaves from alternating flanks, pitched up at a player above it;
// a long enough burst ends in evading.
TEST_F(EnemyTest, RaptorPlasmaAlternatesFlanksAndAimsUp) {
  Enemy* raptor = Spawn(kTypeMegaRaptor, 0, 100, 0);
  PlacePlayer(0, 1100, 1500);
  MegaRaptor* r = reinterpret_cast<MegaRaptor*>(raptor);
  std::vector<int32_t> sides;
  for (int i = 0; i < 400 && raptor->evadeTimer == 0; ++i) {
    raptor->biteTimer = 4000;  // bitten: aim, then attack
    Update(raptor);
    const ::Shot& shot = r->plasmaGun->shots[r->plasmaGun->lastShot];
    if (shot.state == kShotFlying && shot.age == 0) {
      sides.push_back(shot.entity->x);
      EXPECT_GT(shot.entity->dirY, 0);  // up toward the player
      EXPECT_GT(shot.entity->dirZ, 0);
    }
  }
  ASSERT_GE(sides.size(), 2u);
  for (size_t i = 0; i < sides.size(); ++i) {
    EXPECT_GE(std::abs(sides[i]), 99);
    EXPECT_LE(std::abs(sides[i]), 100);
    if (i > 0) {
      EXPECT_NE(sides[i] > 0, sides[i - 1] > 0);
    }
  }
  EXPECT_GE(raptor->evadeTimer, 1000);  // burst over: it evades
}

// A stego tank on level ground faces its heading although its model faces backwards; a
// tilted ground leans its up vector that way.
TEST_F(EnemyTest, TiltedDrawingFacesTheHeading) {
  Enemy* tank = Spawn(kTypeStegoTank, 0, 100, 0, kFullTurn / 4);  // heading +x
  Update(tank);
  const Object3D* model = Object(tank->header.object);
  ASSERT_EQ(model->presetMatrix, 1);
  Vec3 back = {0, 0, -256};  // the model's front
  MathTables::Transform(&back, model->matrix);
  EXPECT_GT(back.x, 240);
  EXPECT_LT(std::abs(back.z), 20);
  Vec3 up = {0, 256, 0};
  Entity* e = tank->entity;
  e->planeX = 0, e->planeY = 181, e->planeZ = 181;  // ground rising 45 degrees to -z
  Update(tank);
  MathTables::Transform(&up, model->matrix);
  EXPECT_GT(up.z, 100);
  EXPECT_GT(up.y, 100);
}

}  // namespace
