// Map tests: fake kinds for every type that record what the world asks of them, and a
// scratch map written in the documented layouts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "world_fixture.h"

// The world's calls to the fake kinds, in order: "create 5", "update 5", "destroy 5".
inline std::vector<std::string> kindCalls;

struct FakeKind {
  KindHeader header;
  int32_t departureCounter;  // a ShipHead for type 9
  EntRecord record;          // what it was made from
};

inline int32_t FakeMode(int32_t type) {
  switch (type) {
    case kTypePteranoFlyer: return kModeFlyer;
    case kTypeHoverChasmo: return kModeHover;
    case kTypeShootingTower: case kTypeMainframe: case kTypeNeuralLink: return kModeFixed;
    default: return kModeGround;
  }
}

inline void* FakeCreate(World* world, const EntRecord& r) {
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
inline void FakeUpdate(World*, void* kind) {
  kindCalls.push_back("update " + std::to_string(static_cast<KindHeader*>(kind)->type));
}
inline void FakeDestroy(World*, void* kind) {
  kindCalls.push_back("destroy " + std::to_string(static_cast<KindHeader*>(kind)->type));
}
inline const KindFunctions kFakeKind = {FakeCreate, FakeUpdate, nullptr, FakeDestroy};

inline std::vector<std::string> hookCalls;
inline const PlayerHooks kFakeHooks = {
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
    TdoFile box;
    box.Vertex(-10, 0, -10);
    box.Vertex(10, 0, -10);
    box.Vertex(0, 20, 0);
    box.Poly({0, 1, 2});
    dir.Write("box.tdo", box.Bytes());
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
