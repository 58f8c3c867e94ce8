// The mission end to end on the proving ground: the X Bomb and the neural link with the
// barrier beyond it, the code card and the mainframe's final text, the keycard and the
// ship's departure, and the launch pad's road through the star chart.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game_run.h"

namespace {

constexpr int kPlayAt = 10;      // the Play button on the main menu
constexpr int kEngineAt = 80;    // the map has loaded and play runs by then
// Star chart and notice buttons (their pictures' centres).
constexpr Point kDestPrevious{32, 296}, kDestNext{208, 296}, kDestJump{120, 296};
constexpr Point kTooFarOk{120, 250};

// A saved game standing at an entry point of the proving ground.
PlayerData OnTheGround(const char* entry) {
  PlayerData p = NewGame();
  snprintf(p.nextMap, sizeof p.nextMap, "testgrounds.map");
  snprintf(p.entryPoint, sizeof p.entryPoint, "%s", entry);
  return p;
}

// Starts the run in the map: settings, player data, Play.
void Start(GameRun& run, const PlayerData& p, int32_t cameraMode = kCameraFirstPerson) {
  Settings s = DefaultSettings();
  s.cameraMode = cameraMode;
  s.playMusic = 0;
  run.PutSettings(s, DefaultKeys());
  run.PutPlayer(p);
  run.Tap(kPlayAt, at::kPlay);
}

// Shots at the given timer messages; their names.
std::vector<std::string> Shots(GameRun& run, const std::vector<std::pair<int, std::string>>& at) {
  std::vector<std::string> names;
  for (const auto& [tick, name] : at) {
    run.Shot(tick, name);
    names.push_back(name);
  }
  return names;
}

// The map state file's bytes (empty when absent).
std::string MapState(const GameRun& run) {
  return run.Has("testgrounds.sav") ? run.dir.Read("testgrounds.sav") : std::string();
}

// Where the kinds keep their records in the proving ground's state file, by the .ent order
// (the craft, the keycards' ship lane, the stations and the exit keep none).
constexpr size_t kBombRecord = 0, kLinkRecord = 21, kBarrierRecord = 42, kCodeCardRecord = 63,
                 kMainframeRecord = 84, kGalleryBarrierRecord = 215, kStateBytes = 236;

// Walking north from its lane's start, the craft takes the X Bomb, arms the link, waits out
// the countdown with it and walks on through the lowered barrier.
TEST(MissionRoad, TheXBombArmsTheNeuralLinkAndTheBarrierOpensAfterIt) {
  GameRun run;
  Start(run, OnTheGround("bomb"));
  run.Press(kEngineAt, kVkE);
  const std::vector<std::string> names = Shots(run, {
      {140, "link_bomb_ahead.png"}, {300, "link_barrier_up.png"}, {400, "link_planted.png"},
      {470, "link_count_2.png"},    {580, "link_explodes.png"},   {620, "link_debris.png"},
      {700, "link_barrier_down.png"}});
  run.Close(900);
  ASSERT_EQ(run.Run(1000), 0);
  run.Keep(names);
  PlayerData p;
  ASSERT_TRUE(run.SavedPlayer(&p));
  EXPECT_EQ(p.xBomb, 1);
  EXPECT_EQ(p.neuralLinkDown, 1);
  // Left by closing the window: the craft's place is kept, beyond the barrier.
  EXPECT_EQ(p.restorePlayer, 1);
  EXPECT_GT(p.position[2], 3900);
  const std::string state = MapState(run);
  ASSERT_EQ(state.size(), kStateBytes);
  EXPECT_EQ(state[kBombRecord], 0);      // taken
  EXPECT_EQ(state[kLinkRecord], 0);      // destroyed
  EXPECT_EQ(state[kBarrierRecord], 0);   // lowered
  EXPECT_EQ(state[kCodeCardRecord], 1);  // another lane's, untouched
  EXPECT_EQ(state[kGalleryBarrierRecord], 0);  // every barrier of the map went down
  EXPECT_EQ(run.Log(), "");
}

// Walking into the neural link without the bomb only tells the player what is missing.
TEST(MissionRoad, TheLinkWithoutTheBombStands) {
  GameRun run;
  Start(run, OnTheGround("link"));  // past the bomb
  run.Press(kEngineAt, kVkE);
  run.Shot(300, "link_needs_bomb.png");
  run.Close(700);
  ASSERT_EQ(run.Run(800), 0);
  run.Keep({"link_needs_bomb.png"});
  PlayerData p;
  ASSERT_TRUE(run.SavedPlayer(&p));
  EXPECT_EQ(p.neuralLinkDown, 0);
  const std::string state = MapState(run);
  ASSERT_EQ(state.size(), kStateBytes);
  EXPECT_EQ(state[kLinkRecord], 1);
  EXPECT_EQ(state[kBarrierRecord], 1);
  EXPECT_EQ(run.Log(), "");
}

// The code card arms the mainframe; fifteen seconds later it blows up, the final text
// scrolls and the main menu returns with a new campaign waiting.
TEST(MissionRoad, TheMainframeEndsTheGameWithTheFinalText) {
  GameRun run;
  Start(run, OnTheGround("code"));
  run.Shot(5, "menu.png");
  run.Press(kEngineAt, kVkE);
  const std::vector<std::string> names = Shots(run, {
      {420, "mainframe_activated.png"}, {800, "mainframe_count.png"},
      {1086, "mainframe_explodes.png"}, {1120, "mainframe_debris.png"},
      {1700, "final_text.png"},         {6000, "after_final.png"}});
  run.Close(6020);
  ASSERT_EQ(run.Run(6100), 0);
  run.Keep(names);
  PlayerData p;
  ASSERT_TRUE(run.SavedPlayer(&p));
  // A new campaign waits (the code card's flag went with the reset).
  EXPECT_STREQ(p.nextMap, "map1_1.map");
  EXPECT_EQ(p.selfDestructCode, 0);
  EXPECT_EQ(p.restorePlayer, 0);
  EXPECT_TRUE(run.Image("after_final.png").SameArea(run.Image("menu.png"), 0, 0, 240, 320));
  EXPECT_EQ(run.Log(), "");
}

// The keycard opens the ship: the craft drives up the ramp, the door shuts, the ship climbs
// away, the picture fades, and after the closing pause the main menu returns.
TEST(MissionRoad, TheShipLeavesWithThePlayerAndTheGameEnds) {
  GameRun run;
  Start(run, OnTheGround("ship"), kCameraExternal);
  run.Shot(5, "menu.png");
  run.Press(kEngineAt, kVkE);
  const std::vector<std::string> names = Shots(run, {
      {200, "ship_ahead.png"},   {420, "ship_boarding.png"}, {600, "ship_door.png"},
      {780, "ship_departs.png"}, {860, "ship_fading.png"},   {1600, "after_ship.png"}});
  run.Close(1620);
  ASSERT_EQ(run.Run(1700), 0);
  run.Keep(names);
  PlayerData p;
  ASSERT_TRUE(run.SavedPlayer(&p));
  EXPECT_STREQ(p.nextMap, "map1_1.map");
  EXPECT_EQ(p.haveShipKeyCard, 0);  // reset with the new campaign
  // Boarding shows the whole screen: the rows under the external view are not left black.
  for (const char* shot : {"ship_boarding.png", "ship_door.png"})
    EXPECT_GT(run.Image(shot).Brightness(0, 280, 240, 40), 20.0) << shot;
  EXPECT_TRUE(run.Image("after_ship.png").SameArea(run.Image("menu.png"), 0, 0, 240, 320));
  EXPECT_EQ(run.Log(), "");
}

// The launch pad's exit opens the star chart; the jump goes where the chart says.
TEST(MissionRoad, TheLaunchPadLeadsThroughTheStarChart) {
  struct Case {
    const char* name;
    uint8_t charged;
    std::vector<Point> taps;  // on the chart, in order
    const char* nextMap;
    uint8_t chargedAfter;
    int32_t systemAfter;
    int32_t choiceAfter;
  };
  const Case cases[] = {
      {"within the system", 1, {kDestJump}, "map1_3.map", 1, 1, 0},
      {"within the system without the charge", 0, {kDestJump}, "map1_3.map", 0, 1, 0},
      {"to another system without the charge", 0, {kDestNext, kDestJump, kTooFarOk},
       "starchart.map", 0, 1, 1},
      {"to another system with the charge", 1, {kDestNext, kDestNext, kDestPrevious, kDestJump},
       "map2_1.map", 0, 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameRun run;
    PlayerData start = OnTheGround("pad");
    start.hyperjumpLoaded = c.charged;
    Start(run, start);
    run.Press(kEngineAt, kVkE);
    const int chart = 420;  // the craft has reached the pad's exit by then
    run.Shot(chart, "chart_open.png");
    int tick = chart + 20;
    int n = 0;
    for (Point tap : c.taps) {
      run.Tap(tick, tap);
      run.Shot(tick + 30, "chart_" + std::to_string(++n) + ".png");
      tick += 40;
    }
    run.Shot(tick + 100, "chart_after.png");
    run.Close(tick + 110);
    ASSERT_EQ(run.Run(tick + 200), 0);
    if (c.charged && c.nextMap[0] == 'm' && c.systemAfter == 1) {
      run.Keep({"chart_open.png", "chart_after.png"});
    } else if (!c.charged) {
      run.Keep({"chart_1.png", "chart_2.png"});
    }
    PlayerData p;
    ASSERT_TRUE(run.SavedPlayer(&p));
    EXPECT_STREQ(p.nextMap, c.nextMap);
    EXPECT_EQ(p.hyperjumpLoaded, c.chargedAfter);
    EXPECT_EQ(p.starSystem, c.systemAfter);
    EXPECT_EQ(p.starChartChoice, c.choiceAfter);
    EXPECT_STREQ(p.entryPoint, "default");
    EXPECT_TRUE(run.Has("testgrounds.sav"));  // the ground was left alive: its state kept
    EXPECT_EQ(run.Log(), "");
  }
}

}  // namespace
