// The menus end to end: options and their saving, key setup, credits, the exit button, the
// title music and a machine without sound.
#include <cstring>

#include "game_run.h"

namespace {

// After the 2000 ms splash the first timer message runs a burst of steps; from then on a
// step runs on every other message. Taps are four messages long, so every tap below is
// seen pressed and released.

TEST(MenuRoad, RoundTripsThroughEveryMenuComeBackToTheSameMainMenu) {
  GameRun run;
  run.PutSettings(DefaultSettings(), DefaultKeys());
  run.Shot(5, "start.png");
  run.Tap(10, at::kCredits);
  run.Shot(18, "credits.png");
  run.Tap(20, at::kCreditsBack);
  run.Tap(30, at::kOptions);
  run.Tap(40, at::kOptionsBack);
  run.Tap(50, at::kNewGame);
  run.Shot(58, "newgame.png");
  run.Tap(60, at::kNewGameCancel);
  run.Shot(70, "back.png");
  ASSERT_EQ(run.Run(72), 0);
  const RgbImage start = run.Image("start.png"), back = run.Image("back.png");
  ASSERT_EQ(start.width, 240);
  EXPECT_TRUE(start.SameArea(back, 0, 0, 240, 320));
  EXPECT_FALSE(start.SameArea(run.Image("credits.png"), 0, 0, 240, 320));
  EXPECT_FALSE(start.SameArea(run.Image("newgame.png"), 0, 0, 240, 320));
  EXPECT_EQ(run.Log(), "");
}

// Taps as quick as a touchpad's, whose press and release land within one step: held 0 or 1
// timer messages, with the step on either message, on the main menu and then on the form it
// opened; and two taps within one step, which press their two buttons in order.
TEST(MenuRoad, QuickTapsAreNeverLost) {
  struct Case {
    const char* name;
    int hold, phase;
    bool together;
  };
  const Case cases[] = {{"held 0, even", 0, 0, false}, {"held 0, odd", 0, 1, false},
                        {"held 1, even", 1, 0, false}, {"held 1, odd", 1, 1, false},
                        {"two taps in one step", 0, 0, true}};
  RgbImage newGame;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameRun run;
    run.PutSettings(DefaultSettings(), DefaultKeys());
    const auto tap = [&](int tick, Point p) {
      run.Line(std::to_string(tick) + " stylus-down " + std::to_string(p.x) + " " +
               std::to_string(p.y));
      run.Line(std::to_string(tick + c.hold) + " stylus-up");
    };
    run.Shot(8, "start.png");
    if (c.together) {
      // New Game, then its OK: the skill choice. The other way round, or the second lost,
      // leaves the New Game form.
      tap(10, at::kNewGame);
      tap(10, at::kNewGameOk);
    } else {
      tap(10 + c.phase, at::kNewGame);
      run.Shot(20, "newgame.png");
      tap(30 + c.phase, at::kNewGameCancel);
    }
    run.Shot(40, "end.png");
    ASSERT_EQ(run.Run(42), 0);
    const RgbImage start = run.Image("start.png"), end = run.Image("end.png");
    ASSERT_EQ(end.width, 240);
    if (c.together) {
      ASSERT_EQ(newGame.width, 240);
      EXPECT_FALSE(end.SameArea(start, 0, 0, 240, 320));
      EXPECT_FALSE(end.SameArea(newGame, 0, 0, 240, 320));
    } else {
      newGame = run.Image("newgame.png");
      EXPECT_FALSE(newGame.SameArea(start, 0, 0, 240, 320)) << "the New Game tap was lost";
      EXPECT_TRUE(end.SameArea(start, 0, 0, 240, 320)) << "the Cancel tap was lost";
    }
    EXPECT_EQ(run.Log(), "");
  }
}

// What leaving the options form by its back button keeps, and what any other road loses.
TEST(MenuRoad, OptionsAreSavedOnlyByTheBackButton) {
  struct Case {
    const char* name;
    bool back;
  };
  for (const Case c : {Case{"back button", true}, Case{"window closed", false}}) {
    SCOPED_TRACE(c.name);
    GameRun run;
    run.PutSettings(DefaultSettings(), DefaultKeys());
    const std::string before = run.dir.Read(kSettingsFile);
    run.Tap(10, at::kOptions);
    run.Tap(20, at::kVolumePlus);  // at the top of the bar already: no change
    run.Tap(30, at::kVolumeMinus);
    run.Tap(40, at::kVolumeMinus);
    run.Tap(50, at::kVisPlus);
    run.Tap(60, at::kPlayMusic);
    run.Tap(70, at::kCameraFirstPerson);
    if (c.back) run.Tap(80, at::kOptionsBack);
    run.Close(100);
    ASSERT_EQ(run.Run(200), 0);
    Settings s;
    KeyBindings keys;
    ASSERT_TRUE(run.SavedSettings(&s, &keys));
    if (c.back) {
      EXPECT_EQ(s.volume, 256 - 32);
      EXPECT_EQ(s.visibility, 2800 + 200);
      EXPECT_EQ(s.playMusic, 0);
      EXPECT_EQ(s.cameraMode, kCameraExternal);
      EXPECT_EQ(s.showBackground, 1);
      const KeyBindings defaults = DefaultKeys();
      EXPECT_EQ(memcmp(&keys, &defaults, sizeof keys), 0);
    } else {
      EXPECT_EQ(run.dir.Read(kSettingsFile), before);
    }
    EXPECT_EQ(run.Log(), "");
  }
}

// A player's own options (none of them the defaults) fill the form exactly as if set by
// hand on it, and its back button writes them back unchanged.
TEST(MenuRoad, TheOptionsFormShowsTheSavedSettingsAndBackKeepsThem) {
  GameRun own;
  Settings mine = DefaultSettings();
  mine.playMusic = 0;
  mine.volume = 96;
  mine.visibility = 3400;
  mine.cameraMode = kCameraExternal;
  own.PutSettings(mine, DefaultKeys());
  const std::string before = own.dir.Read(kSettingsFile);
  own.Tap(10, at::kOptions);
  own.Shot(18, "options.png");
  own.Tap(20, at::kOptionsBack);
  own.Close(40);
  ASSERT_EQ(own.Run(60), 0);
  EXPECT_EQ(own.dir.Read(kSettingsFile), before);

  // The same values reached from the defaults with the form's own controls; the background
  // box, tapped off and on again, takes the focus back to where a new form has it.
  GameRun byHand;
  byHand.PutSettings(DefaultSettings(), DefaultKeys());
  int tick = 10;
  auto tap = [&](Point p) { byHand.Tap(tick, p), tick += 10; };
  tap(at::kOptions);
  tap(at::kPlayMusic);
  tap(at::kCameraFirstPerson);
  for (int i = 0; i < 10; ++i) tap(at::kVolumeMinus);  // 256 - 10 x 16 = 96
  for (int i = 0; i < 3; ++i) tap(at::kVisPlus);       // 2800 + 3 x 200 = 3400
  tap(at::kShowBackground);
  tap(at::kShowBackground);
  byHand.Shot(tick, "options.png");
  ASSERT_EQ(byHand.Run(tick + 2), 0);
  const RgbImage shown = own.Image("options.png");
  ASSERT_EQ(shown.width, 240);
  EXPECT_TRUE(shown.SameArea(byHand.Image("options.png"), 0, 0, 240, 320));
  EXPECT_EQ(own.Log() + byHand.Log(), "");
}

// Key setup: a game key taken from another game action unbinds it; a menu key leaves the
// game actions alone; the form comes back after every key with the new codes on it.
TEST(MenuRoad, KeySetupAssignsUnbindsAndShowsTheNewCodes) {
  GameRun run;
  run.PutSettings(DefaultSettings(), DefaultKeys());
  run.Tap(10, at::kOptions);
  run.Tap(20, at::kKeySetup);
  run.Shot(28, "keys_before.png");
  run.Tap(30, at::kKeyTurnLeft);
  run.Shot(40, "press_a_key.png");
  run.Press(44, kVkSpace);  // Space was SHOOT's: LEFT takes it, SHOOT is unbound
  run.Shot(60, "keys_after_left.png");
  run.Tap(70, at::kKeyShoot);
  run.Press(84, kVkX);
  run.Tap(100, at::kKeyMenuSelect);
  run.Press(114, kVkX);  // SHOOT's key as MENUSELECT: both keep it
  run.Tap(130, at::kKeySetupBack);
  ASSERT_EQ(run.Run(150), 0);

  Settings s;
  KeyBindings keys;
  ASSERT_TRUE(run.SavedSettings(&s, &keys));
  KeyBindings expected = DefaultKeys();
  expected.code[kActLeft] = kVkSpace;
  expected.code[kActShoot] = kVkX;
  expected.code[kActMenuSelect] = kVkX;
  for (int slot = 0; slot < kBindingCount; ++slot)
    EXPECT_EQ(keys.code[slot], expected.code[slot]) << "slot " << slot;

  // The form reopened after the first key shows what a form opened on those bindings shows.
  GameRun same;
  KeyBindings afterLeft = DefaultKeys();
  afterLeft.code[kActLeft] = kVkSpace;
  afterLeft.code[kActShoot] = 0;
  same.PutSettings(DefaultSettings(), afterLeft);
  same.Tap(10, at::kOptions);
  same.Tap(20, at::kKeySetup);
  same.Shot(28, "keys.png");
  ASSERT_EQ(same.Run(30), 0);
  const RgbImage reopened = run.Image("keys_after_left.png");
  EXPECT_TRUE(reopened.SameArea(same.Image("keys.png"), 0, 0, 240, 320));
  EXPECT_FALSE(reopened.SameArea(run.Image("keys_before.png"), 0, 0, 240, 320));
  // "Press a key" stands alone on a cleared screen.
  const RgbImage prompt = run.Image("press_a_key.png");
  EXPECT_EQ(prompt.Brightness(0, 0, 240, 100), 0.0);
  EXPECT_GT(prompt.Brightness(0, 140, 240, 40), 0.0);
}

TEST(MenuRoad, TheExitButtonEndsTheProgramAndKeepsThePlayerData) {
  GameRun run;
  run.Tap(10, at::kExit);
  run.Shot(12, "before.png");
  run.Shot(30, "after.png");
  ASSERT_EQ(run.Run(1000), 0);
  EXPECT_TRUE(run.Has("before.png"));
  EXPECT_FALSE(run.Has("after.png"));  // over within a step of the tap, long before 1000
  PlayerData p;
  ASSERT_TRUE(run.SavedPlayer(&p));
  EXPECT_STREQ(p.nextMap, "map1_1.map");
  EXPECT_STREQ(p.entryPoint, "default");
  EXPECT_FALSE(run.Has(kSettingsFile));  // settings are written by the options only
  EXPECT_EQ(run.Log(), "");
}

// The title music plays on the main menu when the settings ask for it; without a sound
// card the game says so once and runs on.
TEST(MenuRoad, TitleMusicAndTheSilentMachine) {
  struct Case {
    const char* name;
    uint8_t playMusic;
    bool nosound;
    bool heard;
  };
  for (const Case c : {Case{"music on", 1, false, true}, Case{"music off", 0, false, false},
                       Case{"no sound card", 1, true, false}}) {
    SCOPED_TRACE(c.name);
    GameRun run;
    Settings s = DefaultSettings();
    s.playMusic = c.playMusic;
    run.PutSettings(s, DefaultKeys());
    run.Shot(90, "menu.png");
    ASSERT_EQ(run.Run(100, "--wav " + run.dir.File("out.wav") + (c.nosound ? " --nosound" : "")), 0);
    EXPECT_TRUE(run.Has("menu.png"));
    const std::string wav = run.Has("out.wav") ? run.dir.Read("out.wav") : std::string();
    size_t loud = 0;
    for (size_t i = 44; i + 1 < wav.size(); i += 2)
      if (wav[i] != 0 || wav[i + 1] != 0) ++loud;
    EXPECT_EQ(loud > 0, c.heard);
    EXPECT_EQ(run.Log(), c.nosound ? "Error init audio eng.\n" : "");
  }
}

}  // namespace
