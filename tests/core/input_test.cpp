// Key bindings, unbinding rules, waiting for a key and the stylus hit test.
#include <array>
#include <cstring>
#include <tuple>

#include "core/core.h"
#include "platform/headless/headless.h"
#include "test_support.h"

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    memset(&Bindings, 0, sizeof Bindings);
    memset(&Input, 0, sizeof Input);
    SetCurrentPlatform(&platform);
  }
  void TearDown() override { SetCurrentPlatform(nullptr); }
  HeadlessPlatform platform{PlatformOptions{}};
};

TEST_F(InputTest, UnbindingAGameKeyClearsEveryGameSlotButTwoAndThree) {
  for (int s = 0; s < kBindingCount; ++s) Bindings.code[s] = 0x41;
  UnbindGameKey(0x41);
  for (int s : {0, 1, 4, 5, 6, 7, 8, 9, 10}) EXPECT_EQ(Bindings.code[s], 0u) << s;
  for (int s : {2, 3, 11, 12, 13, 14, 15, 16, 17}) EXPECT_EQ(Bindings.code[s], 0x41u) << s;
  UnbindMenuKey(0x41);
  for (int s : {11, 12, 13, 14, 15}) EXPECT_EQ(Bindings.code[s], 0u) << s;
  for (int s : {2, 3, 16, 17}) EXPECT_EQ(Bindings.code[s], 0x41u) << s;
}

TEST_F(InputTest, WaitAnyKeySkipsTheWindowsKeyAndTakesTheLowestCode) {
  platform.SetKey(91, true);
  EXPECT_EQ(WaitAnyKey(), 0);
  platform.SetKey(0x41, true);
  platform.SetKey(0x20, true);
  EXPECT_EQ(WaitAnyKey(), 0x20);
  platform.SetKey(0x20, false);
  EXPECT_EQ(WaitAnyKey(), 0x41);
  platform.SetKey(0x41, false);
  // A key tapped between reads is seen, once.
  platform.SetKey(0x42, true);
  platform.SetKey(0x42, false);
  EXPECT_EQ(WaitAnyKey(), 0x42);
  EXPECT_EQ(WaitAnyKey(), 0);
}

TEST_F(InputTest, StylusHitExcludesTheEdges) {
  StylusDownAt(10, 20);
  EXPECT_FALSE(StylusHit(0, 0, 100, 100));  // not released yet
  StylusUpNow();
  EXPECT_EQ(Input.stylusDown, 0);
  EXPECT_TRUE(StylusHit(9, 19, 2, 2));
  // The point on the left, the right, the top and the bottom edge.
  for (auto [x, y, w, h] : {std::array{10, 0, 50, 50}, {0, 0, 10, 50}, {0, 20, 50, 50}, {0, 0, 50, 20}})
    EXPECT_FALSE(StylusHit(x, y, w, h)) << x << "," << y << " " << w << "x" << h;
  StylusDownAt(30, 40);
  EXPECT_EQ(std::make_tuple(Input.stylusUp, Input.stylusX), std::make_tuple(0, 30));
}
