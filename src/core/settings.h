// The options record (kvr.ini) and the player record (kvr_playerdata.dat): layouts, defaults,
// reading, writing and the new-game reset.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/input.h"

// ---------------------------------------------------------------------------------------
// kvr.ini: the 48-byte settings record followed by the 72 bytes of KeyBindings, all
// integers 32-bit little-endian. The records mirror the files byte for byte; the file
// codec below still packs field by field, so the bytes do not depend on the host.

constexpr const char* kSettingsFile = "kvr.ini";
constexpr size_t kSettingsRecordBytes = 48;
constexpr size_t kSettingsFileBytes = 120;

constexpr int32_t kVisibilityMin = 2000;  // the options' bar moves in steps of 200
constexpr int32_t kVisibilityMax = 4000;
constexpr int32_t kVolumeMax = 256;
constexpr int32_t kCameraFirstPerson = 1;
constexpr int32_t kCameraExternal = 3;
constexpr int kPlayerNameBytes = 32;

struct Settings {
  uint8_t showBackground;  // 1: the map's sky behind the 3D view
  uint8_t playMusic;       // 1: the title music plays
  uint8_t unused2[2];
  int32_t visibility;      // view distance, 2000..4000
  int32_t cameraMode;      // 1 first person, 3 external
  char playerName[kPlayerNameBytes];  // zero-terminated
  int32_t volume;          // effects volume, 0..256
};
static_assert(sizeof(Settings) == kSettingsRecordBytes);
static_assert(offsetof(Settings, showBackground) == 0);
static_assert(offsetof(Settings, playMusic) == 1);
static_assert(offsetof(Settings, visibility) == 4);
static_assert(offsetof(Settings, cameraMode) == 8);
static_assert(offsetof(Settings, playerName) == 12);
static_assert(offsetof(Settings, volume) == 44);
static_assert(kSettingsRecordBytes + sizeof(KeyBindings) == kSettingsFileBytes);

// ---------------------------------------------------------------------------------------
// kvr_playerdata.dat: the 696-byte player record, the state of the campaign.

constexpr const char* kPlayerDataFile = "kvr_playerdata.dat";
constexpr size_t kPlayerDataBytes = 696;
constexpr int kMapNameBytes = 256;
constexpr int kEntryPointBytes = 64;

// The player's weapons as stored in the record.
enum PlayerWeapon : int32_t { kWeaponMachineGun = 0, kWeaponPlasma = 1, kWeaponRocket = 2 };

struct PlayerData {
  char nextMap[kMapNameBytes];      // the map to load when play starts or resumes
  char previousMap[kMapNameBytes];  // the map to resume in when restorePlayer is set
  int32_t starSystem;               // star-chart system of the current map
  char entryPoint[kEntryPointBytes];  // which player record of the .ent places the craft
  uint8_t restorePlayer;            // 1: put the saved blocks below back on entry
  uint8_t unused581[3];
  int32_t position[4];              // the player entity's blocks, copied byte for byte
  int32_t direction[4];
  int32_t engineOn;
  int32_t motion[4];
  int32_t velocity[4];
  int32_t heading;
  int32_t skillLevel;               // 1 easy, 2 normal, 3 hard
  int32_t energy;
  int32_t state;                    // the craft's state (a stored 8 is read back as 0)
  int32_t weapon;                   // PlayerWeapon
  int32_t gunAmmo;                  // machine-gun rounds
  int32_t rockets;
  int32_t plasmaAmmo;               // plasma charges
  uint8_t haveShipKeyCard;
  uint8_t hyperjumpLoaded;
  uint8_t selfDestructCode;
  uint8_t xBomb;
  uint8_t neuralLinkDown;
  uint8_t boardedShip;
  uint8_t unused690[2];
  int32_t starChartChoice;          // index of the star-chart entry chosen last
};
static_assert(sizeof(PlayerData) == kPlayerDataBytes);
static_assert(offsetof(PlayerData, previousMap) == 256);
static_assert(offsetof(PlayerData, starSystem) == 512);
static_assert(offsetof(PlayerData, entryPoint) == 516);
static_assert(offsetof(PlayerData, restorePlayer) == 580);
static_assert(offsetof(PlayerData, position) == 584);
static_assert(offsetof(PlayerData, direction) == 600);
static_assert(offsetof(PlayerData, engineOn) == 616);
static_assert(offsetof(PlayerData, motion) == 620);
static_assert(offsetof(PlayerData, velocity) == 636);
static_assert(offsetof(PlayerData, heading) == 652);
static_assert(offsetof(PlayerData, skillLevel) == 656);
static_assert(offsetof(PlayerData, energy) == 660);
static_assert(offsetof(PlayerData, state) == 664);
static_assert(offsetof(PlayerData, weapon) == 668);
static_assert(offsetof(PlayerData, gunAmmo) == 672);
static_assert(offsetof(PlayerData, rockets) == 676);
static_assert(offsetof(PlayerData, plasmaAmmo) == 680);
static_assert(offsetof(PlayerData, haveShipKeyCard) == 684);
static_assert(offsetof(PlayerData, boardedShip) == 689);
static_assert(offsetof(PlayerData, starChartChoice) == 692);

// The saved map states a new game deletes, in the order it deletes them.
constexpr int kMapStateFileCount = 12;
extern const char* const kMapStateFiles[kMapStateFileCount];

// ---------------------------------------------------------------------------------------
// File codecs: the exact bytes of the two files. Decoding overlays only the first `bytes`
// bytes of the image on what the records already hold (a short file leaves the rest as it
// was) and then makes the text fields zero-terminated.

void EncodeSettingsFile(const Settings& settings, const KeyBindings& bindings,
                        uint8_t out[kSettingsFileBytes]);
void DecodeSettingsFile(const uint8_t* image, size_t bytes, Settings* settings,
                        KeyBindings* bindings);
void EncodePlayerData(const PlayerData& player, uint8_t out[kPlayerDataBytes]);
void DecodePlayerData(const uint8_t* image, size_t bytes, PlayerData* player);

// The checks every read settings record passes: a camera mode other than 1 or 3 becomes 1,
// visibility is clamped to 2000..4000 and volume to 0..256, key codes above 255 become 0
// (the key table has 256 entries).
void CheckSettings(Settings* settings, KeyBindings* bindings);

// ---------------------------------------------------------------------------------------
// Reading and writing. Reads fail (false, nothing logged) only when the file does not
// open or cannot be read at all; writes go to a temporary file renamed over the old one, so a failed or torn write
// leaves the previous file whole. Callers ignore a false write and the game goes on.

// kvr.ini into the settings record and the bindings, then CheckSettings.
bool ReadSettings(Settings* settings, KeyBindings* bindings);
// Called when the player leaves options or key setup with the back button.
bool WriteSettings(const Settings& settings, const KeyBindings& bindings);
// kvr_playerdata.dat into the player record (text fields made zero-terminated).
bool ReadPlayerData(PlayerData* player);
// Called at driver shutdown, after a map has loaded, and when a mission item is collected.
bool WritePlayerData(const PlayerData& player);

// The settings of a first start: name "Unnamed", music and background on, first-person
// camera, volume 256, visibility 2800. The bindings are not touched.
void SetDefaultSettings(Settings* settings);
// The player record of a first start: zeroed, 300 rounds, 250 energy, next map
// "map1_1.map", entry point "default".
void SetFirstStartPlayerData(PlayerData* player);

// What the game driver does first: zero the settings, read the player data (first-start
// record when it does not open), then the settings (defaults when they do not open).
// `bindings` keep their values when kvr.ini does not open.
void LoadSettingsAndPlayerData(Settings* settings, PlayerData* player, KeyBindings* bindings);

// The new-game reset: deletes kvr_playerdata.dat, sets the record of a new campaign
// (skill 2, 300 rounds, 30 plasma charges, 250 energy, "map1_1.map", "default", system 1)
// and deletes every saved map state. The record is written at the next writing moment.
void NewGameReset(PlayerData* player);
