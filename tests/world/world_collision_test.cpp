// Entities against the map: ground following, walls, damaging ground, fixed entities.
#include <cstdint>
#include <cstdio>
#include <tuple>

#include "world_fixture.h"

namespace {

struct MapHits {
  static inline int calls = 0;
  static inline Entity* lastOther = reinterpret_cast<Entity*>(1);
  static int32_t Collide(World*, void*, Entity*, Entity* other) {
    ++calls;
    lastOther = other;
    return 0;
  }
};
const KindFunctions kMapHitRecorder = {nullptr, nullptr, MapHits::Collide, nullptr};

class WorldCollisionTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    MapHits::calls = 0;
    manager = CreateEntityManager(&world, &scene->store);
    world.entities = manager;
  }
  void TearDown() override {
    DestroyEntityManager(&world, manager);
    WorldTest::TearDown();
  }
  // A model as map geometry, solid unless told otherwise.
  int32_t AddGround(const TdoFile& model, int32_t x, int32_t y, int32_t z, uint8_t solid = 1) {
    const int32_t k = PlaceModel(model, x, y, z);
    scene->store.objects[k]->solid = solid;
    return k;
  }
  Entity* Add(int32_t type, int32_t mode, int32_t x, int32_t y, int32_t z) {
    Entity* e = AddEntity(manager, type, mode, nullptr);
    e->x = x;
    e->y = y;
    e->z = z;
    e->ownObject = -1;
    return e;
  }
  int PlayingChannels(int32_t slot) const {
    int n = 0;
    for (const MixChannel& c : host.sound->channels)
      if (c.state == kChannelPlaying && c.slotIndex == slot) ++n;
    return n;
  }
  EntityManager* manager = nullptr;
};

TEST_F(WorldCollisionTest, GroundFollowingOnASlope) {
  // Rises 200 over 800 along x: a quarter per unit.
  AddGround(GroundTile(400, 0, 0, 0, 200, 200), 0, 0, 0);
  Entity* e = Add(kTypeStegoTank, kModeGround, -300, 0, -300);
  UpdateEntities(&world, manager);
  // Ground 25 under x = -300; the entity hovers 100 above and closes an eighth: 125 >> 3.
  EXPECT_EQ(e->y, 15);
  for (int i = 0; i < 80; ++i) UpdateEntities(&world, manager);
  // The eighth steps stop short once the gap is under 8.
  EXPECT_EQ(e->y, 118);
  const Poly3D& p = scene->store.objects[0]->polygons[0];
  EXPECT_EQ(std::tie(e->planeX, e->planeY, e->planeZ), std::make_tuple(p.nx, p.ny, p.nz));
  EXPECT_NE(e->planeX, 0);
}

TEST_F(WorldCollisionTest, GroundIsOnlyFoundNearItsFirstVertexAndUnderTheEntity) {
  struct Case {
    int32_t x, z;
    bool found;
  };
  AddGround(GroundTile(400), 0, -50, 0);
  for (const Case& c : {Case{-300, -300, true}, Case{-399, 50, true}, Case{100, 0, false},
                        Case{-500, -300, false}, Case{-300, -400, false}}) {
    Entity* e = Add(kTypeStegoTank, kModeGround, c.x, 400, c.z);
    UpdateEntities(&world, manager);
    EXPECT_EQ(e->y, c.found ? 400 + ((50 - 400) >> 3) : 400) << c.x << "," << c.z;
    e->active = 0;
  }
}

TEST_F(WorldCollisionTest, AWallUndoesTheMove) {
  SetKindFunctionsForTest(kTypeStegoTank, &kMapHitRecorder);
  AddGround(GroundTile(400, 2), 0, 0, 0);
  Entity* e = Add(kTypeStegoTank, kModeGround, -300, 100, -300);
  e->maxSpeed = 1000;
  e->vz = 500;
  e->w = 7;
  UpdateEntities(&world, manager);
  EXPECT_EQ(e->x, -300);
  EXPECT_EQ(e->z, -300);  // moved 124 forward, then put back
  EXPECT_EQ(e->w, 7);
  EXPECT_EQ(e->speed, 0);
  EXPECT_EQ(e->y, 100);  // already hovering at 100 over ground 0
  EXPECT_EQ(MapHits::calls, 1);
  EXPECT_EQ(MapHits::lastOther, nullptr);
}

TEST_F(WorldCollisionTest, DamagingGroundHurtsOnlyThePlayerAndPlaysItsSampleOnce) {
  AddGround(GroundTile(400, 1), 0, 0, 0);
  PlayerCraft craft = {};
  craft.energy = 250;
  world.player = &craft;
  Entity* tank = Add(kTypeStegoTank, kModeGround, -250, 100, -250);
  Entity* player = Add(kTypePlayer, kModeGround, -300, 100, -300);
  UpdateEntities(&world, manager);
  EXPECT_EQ(craft.energy, 245);
  EXPECT_EQ(PlayingChannels(manager->explosionSample), 1);
  UpdateEntities(&world, manager);
  EXPECT_EQ(craft.energy, 240);
  EXPECT_EQ(PlayingChannels(manager->explosionSample), 1);  // still playing: not restarted
  EXPECT_EQ(tank->y, 100);
  EXPECT_EQ(player->y, 100);
}

TEST_F(WorldCollisionTest, FixedEntitiesSettleOnTheAverageHeightForTenSeconds) {
  AddGround(GroundTile(400, 0, 0, 40, 80, 0), 0, 10, 0);
  Entity* e = Add(kTypeShootingTower, kModeFixed, -300, 900, -300);
  FrameDeltaMs = 5000;
  UpdateEntities(&world, manager);  // age 5000
  EXPECT_EQ(e->y, 10 + 30 + 100);   // corners 0, 40, 80, 0 above the object's 10
  e->y = 900;
  UpdateEntities(&world, manager);  // age 10000: still settles
  EXPECT_EQ(e->y, 140);
  e->y = 900;
  FrameDeltaMs = 1;
  UpdateEntities(&world, manager);  // age 10001: no longer
  EXPECT_EQ(e->y, 900);
}

TEST_F(WorldCollisionTest, SkippedObjects) {
  struct Case {
    const char* what;
    uint8_t solid, visible, entity;
    bool own;
  };
  for (const Case& c : {Case{"not solid", 0, 1, 0, false}, Case{"not drawn", 1, 0, 0, false},
                        Case{"an entity model", 1, 1, 1, false}, Case{"its own", 1, 1, 0, true},
                        Case{"taken", 1, 1, 0, false}}) {
    scene->store.Release();
    int32_t k = AddGround(GroundTile(400), 0, 0, 0, c.solid);
    scene->store.objects[k]->visible = c.visible;
    scene->store.objects[k]->entity = c.entity;
    Entity* e = Add(kTypeStegoTank, kModeGround, -300, 800, -300);
    if (c.own) e->ownObject = k;
    UpdateEntities(&world, manager);
    bool taken = std::string(c.what) == "taken";
    EXPECT_EQ(e->y != 800, taken) << c.what;
    e->active = 0;
  }
}

TEST_F(WorldCollisionTest, ProjectilesStopAtPolygonsNearTheirCentre) {
  SetKindFunctionsForTest(kTypeRocket, &kMapHitRecorder);
  AddGround(GroundTile(400), 0, 0, 0);
  // The polygon's centre is the origin, its radius 566 (283 halved).
  Entity* far = Add(kTypeRocket, kModeBallistic, 0, 400, 0);
  far->radius = 40;
  UpdateEntities(&world, manager);
  EXPECT_EQ(MapHits::calls, 0);
  far->active = 0;
  Entity* near = Add(kTypeRocket, kModeBallistic, 0, 250, -300);
  near->radius = 40;
  near->maxSpeed = 1024;
  UpdateEntities(&world, manager);  // moves to z = -45 (distance 254 < 20 + 283)
  EXPECT_EQ(MapHits::calls, 1);
  EXPECT_EQ(MapHits::lastOther, nullptr);
  EXPECT_EQ(near->z, -300);  // put back
}

}  // namespace
