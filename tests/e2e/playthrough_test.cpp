// The autopilot (`game --demo`) plays the real game from a first start: the menus, a new game
// on Easy, the maps of its run by their routes, the star chart's jump. Runs are compared
// frame for frame with a second run to show the play is the same every time, and the log
// stays empty.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "game_run.h"

namespace {

// By this timer message the autopilot has played star system 1 (the landing, the canyon,
// the outpost with its station) and jumped to system 2.
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

// Shots worth looking at are copied to $KVR_KEEP_SHOTS when it is set.
void Keep(const GameRun& run, const std::string& name) {
  const char* to = getenv("KVR_KEEP_SHOTS");
  if (!to || !run.Has(name)) return;
  if (FILE* f = fopen((std::string(to) + "/" + name).c_str(), "wb")) {
    const std::string bytes = run.dir.Read(name);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
}

// Star system 1 on Easy: the autopilot starts a new game, skips the briefing, walks the
// three maps, charges at the outpost's station, takes the launch pad to the star chart and
// jumps to the ice world; a second start plays exactly the same game, with other keys bound
// to the craft's actions (the autopilot presses whichever keys the settings name).
TEST(Playthrough, SystemOneOnEasyTheSameWayWithAnyKeys) {
  KeyBindings other = DefaultKeys();
  other.code[kActEngineOnOff] = 'Q';
  other.code[kActShoot] = 'F';
  other.code[kActChangeWeapon] = 'G';
  other.code[kActLeft] = 'A';
  other.code[kActRight] = 'D';
  other.code[kActViewUp] = 'R';
  other.code[kActViewDown] = 'V';
  const int shotsAt[] = {3000, 7000, kSystemOneDone};
  GameRun runs[2];
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i == 0 ? "the shipped keys" : "other keys");
    FirstStart(runs[i], i == 0 ? DefaultKeys() : other);
    runs[i].files = "demo/";
    for (int t : shotsAt) runs[i].Shot(t, "at" + std::to_string(t) + ".png");
    runs[i].Close(kSystemOneDone + 2);
    ASSERT_EQ(runs[i].Run(kSystemOneDone + 10, "--demo"), 0);
    EXPECT_EQ(runs[i].Log(), "");
    PlayerData p;
    ASSERT_TRUE(runs[i].SavedPlayer(&p));
    EXPECT_EQ(p.skillLevel, 1);
    EXPECT_EQ(p.starSystem, 2);
    EXPECT_STREQ(p.previousMap, "map2_1.map");  // arrived by the chart's jump
    EXPECT_EQ(p.hyperjumpLoaded, 0);            // the jump spent the outpost's charge
    EXPECT_GT(p.energy, 100);                   // topped up before leaving the outpost
  }
  // The 3D view above the panel: the arrows are also the menu keys, which move the panel's
  // focus, so the panel itself differs with the keys.
  for (int t : shotsAt) {
    const std::string name = "at" + std::to_string(t) + ".png";
    SCOPED_TRACE(name);
    const Picture a = runs[0].Image(name), b = runs[1].Image(name);
    ASSERT_EQ(a.width, 240);
    EXPECT_TRUE(a.SameArea(b, 0, 0, 240, 225));
    EXPECT_GT(a.Brightness(0, 40, 240, 200), 12.0);  // the game, not a black screen
    Keep(runs[0], name);
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
