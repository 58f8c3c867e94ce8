// The baked first map through the world's own loader: both entry points, ground under the
// craft, its map state, and the real explosion flip-book.
#include <cstdint>
#include <filesystem>
#include <string>

#include "map_fixture.h"

namespace {

namespace fs = std::filesystem;

class BakedMapTest : public MapTest {
 protected:
  void SetUp() override {
    MapTest::SetUp();
    const std::string game = GameDataDir();
    if (!fs::exists(game + "/map1_1.map")) GTEST_SKIP() << "map1_1 is not baked";
    // Every baked data file, linked; what the game writes stays in the scratch directory.
    for (const auto& e : fs::directory_iterator(game)) {
      std::string name = e.path().filename().string();
      if (!e.is_regular_file() || name == "log.txt" || fs::exists(dir.File(name)) ||
          name.ends_with(".sav") || name == "kvr_playerdata.dat")
        continue;
      fs::create_symlink(e.path(), dir.File(name));
    }
  }
  // The loader's own failure lines that a good map never produces.
  int LoaderErrors() const {
    int n = 0;
    for (const char* line :
         {"Error reading 3d map (1)", "Error reading 3d map (7)", "Error reading 3d map (8)",
          "Error loading tex pack", "Error loading ents.tex", "Error opening .ent file",
          "Error loading entities", "Player entity not found!", "Max entities reached.",
          "Ship entity already loaded!", "Max tdobjects reached"})
      n += LogCount(line);
    return n + int(dir.Log().find("Error loading object number") != std::string::npos);
  }
};

TEST_F(BakedMapTest, BothEntryPointsPutTheCraftOnTheGround) {
  struct Case {
    const char* entry;
    int32_t x, z, degrees;
  };
  for (const Case& c : {Case{"default", 3000, 2700, 20}, Case{"canyon", 6420, 9300, 180}}) {
    snprintf(host.player.entryPoint, sizeof host.player.entryPoint, "%s", c.entry);
    Load("map1_1.map");
    EXPECT_EQ(LoaderErrors(), 0) << dir.Log();
    ASSERT_NE(world.player, nullptr) << c.entry;
    EXPECT_EQ(std::count(kindCalls.begin(), kindCalls.end(), "create 1"), 1);
    Entity* e = world.player->header.entity;
    EXPECT_EQ(e->x, c.x) << c.entry;
    EXPECT_EQ(e->z, c.z) << c.entry;
    EXPECT_EQ(e->heading, HeadingFromDegrees(c.degrees)) << c.entry;
    // Settled: standing on a ground polygon, and further steps do not move it.
    EXPECT_NE(e->planeY, 0) << c.entry;
    int32_t y = e->y;
    for (int i = 0; i < 20; ++i) WorldUpdate(&world);
    EXPECT_EQ(e->y, y) << c.entry;
    WorldUnload(&world);
    scene->store.Release();
    kindCalls.clear();
  }
}

TEST_F(BakedMapTest, TheStateOfMap1_1IsKeptInItsOwnFileAndReadBack) {
  Load("map1_1.map");
  int64_t bytes = 0;
  for (KindHeader* k : Kinds()) bytes += MapStateRecordBytes(k->type);
  WorldUnload(&world);
  ASSERT_TRUE(dir.Exists("map1_1.sav"));
  EXPECT_EQ(int64_t(dir.Read("map1_1.sav").size()), bytes);
  EXPECT_FALSE(dir.Exists("mapbkp.sav"));  // the first entry had no state to back up
  scene->store.Release();
  Load("map1_1.map");
  EXPECT_EQ(dir.Read("mapbkp.sav"), dir.Read("map1_1.sav"));
  EXPECT_EQ(dir.Log().find("Map state does not match"), std::string::npos);
}

TEST_F(BakedMapTest, TheRealFlipBookLoadsWholeAndSilently) {
  std::remove(dir.File("log.txt").c_str());
  ExplosionManager* m = CreateExplosionManager(&world, scene.get());
  EXPECT_EQ(dir.Log(), "");
  EXPECT_NE(m->anims[7]->images[30], -1);
  EXPECT_EQ(m->anims[7]->images[31], -1);
  DestroyExplosionManager(&world, m);
}

}  // namespace
