// Small services the pickups, mission objects, ship and map exit share: loading their
// models and samples with the usual log lines, showing and hiding, the head-up message and
// saving the player record.
#pragma once

#include <cstdint>

#include "world/kinds.h"

// The map's object store, null without a scene.
ObjectStore* KindStore(World* world);
// An entity model of the map's store (shared when already loaded); -1 after logging
// "Error loading NAME".
int32_t LoadKindObject(World* world, const char* name);
// A sample at the volume (0..256); -1 after logging "Error loading NAME" (-1 silently
// without a sound system).
int32_t LoadKindSample(World* world, const char* name, int32_t volume);
void FreeKindSample(World* world, int32_t* slot);
void PlayKindSample(World* world, int32_t slot, int32_t loop);
void StopKindSample(World* world, int32_t slot);
// The 3D object's hidden flag; nothing for index -1.
void SetObjectHidden(World* world, int32_t object, uint8_t hidden);
// The object's bounding radius, 0 for none.
int32_t ObjectRadius(World* world, int32_t object);
// A frame animator over a base object with the frames named (hidden frame objects);
// null when the base is missing. Freed by DestroyFrames.
FrameSet* CreateFrames(World* world, int32_t base, const char* frameA, const char* frameB);
void DestroyFrames(FrameSet** frames);
void ShowMessage(World* world, const char* text);
// The player record written to its file at once (a mission item was taken).
void SavePlayerRecord(World* world);
PlayerData* WorldPlayerData(World* world);
