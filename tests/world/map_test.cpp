// Map loading in its ten steps, the world step and unloading, and what a map remembers
// between visits and what a death undoes: fake kinds for every type record what the world
// asks of them, over a scratch map written in the documented layouts.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "world_fixture.h"

namespace {

// The world's calls to the fake kinds, in order: "create 5", "update 5", "destroy 5".
std::vector<std::string> kindCalls;

struct FakeKind {
  KindHeader header;
  int32_t departureCounter;  // a ShipHead for type 9
  EntRecord record;          // what it was made from
};

int32_t FakeMode(int32_t type) {
  switch (type) {
    case kTypePteranoFlyer: return kModeFlyer;
    case kTypeHoverChasmo: return kModeHover;
    case kTypeShootingTower: case kTypeMainframe: case kTypeNeuralLink: return kModeFixed;
    default: return kModeGround;
  }
}

void* FakeCreate(World* world, const EntRecord& r) {
  kindCalls.push_back("create " + std::to_string(r.type));
  size_t bytes = r.type == kTypePlayer ? sizeof(PlayerCraft) : sizeof(FakeKind);
  auto* header = static_cast<KindHeader*>(AllocZeroed(bytes));
  header->type = r.type;
  header->hitPoints = 100;
  header->object = world->scene->store.Load("box.tdo", 1, 2, 0);
  header->entity = AddEntity(world->entities, r.type, FakeMode(r.type), header);
  if (header->entity) header->entity->ownObject = header->object;
  if (r.type == kTypePlayer) {
    auto* craft = reinterpret_cast<PlayerCraft*>(header);
    craft->energy = 250;
    craft->entity = header->entity;
  } else {
    reinterpret_cast<FakeKind*>(header)->record = r;
  }
  return header;
}
void FakeUpdate(World*, void* kind) {
  kindCalls.push_back("update " + std::to_string(static_cast<KindHeader*>(kind)->type));
}
void FakeDestroy(World*, void* kind) {
  kindCalls.push_back("destroy " + std::to_string(static_cast<KindHeader*>(kind)->type));
}
const KindFunctions kFakeKind = {FakeCreate, FakeUpdate, nullptr, FakeDestroy};

std::vector<std::string> hookCalls;
const PlayerHooks kFakeHooks = {
    [](World*, PlayerCraft*) { hookCalls.push_back("engine"); },
    [](World*, PlayerCraft*) { hookCalls.push_back("weapon"); },
    [](World*, PlayerCraft*) { hookCalls.push_back("ammo"); },
    [](World*) { hookCalls.push_back("camera"); },
};

class MapTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    kindCalls.clear();
    hookCalls.clear();
    for (int t = 1; t <= kLastTypeCode; ++t) SetKindFunctionsForTest(t, &kFakeKind);
    SetPlayerHooksForTest(&kFakeHooks);
    dir.Write("box.tdo", GroundTile(10).Bytes());  // every kind's model
    dir.Write("desert.tex", std::string(size_t(kTexPackBytes), '\0'));
    dir.Write("ents.tex", std::string(size_t(kTexPackBytes), '\0'));
    SetFirstStartPlayerData(&host.player);
    host.settings.cameraMode = 1;
    host.settings.visibility = 3000;
    host.settings.volume = 200;
  }
  void TearDown() override {
    if (WorldMapLoaded(&world)) WorldUnload(&world);
    WorldTest::TearDown();
  }
  // A ground map of two tiles side by side, the second stored at z = 100.
  void WriteMap(const std::string& name, const std::vector<std::string>& ent) {
    std::vector<MapObject> objects(2);
    objects[0].model = GroundTile(400);
    objects[1].x = 800;
    objects[1].z = 100;
    objects[1].model = GroundTile(400, 1);
    dir.Write(name, MapFile(objects, "desert.tex", "sky.spr"));
    std::string base = name.substr(0, name.size() - 4);
    dir.Write(base + ".ent", EntFile(ent));
  }
  void Load(const std::string& map) {
    snprintf(host.player.nextMap, sizeof host.player.nextMap, "%s", map.c_str());
    world.loadingStep = 0;
    for (int i = 0; i < kLoadingSteps; ++i) WorldLoadStep(&world);
  }
  void Unload() {
    WorldUnload(&world);
    scene->store.Release();
  }
  void ClearLog() { std::remove(dir.File("log.txt").c_str()); }
  // The kinds of the KindList in order.
  std::vector<KindHeader*> Kinds() const {
    std::vector<KindHeader*> out;
    if (world.kinds)
      for (int32_t i = 0; i < world.kinds->Count(); ++i)
        out.push_back(static_cast<KindHeader*>(world.kinds->Get(i)));
    return out;
  }
  KindHeader* KindOf(int32_t type, int nth = 0) const {
    for (KindHeader* k : Kinds())
      if (k->type == type && nth-- == 0) return k;
    return nullptr;
  }
  Object3D* ObjectOf(const KindHeader* k) const { return scene->store.Get(k->object); }
};

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
    Unload();
  }
  EXPECT_EQ(LogCount("Player entity not found!"), 0);
}

// Counts outside the table are refused before reading; only a player record of the entry
// point is made.
TEST_F(MapTest, EntityCountsOutsideTheTableAndPlayersOfOtherEntries) {
  struct Case {
    int32_t count;
    size_t records;
    const char* entry;
    int errors, creates;
  };
  for (const Case& c : {Case{51, 51, "default", 1, 0}, Case{-1, 1, "default", 1, 0},
                        Case{0, 0, "default", 0, 0}, Case{3, 2, "default", 1, 2},
                        Case{50, 50, "default", 0, 50}, Case{1, 1, "north", 0, 0}}) {
    kindCalls.clear();
    std::vector<std::string> ent(c.records, EntRecordBytes(kTypePlayer, 0, 0, 0, 0, "", c.entry));
    WriteMap("map1_1.map", {});
    dir.Write("map1_1.ent", EntFile(ent, c.count));
    ClearLog();
    Load("map1_1.map");
    EXPECT_EQ(LogCount("Error loading entities"), c.errors) << c.count;
    EXPECT_EQ(int(kindCalls.size() - std::count(kindCalls.begin(), kindCalls.end(), "update 1")),
              c.creates) << c.count;
    EXPECT_EQ(LogCount("Player entity not found!"), c.creates == 0 ? 1 : 0) << c.count;
    EXPECT_EQ(world.player != nullptr, c.creates > 0) << c.count;
    Unload();
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
    Unload();
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
    ClearLog();
    Load("bad.map");
    for (const std::string& line : c.logs) EXPECT_EQ(LogCount(line), 1) << c.what << ": " << line;
    int32_t mapObjects = 0;
    for (int32_t k = 0; k < scene->store.count; ++k) mapObjects += !scene->store.objects[k]->entity;
    EXPECT_EQ(mapObjects, c.objects) << c.what;
    Unload();
  }
  // A missing map file is named.
  ClearLog();
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
    Unload();
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

// Leaving alive and coming back: each kind of record puts back what it keeps.
TEST_F(MapStateTest, LeavingAliveKeepsWhatHappened) {
  struct Case {
    const char* what;
    int32_t type;
    int32_t hitPoints, state, active, heading;  // what the map's play left
  };
  for (const Case& c : {Case{"a damaged raptor", kTypeMegaRaptor, 37, 2, 1, 0},
                        Case{"an opened barrier", kTypeBarrier, 100, 0, 0, 777}}) {
    SCOPED_TRACE(c.what);
    Load("map1_1.map");
    KindHeader* k = KindOf(c.type);
    k->hitPoints = c.hitPoints;
    k->state = c.state;
    k->entity->active = uint8_t(c.active);
    k->entity->x = 1234, k->entity->y = 56, k->entity->z = -789, k->entity->w = 11;
    if (c.heading) k->entity->heading = c.heading;
    LeaveAndReturn();
    k = KindOf(c.type);
    EXPECT_EQ(k->hitPoints, c.hitPoints);
    EXPECT_EQ(k->state, c.state);
    EXPECT_EQ(k->entity->active, c.active);
    EXPECT_EQ(k->entity->x, 1234);
    EXPECT_EQ(k->entity->y, 56);
    EXPECT_EQ(k->entity->z, -789);
    EXPECT_EQ(k->entity->w, 11);
    if (c.heading) {
      EXPECT_EQ(k->entity->heading, c.heading);
    }
    Unload();
    std::remove(dir.File("map1_1.sav").c_str());
  }
}

TEST_F(MapStateTest, AStateOfAnotherSizeIsNotRead) {
  for (size_t bytes : {61u, 63u, 0u}) {
    dir.Write("map1_1.sav", std::string(bytes, '\x05'));
    ClearLog();
    Load("map1_1.map");
    EXPECT_EQ(LogCount("Map state does not match the map: map1_1.sav"), 1) << bytes;
    EXPECT_EQ(KindOf(kTypeMegaRaptor)->hitPoints, 100) << bytes;
    EXPECT_EQ(KindOf(kTypeAmmoMGun)->entity->active, 1) << bytes;
    Unload();
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
