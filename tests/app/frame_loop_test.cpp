// FrameTick: steps due from real time, the 50-step cap, the fallback clock, latches.
#include <vector>

#include "driver_fixture.h"

namespace {

// Records what the shell asked of the game.
class RecordingGame : public GameHooks {
 public:
  void Initialise(uint32_t handle, uint16_t*) override { this->handle = handle; }
  bool Update(uint16_t*, int32_t delta) override {
    deltas.push_back(delta);
    pressedShoot.push_back(ActionPressed(kActShoot));
    heldShoot.push_back(ActionHeld(kActShoot));
    if (onUpdate) onUpdate(int(deltas.size()));
    return failAt != int(deltas.size());
  }
  void Render(uint16_t*) override { ++renders; }
  void Shutdown() override { ++shutdowns; }

  uint32_t handle = 0;
  std::vector<int32_t> deltas;
  std::vector<bool> pressedShoot, heldShoot;
  int renders = 0, shutdowns = 0, failAt = -1;
  void (*onUpdate)(int) = nullptr;
};

class FrameLoopTest : public HeadlessTest {
 protected:
  // A timer message at clock `ms`.
  void TickAt(uint64_t ms) {
    platform.SetClockMs(ms);
    FrameTick(&game);
  }
  RecordingGame game;
};

}  // namespace

TEST_F(FrameLoopTest, ATimerMessageBeforeAStepIsDueStillPresents) {
  TickAt(40);  // one step due
  EXPECT_EQ(game.deltas.size(), 1u);
  TickAt(79);  // 39 ms after the boundary: no step
  EXPECT_EQ(game.deltas.size(), 1u);
  EXPECT_EQ(std::make_pair(game.renders, platform.PresentCount()), std::make_pair(2, 2));
  EXPECT_EQ(FrameClock.accumulator, 39);
}

TEST_F(FrameLoopTest, TheFirstStepsDeltaIsTheWholeClock) {
  TickAt(1000);
  ASSERT_EQ(game.deltas.size(), 25u);
  // The update sees the delta measured before it; the first measurement is the full clock.
  EXPECT_EQ(game.deltas[0], 0);
  EXPECT_EQ(game.deltas[1], 1000);
  EXPECT_EQ(FrameDeltaMs, 0);  // all later steps end at the same clock reading
}

TEST_F(FrameLoopTest, AStallRunsFiftyStepsAndDropsTheRest) {
  TickAt(0);
  TickAt(3000);  // 75 steps due
  EXPECT_EQ(game.deltas.size(), 50u);
  EXPECT_EQ(FrameClock.accumulator, 0);  // lowered by all 75 steps, not by 50
  TickAt(3039);
  EXPECT_EQ(game.deltas.size(), 50u);
}

TEST_F(FrameLoopTest, WithoutACounterTheClockGrowsBy66PerReading) {
  platform.SetPerformanceCounter(false);
  std::vector<size_t> stepsPerTick;
  size_t before = 0;
  for (int i = 0; i < 8; ++i) {
    FrameTick(&game);
    stepsPerTick.push_back(game.deltas.size() - before);
    before = game.deltas.size();
  }
  EXPECT_EQ(std::vector<size_t>(stepsPerTick.begin(), stepsPerTick.begin() + 3),
            (std::vector<size_t>{1, 3, 7}));
  EXPECT_EQ(stepsPerTick.back(), 50u);
  EXPECT_EQ(game.deltas[1], 132);  // the first step ended at the second reading
}

TEST_F(FrameLoopTest, AFalseUpdateSkipsTheRestOfTheBurstButPresentsOnce) {
  game.failAt = 3;
  TickAt(400);  // 10 steps due
  EXPECT_EQ(game.deltas.size(), 3u);
  EXPECT_EQ(FrameClock.quitFlag, 1);
  EXPECT_EQ(std::make_pair(game.renders, platform.PresentCount()), std::make_pair(1, 1));
  EXPECT_EQ(FrameClock.accumulator, 0);  // the whole burst is taken off
}

TEST_F(FrameLoopTest, ResetInsideAStepLeavesTheAccumulatorNegative) {
  game.onUpdate = [](int n) {
    if (n == 2) ResetFrameClock();
  };
  TickAt(200);  // 5 steps due; the second resets the clock
  EXPECT_EQ(game.deltas.size(), 5u);
  EXPECT_EQ(FrameClock.accumulator, -200);
  TickAt(399);
  EXPECT_EQ(game.deltas.size(), 5u);
  TickAt(440);
  EXPECT_EQ(game.deltas.size(), 6u);
}

TEST_F(FrameLoopTest, AHeldKeyIsPressedOnceAndHeldThroughoutAndATapStillCounts) {
  Bindings.code[kActShoot] = 0x20;
  platform.SetKey(0x20, true);
  TickAt(160);  // 4 steps
  EXPECT_EQ(game.pressedShoot, (std::vector<bool>{true, false, false, false}));
  EXPECT_EQ(game.heldShoot, (std::vector<bool>{true, true, true, true}));
  platform.SetKey(0x20, false);
  TickAt(200);
  EXPECT_FALSE(game.heldShoot.back());
  // Down and up again between two steps: pressed all the same.
  platform.SetKey(0x20, true);
  platform.SetKey(0x20, false);
  TickAt(240);
  EXPECT_TRUE(game.pressedShoot.back());
}

// Every key down, as a backend might report it: code 0 and "Not set" stay up, one key drives
// every action bound to it, and a code above the table from a damaged settings file never
// indexes past it.
TEST_F(FrameLoopTest, CodeZeroAndNotSetNeverReadAsDownWhateverTheBackendSays) {
  for (int vk = 0; vk < 256; ++vk) platform.SetKey(vk, true);  // code 0 too
  EXPECT_EQ(platform.KeyState(0), 0);  // the backend's own table never holds code 0
  struct EveryKeyDown : HeadlessPlatform {
    using HeadlessPlatform::HeadlessPlatform;
    uint16_t KeyState(int) override { return 0x8000; }
  } everyKey{PlatformOptions{}};
  SetCurrentPlatform(&everyKey);
  Bindings.code[kActMenuLeft] = 0x25;
  Bindings.code[kActChangeWeapon] = 0x25;
  Bindings.code[kActShoot] = 4000;
  SampleKeys();
  EXPECT_EQ(KeyTable[0], 0);
  EXPECT_EQ(KeyTable[1], 1);
  EXPECT_EQ(Input.action[kActMenuLeft].current, 1);
  EXPECT_EQ(Input.action[kActChangeWeapon].current, 1);
  for (int slot : {0, 1, 3, 4, 5, 6, 7, 8, 12, 13, 14, 15})
    EXPECT_EQ(Input.action[slot].current, 0) << slot;  // "Not set", and the shot's 4000
  SetCurrentPlatform(&platform);
}

TEST_F(FrameLoopTest, LatchShiftingKeepsTheStylusAndSkipsUnlatchedSlots) {
  for (int slot = 0; slot < kLatchCount; ++slot) Input.action[slot].current = 1;
  StylusDownAt(5, 6);
  ShiftLatches();
  // Slots 9 and 10 are never latched; every other slot, the menu request included, is.
  for (int slot = 0; slot < kLatchCount; ++slot) {
    const bool latched = slot != 9 && slot != 10;
    EXPECT_EQ(Input.action[slot].previous, latched ? 1 : 0) << slot;
    EXPECT_EQ(Input.action[slot].current, latched ? 0 : 1) << slot;
  }
  EXPECT_EQ(Input.stylusPrevDown, 1);
  EXPECT_EQ(Input.stylusDown, 1);
}
