// The engine switch of the in-game form: the craft's thrust with its start and stop sounds.
#include "world/kinds.h"

namespace {

constexpr int kStartSound = 1;  // the craft's samples: step, starteng, stopeng, rotate
constexpr int kStopSound = 2;

}  // namespace

void SwitchPlayerEngine(World* world, uint8_t on) {
  PlayerCraft* craft = world->player;
  if (!craft || !craft->header.entity) return;
  SoundSystem* sound = world->host ? world->host->GetSound() : nullptr;
  const int32_t sample = craft->sounds[on ? kStartSound : kStopSound];
  if (sound && sample >= 0) PlaySample(sound, sample, 0);
  craft->header.entity->thrust = on ? 1 : 0;
}
