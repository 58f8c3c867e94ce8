// The entity manager and the map: its table limit, the pair test, the movement modes, ground
// following, walls, damaging ground, fixed entities, and skipping objects out of reach that
// must not change a single result.
#include <cstdint>
#include <random>
#include <tuple>

#include "world/world_internal.h"
#include "world_fixture.h"

namespace {

using Calls = std::vector<std::pair<Entity*, Entity*>>;

TEST_F(EntitiesTest, TheHundredAndFirstEntityIsRefused) {
  Entity* first = Add(kTypeEnergyPack, kModeGround);
  for (int i = 1; i < kMaxEntities; ++i)
    ASSERT_NE(AddEntity(world.entities, kTypeEnergyPack, kModeGround, nullptr), nullptr);
  EXPECT_EQ(LogCount("Max entities reached."), 0);
  EXPECT_EQ(AddEntity(world.entities, kTypeEnergyPack, kModeGround, nullptr), nullptr);
  EXPECT_EQ(LogCount("Max entities reached."), 1);
  EXPECT_EQ(world.entities->count, kMaxEntities);
  EXPECT_EQ(world.entities->entities[0], first);
}

// Closer than both radii, a pair collides from both sides, but not at distance 0 nor when
// touching; a dormant entity takes no part, yet it still ages.
TEST_F(EntitiesTest, PairsCollideFromBothSidesButNotAtDistanceZero) {
  SetKindFunctionsForTest(kTypeStegoTank, &kRecorder);
  Entity* a = Add(kTypeStegoTank, -1);
  Entity* b = Add(kTypeStegoTank, -1);
  a->radius = b->radius = 50;
  struct Probe {
    int32_t x;
    uint8_t active;
    Calls calls;
  };
  for (const Probe& p : {Probe{0, 1, {}}, Probe{99, 1, {{a, b}, {b, a}}}, Probe{100, 1, {}},
                         Probe{10, 0, {}}}) {
    hits.clear();
    b->x = p.x;
    b->active = p.active;
    UpdateEntities(&world, world.entities);
    EXPECT_EQ(hits, p.calls) << p.x;
  }
  EXPECT_EQ(b->age, 4 * 40);
}

// Forward speed on the ground after one step: drag, thrust and the forward limit.
TEST_F(EntitiesTest, GroundDragAndThrust) {
  const struct {
    const char* what;
    uint8_t thrust;
    int32_t vz, maxSpeed, expectVz, expectZ;
  } cases[] = {{"creeping stops", 0, 1, 100, 0, 0},
               {"minus one stops", 0, -1, 100, 0, 0},
               {"two loses one", 0, 2, 100, 1, 0},
               {"thrust adds two, drag takes one", 1, 10, 100, 11, 2},
               {"limited forward", 1, 100, 60, 60, 14},
               {"reverse is not limited", 0, -500, 60, -499, -125},
               {"thrust from rest", 1, 0, 100, 1, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Entity* e = Add(kTypeStegoTank, kModeGround);
    e->thrust = c.thrust;
    e->vz = c.vz;
    e->maxSpeed = c.maxSpeed;
    UpdateEntities(&world, world.entities);
    EXPECT_EQ(e->vz, c.expectVz);
    EXPECT_EQ(e->speed, c.expectVz);
    EXPECT_EQ(e->z, c.expectZ);  // along the 255-unit direction of a new entity
    e->active = 0;
  }
}

// The heading after one turn wraps into 0 .. 524288 in every mode.
TEST_F(EntitiesTest, HeadingWrapsAfterATurn) {
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
    Entity* e = Add(kTypeStegoTank, c.mode);
    e->heading = c.heading;
    e->turnRate = c.turnRate;
    (c.left ? e->turnLeft : e->turnRight) = 1;
    UpdateEntities(&world, world.entities);
    EXPECT_EQ(e->heading, c.expectHeading) << c.heading;
    EXPECT_EQ(e->dirX, Math->Sin(c.expectHeading));
    EXPECT_EQ(e->dirZ, Math->Cos(c.expectHeading));
    e->active = 0;
  }
}

TEST_F(EntitiesTest, FlyerBankRelaxes) {
  struct Case {
    int32_t bank;
    std::vector<int32_t> ticks;
  };
  for (const Case& c : {Case{-300, {-300, -300, -300}}, Case{-1200, {-600, 0, 0}},
                        Case{900, {300, -300, -300}}}) {
    Entity* e = Add(kTypePteranoFlyer, kModeFlyer);
    e->bank = c.bank;
    e->maxSpeed = 100;
    for (int32_t expect : c.ticks) {
      UpdateEntities(&world, world.entities);
      EXPECT_EQ(e->bank, expect) << "from " << c.bank;
    }
    e->active = 0;
  }
}

TEST_F(EntitiesTest, HoverThrustDragAndSpeedLimit) {
  Entity* e = Add(kTypeHoverChasmo, kModeHover);
  e->thrust = 1;
  e->maxSpeed = 40;
  // Heading 0: dirZ = 256 from the table, so each tick adds 32 and drag takes 4.
  UpdateEntities(&world, world.entities);
  EXPECT_EQ(e->vz, 28);
  EXPECT_EQ(e->speed, 28);
  EXPECT_EQ(e->z, 0);  // 28 >> 5
  UpdateEntities(&world, world.entities);
  // 56 is over the limit of 40: scaled by 40 / 56.
  EXPECT_EQ(e->speed, 56);
  EXPECT_EQ(e->vz, 40);
  EXPECT_EQ(e->z, 1);
  e->turnLeft = 1;
  UpdateEntities(&world, world.entities);
  EXPECT_EQ(e->heading, 524288 - 5000);
  EXPECT_EQ(e->bank, 1500);  // Hover keeps its bank
  e->turnLeft = 0;
  UpdateEntities(&world, world.entities);
  EXPECT_EQ(e->bank, 1500);
}

TEST_F(EntitiesTest, GroundFollowingOnASlope) {
  // Rises 200 over 800 along x: a quarter per unit.
  PlaceModel(GroundTile(400, 0, 0, 0, 200, 200), 0, 0, 0);
  Entity* e = Add(kTypeStegoTank, kModeGround, -300, 0, -300);
  UpdateEntities(&world, world.entities);
  // Ground 25 under x = -300; the entity hovers 100 above and closes an eighth: 125 >> 3.
  EXPECT_EQ(e->y, 15);
  for (int i = 0; i < 80; ++i) UpdateEntities(&world, world.entities);
  // The eighth steps stop short once the gap is under 8.
  EXPECT_EQ(e->y, 118);
  const Poly3D& p = scene->store.objects[0]->polygons[0];
  EXPECT_EQ(std::tie(e->planeX, e->planeY, e->planeZ), std::make_tuple(p.nx, p.ny, p.nz));
  EXPECT_NE(e->planeX, 0);
}

// Ground is found only near a polygon's first vertex and under the entity, and only on
// solid, drawn map geometry that is neither an entity's model nor the entity's own.
TEST_F(EntitiesTest, WhereGroundIsFound) {
  struct Row {
    const char* what;
    int32_t x, z;
    uint8_t solid, visible, entity;
    bool own, found;
  };
  const Row rows[] = {
      {"under it", -300, -300, 1, 1, 0, false, true},
      {"on the far edge, within reach of the first vertex", -399, 50, 1, 1, 0, false, true},
      {"under it, beyond reach of the first vertex", 100, 0, 1, 1, 0, false, false},
      {"beside it", -500, -300, 1, 1, 0, false, false},
      {"beyond its other side", -300, -400, 1, 1, 0, false, false},
      {"not solid", -300, -300, 0, 1, 0, false, false},
      {"not drawn", -300, -300, 1, 0, 0, false, false},
      {"an entity's model", -300, -300, 1, 1, 1, false, false},
      {"its own", -300, -300, 1, 1, 0, true, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    scene->store.Release();
    const int32_t k = PlaceModel(GroundTile(400), 0, -50, 0);
    scene->store.objects[k]->solid = r.solid;
    scene->store.objects[k]->visible = r.visible;
    scene->store.objects[k]->entity = r.entity;
    Entity* e = Add(kTypeStegoTank, kModeGround, r.x, 400, r.z);
    if (r.own) e->ownObject = k;
    UpdateEntities(&world, world.entities);
    EXPECT_EQ(e->y, r.found ? 400 + ((50 - 400) >> 3) : 400);
    e->active = 0;
  }
}

TEST_F(EntitiesTest, AWallUndoesTheMove) {
  SetKindFunctionsForTest(kTypeStegoTank, &kRecorder);
  PlaceModel(GroundTile(400, 2), 0, 0, 0);
  Entity* e = Add(kTypeStegoTank, kModeGround, -300, 100, -300);
  e->maxSpeed = 1000;
  e->vz = 500;
  e->w = 7;
  UpdateEntities(&world, world.entities);
  EXPECT_EQ(e->x, -300);
  EXPECT_EQ(e->z, -300);  // moved 124 forward, then put back
  EXPECT_EQ(e->w, 7);
  EXPECT_EQ(e->speed, 0);
  EXPECT_EQ(e->y, 100);  // already hovering at 100 over ground 0
  EXPECT_EQ(hits, (Calls{{e, nullptr}}));
}

TEST_F(EntitiesTest, DamagingGroundHurtsOnlyThePlayerAndPlaysItsSampleOnce) {
  PlaceModel(GroundTile(400, 1), 0, 0, 0);
  PlayerCraft craft = {};
  craft.energy = 250;
  world.player = &craft;
  Entity* tank = Add(kTypeStegoTank, kModeGround, -250, 100, -250);
  Entity* player = Add(kTypePlayer, kModeGround, -300, 100, -300);
  auto playing = [this] {
    int n = 0;
    for (const MixChannel& c : host.sound->channels)
      n += c.state == kChannelPlaying && c.slotIndex == world.entities->explosionSample;
    return n;
  };
  UpdateEntities(&world, world.entities);
  EXPECT_EQ(craft.energy, 245);
  EXPECT_EQ(playing(), 1);
  UpdateEntities(&world, world.entities);
  EXPECT_EQ(craft.energy, 240);
  EXPECT_EQ(playing(), 1);  // still playing: not restarted
  EXPECT_EQ(tank->y, 100);
  EXPECT_EQ(player->y, 100);
  world.player = nullptr;
}

TEST_F(EntitiesTest, FixedEntitiesSettleOnTheAverageHeightForTenSeconds) {
  PlaceModel(GroundTile(400, 0, 0, 40, 80, 0), 0, 10, 0);
  Entity* e = Add(kTypeShootingTower, kModeFixed, -300, 900, -300);
  FrameDeltaMs = 5000;
  UpdateEntities(&world, world.entities);  // age 5000
  EXPECT_EQ(e->y, 10 + 30 + 100);   // corners 0, 40, 80, 0 above the object's 10
  e->y = 900;
  UpdateEntities(&world, world.entities);  // age 10000: still settles
  EXPECT_EQ(e->y, 140);
  e->y = 900;
  FrameDeltaMs = 1;
  UpdateEntities(&world, world.entities);  // age 10001: no longer
  EXPECT_EQ(e->y, 900);
}

TEST_F(EntitiesTest, ProjectilesStopAtPolygonsNearTheirCentre) {
  SetKindFunctionsForTest(kTypeRocket, &kRecorder);
  PlaceModel(GroundTile(400), 0, 0, 0);
  // The polygon's centre is the origin, its radius 566 (283 halved).
  Entity* far = Add(kTypeRocket, kModeBallistic, 0, 400, 0);
  far->radius = 40;
  UpdateEntities(&world, world.entities);
  EXPECT_TRUE(hits.empty());
  far->active = 0;
  Entity* near = Add(kTypeRocket, kModeBallistic, 0, 250, -300);
  near->radius = 40;
  near->maxSpeed = 1024;
  UpdateEntities(&world, world.entities);  // moves to z = -45 (distance 254 < 20 + 283)
  EXPECT_EQ(hits, (Calls{{near, nullptr}}));
  EXPECT_EQ(near->z, -300);  // put back
}

// The same entities over a rough field of random tiles, rocks and walls, with and without
// skipping the objects out of reach: every entity field and every hit, in order, the same.
TEST_F(WorldTest, SkippingUnreachableObjectsChangesNothing) {
  static std::vector<std::string> named;
  const KindFunctions recorder = {nullptr, nullptr,
                                  [](World*, void*, Entity* self, Entity* other) {
                                    // Entities are named by their unused motion block.
                                    named.push_back(std::to_string(self->motion[0]) + ":" +
                                                    std::to_string(other ? other->motion[0] : -1));
                                    return int32_t(0);
                                  },
                                  nullptr};
  SetKindFunctionsForTest(kTypeStegoTank, &recorder);
  SetKindFunctionsForTest(kTypePlayer, &recorder);
  auto run = [&](bool culling, uint32_t seed) {
    WorldCollisionCulling = culling;
    named.clear();
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int32_t> pos(-5000, 5000), mode(0, 5), speed(0, 400),
        radius(0, 400), turn(0, 3);
    EntityManager* m = CreateEntityManager(&world, &scene->store);
    PlayerCraft craft = {};
    world.player = &craft;
    for (int i = 0; i < 100; ++i) {
      Entity* e = AddEntity(m, i % 7 == 0 ? kTypePlayer : kTypeStegoTank, mode(rng), nullptr);
      e->x = pos(rng);
      e->z = pos(rng);
      e->y = pos(rng) / 20;
      e->heading = pos(rng) * 50;
      e->thrust = uint8_t(turn(rng) != 0);
      e->maxSpeed = speed(rng);
      e->turnRate = 3000;
      e->radius = radius(rng);
      e->dirY = turn(rng) - 1;
      e->ownObject = -1;
      e->motion[0] = i;
    }
    std::string state;
    for (int tick = 0; tick < 120; ++tick) {
      for (int32_t i = 0; i < m->count; ++i) {
        m->entities[i]->turnLeft = uint8_t(turn(rng) == 0);
        m->entities[i]->turnRight = uint8_t(turn(rng) == 1);
      }
      FrameDeltaMs = 40 + tick % 3;
      UpdateEntities(&world, m);
      for (int32_t i = 0; i < m->count; ++i) {
        Entity copy = *m->entities[i];
        copy.kind = nullptr;
        state.append(reinterpret_cast<const char*>(&copy), sizeof copy);
      }
    }
    for (const std::string& h : named) state += h + " ";
    state += std::to_string(craft.energy);
    DestroyEntityManager(&world, m);
    world.player = nullptr;
    WorldCollisionCulling = true;
    return state;
  };
  for (uint32_t seed : {1u, 2u, 3u}) {
    scene->store.Release();
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int32_t> pos(-6000, 6000), size(20, 900), height(-300, 300),
        type(0, 9);
    while (scene->store.count < 120) {
      TdoFile t = GroundTile(size(rng), type(rng) == 0 ? 2 : (type(rng) == 1 ? 1 : 0),
                             height(rng), height(rng), height(rng), height(rng));
      if (type(rng) < 3) {  // a rock: a few upright triangles
        int32_t s = size(rng);
        int32_t a = t.Vertex(-s, 0, 0), b = t.Vertex(s, 0, 0), c = t.Vertex(0, 2 * s, 0),
                d = t.Vertex(0, s, s);
        t.Poly({a, b, c});
        t.Poly({a, c, d}, 0, 2);
      }
      const int32_t x = pos(rng), y = height(rng), z = pos(rng);
      const int32_t k = PlaceModel(t, x, y, z);
      ASSERT_GE(k, 0);
      scene->store.objects[k]->solid = type(rng) != 9;
    }
    const std::string with = run(true, seed), without = run(false, seed);
    EXPECT_EQ(with.size(), without.size());
    EXPECT_TRUE(with == without) << "seed " << seed;
    EXPECT_FALSE(named.empty());
  }
}

}  // namespace
