// The mainframe: armed with the self-destruction code, it counts down fifteen seconds; if
// the player still lives then, it blows up and the final sequence begins.
#include <cstdint>

#include "world/kind_support.h"
#include "world/mission_target.h"

namespace {

const MissionTargetLooks kLooks = {kTypeMainframe, "mainframe.tdo", "mf_expl_f1.tdo",
                                   "mf_expl_f2.tdo", "compnois.wav", 100, 15000, 0.3f, -40, 50};

// The craft's states the mainframe starts and respects.
constexpr int32_t kCraftFinalStart = 6;
constexpr int32_t kCraftFinalText = 7;

void* CreateMainframe(World* world, const EntRecord&) { return CreateMissionTarget(world, kLooks); }

// The announcement, then one number per second from 13 down; exact thousands show nothing
// new. Returns null when there is nothing to show; `buffer` holds the number's text.
const char* CountdownMessage(int32_t left, char buffer[12]) {
  if (left < 15000 && left >= 13001) return "Self Destruction sequence activated.";
  if (left >= 2001 && left < 13000 && left % 1000 != 0)
    return IntToText(left / 1000 + 1, buffer);
  if (left < 2000 && left > 1000) return "2";
  if (left < 1000 && left > 0) return "1";
  return nullptr;
}

void UpdateMainframe(World* world, void* kind) {
  MissionTarget* t = static_cast<MissionTarget*>(kind);
  PlaceMissionTarget(world, t);
  if (t->header.state == kTargetCountingDown) {
    t->countdown -= FrameDeltaMs;
    char number[12];
    if (const char* text = CountdownMessage(t->countdown, number)) ShowMessage(world, text);
    if (t->countdown < 0) {
      ShowMessage(world, " ");
      if (world->player && world->player->energy > 0) {
        if (PlayerData* player = WorldPlayerData(world)) NewGameReset(player);
        ExplodeMissionTarget(world, t);
        if (PlayerData* player = WorldPlayerData(world)) player->neuralLinkDown = 1;
      } else {
        // The player died before the end: the sequence can be armed again.
        t->countdown = 13000;
        t->header.state = kTargetIntact;
      }
    }
  } else if (t->header.state == kTargetExploding) {
    if (world->player && world->player->header.state != kCraftFinalText)
      world->player->header.state = kCraftFinalStart;
    AnimateMissionTargetExplosion(world, t);
  }
}

int32_t CollideMainframe(World* world, void* kind, Entity* self, Entity* other) {
  MissionTarget* t = static_cast<MissionTarget*>(kind);
  if (!other || other->type != kTypePlayer) return 0;
  PlayerData* player = WorldPlayerData(world);
  if (!player || !player->selfDestructCode) {
    ShowMessage(world, "You need the mainframe self destruction code");
    return 1;
  }
  if (self->active && t->header.state == kTargetIntact) t->header.state = kTargetCountingDown;
  return 1;
}

void DestroyMainframe(World* world, void* kind) {
  DestroyMissionTarget(world, static_cast<MissionTarget*>(kind));
}

}  // namespace

const KindFunctions kMainframeKind = {CreateMainframe, UpdateMainframe, CollideMainframe,
                                      DestroyMainframe};
