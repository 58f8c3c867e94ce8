// Inside the world: the hover chasmo, a fast hovering machine with a rocket pod that bobs
// over the ground, leans into its turns and shrugs off rocket blasts.
#pragma once

#include <cstdint>

#include "world/enemy.h"

struct RocketLauncher;

struct HoverChasmo {
  Enemy enemy;
  RocketLauncher* launcher;
  Vec3 up;          // the model's up, easing toward the ground's normal (unit 256)
  int32_t bobPhase; // 0..2047 of the sine table
};

extern const EnemyTraits kHoverChasmoTraits;
