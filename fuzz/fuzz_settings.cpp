// Fuzz target: the same bytes as kvr.ini and as kvr_playerdata.dat, read as at start-up;
// the values read must pass the checks and survive a write and a read.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/core.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PutFuzzFile(kSettingsFile, data, size);
  PutFuzzFile(kPlayerDataFile, data, size);
  Settings settings;
  PlayerData player;
  KeyBindings keys;
  memset(&keys, 0, sizeof keys);
  memset(&player, 0, sizeof player);
  LoadSettingsAndPlayerData(&settings, &player, &keys);
  if (settings.cameraMode != 1 && settings.cameraMode != 3) abort();
  if (settings.visibility < 2000 || settings.visibility > 4000) abort();
  if (settings.volume < 0 || settings.volume > 256) abort();
  for (uint32_t code : keys.code)
    if (code > 255) abort();
  if (strlen(settings.playerName) >= sizeof settings.playerName) abort();
  if (strlen(player.nextMap) >= sizeof player.nextMap) abort();
  if (strlen(player.previousMap) >= sizeof player.previousMap) abort();
  if (strlen(player.entryPoint) >= sizeof player.entryPoint) abort();

  if (!WriteSettings(settings, keys) || !WritePlayerData(player)) abort();
  Settings settings2;
  PlayerData player2;
  KeyBindings keys2;
  memset(&settings2, 0, sizeof settings2);
  memset(&player2, 0, sizeof player2);
  memset(&keys2, 0, sizeof keys2);
  if (!ReadSettings(&settings2, &keys2) || !ReadPlayerData(&player2)) abort();
  if (memcmp(&settings, &settings2, sizeof settings) != 0) abort();
  if (memcmp(&keys, &keys2, sizeof keys) != 0) abort();
  if (memcmp(&player, &player2, sizeof player) != 0) abort();

  NewGameReset(&player);
  if (player.plasmaAmmo != 30 || FileExists(kPlayerDataFile)) abort();
  return 0;
}
