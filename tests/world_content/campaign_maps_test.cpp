// Every campaign map, entered at each of its entry points, loads through the game's own
// loader with every kind it names: not one log line (a full object store or a missing model
// would say so), the craft placed at its entry, and the look its system was given.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "campaign_check.h"
#include "core/core.h"
#include "engine3d/engine3d.h"
#include "gfx2d/gfx2d.h"
#include "map_reader.h"
#include "test_support.h"

namespace {

class CampaignMaps : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(math.Create(0));
    Math = &math;
    gfx.Create(0, 240, 320, FrameBuffer);
    Gfx2D = &gfx;
  }
  void TearDown() override {
    Gfx2D = nullptr;
    Math = nullptr;
    math.Destroy();
  }
  UseGameData data;
  MathTables math;
  Graphics2D gfx;
};

TEST_F(CampaignMaps, EveryEntryPointLoadsWithoutALogLine) {
  // The pack and sky of each system, in system order.
  const char* const packs[] = {"map1.tex", "map2.tex", "map3.tex", "map4.tex", "map5.tex", "map6.tex"};
  const char* const skies[] = {"sky_desert.spr",   "sky_ice.spr",   "sky_jungle.spr",
                               "sky_volcanic.spr", "sky_night.spr", "sky_storm.spr"};
  int loads = 0;
  for (const char* map : kCampaignMaps) {
    SCOPED_TRACE(map);
    std::vector<EntRow> rows;
    std::string why;
    ASSERT_TRUE(ParseEnt(ReadWholeFile(GameDataDir() + "/" + map + ".ent"), &rows, &why)) << why;
    const int system = map[3] - '0';
    for (const EntRow& r : rows) {
      if (r.type != 1) continue;
      SCOPED_TRACE(r.entry);
      auto engine = std::make_unique<Engine3D>();
      ASSERT_EQ(engine->Create(nullptr, "TDENG", 0, 0, 240, 320), 1);
      LoadedMap loaded;
      ASSERT_TRUE(LoadMapWithGame(*engine, GameDataDir(), std::string(map) + ".map", r.entry, 2800, &loaded));
      // The stand-in driver has no form: only the notes about its missing controls may show.
      for (const std::string& line : loaded.log) EXPECT_NE(line.find("ptr"), std::string::npos) << line;
      EXPECT_LT(engine->store.count, kMaxObjects) << "the store is full";
      EXPECT_EQ(loaded.pack, packs[system - 1]);
      EXPECT_EQ(loaded.sky, skies[system - 1]);
      engine->Destroy();
      ++loads;
    }
  }
  EXPECT_EQ(loads, 17);  // every map has one entry point, a map with a gate back one more
}

}  // namespace

namespace {

// The ammunition each map hands out can destroy every enemy it holds (those that appear with
// a mission flag included) with a quarter to spare for misses, counting each weapon at the
// damage its weakest victim takes: a bullet of two rounds 5, a plasma charge 10, a rocket
// bursting 400 units away 35. And every map has energy to pick up.
TEST(CampaignBalance, EveryMapCarriesTheAmmunitionForItsEnemies) {
  struct Worth {
    int32_t type, value;
  };
  const Worth hitPoints[] = {{6, 200}, {5, 300}, {23, 230}, {7, 130}, {18, 200}};
  const Worth damage[] = {{12, 200 / 2 * 5}, {13, 100 * 10}, {14, 4 * 35}};
  for (const char* map : kCampaignMaps) {
    SCOPED_TRACE(map);
    std::vector<EntRow> rows;
    std::string why;
    ASSERT_TRUE(ParseEnt(ReadWholeFile(GameDataDir() + "/" + map + ".ent"), &rows, &why)) << why;
    int32_t need = 0, have = 0, energy = 0;
    for (const EntRow& r : rows) {
      for (const Worth& w : hitPoints) need += r.type == w.type ? w.value : 0;
      for (const Worth& w : damage) have += r.type == w.type ? w.value : 0;
      energy += r.type == 11;
    }
    EXPECT_GE(have * 4, need * 5) << have << " damage of ammunition for " << need << " hit points";
    EXPECT_GE(energy, 2);
  }
}

}  // namespace
