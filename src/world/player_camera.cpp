// The camera that follows the player's craft: first person, behind it, orbiting it after
// death and in the final sequence, and beside the ship while it boards.
#include "world/player_craft.h"

namespace {

constexpr int32_t kThreeQuarterTurn = 393216;
constexpr int32_t kOrbitStep = 2000;

int32_t Wrapped(int32_t heading) {
  while (heading > kFullTurn) heading -= kFullTurn;
  while (heading < 0) heading += kFullTurn;
  return heading;
}

// Turns the current heading an eighth of the way to the target, the short way round.
int32_t Smoothed(int32_t current, int32_t target) {
  if (int64_t(target) - current > kThreeQuarterTurn) current += kFullTurn;
  if (int64_t(current) - target > kThreeQuarterTurn) current -= kFullTurn;
  current += (target - current) / 8;
  return Wrapped(current);
}

// The craft's position plus an offset turned about the vertical axis.
Vec3 Around(const Entity* e, int32_t x, int32_t y, int32_t z, int32_t heading) {
  Vec3 offset = {x, y, z};
  Math->TurnAboutY(&offset, heading);
  return {WrapAdd(e->x, offset.x), WrapAdd(e->y, offset.y), WrapAdd(e->z, offset.z)};
}

}  // namespace

void UpdateCamera(World* world) {
  Engine3D* scene = world->scene;
  const PlayerCraft* craft = world->player;
  if (!scene || !craft || !craft->entity) return;
  const Entity* e = craft->entity;
  int32_t& heading = world->cameraHeading;
  switch (world->cameraMode) {
    case 1:
      heading = Smoothed(heading, e->heading);
      scene->cameraPos = {e->x, WrapAdd(e->y, 220), e->z};
      scene->cameraAngle.x = e->pitch;
      scene->cameraAngle.y = heading;
      break;
    case 3: {
      heading = Smoothed(heading, e->heading);
      const int32_t dx = (Math->Sin(-heading) * 350) >> 8;
      const int32_t dz = (Math->Cos(-heading) * -350) >> 8;
      scene->cameraPos = {WrapAdd(e->x, dx), WrapAdd(e->y, 280), WrapAdd(e->z, dz)};
      scene->cameraAngle.x = WrapAdd(e->pitch, 10000);
      scene->cameraAngle.y = heading;
      break;
    }
    case 4:
      heading = Wrapped(WrapAdd(heading, kOrbitStep));
      scene->cameraPos = Around(e, 0, 280, -650, heading);
      scene->cameraAngle.y = heading;
      break;
    case 5: {
      const KindHeader* ship = static_cast<const KindHeader*>(world->ship);
      if (ship && ship->entity) heading = ship->entity->heading;
      scene->cameraPos = Around(e, 0, 230, -600, heading);
      scene->cameraAngle.x = 15000;
      scene->cameraAngle.y = heading;
      break;
    }
    default:
      break;  // 2: the camera stays where it is
  }
}
