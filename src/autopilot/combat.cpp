// Combat: choosing the enemy, the weapon for it, and aiming the view and the craft at it.
#include <cmath>

#include "autopilot/pilot.h"
#include "world/kinds.h"

namespace {

constexpr int32_t kMuzzleHeight = 150;   // the guns sit this far above the craft's origin
constexpr int32_t kPitchStep = 3000;     // one step of the view keys
constexpr int32_t kMaxPitch = 48000;
constexpr int32_t kAimHeading = 4000;    // fire when the heading is this close
constexpr int64_t kFireRange = 1900;
constexpr int64_t kCloseIn = 1100;       // walk nearer than this before standing to fight

bool IsEnemy(int32_t type) {
  return type == kTypeStegoTank || type == kTypeMegaRaptor || type == kTypePteranoFlyer ||
         type == kTypeShootingTower || type == kTypeHoverChasmo;
}

// The tough kinds take the plasma gun while it has charges; the rest the machine gun. An
// empty weapon is never kept: the next one with ammunition in the weapon change's order.
int32_t WeaponFor(const CraftReading& craft, int32_t type) {
  const int32_t ammo[3] = {craft.gunAmmo, craft.plasmaAmmo, craft.rockets};
  const bool tough = type == kTypeMegaRaptor || type == kTypeShootingTower;
  if (ammo[0] <= 0 && ammo[1] <= 0 && ammo[2] <= 0) return craft.weapon;
  int32_t want = tough && craft.plasmaAmmo > 0 ? 1 : 0;
  for (int i = 0; i < 3 && ammo[want] <= 0; ++i) want = (want + 1) % 3;
  return want;
}

}  // namespace

int32_t NearestEnemy(const WorldView& world, const CraftReading& craft, int64_t reach,
                     const std::vector<int32_t>& ignored) {
  int32_t best = -1;
  int64_t bestD = reach * reach;
  for (int32_t i = 0; i < world.EntityCount(); ++i) {
    const EntityReading e = world.EntityAt(i);
    // A tower stays where it is: walking past it is the route's business.
    if (!e.active || !IsEnemy(e.type) || e.type == kTypeShootingTower) continue;
    bool skip = false;
    for (int32_t k : ignored) skip = skip || k == i;
    if (skip) continue;
    const int64_t d = Distance2(craft.x, craft.z, e.x, e.z);
    if (d < bestD) {
      bestD = d;
      best = i;
    }
  }
  return best;
}

void Attack(const CraftReading& craft, const EntityReading& enemy, Intent* out) {
  const int64_t d2 = Distance2(craft.x, craft.z, enemy.x, enemy.z);
  const double distance = std::sqrt(double(d2));
  const int32_t error =
      HeadingError(HeadingTowards(enemy.x - craft.x, enemy.z - craft.z), craft.heading);
  out->right = error > kPitchStep / 2;
  out->left = error < -kPitchStep / 2;
  out->engine = d2 > kCloseIn * kCloseIn && error < 30000 && error > -30000;
  // Positive pitch looks down.
  const double rise = double(enemy.y) - double(craft.y + kMuzzleHeight);
  int32_t pitch = int32_t(std::lround(-std::atan2(rise, distance) / (2.0 * M_PI) * kFullTurn));
  if (pitch > kMaxPitch) pitch = kMaxPitch;
  if (pitch < -kMaxPitch) pitch = -kMaxPitch;
  out->viewDown = craft.pitch < pitch - kPitchStep / 2;
  out->viewUp = craft.pitch > pitch + kPitchStep / 2;
  const int32_t weapon = WeaponFor(craft, enemy.type);
  if (weapon != craft.weapon) {
    out->changeWeapon = true;
    return;
  }
  out->shoot = d2 < kFireRange * kFireRange && error < kAimHeading && error > -kAimHeading &&
               craft.pitch <= pitch + 2 * kPitchStep && craft.pitch >= pitch - 2 * kPitchStep;
}
