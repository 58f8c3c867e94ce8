// The bake's default kvr.ini, which a rebuild never writes over the player's own files.
#include <cstdlib>
#include <string>

#include "core/core.h"
#include "support/test_support.h"

namespace {

int RunBake(const std::string& outDir) {
  const std::string command = std::string("\"") + KVR_BAKE + "\" \"" + outDir + "\" \"" +
                              KVR_SOURCE_DIR + "/content\" > /dev/null 2>&1";
  return system(command.c_str());
}

}  // namespace

TEST(BakedSettings, TheBakeWritesKeyboardBindingsOnlyWhereNoSettingsExist) {
  ScratchDir dir;
  ASSERT_EQ(RunBake(dir.path()), 0);
  Settings settings{};
  KeyBindings keys{};
  ASSERT_TRUE(ReadSettings(&settings, &keys));
  EXPECT_EQ(dir.Read("kvr.ini").size(), 120u);
  // Menus on the arrows and Enter; the craft on the arrows, Space and two letters.
  EXPECT_EQ(keys.code[kActMenuSelect], 0x0Du);
  EXPECT_EQ(keys.code[kActShoot], 0x20u);
  // Every game action has its own key, as key setup would leave it.
  const int game[] = {kActEngineOnOff, kActShoot, kActChangeWeapon, kActLeft, kActRight,
                      kActViewUp, kActViewDown};
  for (int a : game) {
    EXPECT_NE(keys.code[a], 0u) << a;
    for (int b : game)
      if (a != b) {
        EXPECT_NE(keys.code[a], keys.code[b]) << a << " " << b;
      }
  }
  EXPECT_FALSE(dir.Exists("kvr_playerdata.dat"));

  // A rebuild leaves the player's settings, progress, map states and log alone.
  const std::string mine(120, '\x07'), progress(696, '\x09');
  dir.Write("kvr.ini", mine);
  dir.Write("kvr_playerdata.dat", progress);
  dir.Write("map1_1.sav", "state");
  dir.Write("log.txt", "last run\n");
  ASSERT_EQ(RunBake(dir.path()), 0);
  EXPECT_EQ(dir.Read("kvr.ini"), mine);
  EXPECT_EQ(dir.Read("kvr_playerdata.dat"), progress);
  EXPECT_EQ(dir.Read("map1_1.sav"), "state");
  EXPECT_EQ(dir.Read("log.txt"), "last run\n");
  EXPECT_TRUE(dir.Exists("intro.txt"));
}
