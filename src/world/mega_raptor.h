// Inside the world: the mega raptor, a walking robot dinosaur with a plasma gun on each
// flank that growls now and then, hunts the player's craft and bites back when touched.
#pragma once

#include <cstdint>

#include "world/enemy.h"

struct ShotWeapon;

struct MegaRaptor {
  Enemy enemy;
  int32_t stepSample;    // "step.wav", the feet landing
  int32_t growlSample;   // "RaptorGrowl.wav"
  int32_t growlTimer;    // ms to the next growl
  int32_t settling;      // the legs finish their stride while standing
  int32_t walkFrameCount;  // 5
  int32_t walkFrame;     // 2..5: the segment runs from frame walkFrame - 1 to walkFrame
  int32_t walkSpeed;     // blend added per step
  int32_t walkBlend;     // 0..254 within the segment
  ShotWeapon* plasmaGun;
  FrameSet* walkAnimator;
};

extern const EnemyTraits kMegaRaptorTraits;
