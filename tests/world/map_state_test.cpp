// Map state: what a map remembers between visits and what a death undoes.
#include <cstdint>
#include <string>

#include "map_fixture.h"

namespace {

class MapStateTest : public MapTest {
 protected:
  void SetUp() override {
    MapTest::SetUp();
    WriteMap("map1_1.map", {EntRecordBytes(kTypePlayer, 0, 0, 0, 0, "", "default"),
                            EntRecordBytes(kTypeMegaRaptor, -200, 0, -200),
                            EntRecordBytes(kTypeAmmoMGun, -100, 0, -100),
                            EntRecordBytes(kTypeShipKeyCard, -50, 0, -50),
                            EntRecordBytes(kTypeBarrier, 100, 0, 100, 90)});
  }
  // Leaves alive (the state is saved) and comes back.
  void LeaveAndReturn() {
    WorldUnload(&world);
    scene->store.Release();
    Load("map1_1.map");
  }
};

TEST_F(MapStateTest, DeathBringsBackTheMapAsItWasAtEntry) {
  Load("map1_1.map");
  KindOf(kTypeAmmoMGun)->entity->active = 0;
  KindOf(kTypeShipKeyCard)->entity->active = 0;
  LeaveAndReturn();  // the ammunition is taken for good
  // The key card has no record: it is back on every entry.
  EXPECT_EQ(KindOf(kTypeShipKeyCard)->entity->active, 1);
  EXPECT_EQ(ObjectOf(KindOf(kTypeShipKeyCard))->hidden, 0);
  KindOf(kTypeBarrier)->entity->active = 0;
  KindOf(kTypeBarrier)->entity->heading = 777;
  world.player->header.state = 2;  // the death sequence is over
  WorldUpdate(&world);
  EXPECT_EQ(host.screenState, kScreenRestored);
  world.player->energy = 0;  // a dead craft does not save
  LeaveAndReturn();
  EXPECT_EQ(KindOf(kTypeBarrier)->entity->active, 1);
  EXPECT_EQ(KindOf(kTypeBarrier)->entity->heading, HeadingFromDegrees(90));
  EXPECT_EQ(KindOf(kTypeAmmoMGun)->entity->active, 0);
}

TEST_F(MapStateTest, AStateOfAnotherSizeIsNotRead) {
  for (size_t bytes : {61u, 63u, 0u}) {
    dir.Write("map1_1.sav", std::string(bytes, '\x05'));
    std::remove(dir.File("log.txt").c_str());
    Load("map1_1.map");
    EXPECT_EQ(LogCount("Map state does not match the map: map1_1.sav"), 1) << bytes;
    EXPECT_EQ(KindOf(kTypeMegaRaptor)->hitPoints, 100) << bytes;
    EXPECT_EQ(KindOf(kTypeAmmoMGun)->entity->active, 1) << bytes;
    WorldUnload(&world);
    scene->store.Release();
  }
}

TEST_F(MapStateTest, NamesAndMissingFiles) {
  struct Case {
    const char* map;
    const char* state;  // null: no map
  };
  for (const Case& c : {Case{"map1_1.map", "map1_1.sav"}, Case{"a.map", "a.sav"},
                        Case{"maps", nullptr}, Case{"", nullptr}, Case{"forest", "fo.sav"}}) {
    char name[kWorldNameBytes] = {};
    EXPECT_EQ(MapStateFileName(c.map, name), c.state != nullptr) << c.map;
    if (c.state) {
      EXPECT_STREQ(name, c.state);
    }
  }
  snprintf(host.player.previousMap, sizeof host.player.previousMap, "map");
  LoadMapState(&world);
  RestoreMapState(&world);
  EXPECT_EQ(LogCount("Trying to save a null map."), 1);
  EXPECT_EQ(LogCount("Trying to restore a null map ."), 1);
  // No backup on death: the state file stays as it is.
  snprintf(host.player.previousMap, sizeof host.player.previousMap, "map1_1.map");
  dir.Write("map1_1.sav", "abc");
  RestoreMapState(&world);
  EXPECT_EQ(dir.Read("map1_1.sav"), "abc");
  // Entering a map with no state leaves no backup behind.
  dir.Write("mapbkp.sav", "old");
  std::remove(dir.File("map1_1.sav").c_str());
  Load("map1_1.map");
  EXPECT_FALSE(dir.Exists("mapbkp.sav"));
  EXPECT_EQ(KindOf(kTypeMegaRaptor)->hitPoints, 100);
}

}  // namespace
