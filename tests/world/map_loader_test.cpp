// Map loading, the world step and unloading.
#include <cstdint>
#include <string>

#include "map_fixture.h"

namespace {

TEST_F(MapTest, TheTenStepsLoadObjectsKindsAndStartPlay) {
  WriteMap("map1_1.map", {EntRecordBytes(kTypePlayer, 100, 0, 200, 90, "", "north", 5),
                          EntRecordBytes(kTypePlayer, -300, 0, -300, 180, "", "default", 6),
                          EntRecordBytes(kTypeMegaRaptor, -200, 0, -250),
                          EntRecordBytes(kTypeBarrier, 0, 0, 0, 45),
                          EntRecordBytes(kTypeXBomb, 10, 0, 10, 45),
                          EntRecordBytes(kTypePteranoFlyer, 10, 0, 10),
                          EntRecordBytes(kTypeMapExit, 1, 2, 3, 0, "map1_2.map", "south"),
                          EntRecordBytes(kTypeMapMarker, 0, 0, 0),
                          EntRecordBytes(kTypeRocket, 0, 0, 0), EntRecordBytes(77, 0, 0, 0)});
  Load("map1_1.map");
  EXPECT_EQ(world.loadingStep, 10);
  EXPECT_EQ(world.worldState, kWorldPlaying);
  EXPECT_EQ(host.screenState, kScreenPlaying);
  EXPECT_STREQ(host.player.previousMap, "map1_1.map");
  // Only the player record of the entry point is made; markers and projectiles make none.
  std::vector<std::string> creates(kindCalls.begin(), kindCalls.begin() + 6);
  EXPECT_EQ(creates, (std::vector<std::string>{"create 1", "create 6", "create 16", "create 20",
                                               "create 7", "create 10"}));
  ASSERT_EQ(Kinds().size(), 6u);
  ASSERT_NE(world.player, nullptr);
  Entity* p = world.player->header.entity;
  EXPECT_EQ(p->w, 6);
  EXPECT_EQ(p->heading, HeadingFromDegrees(180));
  EXPECT_EQ(world.cameraHeading, p->heading);
  EXPECT_EQ(scene->cameraAngle.y, p->heading);
  EXPECT_EQ(p->x, -300);
  EXPECT_EQ(p->z, -300);
  EXPECT_EQ(KindOf(kTypeBarrier)->entity->heading, HeadingFromDegrees(45));
  EXPECT_EQ(KindOf(kTypeXBomb)->entity->heading, 0);
  EXPECT_STREQ(reinterpret_cast<FakeKind*>(KindOf(kTypeMapExit))->record.tag, "map1_2.map");
  EXPECT_EQ(scene->fogMode, 1);
  // The second tile, stored at z = 100, stands at z = -100; both are solid map geometry.
  EXPECT_EQ(scene->store.objects[1]->z, -100);
  EXPECT_EQ(scene->store.objects[1]->x, 800);
  EXPECT_EQ(scene->store.objects[0]->solid, 1);
  // 60 settling updates and one world step: the craft hovers on the ground.
  EXPECT_EQ(p->y, 93);
  EXPECT_EQ(p->age, 61 * 40);
  EXPECT_EQ(kindCalls.back(), "update 10");
  EXPECT_EQ(hookCalls, (std::vector<std::string>{"engine", "camera", "weapon", "ammo"}));
  EXPECT_EQ(host.sound->masterVolume, 200);
  EXPECT_EQ(LogCount("Error loading background"), 1);  // the test has no sky control
  EXPECT_EQ(LogCount("Player entity not found!"), 0);
  EXPECT_TRUE(dir.Exists("kvr_playerdata.dat"));
}

TEST_F(MapTest, EntityListNameCutsTheLastFourCharacters) {
  struct Case {
    const char* map;
    const char* ent;
  };
  for (const Case& c : {Case{"map1_1.map", "map1_1.ent"}, Case{"forest", "fo.ent"},
                        Case{"m1.mp", "m.ent"}}) {
    std::vector<MapObject> objects(1);
    objects[0].model = GroundTile(400);
    dir.Write(c.map, MapFile(objects, "desert.tex", "sky.spr"));
    dir.Write(c.ent, EntFile({EntRecordBytes(kTypePlayer, 0, 0, 0, 0, "", "default")}));
    Load(c.map);
    EXPECT_NE(world.player, nullptr) << c.map;
    WorldUnload(&world);
    scene->store.Release();
  }
  EXPECT_EQ(LogCount("Player entity not found!"), 0);
}

TEST_F(MapTest, NoMatchingPlayerRecord) {
  WriteMap("map1_1.map", {EntRecordBytes(kTypePlayer, 0, 0, 0, 0, "", "north")});
  Load("map1_1.map");
  EXPECT_EQ(world.player, nullptr);
  EXPECT_EQ(LogCount("Player entity not found!"), 1);
  EXPECT_TRUE(kindCalls.empty());
}

TEST_F(MapTest, EntityCountsOutsideTheTableAreRefusedBeforeReading) {
  struct Case {
    int32_t count;
    size_t records;
    int errors, creates;
  };
  for (const Case& c : {Case{51, 51, 1, 0}, Case{-1, 1, 1, 0}, Case{0, 0, 0, 0},
                        Case{3, 2, 1, 2}, Case{50, 50, 0, 50}}) {
    kindCalls.clear();
    std::vector<std::string> ent(c.records, EntRecordBytes(kTypePlayer, 0, 0, 0, 0, "", "default"));
    WriteMap("map1_1.map", {});
    dir.Write("map1_1.ent", EntFile(ent, c.count));
    std::remove(dir.File("log.txt").c_str());
    Load("map1_1.map");
    EXPECT_EQ(LogCount("Error loading entities"), c.errors) << c.count;
    EXPECT_EQ(int(kindCalls.size() - std::count(kindCalls.begin(), kindCalls.end(), "update 1")),
              c.creates) << c.count;
    EXPECT_EQ(LogCount("Player entity not found!"), c.creates == 0 ? 1 : 0) << c.count;
    WorldUnload(&world);
    scene->store.Release();
  }
}

TEST_F(MapTest, ATaggedStegoTankWaitsForTheKeyCard) {
  for (uint8_t haveCard : {0, 1}) {
    host.player.haveShipKeyCard = haveCard;
    WriteMap("map1_1.map", {EntRecordBytes(kTypePlayer, 0, 0, 0, 0, "", "default"),
                            EntRecordBytes(kTypeStegoTank, 50, 0, 50, 0, "HaveShipKeyCard"),
                            EntRecordBytes(kTypeStegoTank, 60, 0, 60),
                            EntRecordBytes(kTypeHoverChasmo, 70, 0, 70, 0, "NeuralLinkDown")});
    Load("map1_1.map");
    KindHeader* tagged = KindOf(kTypeStegoTank, 0);
    EXPECT_EQ(ObjectOf(tagged)->hidden, haveCard ? 0 : 1);
    EXPECT_EQ(tagged->entity->active, haveCard);
    EXPECT_EQ(KindOf(kTypeStegoTank, 1)->entity->active, 1);
    EXPECT_EQ(KindOf(kTypeHoverChasmo)->entity->active, 0);  // the link still stands
    WorldUnload(&world);
    scene->store.Release();
  }
}

TEST_F(MapTest, DamagedMapFiles) {
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> logs;
    int32_t objects;
  };
  std::vector<MapObject> one(1);
  one[0].model = GroundTile(400);
  std::string good = MapFile(one, "desert.tex", "sky.spr");
  std::vector<MapObject> many(141);
  for (MapObject& o : many) o.model = GroundTile(10);
  std::vector<Case> cases = {
      {"negative count", MapFile({}, "desert.tex", "sky.spr", -5), {"Error reading 3d map (1)"}, 0},
      {"empty", "", {"Error reading 3d map (1)", "Error reading 3d map (7)",
                     "Error reading 3d map (8)"}, 0},
      // The names' zeros read as objects of 82 bytes without vertices, then what is left
      // is short.
      {"count beyond the objects", MapFile(one, "", "", 2), {"Error reading 3d map (8)"}, 2},
      {"count far beyond the objects", MapFile(one, "", "", 8),
       {"Error reading 3d map (5)", "Error reading 3d map (6)",
        "Error loading object number 7 from 3d map file."}, 7},
      {"names cut short", good.substr(0, good.size() - 300), {"Error reading 3d map (8)"}, 1},
      {"more objects than the store holds", MapFile(many, "a", "b"),
       {"Error loading object number 140 from 3d map file."}, 140},
  };
  for (const Case& c : cases) {
    dir.Write("bad.map", c.bytes);
    dir.Write("bad.ent", EntFile({EntRecordBytes(kTypePlayer, 0, 0, 0, 0, "", "default")}));
    std::remove(dir.File("log.txt").c_str());
    Load("bad.map");
    for (const std::string& line : c.logs) EXPECT_EQ(LogCount(line), 1) << c.what << ": " << line;
    int32_t mapObjects = 0;
    for (int32_t k = 0; k < scene->store.count; ++k) mapObjects += !scene->store.objects[k]->entity;
    EXPECT_EQ(mapObjects, c.objects) << c.what;
    WorldUnload(&world);
    scene->store.Release();
  }
  // A missing map file is named.
  snprintf(host.player.nextMap, sizeof host.player.nextMap, "nowhere.map");
  std::remove(dir.File("log.txt").c_str());
  Load("nowhere.map");
  EXPECT_EQ(LogCount("Error opening 3d map file nowhere.map"), 1);
  EXPECT_EQ(LogCount("Error opening .ent file"), 1);
}

TEST_F(MapTest, TheWorldStepAnswersTheCraftAndTheShip) {
  WriteMap("map1_1.map", {EntRecordBytes(kTypePlayer, 0, 0, 0, 0, "", "default"),
                          EntRecordBytes(kTypeShip, 0, 0, 300, 0)});
  Load("map1_1.map");
  struct Case {
    int32_t state, cameraMode;
  };
  for (const Case& c : {Case{1, 4}, Case{3, 5}, Case{4, 5}}) {
    world.cameraMode = 1;
    world.player->header.state = c.state;
    WorldUpdate(&world);
    EXPECT_EQ(world.cameraMode, c.cameraMode) << c.state;
  }
  world.player->header.state = 0;
  auto* ship = static_cast<ShipHead*>(world.ship);
  ship->departureCounter = 99;
  int32_t playTime = world.playTime;
  WorldUpdate(&world);
  EXPECT_EQ(world.playTime, playTime + 40);
  EXPECT_EQ(world.worldState, kWorldPlaying);
  ship->departureCounter = 100;
  snprintf(host.player.nextMap, sizeof host.player.nextMap, "map3_3.map");
  WorldUpdate(&world);
  EXPECT_EQ(world.worldState, kWorldClosing);
  EXPECT_STREQ(host.player.nextMap, "map1_1.map");  // a new campaign
  // The closing pause: 5000 ms, then back to the main menu.
  FrameDeltaMs = 1000;
  for (int i = 0; i < 4; ++i) WorldUpdate(&world);
  EXPECT_EQ(world.worldState, kWorldClosing);
  WorldUpdate(&world);
  EXPECT_EQ(world.worldState, kWorldPlaying);
  EXPECT_EQ(host.screenState, kScreenToMainMenu);
  EXPECT_EQ(world.closingTimer, 0);
}

TEST_F(MapTest, UnloadDestroysKindsInListOrder) {
  WriteMap("map1_1.map", {EntRecordBytes(kTypeEnergyPack, 0, 0, 0),
                          EntRecordBytes(kTypePlayer, 0, 0, 0, 0, "", "default"),
                          EntRecordBytes(kTypeMegaRaptor, 0, 0, 0)});
  Load("map1_1.map");
  kindCalls.clear();
  WorldUnload(&world);
  EXPECT_EQ(kindCalls, (std::vector<std::string>{"destroy 11", "destroy 1", "destroy 6"}));
  EXPECT_EQ(world.worldState, kWorldUnloaded);
  EXPECT_EQ(world.loadingStep, 0);
  EXPECT_FALSE(WorldMapLoaded(&world));
  EXPECT_EQ(world.player, nullptr);
  EXPECT_TRUE(dir.Exists("map1_1.sav"));  // the craft lived: the state was kept
}

TEST_F(MapTest, RestoringThePlayerPutsTheSavedBlocksBack) {
  WriteMap("map1_1.map", {EntRecordBytes(kTypePlayer, 0, 0, 0, 0, "", "default")});
  host.player.restorePlayer = 1;
  snprintf(host.player.previousMap, sizeof host.player.previousMap, "map1_1.map");
  for (int i = 0; i < 4; ++i) {
    host.player.position[i] = 10 + i;
    host.player.direction[i] = 20 + i;
    host.player.motion[i] = 30 + i;
    host.player.velocity[i] = 40 + i;
  }
  host.player.heading = 12345;
  host.player.engineOn = 7;
  Load("map1_1.map");
  Entity* e = world.player->header.entity;
  EXPECT_EQ(e->heading, 12345);
  EXPECT_EQ(world.cameraHeading, 12345);
  EXPECT_EQ(e->dirW, 23);
  EXPECT_EQ(e->motion[3], 33);
  EXPECT_EQ(e->vw, 43);
  EXPECT_EQ(e->w, 13);
  EXPECT_EQ(e->thrust, 1);
}

}  // namespace
