// Inside the world: the shooting tower, a fixed turret with a machine gun that turns to
// follow the player and fires bursts while the player is near.
#pragma once

#include <cstdint>

#include "world/enemy.h"

struct ShotWeapon;

struct ShootingTower {
  Enemy enemy;
  ShotWeapon* gun;
};

extern const EnemyTraits kShootingTowerTraits;
