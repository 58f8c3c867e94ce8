// Settings and player data: first start, new game, exact file bytes, short and torn files,
// the checks on values read.
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <tuple>

#include "core/core.h"
#include "data_files.h"
#include "test_support.h"

namespace {

// The slots key setup shows, in the order of its labels.
const int kKeySetupSlots[] = {5, 6, 7, 8, 0, 1, 2, 13, 14, 11, 12, 15};

uint32_t U32At(const std::string& bytes, size_t offset) {
  return ReadU32LE(reinterpret_cast<const uint8_t*>(bytes.data()) + offset);
}

// A whole kvr.ini image with the given camera, visibility, volume and binding 0.
std::string SettingsImage(int32_t camera, int32_t visibility, int32_t volume, uint32_t key0) {
  return Bytes().I32(1).I32(visibility).I32(camera).Text("Ann", 32).I32(volume).I32(int32_t(key0))
      .Zeros(68).data;
}

class SettingsFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    memset(&settings, 0, sizeof settings);
    memset(&player, 0, sizeof player);
    memset(&bindings, 0, sizeof bindings);
  }
  ScratchDir dir;
  Settings settings;
  PlayerData player;
  KeyBindings bindings;
};

}  // namespace

TEST_F(SettingsFiles, FirstStartGivesTheDefaultsAndUnsetKeys) {
  // Files that cannot be read (here: directories) count as missing.
  mkdir(dir.File("kvr.ini").c_str(), 0755);
  mkdir(dir.File("kvr_playerdata.dat").c_str(), 0755);
  LoadSettingsAndPlayerData(&settings, &player, &bindings);
  EXPECT_EQ(settings.visibility, 2800);
  for (int slot : kKeySetupSlots) {
    char label[32];
    FormatKeyCode(bindings.code[slot], label);
    EXPECT_STREQ(label, "Not set") << "slot " << slot;
  }
  EXPECT_EQ(std::make_tuple(player.plasmaAmmo, player.skillLevel),
            std::make_tuple(0, 0));  // plasma: new games
  // Reading writes nothing and logs nothing.
  EXPECT_EQ(dir.Log(), "");
  rmdir(dir.File("kvr.ini").c_str());
  rmdir(dir.File("kvr_playerdata.dat").c_str());
  // Without a settings file the bindings already held are kept.
  bindings.code[kActShoot] = 0x20;
  LoadSettingsAndPlayerData(&settings, &player, &bindings);
  EXPECT_EQ(bindings.code[kActShoot], 0x20u);
  EXPECT_FALSE(dir.Exists("kvr_playerdata.dat"));  // reading writes nothing
}

TEST_F(SettingsFiles, NewGameResetsTheCampaignAndDeletesEveryMapState) {
  player.plasmaAmmo = 7;
  strcpy(player.previousMap, "map4_1.map");
  dir.Write("kvr_playerdata.dat", std::string(696, '\x11'));
  for (const char* name : kMapStateFiles) dir.Write(name, "state");
  dir.Write("mapbkp.sav", "the world's backup of a map's state");
  dir.Write("map7_1.sav", "not the campaign's");
  dir.Write("kvr.ini", SettingsImage(3, 3000, 100, 0x26));

  NewGameReset(&player);

  EXPECT_EQ(std::make_tuple(player.plasmaAmmo, std::string(player.previousMap)),
            std::make_tuple(30, std::string()));
  // The reset deletes the old record and writes nothing: the next writing moment does.
  EXPECT_FALSE(dir.Exists("kvr_playerdata.dat"));
  for (const char* name : kMapStateFiles) EXPECT_FALSE(dir.Exists(name)) << name;
  EXPECT_FALSE(dir.Exists("mapbkp.sav"));
  EXPECT_TRUE(dir.Exists("map7_1.sav"));
  EXPECT_TRUE(dir.Exists("kvr.ini"));

  // After the reset the game starts over exactly as the reset left it.
  ASSERT_TRUE(WritePlayerData(player));
  PlayerData again{};
  ASSERT_TRUE(ReadPlayerData(&again));
  EXPECT_EQ(memcmp(&again, &player, sizeof player), 0);
}

TEST_F(SettingsFiles, AllEighteenBindingsAndTheOptionsSurviveAWriteAndARead) {
  for (int i = 0; i < kBindingCount; ++i) bindings.code[i] = uint32_t(0x41 + i * 7);
  settings.showBackground = 0;
  settings.playMusic = 1;
  settings.visibility = 3400;
  settings.cameraMode = kCameraExternal;
  strcpy(settings.playerName, "Morvek pilot");
  settings.volume = 144;
  ASSERT_TRUE(WriteSettings(settings, bindings));

  // The documented bytes: 120 of them, little-endian at fixed offsets.
  const std::string bytes = dir.Read("kvr.ini");
  ASSERT_EQ(bytes.size(), 120u);
  EXPECT_EQ(std::make_tuple(bytes[0], bytes[1], U32At(bytes, 4), U32At(bytes, 8), U32At(bytes, 44)),
            std::make_tuple('\0', '\1', 3400u, 3u, 144u));
  EXPECT_EQ(bytes.substr(12, 13), std::string("Morvek pilot\0", 13));
  for (int i = 0; i < kBindingCount; ++i) EXPECT_EQ(U32At(bytes, 48 + 4 * size_t(i)), 0x41u + i * 7);

  // The next run reads them back, including slots key setup cannot change (3, 4, 9, 10,
  // 16, 17).
  Settings read{};
  KeyBindings readKeys{};
  PlayerData unused{};
  LoadSettingsAndPlayerData(&read, &unused, &readKeys);
  EXPECT_EQ(memcmp(&read, &settings, sizeof settings), 0);
  EXPECT_EQ(memcmp(&readKeys, &bindings, sizeof bindings), 0);
  EXPECT_FALSE(dir.Exists("kvr.ini.tmp"));
}

TEST_F(SettingsFiles, AShortFileLeavesTheRestOfEachRecordAsItWas) {
  // Only the two flags and the visibility: the rest of the zeroed record stays 0, the
  // bindings keep what they held, and the checks mend what zero cannot be.
  bindings.code[kActMenuSelect] = 0x0D;
  dir.Write("kvr.ini", std::string("\0\1\0\0\xb8\x0b\0\0", 8));
  ASSERT_TRUE(ReadSettings(&settings, &bindings));
  EXPECT_EQ(std::make_tuple(settings.showBackground, settings.playMusic, settings.visibility,
                            settings.cameraMode, settings.volume),
            std::make_tuple(0, 1, 3000, int32_t(kCameraFirstPerson), 0));
  EXPECT_STREQ(settings.playerName, "");
  EXPECT_EQ(bindings.code[kActMenuSelect], 0x0Du);

  // A key code cut after two bytes keeps the record's upper bytes.
  bindings.code[0] = 0;
  std::string image = SettingsImage(1, 2800, 256, 0x25);
  dir.Write("kvr.ini", image.substr(0, 50));
  ASSERT_TRUE(ReadSettings(&settings, &bindings));
  EXPECT_EQ(bindings.code[0], 0x25u);
  EXPECT_EQ(bindings.code[kActMenuSelect], 0x0Du);

  // A short player record is read, but the first-start values are not applied.
  std::string record(520, '\0');
  record.replace(0, 10, "map3_1.map");
  record.replace(512, 4, Bytes().I32(3).data);
  dir.Write("kvr_playerdata.dat", record);
  PlayerData read{};
  read.gunAmmo = 77;
  Settings s{};
  KeyBindings k{};
  LoadSettingsAndPlayerData(&s, &read, &k);
  EXPECT_STREQ(read.nextMap, "map3_1.map");
  EXPECT_EQ(read.starSystem, 3);
  EXPECT_EQ(read.gunAmmo, 77);
  EXPECT_STREQ(read.entryPoint, "");
}

TEST_F(SettingsFiles, ValuesReadAreCheckedBeforeTheGameUsesThem) {
  struct Case {
    int32_t camera, visibility, volume;
    uint32_t key;
    int32_t wantCamera, wantVisibility, wantVolume;
    uint32_t wantKey;
  };
  const Case cases[] = {
      {1, 2000, 0, 255, 1, 2000, 0, 255},      // the edges are kept
      {3, 4000, 256, 0x26, 3, 4000, 256, 0x26},
      {2, 1999, 257, 256, 1, 2000, 256, 0},    // camera 2 is not one the game offers
      {0, 4001, -1, 0xFFFFFFFF, 1, 4000, 0, 0},
      {-3, -50000, int32_t(0x80000000), 0x141, 1, 2000, 0, 0},
  };
  for (const Case& c : cases) {
    dir.Write("kvr.ini", SettingsImage(c.camera, c.visibility, c.volume, c.key));
    ASSERT_TRUE(ReadSettings(&settings, &bindings));
    EXPECT_EQ(settings.cameraMode, c.wantCamera) << c.camera;
    EXPECT_EQ(settings.visibility, c.wantVisibility) << c.visibility;
    EXPECT_EQ(settings.volume, c.wantVolume) << c.volume;
    EXPECT_EQ(bindings.code[0], c.wantKey) << c.key;
  }

  // Text fields without a terminator are cut, so a long name cannot run past its field.
  std::string image = SettingsImage(1, 2800, 256, 0);
  image.replace(12, 32, std::string(32, 'N'));
  dir.Write("kvr.ini", image);
  ASSERT_TRUE(ReadSettings(&settings, &bindings));
  EXPECT_EQ(strlen(settings.playerName), 31u);
  dir.Write("kvr_playerdata.dat", std::string(696, 'M'));
  ASSERT_TRUE(ReadPlayerData(&player));
  EXPECT_EQ(strlen(player.nextMap), 255u);
  EXPECT_EQ(strlen(player.previousMap), 255u);
  EXPECT_EQ(strlen(player.entryPoint), 63u);
}
