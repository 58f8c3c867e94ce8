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
constexpr int32_t kCone = 80000;
constexpr double kBulletStep = 200.0, kPlasmaStep = 50.0, kRocketStep = 50.0;         // about 55 degrees either side of the way

bool IsEnemy(int32_t type) {
  return type == kTypeStegoTank || type == kTypeMegaRaptor || type == kTypePteranoFlyer ||
         type == kTypeShootingTower || type == kTypeHoverChasmo;
}

// Plasma does ten points every 150 ms, the machine gun five to seven every 200 ms: plasma
// kills a walker or a tower fastest, and a quick kill costs the least energy. A flyer or a
// hover machine is gone before slow plasma gets there: they take the machine gun's bullets,
// four times as fast. A rocket's blast tears a raptor or a flyer apart, but reaches 800
// units: only fired from further off.
int32_t WeaponFor(const CraftReading& craft, const EntityReading& enemy, int64_t distance2) {
  // The blast hurts the craft too: a rocket that bursts short of the enemy must still burst
  // well outside 800 units of the craft.
  const bool far = distance2 > 1600 * 1600;
  const bool rocketWorthy = enemy.type == kTypeMegaRaptor || enemy.type == kTypePteranoFlyer;
  if (rocketWorthy && craft.rockets > 0 && far) return 2;
  const int32_t order[2][2] = {{1, 0}, {0, 1}};
  const int32_t ammo[3] = {craft.gunAmmo, craft.plasmaAmmo, craft.rockets};
  const bool fast = enemy.type == kTypePteranoFlyer || enemy.type == kTypeHoverChasmo;
  for (int32_t w : order[fast ? 1 : 0])
    if (ammo[w] > 0) return w;
  if (craft.rockets > 0 && far) return 2;
  return craft.weapon;
}

}  // namespace

int32_t EnemyToShoot(const WorldView& world, const CraftReading& craft, bool flyers,
                     int64_t reach, bool walking, int32_t bearing,
                     const std::vector<int32_t>& ignored) {
  int32_t best = -1;
  int64_t bestD = reach * reach;
  for (int32_t i = 0; i < world.EntityCount(); ++i) {
    const EntityReading e = world.EntityAt(i);
    if (!e.active || !IsEnemy(e.type)) continue;
    // Towers stand still: walking past them or fighting them is the route's business.
    if (e.type == kTypeShootingTower || (e.type == kTypePteranoFlyer) != flyers) continue;
    bool skip = false;
    for (int32_t k : ignored) skip = skip || k == i;
    if (skip) continue;
    if (walking) {
      const int32_t off = HeadingError(HeadingTowards(e.x - craft.x, e.z - craft.z), bearing);
      if (off > kCone || off < -kCone) continue;
    }
    const int64_t d = Distance2(craft.x, craft.z, e.x, e.z);
    if (d < bestD) {
      bestD = d;
      best = i;
    }
  }
  return best;
}

void Attack(const CraftReading& craft, const EntityReading& enemy, int32_t vx, int32_t vz,
            bool approach, Intent* out) {
  const int64_t d2 = Distance2(craft.x, craft.z, enemy.x, enemy.z);
  const double distance = std::sqrt(double(d2));
  // Shots fly straight: aim where the enemy will be when the shot gets there (a shot
  // covers its speed / 4 units a step).
  const int32_t weapon = WeaponFor(craft, enemy, d2);
  const double flight = distance / (weapon == 0 ? kBulletStep : weapon == 1 ? kPlasmaStep : kRocketStep);
  const int32_t aimX = enemy.x + int32_t(std::lround(vx * flight));
  const int32_t aimZ = enemy.z + int32_t(std::lround(vz * flight));
  const int32_t error = HeadingError(HeadingTowards(aimX - craft.x, aimZ - craft.z), craft.heading);
  out->right = error > kPitchStep / 2;
  out->left = error < -kPitchStep / 2;
  out->engine = approach && d2 > kCloseIn * kCloseIn && error < 30000 && error > -30000;
  // Positive pitch looks down.
  const double rise = double(enemy.y) - double(craft.y + kMuzzleHeight);
  int32_t pitch = int32_t(std::lround(-std::atan2(rise, distance) / (2.0 * M_PI) * kFullTurn));
  if (pitch > kMaxPitch) pitch = kMaxPitch;
  if (pitch < -kMaxPitch) pitch = -kMaxPitch;
  out->viewDown = craft.pitch < pitch - kPitchStep / 2;
  out->viewUp = craft.pitch > pitch + kPitchStep / 2;
  if (weapon != craft.weapon) {
    out->changeWeapon = true;
    return;
  }
  out->shoot = d2 < kFireRange * kFireRange && error < kAimHeading && error > -kAimHeading &&
               craft.pitch <= pitch + kPitchStep && craft.pitch >= pitch - kPitchStep;
}
