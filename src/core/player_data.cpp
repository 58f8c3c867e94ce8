// kvr_playerdata.dat: the player record, its first-start values and the new-game reset.
#include <cstring>

#include "core/files.h"
#include "core/settings.h"

const char* const kMapStateFiles[kMapStateFileCount] = {
    "map1_1.sav", "map1_2.sav", "map1_3.sav", "map2_1.sav", "map2_2.sav", "map3_1.sav",
    "map3_2.sav", "map4_1.sav", "map5_1.sav", "map6_1.sav", "map6_2.sav", "mapbkp.sav",
};

namespace {

void PutBlock(uint8_t* p, const int32_t block[4]) {
  for (int i = 0; i < 4; ++i) WriteU32LE(p + 4 * i, uint32_t(block[i]));
}
void GetBlock(const uint8_t* p, int32_t block[4]) {
  for (int i = 0; i < 4; ++i) block[i] = int32_t(ReadU32LE(p + 4 * i));
}
int32_t GetInt(const uint8_t* p) { return int32_t(ReadU32LE(p)); }
void PutInt(uint8_t* p, int32_t v) { WriteU32LE(p, uint32_t(v)); }

}  // namespace

void EncodePlayerData(const PlayerData& d, uint8_t out[kPlayerDataBytes]) {
  memset(out, 0, kPlayerDataBytes);
  memcpy(out + 0, d.nextMap, kMapNameBytes);
  memcpy(out + 256, d.previousMap, kMapNameBytes);
  PutInt(out + 512, d.starSystem);
  memcpy(out + 516, d.entryPoint, kEntryPointBytes);
  out[580] = d.restorePlayer;
  memcpy(out + 581, d.unused581, 3);
  PutBlock(out + 584, d.position);
  PutBlock(out + 600, d.direction);
  PutInt(out + 616, d.engineOn);
  PutBlock(out + 620, d.motion);
  PutBlock(out + 636, d.velocity);
  PutInt(out + 652, d.heading);
  PutInt(out + 656, d.skillLevel);
  PutInt(out + 660, d.energy);
  PutInt(out + 664, d.state);
  PutInt(out + 668, d.weapon);
  PutInt(out + 672, d.gunAmmo);
  PutInt(out + 676, d.rockets);
  PutInt(out + 680, d.plasmaAmmo);
  out[684] = d.haveShipKeyCard;
  out[685] = d.hyperjumpLoaded;
  out[686] = d.selfDestructCode;
  out[687] = d.xBomb;
  out[688] = d.neuralLinkDown;
  out[689] = d.boardedShip;
  memcpy(out + 690, d.unused690, 2);
  PutInt(out + 692, d.starChartChoice);
}

void DecodePlayerData(const uint8_t* image, size_t bytes, PlayerData* d) {
  // A short file leaves the rest of the record as it was.
  uint8_t full[kPlayerDataBytes];
  EncodePlayerData(*d, full);
  memcpy(full, image, bytes < kPlayerDataBytes ? bytes : kPlayerDataBytes);
  memcpy(d->nextMap, full + 0, kMapNameBytes);
  memcpy(d->previousMap, full + 256, kMapNameBytes);
  d->starSystem = GetInt(full + 512);
  memcpy(d->entryPoint, full + 516, kEntryPointBytes);
  d->restorePlayer = full[580];
  memcpy(d->unused581, full + 581, 3);
  GetBlock(full + 584, d->position);
  GetBlock(full + 600, d->direction);
  d->engineOn = GetInt(full + 616);
  GetBlock(full + 620, d->motion);
  GetBlock(full + 636, d->velocity);
  d->heading = GetInt(full + 652);
  d->skillLevel = GetInt(full + 656);
  d->energy = GetInt(full + 660);
  d->state = GetInt(full + 664);
  d->weapon = GetInt(full + 668);
  d->gunAmmo = GetInt(full + 672);
  d->rockets = GetInt(full + 676);
  d->plasmaAmmo = GetInt(full + 680);
  d->haveShipKeyCard = full[684];
  d->hyperjumpLoaded = full[685];
  d->selfDestructCode = full[686];
  d->xBomb = full[687];
  d->neuralLinkDown = full[688];
  d->boardedShip = full[689];
  memcpy(d->unused690, full + 690, 2);
  d->starChartChoice = GetInt(full + 692);
  // Map loading and the save files build names from these with the string functions.
  d->nextMap[kMapNameBytes - 1] = 0;
  d->previousMap[kMapNameBytes - 1] = 0;
  d->entryPoint[kEntryPointBytes - 1] = 0;
}

bool ReadPlayerData(PlayerData* player) {
  uint8_t image[kPlayerDataBytes];
  const long got = ReadDataFile(kPlayerDataFile, image, sizeof image);
  if (got < 0) return false;
  DecodePlayerData(image, size_t(got), player);
  return true;
}

bool WritePlayerData(const PlayerData& player) {
  uint8_t image[kPlayerDataBytes];
  EncodePlayerData(player, image);
  return WriteDataFileAtomic(kPlayerDataFile, image, sizeof image);
}

void SetFirstStartPlayerData(PlayerData* player) {
  memset(player, 0, sizeof *player);
  player->gunAmmo = 300;
  player->energy = 250;
  player->rockets = 0;
  player->plasmaAmmo = 0;
  player->state = 0;
  strcpy(player->nextMap, "map1_1.map");
  player->previousMap[0] = 0;
  strcpy(player->entryPoint, "default");
}

void NewGameReset(PlayerData* player) {
  FileDelete(kPlayerDataFile);
  memset(player, 0, sizeof *player);
  player->skillLevel = 2;
  player->gunAmmo = 300;
  player->plasmaAmmo = 30;
  player->rockets = 0;
  player->state = 0;
  player->boardedShip = 0;
  player->energy = 250;
  strcpy(player->nextMap, "map1_1.map");
  player->previousMap[0] = 0;
  strcpy(player->entryPoint, "default");
  player->starSystem = 1;
  for (const char* name : kMapStateFiles) FileDelete(name);
}
