// Test helpers of the world: a fake host, a scratch directory holding the baked files (the
// tests write their own models and explosion pictures over them), writers of tiny .map and
// .ent files, an entity manager over the scene, kinds made as the map loader makes them, and
// the player's craft.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/core.h"
#include "engine3d/engine3d.h"
#include "gfx2d/gfx2d.h"
#include "sound/sound.h"
#include "data_files.h"
#include "test_support.h"
#include "world/kinds.h"
#include "world/player_craft.h"
#include "world/weapons.h"
#include "world/world.h"

// What the driver would be: its records and what the world told it.
class FakeHost : public WorldHost {
 public:
  Settings& GetSettings() override { return settings; }
  PlayerData& GetPlayerData() override { return player; }
  uint8_t GetScreenState() override { return screenState; }
  void SetScreenState(uint8_t state) override { screenState = state; }
  void SetFadeOut() override { ++fadeOuts; }
  void SetFadeReset() override { ++fadeResets; }
  void ShowHudMessage(const char* text) override { messages.push_back(text); }
  FormManager* GetForms() override { return forms; }
  SoundSystem* GetSound() override { return sound; }

  Settings settings = {};
  PlayerData player = {};
  uint8_t screenState = 0;
  int fadeOuts = 0, fadeResets = 0;
  std::vector<std::string> messages;
  FormManager* forms = nullptr;
  SoundSystem* sound = nullptr;
};

// A square of ground, side 2 * half, centred on the object's origin. The corner heights are
// those at world (x, z) = (-h, -h), (-h, +h), (+h, +h), (+h, -h) of the placed object (the
// loader negates the file's z and reverses the corners; this writes what comes out right).
inline TdoFile GroundTile(int32_t half, int32_t type = 0, int32_t y0 = 0, int32_t y1 = 0,
                      int32_t y2 = 0, int32_t y3 = 0) {
  TdoFile t;
  int32_t a = t.Vertex(-half, y0, half);
  int32_t b = t.Vertex(-half, y1, -half);
  int32_t c = t.Vertex(half, y2, -half);
  int32_t d = t.Vertex(half, y3, half);
  t.Poly({d, c, b, a}, 0, type);
  return t;
}

// One object of a .map file.
struct MapObject {
  int32_t x = 0, y = 0, z = 0;  // z as stored (placed at -z)
  int32_t solid = 1;
  TdoFile model;
};

inline std::string MapFile(const std::vector<MapObject>& objects, const std::string& texPack,
                           const std::string& background, int32_t countOverride = INT32_MIN) {
  Bytes b;
  b.I32(countOverride != INT32_MIN ? countOverride : int32_t(objects.size()));
  for (const MapObject& o : objects)
    b.I32(o.x).I32(o.y).I32(o.z).Zeros(58).I32(o.solid).Raw(o.model.Bytes());
  b.Text(texPack, 256).Text(background, 256);
  return b.data;
}

inline std::string EntRecordBytes(int32_t type, int32_t x, int32_t y, int32_t z,
                                  int32_t heading = 0, const std::string& tag = "",
                                  const std::string& entry = "", int32_t w = 0) {
  Bytes b;
  b.I32(0).I32(type).I32(x).I32(y).I32(z).I32(w).I32(heading).Text(tag, 128).Text(entry, 64);
  return b.data;
}

inline std::string EntFile(const std::vector<std::string>& records,
                           int32_t countOverride = INT32_MIN) {
  Bytes b;
  b.I32(countOverride != INT32_MIN ? countOverride : int32_t(records.size()));
  for (const std::string& r : records) b.Raw(r);
  return b.data;
}

// A cube of side 2 * half around the origin, written under every enemy model and key-frame
// name (and the rocket's).
inline void WriteEnemyModels(const ScratchDir& dir, int32_t half) {
  TdoFile t;
  for (int i = 0; i < 8; ++i)
    t.Vertex(i & 1 ? half : -half, i & 2 ? half : -half, i & 4 ? half : -half);
  for (const std::vector<int32_t>& face :
       {std::vector<int32_t>{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4},
        {1, 5, 7, 3}})
    t.Poly(face);
  for (const char* name :
       {"megaraptor.tdo", "megaraptor_f1.tdo", "megaraptor_f2.tdo", "megaraptor_f4.tdo",
        "mrpt_expl_f1.tdo", "mrpt_expl_f2.tdo", "stegotank.tdo", "stgt_expl_f1.tdo",
        "stgt_expl_f2.tdo", "hoverchasmo.tdo", "hv_expl_f1.tdo", "hv_expl_f2.tdo",
        "pteranoflyer.tdo", "ptr_expl_f1.tdo", "ptr_expl_f2.tdo", "shootingtower.tdo",
        "stt_expl_f1.tdo", "stt_expl_f2.tdo", "rocket.tdo"})
    dir.Write(name, t.Bytes());
}

// Scratch directory with the baked files, explosion frames of their own (frame n a 4 x 4
// picture of the value n); Math, Gfx2D, a sound system and a scene engine over the frame.
class WorldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.LinkGameData();
    for (int n = 2; n <= 32; ++n) {
      char name[32];
      snprintf(name, sizeof name, "expl_w_smoke_%03d.spr", n);
      dir.Write(name, SprFill(4, 4, uint16_t(n)));
    }
    ASSERT_TRUE(math.Create(0));
    Math = &math;
    gfx = std::make_unique<Graphics2D>();
    gfx->Create(0, 240, 320, FrameBuffer);
    Gfx2D = gfx.get();
    host.sound = CreateSoundSystem(nullptr);
    scene = std::make_unique<Engine3D>();
    ASSERT_EQ(scene->Create(nullptr, "TDENG", 0, 0, 240, 320), 1);
    WorldInit(&world, &host, 0);
    world.scene = scene.get();
    FrameDeltaMs = 40;
  }
  void TearDown() override {
    for (int t = 1; t <= kLastTypeCode; ++t) SetKindFunctionsForTest(t, nullptr);
    SetPlayerHooksForTest(nullptr);
    scene->Destroy();
    DestroySoundSystem(host.sound);
    Gfx2D = nullptr;
    math.Destroy();
    Math = nullptr;
  }
  // Loads a model as solid map geometry placed at (x, y, z); its index in the store.
  int32_t PlaceModel(const TdoFile& model, int32_t x, int32_t y, int32_t z) {
    const std::string bytes = model.Bytes();
    ByteReader in{reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
    const int32_t k = scene->store.LoadFromBytes(&in, 0, 0);
    EXPECT_GE(k, 0);
    if (k >= 0) scene->store.SetPosition(k, x, y, z), scene->store.objects[k]->solid = 1;
    return k;
  }
  // Count of log lines equal to text.
  int LogCount(const std::string& text) const {
    std::string log = dir.Log();
    int n = 0;
    size_t at = 0;
    while ((at = log.find(text + "\n", at)) != std::string::npos) {
      if (at == 0 || log[at - 1] == '\n') ++n;
      at += text.size();
    }
    return n;
  }

  ScratchDir dir;
  MathTables math;
  std::unique_ptr<Graphics2D> gfx;
  std::unique_ptr<Engine3D> scene;
  FakeHost host;
  World world = {};
};

// An entity manager over the scene's store, and a recorder of the collisions of the types
// given it: (self, other), other null for the map.
class EntitiesTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    world.entities = CreateEntityManager(&world, &scene->store);
    ASSERT_NE(world.entities, nullptr);
    hits.clear();
  }
  void TearDown() override {
    DestroyEntityManager(&world, world.entities);
    WorldTest::TearDown();
  }
  Entity* Add(int32_t type, int32_t mode, int32_t x = 0, int32_t y = 0, int32_t z = 0) {
    Entity* e = AddEntity(world.entities, type, mode, nullptr);
    e->x = x, e->y = y, e->z = z;
    e->ownObject = -1;
    return e;
  }
  static int32_t Record(World*, void*, Entity* self, Entity* other) {
    hits.push_back({self, other});
    return 0;
  }
  static inline std::vector<std::pair<Entity*, Entity*>> hits;
  static inline const KindFunctions kRecorder = {nullptr, nullptr, Record, nullptr};
};

// Kinds made from .ent records as the map loader makes them, the explosion pool, and a bare
// craft record with its entity, alive, far away.
class KindTest : public EntitiesTest {
 protected:
  void SetUp() override {
    EntitiesTest::SetUp();
    world.explosions = CreateExplosionManager(&world, scene.get());
    SetFirstStartPlayerData(&host.player);
    host.player.skillLevel = 2;
    craft.header.type = kTypePlayer;
    craft.energy = 250;
    craft.craftObject = scene->store.LoadShared("energypack.tdo", 1, 2);
    craft.entity = craft.header.entity = AddEntity(world.entities, kTypePlayer, kModeGround, &craft);
    craft.entity->ownObject = craft.header.object = -1;
    craft.entity->radius = 100;
    PlacePlayer(0, 100, 100000);
    world.player = &craft;
  }
  void TearDown() override {
    for (void* kind : kinds) {
      const KindFunctions* f = KindFunctionsFor(static_cast<KindHeader*>(kind)->type);
      if (f->destroy) f->destroy(&world, kind);
      MemFree(kind);
    }
    DestroyExplosionManager(&world, world.explosions);
    EntitiesTest::TearDown();
  }
  KindHeader* Make(int32_t type, const std::string& tag = "", const std::string& entry = "") {
    EntRecord r = {};
    r.type = type;
    snprintf(r.tag, sizeof r.tag, "%s", tag.c_str());
    snprintf(r.entry, sizeof r.entry, "%s", entry.c_str());
    void* kind = KindFunctionsFor(type)->create(&world, r);
    EXPECT_NE(kind, nullptr);
    kinds.push_back(kind);
    return static_cast<KindHeader*>(kind);
  }
  void Update(void* kind, int steps = 1) {
    for (int i = 0; i < steps; ++i)
      KindFunctionsFor(static_cast<KindHeader*>(kind)->type)->update(&world, kind);
  }
  void PlacePlayer(int32_t x, int32_t y, int32_t z) {
    craft.entity->x = x, craft.entity->y = y, craft.entity->z = z;
  }
  Object3D* Object(int32_t index) { return scene->store.Get(index); }
  bool Hidden(const KindHeader* k) { return Object(k->object)->hidden != 0; }

  PlayerCraft craft = {};
  std::vector<void*> kinds;
};

// The player's craft made from the player data on an empty map, and game steps driven
// through the input latches.
class CraftTest : public EntitiesTest {
 protected:
  void SetUp() override {
    EntitiesTest::SetUp();
    world.cameraMode = 1;
    host.settings.cameraMode = 1;
    NewGameReset(&host.player);
    Input = InputState{};
    Input.inputEnabled = 1;
  }
  void TearDown() override {
    DropCraft();
    Input = InputState{};
    EntitiesTest::TearDown();
  }

  // The craft as map loading makes it: created from the player data, placed, current.
  void MakeCraft(int32_t x = 0, int32_t y = 100, int32_t z = 0, int32_t heading = 0) {
    craft = static_cast<PlayerCraft*>(kPlayerKind.create(&world, EntRecord{}));
    ASSERT_NE(craft, nullptr);
    ASSERT_NE(craft->entity, nullptr);
    Entity* e = craft->entity;
    e->x = x;
    e->y = y;
    e->z = z;
    e->heading = heading;
    SetDirectionFromHeading(e);
    world.player = craft;
  }

  // Destroys the craft as map unloading does (it writes the player data).
  void DropCraft() {
    if (craft) kPlayerKind.destroy(&world, craft);
    MemFree(craft);
    craft = nullptr;
    world.player = nullptr;
  }

  // A new empty map on a new scene, so cases of a table do not fill the tables.
  void FreshMap() {
    DropCraft();
    DestroyEntityManager(&world, world.entities);
    victims.clear();
    scene->Destroy();
    scene = std::make_unique<Engine3D>();
    ASSERT_EQ(scene->Create(nullptr, "TDENG", 0, 0, 240, 320), 1);
    world.scene = scene.get();
    world.entities = CreateEntityManager(&world, &scene->store);
    world.ship = nullptr;
  }

  // An entity of another kind with a kind record, as enemies have. A bare record stands in
  // for the kind, so the kind's own functions must not run on it.
  Entity* AddVictim(int32_t type, int32_t x, int32_t y, int32_t z, int32_t hitPoints = 100) {
    static const KindFunctions kBareKind = {};
    SetKindFunctionsForTest(type, &kBareKind);
    victims.push_back(std::make_unique<KindHeader>(KindHeader{type, nullptr, -1, hitPoints, 0}));
    Entity* e = Add(type, -1, x, y, z);
    e->kind = victims.back().get();
    e->radius = 100;
    return victims.back()->entity = e;
  }

  // One world step as the world update runs it, then the latches shift as after a step.
  void Step(int n = 1) {
    for (int i = 0; i < n; ++i) {
      UpdateEntities(&world, world.entities);
      kPlayerKind.update(&world, craft);
      UpdateCamera(&world);
      for (ActionLatch& a : Input.action) a.previous = a.current;
    }
  }
  void Hold(int slot) { Input.action[slot].current = 1; }
  void Release(int slot) { Input.action[slot].current = 0; }
  // Pressed for one step, released for the next.
  void Tap(int slot) {
    Hold(slot);
    Step();
    Release(slot);
    Step();
  }

  int FlyingShots(const ShotWeapon* gun) const {
    int n = 0;
    for (int i = 0; i < gun->shotCount; ++i) n += gun->shots[i].state == kShotFlying;
    return n;
  }

  PlayerCraft* craft = nullptr;
  std::vector<std::unique_ptr<KindHeader>> victims;
};
