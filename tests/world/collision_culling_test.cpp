// Skipping objects out of reach must not change a single result of world collision.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>

#include "world/world_internal.h"
#include "world_fixture.h"

namespace {

std::vector<std::string> hits;
int32_t RecordHit(World*, void*, Entity* self, Entity* other) {
  // Entities are named by the number kept in their unused motion block.
  hits.push_back(std::to_string(self->motion[0]) + ":" +
                 std::to_string(other ? other->motion[0] : -1) + " ");
  return 0;
}
const KindFunctions kRecorder = {nullptr, nullptr, RecordHit, nullptr};

class CullingTest : public WorldTest {
 protected:
  // A rough landscape: tiles of many sizes, slopes and types, some rocks, at random places.
  void BuildField(std::mt19937& rng) {
    std::uniform_int_distribution<int32_t> pos(-6000, 6000), size(20, 900), height(-300, 300),
        type(0, 9);
    while (scene->store.count < 120) {
      TdoFile t = GroundTile(size(rng), type(rng) == 0 ? 2 : (type(rng) == 1 ? 1 : 0), height(rng),
                         height(rng), height(rng), height(rng));
      if (type(rng) < 3) {  // a rock: a few upright triangles
        int32_t s = size(rng);
        int32_t a = t.Vertex(-s, 0, 0), b = t.Vertex(s, 0, 0), c = t.Vertex(0, 2 * s, 0), d = t.Vertex(0, s, s);
        t.Poly({a, b, c});
        t.Poly({a, c, d}, 0, 2);
      }
      const int32_t x = pos(rng), y = height(rng), z = pos(rng);
      const int32_t k = PlaceModel(t, x, y, z);
      ASSERT_GE(k, 0);
      scene->store.objects[k]->solid = type(rng) != 9;
    }
  }
  // Runs the same entities over the field; every entity field and every hit, in order.
  std::string Run(bool culling, uint32_t seed) {
    WorldCollisionCulling = culling;
    hits.clear();
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
        Entity* e = m->entities[i];
        e->turnLeft = uint8_t(turn(rng) == 0);
        e->turnRight = uint8_t(turn(rng) == 1);
      }
      FrameDeltaMs = 40 + tick % 3;
      UpdateEntities(&world, m);
      for (int32_t i = 0; i < m->count; ++i) {
        Entity copy = *m->entities[i];
        copy.kind = nullptr;
        state.append(reinterpret_cast<const char*>(&copy), sizeof copy);
      }
    }
    for (const std::string& h : hits) state += h;
    state += std::to_string(craft.energy);
    DestroyEntityManager(&world, m);
    world.player = nullptr;
    WorldCollisionCulling = true;
    return state;
  }
};

TEST_F(CullingTest, SkippingUnreachableObjectsChangesNothing) {
  SetKindFunctionsForTest(kTypeStegoTank, &kRecorder);
  SetKindFunctionsForTest(kTypePlayer, &kRecorder);
  for (uint32_t seed : {1u, 2u, 3u}) {
    scene->store.Release();
    std::mt19937 rng(seed);
    BuildField(rng);
    std::string with = Run(true, seed), without = Run(false, seed);
    EXPECT_EQ(with.size(), without.size());
    EXPECT_TRUE(with == without) << "seed " << seed;
    EXPECT_GT(hits.size(), 0u);
  }
}

}  // namespace
