// The neural link: armed with the X Bomb, it counts down five seconds and blows up, which
// opens the barriers of every map.
#include <cstdint>

#include "world/kind_support.h"
#include "world/mission_target.h"

namespace {

const MissionTargetLooks kLooks = {kTypeNeuralLink, "neurallink.tdo", "nl_expl_f1.tdo",
                                   "nl_expl_f2.tdo", "NLink.wav", 220, 5000, 1.0f, 50, 50};

void* CreateNeuralLink(World* world, const EntRecord&) { return CreateMissionTarget(world, kLooks); }

// The message of the moment; exact thousands show nothing new.
const char* CountdownMessage(int32_t left) {
  if (left < 4000 && left >= 3001) return "X Bomb planted.";
  if (left < 3000 && left >= 2001) return "3";
  if (left < 2000 && left > 1000) return "2";
  if (left < 1000 && left > 0) return "1";
  return nullptr;
}

void UpdateNeuralLink(World* world, void* kind) {
  MissionTarget* t = static_cast<MissionTarget*>(kind);
  PlaceMissionTarget(world, t);
  if (t->header.state == kTargetCountingDown) {
    t->countdown -= FrameDeltaMs;
    if (const char* text = CountdownMessage(t->countdown)) ShowMessage(world, text);
    if (t->countdown < 0) {
      ShowMessage(world, "Neural Link destroyed.");
      ExplodeMissionTarget(world, t);
      if (PlayerData* player = WorldPlayerData(world)) player->neuralLinkDown = 1;
    }
  } else if (t->header.state == kTargetExploding) {
    AnimateMissionTargetExplosion(world, t);
  }
}

int32_t CollideNeuralLink(World* world, void* kind, Entity* self, Entity* other) {
  MissionTarget* t = static_cast<MissionTarget*>(kind);
  if (!other || other->type != kTypePlayer) return 0;
  PlayerData* player = WorldPlayerData(world);
  if (!player || !player->xBomb) {
    ShowMessage(world, "You need the X Bomb to destroy the Neural Link");
    return 1;
  }
  if (self->active && t->header.state == kTargetIntact) t->header.state = kTargetCountingDown;
  return 1;
}

void DestroyNeuralLink(World* world, void* kind) {
  DestroyMissionTarget(world, static_cast<MissionTarget*>(kind));
}

}  // namespace

const KindFunctions kNeuralLinkKind = {CreateNeuralLink, UpdateNeuralLink, CollideNeuralLink,
                                       DestroyNeuralLink};
