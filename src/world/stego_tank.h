// Inside the world: the stego tank, a tracked tank with a rocket pod that hunts like the
// raptor without biting, leans with the ground and bursts its rocket when it dies.
#pragma once

#include <cstdint>

#include "world/enemy.h"

struct RocketLauncher;

struct StegoTank {
  Enemy enemy;
  RocketLauncher* launcher;
  int32_t enginePitch;  // follows the speed, at least 200
};

extern const EnemyTraits kStegoTankTraits;
