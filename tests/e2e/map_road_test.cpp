// From the main menu into a map and back, end to end: the new-game road with and without
// the briefing, continuing a saved game, "Go to menu?", and closing the window mid-map.
#include <cstring>

#include "game_run.h"

namespace {

// Frames the loading takes: one stage per frame, ten stages, then play.
constexpr int kLoadingFrames = 12;

// The new-game road: a first start (no settings, no player data) asks for a new campaign
// although the player pressed Play, then the skill level, the briefing, the in-game form;
// the map loads and play starts.
TEST(MapRoad, AFirstStartWalksTheNewGameRoadIntoTheMap) {
  struct Case {
    const char* name;
    Point skill;
    int32_t level;
    bool skip;
  };
  for (const Case c : {Case{"briefing skipped", at::kHard, 3, true},
                       Case{"briefing read to the end", at::kEasy, 1, false}}) {
    SCOPED_TRACE(c.name);
    GameRun run;
    run.Tap(10, at::kPlay);
    run.Shot(18, "confirm.png");
    run.Tap(20, at::kNewGameOk);
    run.Tap(30, c.skill);
    run.Shot(60, "briefing.png");
    int inGame = 0;
    if (c.skip) {
      run.Tap(70, at::kSkipIntro);
      inGame = 75;
    } else {
      inGame = 2 * 1200;  // well after the text has run out by itself
    }
    run.Shot(inGame + 2 * kLoadingFrames + 40, "play.png");
    run.Close(inGame + 2 * kLoadingFrames + 60);
    ASSERT_EQ(run.Run(inGame + 400), 0);
    PlayerData p;
    ASSERT_TRUE(run.SavedPlayer(&p));
    EXPECT_EQ(p.skillLevel, c.level);
    EXPECT_STREQ(p.previousMap, "map1_1.map");  // the map reached its last loading stages
    const RgbImage confirm = run.Image("confirm.png"), play = run.Image("play.png");
    ASSERT_EQ(play.width, 240);
    EXPECT_FALSE(confirm.SameArea(play, 0, 0, 240, 320));
    EXPECT_EQ(run.Log(), "");
  }
}

// "Go to menu?" in play, answered by keys: "No" plays on at full brightness at once; "Yes"
// (also when Down is pressed first: two answers have no third to go down to) holds the
// picture for 5000 ms and then opens the main menu.
TEST(MapRoad, GoToMenuAnswers) {
  struct Case {
    const char* name;
    std::vector<int> keys;
    bool toMenu;
  };
  const Case cases[] = {
      {"No", {kVkRight, kVkEnter}, false},
      {"Yes", {kVkEnter}, true},
      {"Down, then Yes", {kVkDown, kVkEnter}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameRun run;
    run.PutSettings(DefaultSettings(), DefaultKeys());
    run.PutPlayer(NewGame());
    run.Shot(5, "menu.png");
    run.Tap(10, at::kPlay);  // saved progress: straight into the map
    const int ask = 80;
    run.Shot(ask - 2, "playing.png");
    run.Tap(ask, at::kInGameMenu);
    run.Shot(ask + 40, "asking.png");
    int tick = ask + 50;
    for (int vk : c.keys) {
      run.Press(tick, vk);
      tick += 10;
    }
    const int answered = tick - 10 + 1;
    run.Shot(answered + 4, "answered.png");
    run.Shot(answered + 4 + 2 * 100, "after4s.png");   // 4000 ms after the answer
    run.Shot(answered + 4 + 2 * 140, "after5.6s.png");  // past the 5000 ms pause
    ASSERT_EQ(run.Run(answered + 300), 0);

    const RgbImage playing = run.Image("playing.png"), asking = run.Image("asking.png"),
                  answeredShot = run.Image("answered.png"), menu = run.Image("menu.png");
    ASSERT_EQ(asking.width, 240);
    // The question dims the game to level 14 of 31.
    EXPECT_LT(asking.Brightness(0, 232, 240, 88), playing.Brightness(0, 232, 240, 88) * 0.6);
    // Answered: full brightness again at once (the console below the view is still).
    EXPECT_TRUE(answeredShot.SameArea(playing, 0, 240, 240, 40));
    const RgbImage later = run.Image("after5.6s.png");
    EXPECT_EQ(later.SameArea(menu, 0, 0, 240, 320), c.toMenu);
    if (c.toMenu) {  // still held 4000 ms after "Yes"
      EXPECT_FALSE(run.Image("after4s.png").SameArea(menu, 0, 0, 240, 320));
    }
    EXPECT_EQ(run.Log(), "");
  }
}

// Closing the window in the middle of a map ends through the same shutdown as every other
// road: the player data is written with the map it was in.
TEST(MapRoad, ClosingTheWindowMidMapWritesThePlayerData) {
  GameRun run;
  run.PutSettings(DefaultSettings(), DefaultKeys());
  run.PutPlayer(NewGame());
  run.Tap(10, at::kPlay);
  run.Close(120);
  ASSERT_EQ(run.Run(1000), 0);
  PlayerData p;
  ASSERT_TRUE(run.SavedPlayer(&p));
  EXPECT_STREQ(p.previousMap, "map1_1.map");
  EXPECT_EQ(run.Log(), "");
}

}  // namespace
