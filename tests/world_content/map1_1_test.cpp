// The baked first map read as the game reads it: the tools' ground rule against the entity
// manager's, and room in the frame's soups. (Ground under every point, the cell lines
// included, is the map builder's test; walls stopping an entity the world's.)
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/core.h"
#include "engine3d/engine3d.h"
#include "gfx2d/gfx2d.h"
#include "map_builder.h"
#include "map_reader.h"
#include "test_support.h"
#include "world/kinds.h"
#include "world/world.h"
#include "world/world_internal.h"

namespace {

class Map1_1 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(math.Create(0));
    Math = &math;
    gfx.Create(0, 240, 320, FrameBuffer);  // the explosions' sprites go to its table
    Gfx2D = &gfx;
    engine = std::make_unique<Engine3D>();
    ASSERT_EQ(engine->Create(nullptr, "TDENG", 0, 0, 240, 320), 1);
    ASSERT_TRUE(LoadMapWithGame(*engine, GameDataDir(), "map1_1.map", "default", 2800, &loaded));
  }
  void TearDown() override {
    engine->Destroy();
    Gfx2D = nullptr;
    Math = nullptr;
    math.Destroy();
  }
  UseGameData data;
  MathTables math;
  Graphics2D gfx;
  std::unique_ptr<Engine3D> engine;
  LoadedMap loaded;
};

// The tools' copy of the "under the entity" rule answers as the entity manager's own.
TEST_F(Map1_1, ToolsAndWorldAgreeOnTheGroundRule) {
  int compared = 0;
  for (int32_t z = 0; z <= 12000; z += 125)
    for (int32_t x = 0; x <= 12000; x += 125) {
      GroundHit hit;
      ASSERT_TRUE(FindGround(*engine, x, z, &hit));
      int32_t object = -1, polygon = -1;
      for (int32_t k = 0; k < engine->store.count && object < 0; ++k) {
        const Object3D* o = engine->store.Get(k);
        if (!o->solid || o->entity) continue;
        for (int32_t p = 0; p < o->polygonCount; ++p)
          if (PolygonUnder(o, o->polygons[p], x, z)) {
            object = k, polygon = p;
            break;
          }
      }
      EXPECT_EQ(object, hit.object) << x << "," << z;
      EXPECT_EQ(polygon, hit.polygon) << x << "," << z;
      ++compared;
    }
  EXPECT_GT(compared, 9000);
}

// Seen from anywhere on the map in any direction, the scenery leaves the frame's soups
// (2800 polygons, 5000 vertices) room for the entity models and sprites.
TEST_F(Map1_1, SceneryLeavesRoomInEveryFrame) {
  engine->SetVisibility(4000);
  // The scenery alone: the kinds' models are what the room is left for.
  for (int32_t k = 0; k < engine->store.count; ++k)
    if (engine->store.Get(k)->entity) engine->store.Get(k)->hidden = 1;
  int32_t worstPolygons = 0, worstVertices = 0;
  for (int32_t z = 1000; z <= 11000; z += 1000)
    for (int32_t x = 1000; x <= 11000; x += 1000) {
      GroundHit hit;
      ASSERT_TRUE(FindGround(*engine, x, z, &hit));
      for (int32_t h = 0; h < 8; ++h) {
        engine->cameraPos = {x, hit.y + 180, z};
        engine->cameraAngle = {4000, h * 65536, 0};
        engine->DrawFrame(FrameBuffer);
        worstPolygons = std::max(worstPolygons, engine->polygonsUsed);
        worstVertices = std::max(worstVertices, engine->verticesUsed);
      }
    }
  EXPECT_LE(worstPolygons, 2200);
  EXPECT_LE(worstVertices, 4000);
  printf("worst frame: %d polygons, %d vertices of scenery\n", worstPolygons, worstVertices);
}

}  // namespace
