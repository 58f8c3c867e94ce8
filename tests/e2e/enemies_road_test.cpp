// The five enemies against the real craft, end to end: the enemy arena loads, every kind
// comes at the craft and fires, and the craft destroys them all through its keys; the map
// state left behind records every enemy dead.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "game_run.h"

namespace {

constexpr int32_t kEnemyRecordBytes = 24;  // hit points, state, position block
constexpr int32_t kTowerRecordBytes = 21;  // active flag, position block, heading

int32_t I32(const std::string& s, size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t(uint8_t(s[at + i])) << (8 * i);
  return int32_t(v);
}

// The arena's enemies in .ent order (the craft's record keeps no state).
enum Foe { kTower, kRaptor, kTank, kHover, kFlyer, kFoes };
const char* const kFoeNames[kFoes] = {"tower", "raptor", "tank", "hover", "flyer"};
const int32_t kFoeHitPoints[kFoes] = {200, 200, 300, 230, 130};

// A map state for the arena in which only `alive` lives: the others are already dead.
std::string ArenaState(const GameRun& run, Foe alive) {
  const std::string ent = run.dir.Read("enemytest.ent");
  std::string out;
  auto put = [&out](int32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(char(uint32_t(v) >> (8 * i)));
  };
  for (int f = 0; f < kFoes; ++f) {
    const size_t record = 4 + size_t(f + 1) * 220;  // after the count and the craft's record
    int32_t x = I32(ent, record + 8), y = I32(ent, record + 12), z = I32(ent, record + 16);
    if (f == kFlyer) y = 400;  // where the loader puts a flyer
    if (f == kTower) {
      out.push_back(f == alive ? 1 : 0);
      put(x), put(y), put(z), put(0);
      put(int32_t(I32(ent, record + 24) * 1456.3));  // whole degrees to heading units
    } else {
      put(f == alive ? kFoeHitPoints[f] : 0);
      put(f == alive ? 0 : 2);
      put(x), put(y), put(z), put(0);
    }
  }
  return out;
}

// Where an enemy is seen from the craft's place, as its radar showed it in a run where the
// craft held still: (timer message, bearing in degrees, 0 = north, clockwise). The enemies'
// moves do not depend on where the craft looks, so the same run repeats them.
struct Bearing {
  int tick;
  double degrees;
};

// The fight's keys: fire held throughout, the view raised by `pitchSteps`, and the craft
// turned every ten timer messages toward the enemy's bearing (at most four turn steps at a
// time), counting its own heading as it goes.
std::string TrackingScript(const std::vector<Bearing>& bearings, int pitchSteps) {
  constexpr int kLeft = 0x25, kRight = 0x27, kViewUp = 0x26, kShoot = 0x20;
  constexpr double kTurnStep = 5000.0 * 360.0 / 524288.0;  // degrees per held step
  std::string s;
  auto key = [&s](int tick, const char* verb, int vk) {
    s += std::to_string(tick) + " " + verb + " " + std::to_string(vk) + "\n";
  };
  key(60, "down", kShoot);
  if (pitchSteps > 0) key(60, "down", kViewUp), key(60 + 2 * pitchSteps, "up", kViewUp);
  double heading = 0;
  for (int t = 100; t < 3780 && !bearings.empty(); t += 10) {
    const Bearing* best = &bearings[0];
    for (const Bearing& b : bearings)
      if (std::abs(b.tick - t) < std::abs(best->tick - t)) best = &b;
    const double off = std::remainder(best->degrees - heading, 360.0);
    const int steps = std::clamp(int(std::lround(off / kTurnStep)), -4, 4);
    if (steps == 0) continue;
    key(t, "down", steps > 0 ? kRight : kLeft);
    key(t + 2 * std::abs(steps), "up", steps > 0 ? kRight : kLeft);
    heading = std::remainder(heading + steps * kTurnStep, 360.0);
  }
  key(3800, "up", kShoot);
  return s;
}

struct Fight {
  std::vector<Bearing> bearings;
  int pitchSteps;
  int alive, firing, exploding;  // timer messages of the pictures kept for review
};

const Fight kFights[kFoes] = {
    // The tower stands straight ahead.
    {{{100, 0}}, 0, 300, 400, 500},
    // The raptor comes in from the left and circles left while it evades.
    {{{100, -19.8}, {150, -15.6}, {200, -17.7}, {250, -18.4}, {300, -18.4}, {350, -21.0},
      {400, -8.1},   {450, -10.0}, {500, -8.5},   {550, -16.7}, {600, -19.4}, {650, -23.2},
      {700, -24.4},  {750, -26.6}, {800, -26.6},  {850, -31.0}, {900, -33.7}, {950, -26.6},
      {1000, -23.2}, {1050, -24.8}, {1100, -24.8}, {1150, -21.8}, {1200, -22.4},
      {1250, -24.2}, {1300, -32.9}, {1350, -32.7}, {1400, -36.0}, {1450, -35.0},
      {1500, -37.9}, {1550, -48.4}, {1600, -52.1}},
     0, 300, 380, 460},
    // The tank rolls straight at the craft.
    {{{100, 0}}, 0, 900, 1000, 1160},
    // The hover chasmo sweeps past, waits off to the east, and comes round again.
    {{{100, -25.1},  {150, -18.9},  {200, -10.3},  {250, -2.0},   {300, 2.7},    {350, 4.1},
      {400, 23.2},   {450, 69.4},   {500, 82.4},   {550, 84.6},   {600, 92.3},   {650, 99.5},
      {700, 100.3},  {1000, 100.3}, {1050, 98.5},  {1100, 90.0},  {1150, 76.0},  {1200, 23.2},
      {1250, 4.1},   {1300, 2.7},   {1350, 0.0},   {1400, -5.0},  {1450, -12.9}, {1500, -21.2},
      {1550, -28.4}, {1600, -35.2}, {1650, -45.0}, {1700, -73.3}, {1750, -103.0},
      {1800, -104.9}, {1950, -104.9}, {2000, -110.0}, {2050, -135.0}, {2100, 166.0},
      {2150, 143.1}, {2200, 153.4}, {2250, -143.1}, {2300, -104.0}, {2350, -78.7},
      {2400, -58.4}, {2450, -52.6}, {2500, -46.5}, {2550, -39.3}, {2600, -31.8},
      {2650, -26.6}, {2700, -15.3}, {2750, 23.2},  {2800, 48.4},  {2850, 58.0}},
     0, 400, 600, 860},
    // The flyer crosses from the right, dives past and hangs behind the craft to the left.
    {{{100, 22.4},   {150, 18.9},   {200, 13.4},   {250, 7.8},    {300, 1.3},    {350, -5.4},
      {400, -10.4},  {450, -13.2},  {500, -15.4},  {550, -18.4},  {600, -20.2},  {650, -26.6},
      {700, -33.7},  {750, -45.0},  {800, -108.4}, {850, -153.4}, {900, -164.7},
      {1650, -126.3}, {1700, -125.5}},
     2, 500, 800, 1040},
};

TEST(EnemiesRoad, EveryKindAttacksTheCraftAndIsDestroyedByIt) {
  for (int f = 0; f < kFoes; ++f) {
    const Foe foe = Foe(f);
    SCOPED_TRACE(kFoeNames[foe]);
    GameRun run;
    PlayerData p = NewGame();
    strcpy(p.nextMap, "enemytest.map");
    strcpy(p.entryPoint, "default");
    p.skillLevel = 1;
    p.plasmaAmmo = 150;
    p.rockets = 8;
    run.PutPlayer(p);
    Settings s = DefaultSettings();
    s.cameraMode = 1;  // from the cockpit: the enemy in the crosshair
    run.PutSettings(s, DefaultKeys());
    run.dir.Write("enemytest.sav", ArenaState(run, foe));

    std::vector<std::string> shots;
    auto shot = [&](int tick, const std::string& name) {
      run.Shot(tick, name);
      shots.push_back(name);
    };
    run.Tap(10, at::kPlay);
    const Fight& fight = kFights[foe];
    run.Line(TrackingScript(fight.bearings, fight.pitchSteps));
    const std::string name = kFoeNames[foe];
    shot(fight.alive, name + "_alive.png");
    shot(fight.firing, name + "_firing.png");
    shot(fight.exploding, name + "_exploding.png");
    const int end = 4100;
    run.Tap(end, at::kInGameMenu);
    run.Press(end + 20, kVkEnter);  // "Go to menu?" yes: the map is left alive, its state saved
    run.Close(end + 400);
    ASSERT_EQ(run.Run(end + 500), 0);
    run.Keep(shots);

    ASSERT_TRUE(run.Has("enemytest.sav"));
    const std::string state = run.dir.Read("enemytest.sav");
    ASSERT_EQ(state.size(), size_t(kTowerRecordBytes + 4 * kEnemyRecordBytes));
    if (foe == kTower) {
      EXPECT_EQ(state[0], 0) << "the tower still stands";
    } else {
      const size_t at = kTowerRecordBytes + size_t(foe - 1) * kEnemyRecordBytes;
      EXPECT_EQ(I32(state, at), 0) << "hit points";
      EXPECT_EQ(I32(state, at + 4), 2) << "state";
    }
    PlayerData after;
    ASSERT_TRUE(run.SavedPlayer(&after));
    EXPECT_GT(after.energy, 0) << "the craft died";
    EXPECT_LT(after.energy, 250) << "nothing hit the craft";
    EXPECT_EQ(run.Log(), "");
  }
}

}  // namespace
