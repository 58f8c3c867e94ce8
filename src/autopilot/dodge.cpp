// Dodging: a flyer's torpedo on a line that passes close to the craft is sidestepped by
// walking across that line. Torpedoes fly straight at where the craft was when they left, in
// salvoes of up to nine; a craft that keeps walking across their flight is missed. (Rockets
// are not dodged: their blast reaches 800 units, and turning away from a fight to walk out of
// it cost more than it saved.)
#include <cmath>

#include "autopilot/pilot.h"
#include "world/kinds.h"

namespace {

constexpr double kMuzzleHeight = 150;  // shots are aimed this far above the craft's origin
constexpr double kDanger = 380;        // a line passing closer than this hits
constexpr double kHorizon = 70;        // world steps: threats further off in time wait

}  // namespace

bool Dodge(const WorldView& world, const CraftReading& craft, Intent* out) {
  double soonest = kHorizon;
  double awayX = 0, awayZ = 0, lineX = 0, lineZ = 0;
  bool threat = false;
  for (int32_t i = 0; i < world.EntityCount(); ++i) {
    const EntityReading e = world.EntityAt(i);
    if (!e.active || e.fromCraft || e.type != kTypeTorpedo) continue;
    // Where it is and how it closes in, seen from the craft, per world step.
    const double px = e.x - craft.x, py = e.y - (craft.y + kMuzzleHeight), pz = e.z - craft.z;
    const double vx = e.dx - craft.dx, vy = e.dy, vz = e.dz - craft.dz;
    const double v2 = vx * vx + vy * vy + vz * vz;
    if (v2 < 25) continue;  // not flying (yet)
    const double t = -(px * vx + py * vy + pz * vz) / v2;
    if (t < 0 || t >= soonest) continue;
    const double qx = px + vx * t, qy = py + vy * t, qz = pz + vz * t;
    if (qx * qx + qy * qy + qz * qz > kDanger * kDanger) continue;
    soonest = t;
    threat = true;
    awayX = -qx;
    awayZ = -qz;
    lineX = e.dx;
    lineZ = e.dz;
  }
  if (!threat) return false;
  // Across the line, to the side away from where it will pass; straight at the craft, to the
  // side the craft faces more (less turning).
  const double len = std::sqrt(lineX * lineX + lineZ * lineZ);
  double nx = len > 0 ? -lineZ / len : 1, nz = len > 0 ? lineX / len : 0;
  const double hx = std::sin(craft.heading * 2.0 * M_PI / kFullTurn);
  const double hz = std::cos(craft.heading * 2.0 * M_PI / kFullTurn);
  const double side = awayX * awayX + awayZ * awayZ > 80.0 * 80.0 ? nx * awayX + nz * awayZ
                                                                    : nx * hx + nz * hz;
  if (side < 0) {
    nx = -nx;
    nz = -nz;
  }
  SteerTo(craft, craft.x + int32_t(nx * 2000), craft.z + int32_t(nz * 2000), out);
  out->engine = true;
  out->shoot = false;
  return true;
}
