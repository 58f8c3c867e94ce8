// The enemies in a real map: what each keeps when the player leaves and comes back, and a
// dead one staying dead.
#include <cstdint>
#include <string>

#include "map_fixture.h"
#include "world/enemy.h"

namespace {

class EnemyMapStateTest : public MapTest {
 protected:
  void SetUp() override {
    MapTest::SetUp();
    // The enemies are the real kinds; everything else stays a fake.
    for (int32_t type : {kTypeMegaRaptor, kTypeStegoTank, kTypeHoverChasmo, kTypePteranoFlyer,
                         kTypeShootingTower})
      SetKindFunctionsForTest(type, nullptr);
    WriteEnemyModels(dir, 60);
    WriteMap("map1_1.map", {EntRecordBytes(kTypePlayer, 0, 0, 0, 0, "", "default"),
                            EntRecordBytes(kTypeMegaRaptor, -300, 0, 300),
                            EntRecordBytes(kTypeStegoTank, 300, 0, 300, 90),
                            EntRecordBytes(kTypeHoverChasmo, -300, 0, -300),
                            EntRecordBytes(kTypePteranoFlyer, 300, 0, -300),
                            EntRecordBytes(kTypeShootingTower, 0, 0, 350, 45)});
  }
  void LeaveAndReturn() {
    WorldUnload(&world);
    scene->store.Release();
    Load("map1_1.map");
  }
  Enemy* EnemyOf(int32_t type) { return reinterpret_cast<Enemy*>(KindOf(type)); }
};

TEST_F(EnemyMapStateTest, EachEnemyKeepsItsStateOverALeaveAndReturn) {
  Load("map1_1.map");
  // The flyer starts high whatever its record says.
  EXPECT_EQ(EnemyOf(kTypePteranoFlyer)->entity->y, 400);
  struct Row {
    int32_t type, hitPoints, state, x, y, z;
  };
  const Row rows[] = {
      {kTypeMegaRaptor, 0, kEnemyDead, -310, 120, 290},
      {kTypeStegoTank, 123, kEnemyAlive, 410, 130, 320},
      {kTypeHoverChasmo, 77, kEnemyAlive, -320, 100, -330},  // riding on the ground
      {kTypePteranoFlyer, 64, kEnemyAlive, 333, 777, -344},
  };
  for (const Row& r : rows) {
    Enemy* e = EnemyOf(r.type);
    e->header.hitPoints = r.hitPoints;
    e->header.state = r.state;
    e->entity->x = r.x, e->entity->y = r.y, e->entity->z = r.z;
  }
  // A tower keeps only whether it still stands, where and how it is turned.
  Enemy* tower = EnemyOf(kTypeShootingTower);
  tower->entity->active = 0;
  const int32_t towerHeading = tower->entity->heading;
  LeaveAndReturn();
  for (const Row& r : rows) {
    SCOPED_TRACE(r.type);
    Enemy* e = EnemyOf(r.type);
    EXPECT_EQ(e->header.hitPoints, r.hitPoints);
    EXPECT_EQ(e->header.state, r.state);
    EXPECT_EQ(e->entity->x, r.x);
    EXPECT_EQ(e->entity->y, r.y);
    EXPECT_EQ(e->entity->z, r.z);
  }
  tower = EnemyOf(kTypeShootingTower);
  EXPECT_EQ(tower->entity->active, 0);
  EXPECT_EQ(tower->entity->heading, towerHeading);
  // The dead stay dead and out of sight; the living are drawn and play on.
  for (int i = 0; i < 5; ++i) WorldUpdate(&world);
  Enemy* raptor = EnemyOf(kTypeMegaRaptor);
  EXPECT_EQ(raptor->entity->active, 0);
  EXPECT_EQ(ObjectOf(&raptor->header)->hidden, 1);
  EXPECT_EQ(scene->store.Get(raptor->explosionObject)->hidden, 1);
  EXPECT_EQ(ObjectOf(&tower->header)->hidden, 1);
  EXPECT_EQ(tower->entity->active, 0);
  Enemy* tank = EnemyOf(kTypeStegoTank);
  EXPECT_EQ(tank->entity->active, 1);
  EXPECT_EQ(ObjectOf(&tank->header)->hidden, 0);
  EXPECT_EQ(tank->header.hitPoints, 123);
}

}  // namespace
