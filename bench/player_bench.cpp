// Speed of play in map1_1 with the craft: one world step with every shot of the craft in
// flight (16 plasma bolts, 16 bullets and a rocket), and whole in-game frames (a step and a
// render) in first person and from behind.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/app.h"
#include "core/core.h"
#include "platform/headless/headless.h"
#include "test_support.h"
#include "world/weapons.h"

namespace {

// A scratch copy of the game's directory and the headless machine under one driver, in
// map1_1 from a saved game with the given camera.
struct PlayRig {
  explicit PlayRig(int32_t cameraMode) {
    dir.LinkGameData();
    SetCurrentPlatform(&platform);
    SetDisplayLayout();
    ClearFrameClock();
    memset(&Input, 0, sizeof Input);
    PlayerData saved;
    memset(&saved, 0, sizeof saved);
    NewGameReset(&saved);
    saved.rockets = 8;
    WritePlayerData(saved);
    driver.Initialise(kAppContext, FrameBuffer);
    driver.settings.cameraMode = cameraMode;
    CloseCurrentForm(Forms);
    driver.OpenInGameForm();
    for (int i = 0; i < 40 && driver.screenState != kScreenPlaying; ++i) Frame();
    ok = driver.screenState == kScreenPlaying && driver.world.player;
  }
  ~PlayRig() {
    driver.Shutdown();
    SetCurrentPlatform(nullptr);
  }
  // One step and one frame, as a timer message with one step due runs them.
  void Frame() {
    SampleKeys();
    driver.Update(FrameBuffer, 40);
    ShiftLatches();
    FrameDeltaMs = 40;
    driver.Render(FrameBuffer);
    PresentFrame();
  }
  ScratchDir dir;
  PlatformOptions options;
  HeadlessPlatform platform{options};
  GameDriver driver;
  bool ok = false;
};

// Every shot of a pool flying from the craft, a little apart, climbing so that they stay
// in the air among the map's objects.
void FillPool(World* world, ShotWeapon* gun, const Entity* craft) {
  for (int i = 0; i < gun->shotCount; ++i) {
    gun->sinceLastShot = 1000;
    const PositionBlock at = MuzzlePosition(craft, (i - 8) * 40, 200, 100, craft->heading);
    FireShotWeapon(world, gun, at, -40000, craft->heading);
  }
}

// Puts every flying shot back where it started and makes it young again, so the step
// measured is always the same one.
struct Launch {
  Entity* entity;
  int32_t x, y, z;
};

void WorldStepWithEveryShotInFlight(benchmark::State& state) {
  PlayRig rig(1);
  if (!rig.ok) {
    state.SkipWithError("map1_1 did not load with the craft (bake the content first)");
    return;
  }
  World* world = &rig.driver.world;
  PlayerCraft* craft = world->player;
  FillPool(world, craft->plasmaGun, craft->entity);
  FillPool(world, craft->machineGun, craft->entity);
  const PositionBlock nose = MuzzlePosition(craft->entity, -40, 140, 40, craft->entity->heading);
  FireRocket(world, craft->rocketLauncher, nose, -40000, craft->entity->heading, 0);
  std::vector<Launch> launches;
  for (ShotWeapon* gun : {craft->plasmaGun, craft->machineGun})
    for (int i = 0; i < gun->shotCount; ++i) {
      Entity* e = gun->shots[i].entity;
      launches.push_back({e, e->x, e->y, e->z});
    }
  Entity* rocket = craft->rocketLauncher->rocket;
  launches.push_back({rocket, rocket->x, rocket->y, rocket->z});
  int32_t flying = 0;
  for (auto _ : state) {
    for (const Launch& l : launches) {
      l.entity->x = l.x;
      l.entity->y = l.y;
      l.entity->z = l.z;
    }
    for (ShotWeapon* gun : {craft->plasmaGun, craft->machineGun})
      for (int i = 0; i < gun->shotCount; ++i) gun->shots[i].age = 0;
    craft->rocketLauncher->time = 0;
    WorldUpdate(world);
    FrameDeltaMs = 40;
  }
  for (ShotWeapon* gun : {craft->plasmaGun, craft->machineGun})
    for (int i = 0; i < gun->shotCount; ++i) flying += gun->shots[i].state == kShotFlying;
  flying += craft->rocketLauncher->state == kRocketFlying;
  state.counters["shots_flying"] = flying;
}
BENCHMARK(WorldStepWithEveryShotInFlight)->Unit(benchmark::kMicrosecond);

void InGameFrame(benchmark::State& state, int32_t cameraMode) {
  PlayRig rig(cameraMode);
  if (!rig.ok) {
    state.SkipWithError("map1_1 did not load with the craft (bake the content first)");
    return;
  }
  // Walking with the engine on, so the walk animation and the camera work every frame.
  rig.driver.world.player->entity->thrust = 1;
  for (auto _ : state) rig.Frame();
}
BENCHMARK_CAPTURE(InGameFrame, first_person, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(InGameFrame, from_behind, 3)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
