// What the neural link and the mainframe share: a looping sound, an armed countdown with
// its messages, and the explosion of their model into a two-frame debris animation.
#pragma once

#include <cstdint>

#include "world/kinds.h"

enum MissionTargetState : int32_t {
  kTargetIntact = 0,
  kTargetExploding = 1,
  kTargetDestroyed = 2,
  kTargetCountingDown = 3,
};

struct MissionTarget {
  KindHeader header;        // object = its model, state = MissionTargetState
  int32_t explosionObject;  // hidden until it explodes
  FrameSet* explosionFrames;
  int32_t sample;           // loops from creation until it explodes
  int32_t countdown;        // ms left while counting down
  float explosionTime;
  float explosionStep;
  int32_t modelOffsetY;     // the model is drawn this far above the entity
  int32_t explosionOffsetY; // the debris starts this far above the entity
};

struct MissionTargetLooks {
  int32_t type;
  const char* model;
  const char* explosion1;
  const char* explosion2;
  const char* sample;
  int32_t volume;
  int32_t countdown;
  float explosionStep;
  int32_t modelOffsetY;
  int32_t explosionOffsetY;
};

// Allocates the target, its objects, its sound (looping at once) and its Fixed entity.
MissionTarget* CreateMissionTarget(World* world, const MissionTargetLooks& looks);
// Keeps the model and the sound at the entity. A target found dormant while intact (the
// map state kept it destroyed) falls silent and stays destroyed.
void PlaceMissionTarget(World* world, MissionTarget* t);
// Sets it off: model hidden, debris shown, a pooled explosion, silence, dormant; state 1.
void ExplodeMissionTarget(World* world, MissionTarget* t);
// State 1: the debris flies apart by the step; above 256 it is hidden and the state is 2.
void AnimateMissionTargetExplosion(World* world, MissionTarget* t);
void DestroyMissionTarget(World* world, MissionTarget* t);
