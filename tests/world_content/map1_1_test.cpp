// The baked first map read as the game reads it: the tools' ground rule against the entity
// manager's, a drive along the cell lines, room in the frame's soups, the explosion frames.
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

// A stand-in driver for the entity manager: nothing but its records.
class QuietHost : public WorldHost {
 public:
  Settings& GetSettings() override { return settings; }
  PlayerData& GetPlayerData() override { return player; }
  uint8_t GetScreenState() override { return 0; }
  void SetScreenState(uint8_t) override {}
  void SetFadeOut() override {}
  void SetFadeReset() override {}
  void ShowHudMessage(const char*) override {}
  FormManager* GetForms() override { return nullptr; }
  SoundSystem* GetSound() override { return nullptr; }
  Settings settings = {};
  PlayerData player = {};
};

// A ground entity driven by the real entity manager straight along a cell line (where the
// strict inside test finds nothing unless the cells overlap) finds ground under it at every
// step, crosses lava, and is stopped by the walls: the mesa's foot going north, the border
// going east.
TEST_F(Map1_1, EntityDrivenAlongCellLinesFollowsTheGroundAndStopsAtWalls) {
  struct Drive {
    int32_t x, z, degrees;
    int32_t limit;  // z (north) or x (east) the walls must keep it below
  } drives[] = {{3000, 3250, 0, 4950}, {4500, 2000, 90, 11501}};
  for (const Drive& d : drives) {
    QuietHost host;
    World world{};
    WorldInit(&world, &host, 0);
    world.scene = engine.get();
    FrameDeltaMs = 40;
    EntityManager* manager = CreateEntityManager(&world, &engine->store);
    ASSERT_NE(manager, nullptr);
    Entity* e = AddEntity(manager, kTypeStegoTank, kModeGround, nullptr);
    ASSERT_NE(e, nullptr);
    GroundHit start;
    ASSERT_TRUE(FindGround(*engine, d.x, d.z, &start));
    e->x = d.x, e->z = d.z, e->y = start.y + MapLimits::kHover;
    e->heading = HeadingFromDegrees(d.degrees);
    SetDirectionFromHeading(e);
    e->maxSpeed = 60;
    e->radius = 100;
    e->thrust = 1;
    e->ownObject = -1;
    int lost = 0, lava = 0;
    int32_t farthest = 0;
    for (int tick = 0; tick < 400; ++tick) {
      e->planeY = 0;  // set again only when a ground polygon is found under the entity
      UpdateEntities(&world, manager);
      if (e->planeY == 0) ++lost;
      GroundHit hit;
      if (FindGround(*engine, e->x, e->z, &hit) && hit.type == 1) ++lava;
      farthest = std::max(farthest, d.degrees == 0 ? e->z : e->x);
      EXPECT_EQ(d.degrees == 0 ? e->x : e->z, d.degrees == 0 ? d.x : d.z) << "it keeps to the line";
    }
    EXPECT_EQ(lost, 0) << "steps without ground along " << d.degrees;
    EXPECT_LT(farthest, d.limit) << "a wall let it through";
    EXPECT_GT(farthest, (d.degrees == 0 ? d.z : d.x) + 1000) << "it drove";
    if (d.degrees == 90) {
      EXPECT_GT(lava, 10) << "the eastward drive crosses the lava";
    }
    DestroyEntityManager(&world, manager);
  }
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

// The explosion flip-book: 31 frames, drawn with black as the colour key, so each has
// transparent corners, a visible fireball or cloud, and no visible pixel at the key.
TEST(ExplosionFrames, ThirtyOneKeyedFrames) {
  int previousArea = -1;
  for (int f = 2; f <= 32; ++f) {
    char name[32];
    snprintf(name, sizeof name, "expl_w_smoke_%03d.spr", f);
    const std::vector<unsigned char> b = ReadWholeFile(GameDataDir() + "/" + name);
    ASSERT_GE(b.size(), 4u) << name;
    const int w = b[0] << 8 | b[1], h = b[2] << 8 | b[3];
    ASSERT_EQ(b.size(), size_t(4 + w * h * 2)) << name;
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 64);
    int area = 0;
    for (int i = 0; i < w * h; ++i) area += (b[4 + 2 * i] | b[5 + 2 * i]) != 0;
    EXPECT_EQ(b[4] | b[5], 0) << name << ": the corner must be transparent";
    EXPECT_GT(area, 60) << name;
    EXPECT_LT(area, w * h * 9 / 10) << name;
    if (f == 2) {
      EXPECT_LT(area, 1200) << "the first frame is a small flash";
    }
    previousArea = area;
  }
  EXPECT_GT(previousArea, 60);
}

}  // namespace
