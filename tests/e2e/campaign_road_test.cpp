// Every campaign map entered in the real game at each of its entry points: the map loads
// with every kind it names beside what the game itself keeps (menu sounds, music), the log
// stays empty, and the first minutes of play look as the system should. Shots are kept
// in $KVR_KEEP_SHOTS when it is set.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game_run.h"

namespace {

struct Entry {
  const char* map;
  const char* entry;
  bool outside;  // also a run with the camera behind the craft
};

// One row per entry point of the campaign's maps.
const Entry kEntries[] = {
    {"map1_1", "default", true},     {"map1_1", "canyon", false},  {"map1_2", "south_gate", true},
    {"map1_2", "canyon_north", false}, {"map1_3", "default", true}, {"map1_3", "canyon", false},
    {"map2_1", "default", true},     {"map2_1", "station", false}, {"map2_2", "glacier", true},
    {"map3_1", "default", true},     {"map3_1", "relay", false},   {"map3_2", "swamp", true},
    {"map4_1", "default", true},     {"map5_1", "default", true},  {"map6_1", "default", true},
    {"map6_1", "core", false},       {"map6_2", "outer_gate", true},
};

TEST(CampaignRoad, EveryEntryPointPlaysWithAnEmptyLog) {
  for (const Entry& e : kEntries) {
    for (int outside = 0; outside <= (e.outside ? 1 : 0); ++outside) {
      SCOPED_TRACE(std::string(e.map) + " at " + e.entry + (outside ? ", outside" : ""));
      GameRun run;
      Settings s = DefaultSettings();
      s.cameraMode = outside ? kCameraExternal : kCameraFirstPerson;
      run.PutSettings(s, DefaultKeys());
      PlayerData p = NewGame();
      snprintf(p.nextMap, sizeof p.nextMap, "%s.map", e.map);
      snprintf(p.entryPoint, sizeof p.entryPoint, "%s", e.entry);
      run.PutPlayer(p);
      run.Tap(10, at::kPlay);
      run.Press(80, kVkE);  // engine on: a few steps into the map
      const std::string shot = std::string(e.map) + "_" + e.entry + (outside ? "_out" : "_fp") + ".png";
      run.Shot(140, shot);
      run.Close(150);
      ASSERT_EQ(run.Run(240), 0);
      EXPECT_EQ(run.Log(), "");
      PlayerData after;
      ASSERT_TRUE(run.SavedPlayer(&after));
      EXPECT_EQ(std::string(after.previousMap), std::string(e.map) + ".map");  // loading got through
      // A picture, not a black screen: sky and ground are drawn.
      const RgbImage pic = run.Image(shot);
      ASSERT_EQ(pic.width, 240);
      EXPECT_GT(pic.Brightness(0, 40, 240, 200), 12.0);
      run.Keep({shot});
    }
  }
}

}  // namespace
