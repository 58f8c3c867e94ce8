// Inside the world: the pterano flyer, a winged machine with torpedo tubes that circles
// high, dives at the player when near and climbs away again.
#pragma once

#include <cstdint>

#include "world/enemy.h"

struct ShotWeapon;

struct PteranoFlyer {
  Enemy enemy;
  ShotWeapon* torpedoes;
};

extern const EnemyTraits kPteranoFlyerTraits;

// The altitude step of one decision: descends toward the player when near and not keeping
// away, otherwise climbs, moving y by 10 and the nose pitch as it goes.
void SteerFlyerAltitude(PteranoFlyer* flyer, const Entity* player);
