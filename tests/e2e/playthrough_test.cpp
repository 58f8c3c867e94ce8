// The autopilot (`game --demo`) plays the real game from a first start: the menus, a new game
// on Easy, every map of its run by their routes, the star chart's jumps, and one of the two
// endings. Runs are compared with a second run to show the play is the same every time, and
// the log stays empty.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "game_run.h"

namespace {

// The runs end well within these (the final run takes about 66,000 timer messages on Easy,
// the ship's about 24,000, a few losses included): a run that gets stuck fails the test.
constexpr int kFinalBudget = 160000;
constexpr int kShipBudget = 80000;
// By this timer message a first start is well into star system 1.
constexpr int kSystemOneDone = 14000;

// A first start: no player data, the settings and key bindings the game ships with.
void FirstStart(GameRun& run, const KeyBindings& keys = DefaultKeys()) {
  run.PutSettings(DefaultSettings(), keys);
}

// The timer message the game reported its run's end at; -1 when it did not.
long EndedAt(const GameRun& run, const char* name) {
  const std::string out = run.dir.Read("stdout.txt");
  const std::string key = std::string("demo: the '") + name + "' run ended after ";
  const size_t at = out.find(key);
  return at == std::string::npos ? -1 : strtol(out.c_str() + at + key.size(), nullptr, 10);
}

// What the end of a campaign leaves: the game went back to the main menu (the demo reports
// the end only there) with a new game's player data, and the map states deleted.
void ExpectANewGameAfterTheEnd(const GameRun& run) {
  PlayerData p;
  ASSERT_TRUE(run.SavedPlayer(&p));
  EXPECT_STREQ(p.nextMap, "map1_1.map");
  EXPECT_EQ(p.starSystem, 1);
  EXPECT_EQ(p.skillLevel, 2);  // the new-game reset's
  EXPECT_EQ(p.energy, 250);
  for (const auto& f : std::filesystem::directory_iterator(run.dir.File("demo")))
    EXPECT_NE(f.path().extension(), ".sav") << f.path();
}

// The whole campaign on Easy from a first start: the three desert maps and the outpost's
// station, the ice world's X Bomb, the jungle's neural link, the forge's code card behind the
// opened barriers, the fortress and its mainframe, whose countdown ends in the final text and
// the main menu.
TEST(Playthrough, TheCampaignOnEasyToTheFinalText) {
  GameRun run;
  FirstStart(run);
  run.files = "demo/";
  ASSERT_EQ(run.Run(kFinalBudget, "--demo"), 0);
  const long end = EndedAt(run, "final");
  EXPECT_GT(end, kSystemOneDone) << run.dir.Read("stdout.txt");
  EXPECT_EQ(run.Log(), "");
  ExpectANewGameAfterTheEnd(run);
}

// The short road out on Easy, twice: the desert, the forge's keycard, the moon's spaceport
// and the ship's departure. The second start has other keys bound to the craft's actions (the
// autopilot presses whichever keys the settings name): the game is the same, frame for frame
// and to the timer message of the end.
TEST(Playthrough, TheShipOnEasyTheSameWayWithAnyKeys) {
  KeyBindings other = DefaultKeys();
  other.code[kActEngineOnOff] = 'Q';
  other.code[kActShoot] = 'F';
  other.code[kActChangeWeapon] = 'G';
  other.code[kActLeft] = 'A';
  other.code[kActRight] = 'D';
  other.code[kActViewUp] = 'R';
  other.code[kActViewDown] = 'V';
  const int shotsAt[] = {3000, 9000, 20000};
  GameRun runs[2];
  long ends[2] = {};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i == 0 ? "the shipped keys" : "other keys");
    FirstStart(runs[i], i == 0 ? DefaultKeys() : other);
    runs[i].files = "demo/";
    for (int t : shotsAt) runs[i].Shot(t, "at" + std::to_string(t) + ".png");
    ASSERT_EQ(runs[i].Run(kShipBudget, "--demo=easy,ship"), 0);
    ends[i] = EndedAt(runs[i], "ship");
    EXPECT_GT(ends[i], kSystemOneDone) << runs[i].dir.Read("stdout.txt");
    EXPECT_EQ(runs[i].Log(), "");
    ExpectANewGameAfterTheEnd(runs[i]);
  }
  EXPECT_EQ(ends[0], ends[1]);
  // The 3D view above the panel: the arrows are also the menu keys, which move the panel's
  // focus, so the panel itself differs with the keys.
  for (int t : shotsAt) {
    const std::string name = "at" + std::to_string(t) + ".png";
    SCOPED_TRACE(name);
    const RgbImage a = runs[0].Image(name), b = runs[1].Image(name);
    ASSERT_EQ(a.width, 240);
    EXPECT_TRUE(a.SameArea(b, 0, 0, 240, 225));
    EXPECT_GT(a.Brightness(0, 40, 240, 200), 12.0);  // the game, not a black screen
    runs[0].Keep({name});
  }
}

// A real key hands the game back: the autopilot lets go for good, so the craft never
// reaches the outpost's station and the demo never reports an end. The demo plays in a folder
// of its own: the player's campaign under way is left as it was.
TEST(Playthrough, AKeyPressHandsTheGameBackAndThePlayersCampaignIsLeftAlone) {
  GameRun run;
  FirstStart(run);
  PlayerData mine{};
  strcpy(mine.nextMap, "map3_1.map");
  strcpy(mine.previousMap, "map3_1.map");
  strcpy(mine.entryPoint, "default");
  mine.starSystem = 3;
  mine.skillLevel = 2;
  mine.energy = 180;
  mine.xBomb = 1;
  run.PutPlayer(mine);
  run.dir.Write("map2_2.sav", "the player's map state");
  const std::string before = run.dir.Read(kPlayerDataFile);
  run.Press(1500, kVkX);
  run.Close(kSystemOneDone + 2);
  ASSERT_EQ(run.Run(kSystemOneDone + 10, "--demo"), 0);
  EXPECT_EQ(EndedAt(run, "final"), -1);
  EXPECT_TRUE(run.dir.Read(kPlayerDataFile) == before) << "the player data changed";
  EXPECT_EQ(run.dir.Read("map2_2.sav"), "the player's map state");
  EXPECT_EQ(run.Log(), "");
  run.files = "demo/";
  PlayerData p;
  ASSERT_TRUE(run.SavedPlayer(&p));
  EXPECT_EQ(p.skillLevel, 1);  // it had started a game
  EXPECT_EQ(p.starSystem, 1);
  EXPECT_EQ(p.hyperjumpLoaded, 0);
  EXPECT_EQ(run.Log(), "");
}

// What the demo cannot use: an option it does not know is refused before the game starts;
// a damaged or missing route leaves the game to the player, with the reason on stderr.
TEST(Playthrough, BadOptionsAndRoutesLeaveTheGameAlone) {
  {
    GameRun run;
    EXPECT_EQ(run.Run(10, "--demo=sideways"), 2);
    EXPECT_NE(run.dir.Read("stdout.txt").find("--demo takes"), std::string::npos);
    EXPECT_EQ(run.Run(10, "--demo=easy,"), 2);
  }
  struct Case {
    const char* name;
    const char* file;
    const char* text;  // null: the file is missing
    const char* reason;
  };
  const Case cases[] = {
      {"missing campaign", "campaign.route", nullptr, "campaign.route cannot be read"},
      {"a run of one map", "campaign.route", "run final\nmap1_1 main\n", nullptr},
      {"damaged map route", "map1_1.route", "leg main\ngo 100\n", "map1_1.route:2: go takes X Z"},
      {"no such leg", "map1_1.route", "leg other\ngo 100 100\n", "map1_1.route has no leg 'main'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameRun run;
    FirstStart(run);
    // The scratch directory links the game's files: the link goes, a file of its own comes.
    std::filesystem::remove(run.dir.File(c.file));
    if (c.text) run.dir.Write(c.file, c.text);
    run.files = "demo/";
    run.Close(600);
    ASSERT_EQ(run.Run(700, "--demo"), 0);
    const std::string out = run.dir.Read("stdout.txt");
    if (c.reason) {
      EXPECT_NE(out.find(std::string("the demo cannot start: ") + c.reason), std::string::npos) << out;
      PlayerData p;
      if (run.SavedPlayer(&p)) {
        EXPECT_STREQ(p.previousMap, "");  // no game was started
      }
    } else {
      EXPECT_EQ(out.find("cannot start"), std::string::npos) << out;  // a run of one map is fine
    }
    EXPECT_EQ(run.Log(), "");
  }
}

// Closing the window while a map loads frees what the loading made (the sanitizer build
// finds anything left) and keeps the log empty. The demo's taps start the game at the same
// messages every time; the closes cover the first map's loading frames.
TEST(Playthrough, ClosingWhileAMapLoads) {
  for (int close = 40; close <= 100; close += 5) {
    SCOPED_TRACE(close);
    GameRun run;
    FirstStart(run);
    run.files = "demo/";
    run.Close(close);
    ASSERT_EQ(run.Run(close + 10, "--demo"), 0);
    EXPECT_EQ(run.Log(), "");
  }
}

}  // namespace
