// kvr.ini: the settings record and the key bindings, their defaults and their checks.
#include "core/settings.h"

#include <cstring>

#include "core/files.h"

namespace {

constexpr size_t kBindingsOffset = kSettingsRecordBytes;

// Fields that must stay text even when the file holds no terminator.
void TerminateText(char* text, size_t bytes) { text[bytes - 1] = 0; }

template <typename T>
T Clamp(T v, T lo, T hi) {
  return v < lo ? lo : (v > hi ? hi : v);
}

}  // namespace

void EncodeSettingsFile(const Settings& settings, const KeyBindings& bindings,
                        uint8_t out[kSettingsFileBytes]) {
  memset(out, 0, kSettingsFileBytes);
  out[0] = settings.showBackground;
  out[1] = settings.playMusic;
  out[2] = settings.unused2[0];
  out[3] = settings.unused2[1];
  WriteU32LE(out + 4, uint32_t(settings.visibility));
  WriteU32LE(out + 8, uint32_t(settings.cameraMode));
  memcpy(out + 12, settings.playerName, kPlayerNameBytes);
  WriteU32LE(out + 44, uint32_t(settings.volume));
  for (int i = 0; i < kBindingCount; ++i)
    WriteU32LE(out + kBindingsOffset + 4 * size_t(i), bindings.code[i]);
}

void DecodeSettingsFile(const uint8_t* image, size_t bytes, Settings* settings,
                        KeyBindings* bindings) {
  // The file is a raw image of both records: bytes it lacks keep the records' values.
  uint8_t full[kSettingsFileBytes];
  EncodeSettingsFile(*settings, *bindings, full);
  memcpy(full, image, bytes < kSettingsFileBytes ? bytes : kSettingsFileBytes);
  settings->showBackground = full[0];
  settings->playMusic = full[1];
  settings->unused2[0] = full[2];
  settings->unused2[1] = full[3];
  settings->visibility = int32_t(ReadU32LE(full + 4));
  settings->cameraMode = int32_t(ReadU32LE(full + 8));
  memcpy(settings->playerName, full + 12, kPlayerNameBytes);
  TerminateText(settings->playerName, kPlayerNameBytes);
  settings->volume = int32_t(ReadU32LE(full + 44));
  for (int i = 0; i < kBindingCount; ++i)
    bindings->code[i] = ReadU32LE(full + kBindingsOffset + 4 * size_t(i));
}

void CheckSettings(Settings* settings, KeyBindings* bindings) {
  if (settings->cameraMode != kCameraFirstPerson && settings->cameraMode != kCameraExternal)
    settings->cameraMode = kCameraFirstPerson;
  settings->visibility = Clamp(settings->visibility, kVisibilityMin, kVisibilityMax);
  settings->volume = Clamp(settings->volume, 0, kVolumeMax);
  // Key sampling indexes the 256-entry key table with the code.
  for (uint32_t& code : bindings->code)
    if (code > 255) code = 0;
}

bool ReadSettings(Settings* settings, KeyBindings* bindings) {
  uint8_t image[kSettingsFileBytes];
  const long got = ReadDataFile(kSettingsFile, image, sizeof image);
  if (got < 0) return false;
  DecodeSettingsFile(image, size_t(got), settings, bindings);
  CheckSettings(settings, bindings);
  return true;
}

bool WriteSettings(const Settings& settings, const KeyBindings& bindings) {
  uint8_t image[kSettingsFileBytes];
  EncodeSettingsFile(settings, bindings, image);
  return WriteDataFileAtomic(kSettingsFile, image, sizeof image);
}

void SetDefaultSettings(Settings* settings) {
  strcpy(settings->playerName, "Unnamed");
  settings->playMusic = 1;
  settings->cameraMode = kCameraFirstPerson;
  settings->volume = kVolumeMax;
  settings->showBackground = 1;
  settings->visibility = 2800;
}

void LoadSettingsAndPlayerData(Settings* settings, PlayerData* player, KeyBindings* bindings) {
  memset(settings, 0, sizeof *settings);
  if (!ReadPlayerData(player)) SetFirstStartPlayerData(player);
  if (!ReadSettings(settings, bindings)) SetDefaultSettings(settings);
}
