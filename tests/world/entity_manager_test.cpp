// The entity manager: its table limit, the pair test, the movement modes.
#include <cstdint>

#include "world_fixture.h"

namespace {

// Records every collision call: (self, other) pairs, other null for the map.
struct Hits {
  static inline std::vector<std::pair<Entity*, Entity*>> calls;
  static int32_t Collide(World*, void*, Entity* self, Entity* other) {
    calls.push_back({self, other});
    return 0;
  }
};
const KindFunctions kRecorder = {nullptr, nullptr, Hits::Collide, nullptr};

class EntityManagerTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    Hits::calls.clear();
    store.engine = nullptr;
    manager = CreateEntityManager(&world, &store);
    ASSERT_NE(manager, nullptr);
    world.entities = manager;
  }
  void TearDown() override {
    DestroyEntityManager(&world, manager);
    store.Release();
    WorldTest::TearDown();
  }
  ObjectStore store;
  EntityManager* manager = nullptr;
};

TEST_F(EntityManagerTest, TheHundredAndFirstEntityIsRefused) {
  Entity* first = nullptr;
  for (int i = 0; i < kMaxEntities; ++i) {
    Entity* e = AddEntity(manager, kTypeEnergyPack, kModeGround, nullptr);
    ASSERT_NE(e, nullptr);
    if (!first) first = e;
  }
  EXPECT_EQ(LogCount("Max entities reached."), 0);
  EXPECT_EQ(AddEntity(manager, kTypeEnergyPack, kModeGround, nullptr), nullptr);
  EXPECT_EQ(LogCount("Max entities reached."), 1);
  EXPECT_EQ(manager->count, kMaxEntities);
  EXPECT_EQ(manager->entities[0], first);
  EXPECT_EQ(first->dirZ, 255);
  EXPECT_EQ(first->active, 1);
}

TEST_F(EntityManagerTest, PairsCollideFromBothSidesButNotAtDistanceZero) {
  SetKindFunctionsForTest(kTypeStegoTank, &kRecorder);
  Entity* a = AddEntity(manager, kTypeStegoTank, -1, nullptr);
  Entity* b = AddEntity(manager, kTypeStegoTank, -1, nullptr);
  a->radius = b->radius = 50;
  UpdateEntities(&world, manager);  // same place: d = 0
  EXPECT_TRUE(Hits::calls.empty());
  b->x = 99;  // 99 - 50 - 50 < 0
  UpdateEntities(&world, manager);
  ASSERT_EQ(Hits::calls.size(), 2u);
  EXPECT_EQ(Hits::calls[0], std::make_pair(a, b));
  EXPECT_EQ(Hits::calls[1], std::make_pair(b, a));
  Hits::calls.clear();
  b->x = 100;  // touching is not a hit
  UpdateEntities(&world, manager);
  EXPECT_TRUE(Hits::calls.empty());
  b->x = 10;
  b->active = 0;  // dormant entities take no part
  UpdateEntities(&world, manager);
  EXPECT_TRUE(Hits::calls.empty());
}

TEST_F(EntityManagerTest, DormantEntitiesStillAge) {
  Entity* e = AddEntity(manager, kTypeRocket, kModeBallistic, nullptr);
  e->active = 0;
  e->maxSpeed = 100;
  FrameDeltaMs = 37;
  UpdateEntities(&world, manager);
  UpdateEntities(&world, manager);
  EXPECT_EQ(e->age, 74);
  EXPECT_EQ(e->z, 0);
}

// Forward speed on the ground after one step: drag, thrust and the forward limit.
TEST_F(EntityManagerTest, GroundDragAndThrust) {
  const struct {
    const char* what;
    uint8_t thrust;
    int32_t vz, maxSpeed, expectVz;
  } cases[] = {{"creeping stops", 0, 1, 100, 0},
               {"minus one stops", 0, -1, 100, 0},
               {"two loses one", 0, 2, 100, 1},
               {"thrust adds two, drag takes one", 1, 10, 100, 11},
               {"limited forward", 1, 100, 60, 60},
               {"reverse is not limited", 0, -500, 60, -499},
               {"thrust from rest", 1, 0, 100, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Entity* e = AddEntity(manager, kTypeStegoTank, kModeGround, nullptr);
    e->thrust = c.thrust;
    e->vz = c.vz;
    e->maxSpeed = c.maxSpeed;
    UpdateEntities(&world, manager);
    EXPECT_EQ(e->vz, c.expectVz);
    EXPECT_EQ(e->speed, c.expectVz);
    EXPECT_EQ(e->z, (255 * c.expectVz) >> 10);
    e->active = 0;
  }
}

// The heading after one turn wraps into 0 .. 524288 in every mode.
TEST_F(EntityManagerTest, HeadingWrapsAfterATurn) {
  const struct {
    int32_t mode, heading, turnRate;
    bool left;
    int32_t expectHeading;
  } cases[] = {{kModeGround, 524288 - 100, 101, false, 1},  // 524289 wraps to 1
               {kModeGround, 524288 - 100, 100, false, 524288},  // stays
               {kModeFixed, 100, 101, true, 524287},
               {kModeFixed, 100, 100, true, 0},
               {kModeHover, 520000, 0, false, 525000 - 524288},
               {kModeFlyer, 1000, 3000, true, 524288 - 2000}};
  for (const auto& c : cases) {
    Entity* e = AddEntity(manager, kTypeStegoTank, c.mode, nullptr);
    e->heading = c.heading;
    e->turnRate = c.turnRate;
    (c.left ? e->turnLeft : e->turnRight) = 1;
    UpdateEntities(&world, manager);
    EXPECT_EQ(e->heading, c.expectHeading) << c.heading;
    EXPECT_EQ(e->dirX, Math->Sin(c.expectHeading));
    EXPECT_EQ(e->dirZ, Math->Cos(c.expectHeading));
    e->active = 0;
  }
}

TEST_F(EntityManagerTest, FlyerBankRelaxes) {
  struct Case {
    int32_t bank;
    std::vector<int32_t> ticks;
  };
  for (const Case& c : {Case{-300, {-300, -300, -300}}, Case{-1200, {-600, 0, 0}},
                        Case{900, {300, -300, -300}}}) {
    Entity* e = AddEntity(manager, kTypePteranoFlyer, kModeFlyer, nullptr);
    e->bank = c.bank;
    e->maxSpeed = 100;
    for (int32_t expect : c.ticks) {
      UpdateEntities(&world, manager);
      EXPECT_EQ(e->bank, expect) << "from " << c.bank;
    }
    e->active = 0;
  }
}

TEST_F(EntityManagerTest, HoverThrustDragAndSpeedLimit) {
  Entity* e = AddEntity(manager, kTypeHoverChasmo, kModeHover, nullptr);
  e->thrust = 1;
  e->maxSpeed = 40;
  // Heading 0: dirZ = 256 from the table, so each tick adds 32 and drag takes 4.
  UpdateEntities(&world, manager);
  EXPECT_EQ(e->vz, 28);
  EXPECT_EQ(e->speed, 28);
  EXPECT_EQ(e->z, 0);  // 28 >> 5
  UpdateEntities(&world, manager);
  // 56 is over the limit of 40: scaled by 40 / 56.
  EXPECT_EQ(e->speed, 56);
  EXPECT_EQ(e->vz, 40);
  EXPECT_EQ(e->z, 1);
  e->turnLeft = 1;
  UpdateEntities(&world, manager);
  EXPECT_EQ(e->heading, 524288 - 5000);
  EXPECT_EQ(e->bank, 1500);  // Hover keeps its bank
  e->turnLeft = 0;
  UpdateEntities(&world, manager);
  EXPECT_EQ(e->bank, 1500);
}

}  // namespace
