// Steering: the heading towards a point, walking there, and getting unstuck.
#include <cmath>

#include "autopilot/pilot.h"

namespace {

constexpr int32_t kDeadZone = 3500;        // a turn step is 5000: closer than this is straight
constexpr int32_t kWalkWhileTurning = 90000;  // about 60 degrees
// The craft walks a circle of about 250 units at full turn: nearer than this, a wide error
// is turned on the spot first.
constexpr int64_t kTurnOnTheSpot = 400;
constexpr int32_t kStuckWindow = 100;      // timer messages between position samples
// Less than this walked over a window: stuck (from a standstill the craft makes twice that).
constexpr int64_t kStuckDistance = 150;
constexpr int32_t kManoeuvre = 70;         // timer messages: turning away, then walking on

}  // namespace

int32_t HeadingTowards(int32_t dx, int32_t dz) {
  const double turns = std::atan2(double(dx), double(dz)) / (2.0 * M_PI);
  int32_t h = int32_t(std::lround(turns * kFullTurn));
  return h < 0 ? h + kFullTurn : h;
}

int32_t HeadingError(int32_t target, int32_t heading) {
  int64_t d = (int64_t(target) - int64_t(heading)) % kFullTurn;
  if (d < -kFullTurn / 2) d += kFullTurn;
  if (d >= kFullTurn / 2) d -= kFullTurn;
  return int32_t(d);
}

int64_t Distance2(int32_t ax, int32_t az, int32_t bx, int32_t bz) {
  const int64_t dx = int64_t(ax) - bx, dz = int64_t(az) - bz;
  return dx * dx + dz * dz;
}

void SteerTo(const CraftReading& craft, int32_t x, int32_t z, Intent* out) {
  const int32_t error = HeadingError(HeadingTowards(x - craft.x, z - craft.z), craft.heading);
  out->right = error > kDeadZone;
  out->left = error < -kDeadZone;
  const bool near = Distance2(craft.x, craft.z, x, z) < kTurnOnTheSpot * kTurnOnTheSpot;
  out->engine = !near || (error < kWalkWhileTurning && error > -kWalkWhileTurning);
  // Level view while walking: the ground ahead stays in sight.
  out->viewDown = craft.pitch < -3000;
  out->viewUp = craft.pitch > 3000;
}

void Unsticker::Reset() {
  sampleAge_ = 0;
  manoeuvre_ = 0;
}

bool Unsticker::Run(const CraftReading& craft, bool walking, Intent* out) {
  if (manoeuvre_ > 0) {
    --manoeuvre_;
    const bool turning = manoeuvre_ > kManoeuvre / 2;
    out->left = turning && (count_ % 2 == 0);
    out->right = turning && (count_ % 2 == 1);
    out->engine = !turning || manoeuvre_ < kManoeuvre * 3 / 4;
    if (manoeuvre_ == 0) sampleAge_ = 0;
    return true;
  }
  if (!walking) {
    sampleAge_ = 0;
    return false;
  }
  if (sampleAge_ == 0) {
    sampleX_ = craft.x;
    sampleZ_ = craft.z;
  }
  if (++sampleAge_ < kStuckWindow) return false;
  sampleAge_ = 0;
  if (Distance2(craft.x, craft.z, sampleX_, sampleZ_) >= kStuckDistance * kStuckDistance)
    return false;
  ++count_;
  manoeuvre_ = kManoeuvre;
  return Run(craft, walking, out);
}
