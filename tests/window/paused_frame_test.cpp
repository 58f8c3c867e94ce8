// The paused picture: the frame dimmed, the word PAUSED legible in its middle, the frame kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/paused_frame.h"
#include "platform/platform.h"

namespace {

int Red(uint16_t p) { return p >> 11; }
int Green(uint16_t p) { return (p >> 5) & 63; }
int Blue(uint16_t p) { return p & 31; }

}  // namespace

TEST(PausedFrame, DimsEveryPixelAndWritesALegibleSignInTheMiddle) {
  // A bright picture with every channel's top and bottom bits set, and a white one: the sign
  // must stand out from both, and no channel may bleed into its neighbour when dimmed.
  for (uint16_t colour : {uint16_t(0xFFFF), uint16_t(0xC618), uint16_t(0x8821)}) {
    SCOPED_TRACE(colour);
    std::vector<uint16_t> frame(kScreenWidth * kScreenHeight, colour);
    frame[0] = 0x07E0;  // one pure green pixel in the corner
    const std::vector<uint16_t> before = frame;
    std::vector<uint16_t> out(frame.size(), 0x1234);
    DrawPausedFrame(frame.data(), out.data());
    EXPECT_EQ(frame, before);

    int left = kScreenWidth, right = -1, top = kScreenHeight, bottom = -1, ink = 0;
    for (int y = 0; y < kScreenHeight; ++y) {
      for (int x = 0; x < kScreenWidth; ++x) {
        const uint16_t src = frame[y * kScreenWidth + x], got = out[y * kScreenWidth + x];
        if (got == 0xFFFF) {  // the letters: brighter than anything the dimming leaves
          ++ink;
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
          continue;
        }
        // Everything else is at most half as bright, channel by channel.
        ASSERT_LE(Red(got) * 2, Red(src)) << x << "," << y;
        ASSERT_LE(Green(got) * 2, Green(src)) << x << "," << y;
        ASSERT_LE(Blue(got) * 2, Blue(src)) << x << "," << y;
      }
    }
    EXPECT_EQ(out[0], 31 << 5);  // dimmed, still pure green
    EXPECT_EQ(out[kScreenWidth - 1], Red(colour) / 2 << 11 | Green(colour) / 2 << 5 | Blue(colour) / 2);
    // Six letters large enough to read on the unscaled frame, centred.
    EXPECT_GE(right - left + 1, 120);
    EXPECT_GE(bottom - top + 1, 24);
    EXPECT_LE(std::abs((left + right + 1) - kScreenWidth), 2);
    EXPECT_LE(std::abs((top + bottom + 1) - kScreenHeight), 2);
    EXPECT_GT(ink, 400);
    // Six letters apart from one another: six runs of columns holding ink.
    int runs = 0;
    bool inRun = false;
    for (int x = 0; x < kScreenWidth; ++x) {
      bool any = false;
      for (int y = top; y <= bottom; ++y) any = any || out[y * kScreenWidth + x] == 0xFFFF;
      runs += any && !inRun;
      inRun = any;
    }
    EXPECT_EQ(runs, 6);
  }
}
