// The craft in map1_1, end to end: engine on, turn, look down and up, each weapon fired,
// a walk onto the lava until the craft dies, and the map as it was with the craft back at
// its entry; once in first person and once from behind.
#include <cstring>

#include "game_run.h"

namespace {

// A campaign in map1_1 with rockets to fire.
PlayerData ArmedGame() {
  PlayerData p = NewGame();
  p.rockets = 4;
  return p;
}

// Pixels of the 3D view (above the console) whose colour passes the test.
template <typename F>
int CountInView(const RgbImage& p, int viewHeight, F test) {
  int n = 0;
  for (int y = 0; y < viewHeight; ++y)
    for (int x = 0; x < p.width; ++x) {
      const uint32_t c = p.At(x, y);
      n += test(int(c >> 16), int((c >> 8) & 255), int(c & 255)) ? 1 : 0;
    }
  return n;
}

bool PlasmaBlue(int r, int g, int b) { return b > 220 && r < 140 && g > 120; }
bool FireOrange(int r, int g, int b) { return r > 220 && g > 120 && g < 215 && b < 110; }

// The road of both runs, in timer messages (two per game step): into the map from the main
// menu, turn right 23 steps (to about 100 degrees), engine on, look down, up and level,
// the machine gun, W, the plasma gun, W, one rocket, W back to the machine gun; the walk
// goes on east-south-east into the lava, where the engine is switched off.
void DriveTheCraft(GameRun& run) {
  run.Tap(10, at::kPlay);
  run.Line("60 down 39");
  run.Line("106 up 39");
  run.Press(110, kVkE);
  run.Line("120 down 40");
  run.Line("130 up 40");
  run.Line("140 down 38");
  run.Line("160 up 38");
  run.Line("166 down 40");
  run.Line("176 up 40");
  run.Line("180 down 32");
  run.Line("230 up 32");
  run.Press(240, kVkW);
  run.Line("250 down 32");
  run.Line("290 up 32");
  run.Press(300, kVkW);
  run.Press(310, kVkSpace);
  run.Press(420, kVkW);
  run.Press(700, kVkE);
}

TEST(PlayerRoad, FirstPersonTheCraftFightsDiesOnTheLavaAndComesBackAtItsEntry) {
  GameRun run;
  run.PutSettings(DefaultSettings(), DefaultKeys());
  run.PutPlayer(ArmedGame());
  DriveTheCraft(run);
  run.Shot(50, "start.png");
  run.Shot(132, "look_down.png");
  run.Shot(162, "look_up.png");
  run.Shot(262, "plasma.png");
  run.Shot(316, "rocket.png");
  run.Shot(700, "lava.png");
  run.Shot(800, "death_blast.png");
  run.Shot(1500, "back_at_entry.png");
  run.Close(1520);
  ASSERT_EQ(run.Run(1600), 0);
  EXPECT_EQ(run.Log(), "");

  const RgbImage start = run.Image("start.png"), down = run.Image("look_down.png"),
                up = run.Image("look_up.png"), plasma = run.Image("plasma.png"),
                rocket = run.Image("rocket.png"), lava = run.Image("lava.png"),
                blast = run.Image("death_blast.png"), back = run.Image("back_at_entry.png");
  ASSERT_EQ(back.width, 240);
  constexpr int kView = 232;  // the first-person view above the console
  EXPECT_FALSE(down.SameArea(up, 0, 0, 240, kView));
  // Plasma bolts in flight, the rocket's flame, the fireball of the craft's own blast.
  EXPECT_GT(CountInView(plasma, kView, PlasmaBlue), 20);
  EXPECT_EQ(CountInView(start, kView, PlasmaBlue), 0);
  EXPECT_GT(CountInView(rocket, kView, FireOrange), 20);
  EXPECT_GT(CountInView(blast, kView, FireOrange), 200);
  // On the lava the energy bar is shorter than at the start.
  EXPECT_LT(lava.Brightness(128, 240, 102, 9), start.Brightness(128, 240, 102, 9));
  // Death: the whole screen is the 3D view (no console, no black band where it stood), and
  // after the restore the map and the craft are exactly as they were when it entered.
  EXPECT_FALSE(blast.SameArea(start, 0, 290, 240, 30));
  EXPECT_GT(blast.Brightness(0, kView, 240, 320 - kView), 20.0);
  run.Keep({"death_blast.png"});
  // The band across the middle of the view holds what moves by itself after a load: the
  // ammunition crate beside the pad spins from the moment the map is loaded, and the
  // enemies on the far side of the canyon's mouth have walked for another while (so their
  // dots on the radar, left of the console, have moved too). Everything else, the sky, the
  // mesa, the pad and the console, is exactly as at entry.
  constexpr int kBandTop = 100, kBandBottom = 152, kRadarRight = 84;
  EXPECT_TRUE(back.SameArea(start, 0, 0, 240, kBandTop));
  EXPECT_TRUE(back.SameArea(start, 0, kBandBottom, 240, kView - kBandBottom));
  EXPECT_TRUE(back.SameArea(start, kRadarRight, kView, 240 - kRadarRight, 320 - kView));

  PlayerData p;
  ASSERT_TRUE(run.SavedPlayer(&p));
  EXPECT_EQ(p.energy, 250);
  EXPECT_EQ(p.gunAmmo, 300);  // what it had when it entered the map
  EXPECT_EQ(p.rockets, 4);
  EXPECT_EQ(p.state, 0);
  EXPECT_EQ(p.restorePlayer, 1);  // closed while alive: the place is kept
  EXPECT_EQ(p.position[0], 3000);
  EXPECT_EQ(p.position[2], 2700);
}

TEST(PlayerRoad, FromBehindTheCraftWalksAndFires) {
  GameRun run;
  Settings settings = DefaultSettings();
  settings.cameraMode = 3;
  run.PutSettings(settings, DefaultKeys());
  run.PutPlayer(ArmedGame());
  DriveTheCraft(run);
  run.Shot(50, "start.png");
  run.Shot(132, "look_down.png");
  run.Shot(196, "machine_gun.png");
  run.Shot(262, "plasma.png");
  run.Shot(316, "rocket.png");
  run.Shot(500, "walking.png");
  run.Shot(800, "death_blast.png");
  run.Close(820);
  ASSERT_EQ(run.Run(900), 0);
  EXPECT_EQ(run.Log(), "");
  const RgbImage start = run.Image("start.png"), plasma = run.Image("plasma.png"),
                rocket = run.Image("rocket.png"), walking = run.Image("walking.png");
  ASSERT_EQ(walking.width, 240);
  constexpr int kView = 280;
  EXPECT_GT(CountInView(plasma, kView, PlasmaBlue), 20);
  EXPECT_GT(CountInView(rocket, kView, FireOrange), 10);
  // The craft stands in the lower middle of the view, dark against the sand behind it.
  EXPECT_LT(start.Brightness(90, 170, 60, 60), start.Brightness(0, 170, 40, 60));
  EXPECT_FALSE(walking.SameArea(start, 0, 0, 240, kView));
  // Death fills the screen below the view too.
  const RgbImage blast = run.Image("death_blast.png");
  EXPECT_GT(CountInView(blast, 320, FireOrange), 200);
  EXPECT_GT(blast.Brightness(0, kView, 240, 320 - kView), 20.0);
}

}  // namespace
