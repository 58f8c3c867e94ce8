// Where a weapon's shot starts and which way it flies.
#include "world/weapons.h"

PositionBlock MuzzlePosition(const Entity* owner, int32_t offsetX, int32_t offsetY,
                             int32_t offsetZ, int32_t heading) {
  Vec3 offset = {offsetX, offsetY, offsetZ};
  Math->TurnAboutY(&offset, heading);
  return {WrapAdd(owner->x, offset.x), WrapAdd(owner->y, offset.y), WrapAdd(owner->z, offset.z),
          owner->w};
}

void ShotDirection(int32_t pitch, int32_t heading, int32_t* dirX, int32_t* dirY, int32_t* dirZ) {
  Vec3 d = {0, 0, 255};
  Math->TurnAboutX(&d, pitch);
  Math->TurnAboutY(&d, heading);
  *dirX = d.x;
  *dirY = d.y;
  *dirZ = d.z;
}
