// The player's maps folder: .map and .ent files are read from it before the game's data,
// never under the name of a map the game ships, never anything else, never written there.
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "core/core.h"
#include "test_support.h"

namespace {

// The first bytes of a file opened through the game's lookup; "" when it does not open.
std::string Opened(const char* name, const char* mode = "rb") {
  FILE* f = OpenDataFile(name, mode);
  if (!f) return "";
  char text[16] = {};
  const size_t got = fread(text, 1, sizeof text - 1, f);
  fclose(f);
  return std::string(text, got);
}

}  // namespace

TEST(PlayerMaps, LookupTakesOnlyAPlayersOwnMapFilesAndOnlyForReading) {
  ScratchDir dir;
  mkdir(dir.File("maps").c_str(), 0755);
  mkdir(dir.File("maps/sub").c_str(), 0755);
  for (const char* name : {"mine.map", "mine.ent", "both.map", "map1_1.map", "MAP1_1.ent", "starchart.ent",
                           "sky_desert.spr", "map1.tex", "kvr.ini", "sub/deep.map", "evil.map"})
    dir.Write(std::string("maps/") + name, "player");
  for (const char* name : {"both.map", "map1_1.map", "MAP1_1.ent", "starchart.ent", "sky_desert.spr",
                           "map1.tex", "kvr.ini", "game.map"})
    dir.Write(name, "game");
  ASSERT_TRUE(SetPlayerMapsDir(dir.File("maps").c_str()));
  const struct {
    const char* name;
    const char* mode;
    const char* from;  // "player", "game" or "" (not opened)
  } cases[] = {
      {"mine.map", "rb", "player"},       {"mine.ent", "rb", "player"},
      {"both.map", "rb", "player"},       // the player's own before the game's
      {"game.map", "rb", "game"},         // not in the folder: the game's data
      {"map1_1.map", "rb", "game"},       // a campaign name is never the player's
      {"MAP1_1.ent", "rb", "game"},       // in any case
      {"starchart.ent", "rb", "game"},    // nor the star chart
      {"sky_desert.spr", "rb", "game"},   // everything else a map names is the game's
      {"map1.tex", "rb", "game"},         {"kvr.ini", "rb", "game"},
      {"sub/deep.map", "rb", "player"},   // the same path rules as every data file
      {"../evil.map", "rb", ""},          {"sub/../../evil.map", "rb", ""},
      {"/etc/passwd.map", "rb", ""},      {"nothing.map", "rb", ""},
      {"mine.map", "r+b", ""},            // never opened for writing in the maps folder
  };
  for (const auto& c : cases) EXPECT_EQ(Opened(c.name, c.mode), c.from) << c.name << " " << c.mode;
  // Writing a map file goes to the game's own folder, as before.
  FILE* f = OpenDataFile("mine.map", "wb");
  ASSERT_NE(f, nullptr);
  fclose(f);
  EXPECT_EQ(dir.Read("maps/mine.map"), "player");
  // Without a maps folder nothing of it is seen.
  ASSERT_TRUE(SetPlayerMapsDir(""));
  EXPECT_EQ(Opened("both.map"), "game");
  EXPECT_EQ(Opened("sub/deep.map"), "");
}

// The names a player's map may take: plain words, none of the game's own maps.
TEST(PlayerMaps, NamesAPlayersMapMayTake) {
  for (const char* name : {"map1_1", "map6_2.map", "MAP3_1.ENT", "starchart.map", "testgrounds", "enemytest.ent"})
    EXPECT_TRUE(IsGameMapName(name)) << name;
  for (const char* name : {"", "map1", "map1_10", "map1_1.sav", "mymap.map", "starchart2", ".map"})
    EXPECT_FALSE(IsGameMapName(name)) << name;
  const std::string longest(kMaxMapNameChars, 'a'), tooLong(kMaxMapNameChars + 1, 'a');
  for (const std::string& name : {std::string("valley"), std::string("Map-2_b"), longest})
    EXPECT_TRUE(IsPlainMapName(name.c_str())) << name;
  for (const std::string& name : {std::string(""), tooLong, std::string("../x"), std::string("a/b"),
                                  std::string("my map"), std::string("v.map"), std::string("caf\xc3\xa9")})
    EXPECT_FALSE(IsPlainMapName(name.c_str())) << name;
}

// Every map the game ships is among the names no player's map can take.
TEST(PlayerMaps, EveryShippedMapIsAGameMapName) {
  int maps = 0;
  for (const auto& f : std::filesystem::directory_iterator(GameDataDir()))
    if (f.path().extension() == ".map") {
      ++maps;
      EXPECT_TRUE(IsGameMapName(f.path().filename().c_str())) << f.path();
    }
  EXPECT_GE(maps, 12);  // the campaign's eleven and the star chart at least
}
