// The world step while a map is played, the closing pause after the ship's departure, and
// unloading the map.
#include <cstdint>

#include "world/world_internal.h"

namespace {

constexpr int32_t kClosingPauseMs = 5000;
constexpr int32_t kDepartureDone = 100;
constexpr int32_t kSkyPitchOffset = 51000;

// Craft states the world answers.
constexpr int32_t kCraftDestroyed = 1;
constexpr int32_t kCraftDeathOver = 2;
constexpr int32_t kCraftBoarding = 3;
constexpr int32_t kCraftBoarded = 4;
constexpr int32_t kCameraDead = 4;
constexpr int32_t kCameraBoarding = 5;

void UpdateKinds(World* world) {
  PointerList* kinds = world->kinds;
  if (!kinds) return;
  for (int32_t i = 0; i < kinds->Count(); ++i) {
    const KindFunctions* f = KindFunctionsFor(kinds->Tag(i));
    if (f && f->update) f->update(world, kinds->Get(i));
  }
}

void Play(World* world) {
  world->playTime = WrapAdd(world->playTime, FrameDeltaMs);
  UpdateEntities(world, world->entities);
  UpdateExplosions(world->explosions);
  UpdateKinds(world);
  Engine3D* scene = world->scene;
  if (SoundSystem* sound = WorldSound(world); sound && scene)
    SetListener(sound, scene->cameraPos.x, scene->cameraPos.y, scene->cameraPos.z, 0,
                scene->cameraMatrix.m);
  if (PlayerCraft* craft = world->player) {
    switch (craft->header.state) {
      case kCraftDestroyed: world->cameraMode = kCameraDead; break;
      case kCraftBoarding: case kCraftBoarded: world->cameraMode = kCameraBoarding; break;
      case kCraftDeathOver:
        RestoreMapState(world);
        world->host->SetScreenState(kScreenRestored);
        break;
      default: break;
    }
  }
  if (auto* ship = static_cast<ShipHead*>(world->ship);
      ship && ship->departureCounter == kDepartureDone) {
    NewGameReset(&world->host->GetPlayerData());
    world->worldState = kWorldClosing;
  }
  if (const PlayerHooks* h = GetPlayerHooks(); h && h->updateCamera) h->updateCamera(world);
  if (world->energyBar && world->player) SetProgressValue(world->energyBar, world->player->energy);
  if (world->background) {
    world->background->heading = world->cameraHeading;
    world->background->pitch = scene ? WrapAdd(scene->cameraAngle.x, kSkyPitchOffset) : kSkyPitchOffset;
  }
}

void Closing(World* world) {
  if (FormManager* forms = WorldForms(world)) HideAllControls(forms);
  world->closingTimer = WrapAdd(world->closingTimer, FrameDeltaMs);
  if (world->closingTimer >= kClosingPauseMs) {
    world->worldState = kWorldPlaying;
    world->host->SetScreenState(kScreenToMainMenu);
    world->closingTimer = 0;
  }
}

}  // namespace

void WorldUpdate(World* world) {
  if (world->worldState == kWorldPlaying) Play(world);
  else if (world->worldState == kWorldClosing) Closing(world);
}

void WorldUnload(World* world) {
  if (world->mapFile) {
    fclose(world->mapFile);
    world->mapFile = nullptr;
  }
  if (world->player && world->player->energy > 0) SaveMapState(world);
  if (PointerList* kinds = world->kinds) {
    for (int32_t i = 0; i < kinds->Count(); ++i) {
      const KindFunctions* f = KindFunctionsFor(kinds->Tag(i));
      if (f && f->destroy) f->destroy(world, kinds->Get(i));
      MemFree(kinds->Get(i));
    }
    kinds->Destroy();
    MemFree(kinds);
    world->kinds = nullptr;
  }
  DestroyMap2D(world->map2d);
  world->map2d = nullptr;
  DestroyExplosionManager(world, world->explosions);
  world->explosions = nullptr;
  DestroyEntityManager(world, world->entities);
  world->entities = nullptr;
  world->player = nullptr;
  world->ship = nullptr;
  world->energyBar = nullptr;
  world->loadingStep = 0;
  world->worldState = kWorldUnloaded;
}

void WorldDrawMap2D(World* world) {
  if (world->map2d) DrawMap2DEntities(world->map2d, world->entities);
}
