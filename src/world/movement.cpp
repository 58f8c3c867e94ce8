// The five movement modes of an entity, one tick each, in integer steps per 40 ms.
#include <cmath>
#include <cstdint>

#include "world/world_internal.h"

namespace {

void WrapHeading(Entity* e) {
  while (e->heading > kFullTurn) e->heading -= kFullTurn;
  while (e->heading < 0) e->heading += kFullTurn;
}

void Turn(Entity* e, int32_t step) {
  e->heading = WrapAdd(e->heading, step);
  WrapHeading(e);
}

// Below 5 a component stops; otherwise it loses 4 towards zero.
int32_t Drag(int32_t v) {
  if (MathTables::Abs(v) < 5) v = 0;
  if (v > 0) return v - 4;
  if (v < 0) return v + 4;
  return v;
}

// Float to int32 by truncation; values beyond the range (a damaged speed limit) saturate
// instead of being undefined.
int32_t Truncate(float f) {
  if (!(f > -2147483648.0f)) return f != f ? 0 : INT32_MIN;
  if (f >= 2147483648.0f) return INT32_MAX;
  return int32_t(f);
}

// Hover and Flyer share the free-flight part: thrust along the direction, drag, the float
// speed limit, then a 1/32 step of the velocity.
void FlyFreely(Entity* e) {
  SetDirectionFromHeading(e);
  if (e->thrust != 0) {
    e->vx = WrapAdd(e->vx, int32_t((int64_t(e->dirX) * e->thrust) >> 3));
    e->vy = WrapAdd(e->vy, int32_t((int64_t(e->dirY) * e->thrust) >> 3));
    e->vz = WrapAdd(e->vz, int32_t((int64_t(e->dirZ) * e->thrust) >> 3));
  }
  e->vx = Drag(e->vx);
  e->vy = Drag(e->vy);
  e->vz = Drag(e->vz);
  int64_t squares = int64_t(e->vx) * e->vx + int64_t(e->vz) * e->vz;
  float s = std::sqrt(float(squares));
  if (s > float(e->maxSpeed)) {
    float factor = float(e->maxSpeed) / s;
    e->vx = Truncate(float(e->vx) * factor);
    e->vy = Truncate(float(e->vy) * factor);
    e->vz = Truncate(float(e->vz) * factor);
  }
  e->speed = Truncate(s);
  e->x = WrapAdd(e->x, e->vx >> 5);
  e->y = WrapAdd(e->y, e->vy >> 5);
  e->z = WrapAdd(e->z, e->vz >> 5);
}

void BankLeft(Entity* e) {
  if (e->bank < 50000) e->bank += 1500;
}
void BankRight(Entity* e) {
  if (e->bank > -50000) e->bank -= 1500;
}

// Hover and Flyer: the turn requests turn by `step` and bank the entity into the turn.
void TurnAndBank(Entity* e, int32_t step) {
  if (e->turnLeft) {
    Turn(e, WrapSub(0, step));
    BankLeft(e);
  }
  if (e->turnRight) {
    Turn(e, step);
    BankRight(e);
  }
}

// Ground and Fixed: the turn requests turn by the turn rate, and the direction follows.
void TurnAndFace(Entity* e) {
  if (e->turnLeft) {
    Turn(e, WrapSub(0, e->turnRate));
    SetDirectionFromHeading(e);
  }
  if (e->turnRight) {
    Turn(e, e->turnRate);
    SetDirectionFromHeading(e);
  }
}

void MoveHover(Entity* e) {
  TurnAndBank(e, 5000);
  FlyFreely(e);
}

void MoveFlyer(Entity* e) {
  TurnAndBank(e, e->turnRate);
  // The bank relaxes towards level by 600 a tick.
  if (e->bank < 0) e->bank += 600;
  if (e->bank > 0) e->bank -= 600;
  FlyFreely(e);
}

void MoveGround(Entity* e) {
  TurnAndFace(e);
  if (e->thrust != 0) e->vz = WrapAdd(e->vz, 2 * e->thrust);
  if (MathTables::Abs(e->vz) < 2) e->vz = 0;
  if (e->vz > 0) e->vz -= 1;
  else if (e->vz < 0) e->vz += 1;
  if (e->vz > e->maxSpeed) e->vz = e->maxSpeed;  // no lower limit: reversing is unlimited
  e->speed = e->vz;
  e->x = WrapAdd(e->x, int32_t((int64_t(e->dirX) * e->vz) >> 10));
  e->z = WrapAdd(e->z, int32_t((int64_t(e->dirZ) * e->vz) >> 10));
}

void MoveBallistic(Entity* e) {
  e->speed = e->maxSpeed;
  if (e->halted || e->maxSpeed < 11) return;
  e->x = WrapAdd(e->x, int32_t((int64_t(e->dirX) * e->maxSpeed) >> 10));
  e->y = WrapAdd(e->y, int32_t((int64_t(e->dirY) * e->maxSpeed) >> 10));
  e->z = WrapAdd(e->z, int32_t((int64_t(e->dirZ) * e->maxSpeed) >> 10));
}

void MoveFixed(Entity* e) { TurnAndFace(e); }

}  // namespace

void MoveEntity(Entity* e) {
  switch (e->mode) {
    case kModeHover: MoveHover(e); break;
    case kModeGround: MoveGround(e); break;
    case kModeBallistic: MoveBallistic(e); break;
    case kModeFlyer: MoveFlyer(e); break;
    case kModeFixed: MoveFixed(e); break;
    default: break;
  }
}
