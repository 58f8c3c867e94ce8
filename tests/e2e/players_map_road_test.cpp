// A player's own map, end to end through the real programs: a source written as text,
// built by kvr-maps into the player's maps folder, played by `game --map` in a folder of its
// own; its exits back to the menu; broken sources refused with their line; broken built
// files logged and answered by the main menu; the campaign's files never touched.
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "game_run.h"

namespace {

// A small walled map with a pillar, a pool of lava and the craft's entry; `extra` adds lines.
std::string Source(const std::string& extra) {
  return R"(# a player's first map
map  valley
pack map1.tex
sky  sky_desert.spr
size 2000 2000
base sand
noise 60 700 seed=3
ground wall rect 0 0 2000 250
ground wall rect 0 1750 2000 2000
ground wall rect 0 0 250 2000
ground wall rect 1750 0 2000 2000
ground wall rect 1000 1000 1250 1250
ground lava rect 500 1250 750 1500
prop rock 600 600
entity Player 1000 500 entry=default
entity Player 1500 500 heading=270 entry=east
entity EnergyPack 1400 800
)" + extra;
}

// Runs kvr-maps on the run's folder (its data, its maps/) from inside it; the exit status,
// with everything it printed in *output.
int KvrMaps(const GameRun& run, const std::string& args, std::string* output = nullptr) {
  const std::string cmd = "cd " + run.dir.path() + " && " + GameDataDir() + "/kvr-maps --data " +
                          run.dir.path() + " " + args + " >" + run.dir.File("kvr-maps.txt") + " 2>&1";
  const int status = system(cmd.c_str());
  if (output) *output = run.dir.Read("kvr-maps.txt");
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The campaign's own files, as bytes.
std::string CampaignFiles(const GameRun& run) {
  std::string all;
  for (const char* f : {kPlayerDataFile, kSettingsFile, "map1_1.sav", "mapbkp.sav"})
    all += std::string(f) + ":" + (run.Has(f) ? run.dir.Read(f) : "absent") + "\n";
  return all;
}

// The player data a run closed in play left: the map last entered, the craft where it stood
// (at its entry, having not moved), and the skill.
void ExpectCraftAt(const GameRun& run, const char* map, int32_t x, int32_t z, int32_t skill = 2) {
  PlayerData p;
  ASSERT_TRUE(run.SavedPlayer(&p));
  EXPECT_STREQ(p.previousMap, map);
  EXPECT_EQ(p.restorePlayer, 1);
  EXPECT_EQ(p.position[0], x);
  EXPECT_EQ(p.position[2], z);
  EXPECT_EQ(p.skillLevel, skill);
}

// The main menu as a plain start shows it.
RgbImage MainMenu() {
  GameRun run;
  run.Shot(5, "menu.png");
  EXPECT_EQ(run.Run(6), 0);
  return run.Image("menu.png");
}

// The band of the screen the head-up line writes into over the main menu.
constexpr int kHudTop = 140, kHudHeight = 40;

TEST(PlayersMap, BuiltWithKvrMapsItPlaysAtItsEntryInAFolderOfItsOwn) {
  struct Case {
    const char* option;
    int32_t x, z, skill;
  };
  for (const Case c : {Case{"--map valley", 1000, 500, 2}, Case{"--map valley@east --skill hard", 1500, 500, 3}}) {
    SCOPED_TRACE(c.option);
    GameRun run;
    // A campaign under way: its player data, settings and a map state.
    PlayerData campaign = NewGame();
    strcpy(campaign.nextMap, "map1_2.map");
    run.PutPlayer(campaign);
    run.PutSettings(DefaultSettings(), DefaultKeys());
    run.dir.Write("map1_1.sav", std::string(300, '\x5a'));
    const std::string before = CampaignFiles(run);

    run.dir.Write("valley.txt", Source("entity MapExit 1500 1500 tag=menu\n"));
    std::string out;
    ASSERT_EQ(KvrMaps(run, "build valley.txt", &out), 0) << out;
    EXPECT_TRUE(run.Has("maps/valley.map") && run.Has("maps/valley.ent")) << out;
    ASSERT_EQ(KvrMaps(run, "list", &out), 0);
    EXPECT_NE(out.find("valley"), std::string::npos) << out;
    EXPECT_NE(out.find(" 4 records  entry points: default, east"), std::string::npos) << out;

    run.files = "maps-play/";
    run.Shot(60, "valley.png");
    run.Close(80);
    ASSERT_EQ(run.Run(200, c.option), 0) << run.dir.Read("stdout.txt");
    EXPECT_EQ(run.Log(), "");
    ExpectCraftAt(run, "valley.map", c.x, c.z, c.skill);
    const RgbImage shot = run.Image("valley.png");
    ASSERT_EQ(shot.width, 240);
    EXPECT_GT(shot.Brightness(0, 0, 240, 200), 20);  // sky and sand, not a black screen
    EXPECT_EQ(CampaignFiles(run), before);
  }
}

// A map exit leads from one player's map to another, found in the same maps folder.
TEST(PlayersMap, AnExitLeadsToAnotherOfThePlayersMaps) {
  GameRun run;
  run.dir.Write("valley.txt", Source("entity MapExit 1000 750 tag=ridge.map entry=east\n"));
  std::string ridge = Source("");
  ridge.replace(ridge.find("map  valley"), 11, "map  ridge");
  run.dir.Write("ridge.txt", ridge);
  ASSERT_EQ(KvrMaps(run, "build valley.txt"), 0);
  ASSERT_EQ(KvrMaps(run, "build ridge.txt"), 0);
  run.files = "maps-play/";
  run.Close(120);
  ASSERT_EQ(run.Run(200, "--map valley"), 0);
  EXPECT_EQ(run.Log(), "");
  ExpectCraftAt(run, "ridge.map", 1500, 500);  // at the exit's entry point
  EXPECT_TRUE(run.Has("maps-play/valley.sav"));  // the map left keeps its state
}

// Each road out of a player's map that does not lead to another map ends at the main menu:
// the "menu" exit quietly, an exit to a map that does not exist and a map that cannot be
// played with a word on the head-up line; Play then goes back to where the map was entered.
TEST(PlayersMap, DeadEndsLeadToTheMainMenuNeverToABlackScreen) {
  const RgbImage menu = MainMenu();
  struct Case {
    const char* name;
    std::string exit;          // the map exit beside the entry
    const char* breakFile;     // a built file cut short, or null
    const char* log;           // what the log starts with
    bool message;              // a word on the head-up line
  };
  const Case cases[] = {
      {"exit to the menu", "entity MapExit 1000 750 tag=menu\n", nullptr, "", false},
      {"exit to a missing map", "entity MapExit 1000 750 tag=nowhere.map entry=default\n", nullptr, "", true},
      {"truncated map file", "", "maps/valley.map",
       "Error reading from tdobj file.\nError loading object number 0 from 3d map file.\n", true},
      {"truncated entity list", "", "maps/valley.ent", "Error loading entities\nPlayer entity not found!\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameRun run;
    run.dir.Write("valley.txt", Source(c.exit));
    ASSERT_EQ(KvrMaps(run, "build valley.txt"), 0);
    if (c.breakFile) {
      const std::string bytes = run.dir.Read(c.breakFile);
      std::filesystem::remove(run.dir.File(c.breakFile));
      run.dir.Write(c.breakFile, bytes.substr(0, 100));
    }
    run.files = "maps-play/";
    run.Shot(60, "after.png");
    run.Shot(300, "later.png");
    ASSERT_EQ(run.Run(320, "--map valley"), 0);
    EXPECT_EQ(run.Log().substr(0, strlen(c.log)), c.log);
    if (!c.breakFile) {
      EXPECT_EQ(run.Log(), "");
    }
    const RgbImage after = run.Image("after.png"), later = run.Image("later.png");
    ASSERT_EQ(after.width, 240);
    EXPECT_TRUE(after.SameArea(menu, 0, 0, 240, kHudTop));
    EXPECT_TRUE(after.SameArea(menu, 0, kHudTop + kHudHeight, 240, 320 - kHudTop - kHudHeight));
    EXPECT_EQ(!after.SameArea(menu, 0, kHudTop, 240, kHudHeight), c.message);
    EXPECT_TRUE(later.SameArea(menu, 0, 0, 240, 320));  // the message has gone
    PlayerData p;
    ASSERT_TRUE(run.SavedPlayer(&p));
    EXPECT_STREQ(p.nextMap, "valley.map");
    EXPECT_STREQ(p.entryPoint, "default");
  }
}

// The starter map is a map as it stands: it builds, draws from above and from its entry,
// and plays.
TEST(PlayersMap, TheStarterMapBuildsDrawsAndPlays) {
  GameRun run;
  std::string out;
  ASSERT_EQ(KvrMaps(run, "new outpost", &out), 0) << out;
  EXPECT_EQ(KvrMaps(run, "new outpost", &out), 1);  // never over a player's own source
  EXPECT_NE(out.find("exists already"), std::string::npos) << out;
  ASSERT_EQ(KvrMaps(run, "build outpost.txt", &out), 0) << out;
  ASSERT_EQ(KvrMaps(run, "show outpost.txt top.png", &out), 0) << out;
  EXPECT_NE(out.find("top view of"), std::string::npos) << out;
  ASSERT_EQ(KvrMaps(run, "show outpost.txt entry.png --from default", &out), 0) << out;
  EXPECT_NE(out.find("from \"default\": craft at 1200, "), std::string::npos) << out;
  EXPECT_GT(run.Image("top.png").width, 240);
  EXPECT_EQ(run.Image("entry.png").width, 240);

  run.files = "maps-play/";
  run.Shot(60, "outpost.png");
  run.Close(80);
  ASSERT_EQ(run.Run(200, "--map outpost"), 0);
  EXPECT_EQ(run.Log(), "");
  ExpectCraftAt(run, "outpost.map", 1200, 1200);
  run.Keep({"top.png", "entry.png", "outpost.png"});
}

// What kvr-maps refuses, it refuses with the file and line and writes nothing.
TEST(PlayersMap, BrokenSourcesAreRefusedWithTheirLine) {
  std::string records;
  for (int i = 0; i < 50; ++i) records += "entity EnergyPack 1400 " + std::to_string(400 + 20 * i) + "\n";
  const struct {
    const char* what;
    std::string source;
    const char* message;
  } cases[] = {
      {"an entity on a wall", Source("entity StegoTank 1100 1100\n"), "StegoTank at x 1100, z 1100 (valley.txt:18): stands on a wall"},
      {"more than 50 records", Source(records), "the 51st is valley.txt:"},
      {"a name the campaign uses", "map map1_1\n" + Source("").substr(Source("").find("pack")),
       "valley.txt:1: \"map1_1\" is the name of one of the game's own maps"},
      {"a name that leaves the folder", "map ../valley\n" + Source("").substr(Source("").find("pack")),
       "valley.txt:1: the map's name \"../valley\" may hold only"},
      {"a sky the game does not have", Source("sky sky_mine.spr\n"), "\"sky_mine.spr\" is not among the game's data"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    GameRun run;
    run.dir.Write("valley.txt", c.source);
    std::string out;
    EXPECT_EQ(KvrMaps(run, "build valley.txt", &out), 1);
    EXPECT_NE(out.find(c.message), std::string::npos) << out;
    EXPECT_NE(out.find("valley.txt refused: nothing written"), std::string::npos) << out;
    EXPECT_FALSE(std::filesystem::exists(run.dir.File("maps")) &&
                 !std::filesystem::is_empty(run.dir.File("maps")));
  }
}

// The command line of a game on one map: what it refuses, before anything is written.
TEST(PlayersMap, MapOptionsAreCheckedBeforeTheGameStarts) {
  const struct {
    const char* options;
    int status;
    const char* message;
  } cases[] = {
      {"--map nosuch", 1, "game: no map nosuch.map in "},
      {"--map ../map1_1", 2, "--map takes NAME or NAME@ENTRY"},
      {"--map valley@", 2, "--map takes NAME or NAME@ENTRY"},
      {"--map map1_1 --skill medium", 2, "--skill takes easy, normal or hard"},
      {"--skill hard", 2, "--skill goes with --map"},
      {"--map map1_1 --demo", 2, "--demo and --map do not go together"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    GameRun run;
    EXPECT_EQ(run.Run(5, c.options), c.status);
    EXPECT_NE(run.dir.Read("stdout.txt").find(c.message), std::string::npos) << run.dir.Read("stdout.txt");
    EXPECT_FALSE(run.Has("maps-play/kvr_playerdata.dat"));
  }
  // A campaign map's name plays the campaign's map, never a player's map of that name.
  GameRun run;
  std::filesystem::create_directories(run.dir.File("maps"));
  run.dir.Write("maps/map1_1.map", "not a map");
  run.files = "maps-play/";
  run.Close(60);
  ASSERT_EQ(run.Run(100, "--map map1_1"), 0);
  EXPECT_EQ(run.Log(), "");
  ExpectCraftAt(run, "map1_1.map", 3000, 2700);
}

}  // namespace
