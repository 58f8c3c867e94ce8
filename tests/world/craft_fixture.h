// Test helpers of the player's craft and its weapons: a map with an entity manager over the
// scene, a craft made from the player data, and game steps driven through the input latches.
#pragma once

#include "world/player_craft.h"
#include "world/weapons.h"
#include "world_fixture.h"

class CraftTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    world.entities = CreateEntityManager(&world, &scene->store);
    ASSERT_NE(world.entities, nullptr);
    world.cameraMode = 1;
    host.settings.cameraMode = 1;
    NewGameReset(&host.player);
    Input = InputState{};
    Input.inputEnabled = 1;
  }
  void TearDown() override {
    DropCraft();
    DestroyEntityManager(&world, world.entities);
    Input = InputState{};
    math.Destroy();  // the tables are the only thing the world's fixture keeps
    WorldTest::TearDown();
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

  // An entity of another kind with a kind record, as enemies have.
  Entity* AddVictim(int32_t type, int32_t x, int32_t y, int32_t z, int32_t hitPoints = 100) {
    // A bare record stands in for the kind, so the kind's own functions must not run on it.
    static const KindFunctions kBareKind = {};
    SetKindFunctionsForTest(type, &kBareKind);
    victims.push_back(std::make_unique<KindHeader>());
    KindHeader* h = victims.back().get();
    *h = KindHeader{type, nullptr, -1, hitPoints, 0};
    Entity* e = AddEntity(world.entities, type, -1, h);
    e->x = x;
    e->y = y;
    e->z = z;
    e->radius = 100;
    e->ownObject = -1;
    h->entity = e;
    return e;
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
