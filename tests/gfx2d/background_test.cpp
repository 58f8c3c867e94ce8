// Sky backgrounds: panorama checks, the window's columns and rows, plain fills, visibility.
#include <algorithm>
#include <vector>

#include "gfx2d_test_util.h"

namespace {

class BackgroundTest : public Gfx2DFixture {
 protected:
  // A loaded image background over the given area whose panorama pixel is what `value`
  // says for (column, row).
  template <typename F>
  void MakeSky(Background& b, int x, int y, int w, int h, F value) {
    dir.Write("sky.spr", SprFill(kPanoramaWidth, kPanoramaHeight, 0));
    b.Create(nullptr, "BACKGROUND1", x, y, w, h);
    b.plain = 0;
    ASSERT_EQ(b.LoadBackground("sky.spr"), 1);
    uint16_t* px = SpritePixels(g->SpriteBlock(b.slot));
    for (int r = 0; r < kPanoramaHeight; ++r)
      for (int c = 0; c < kPanoramaWidth; ++c) px[r * kPanoramaWidth + c] = value(c, r);
  }
};

TEST_F(BackgroundTest, WrongSizeIsRefusedAndReleased) {
  dir.Write("flat.spr", SprFill(640, 127, 0));
  Background b(nullptr, "BG", 0, 0, 240, 100);
  b.plain = 0;
  EXPECT_EQ(b.LoadBackground("flat.spr"), 0);
  EXPECT_EQ(dir.Log(), "Background is in a wrong format.\n");
  EXPECT_EQ(g->sprites[0].inUse, 0);
  EXPECT_EQ(b.loaded, 0);
  EXPECT_EQ(b.DrawBackground(FrameBuffer), 0);
  dir.Write("log.txt", "");
  EXPECT_EQ(b.LoadBackground("nosky.spr"), 0);
  EXPECT_EQ(dir.Log(), "Error opening sprite file: nosky.spr\nError Loading background:\n");
}

TEST_F(BackgroundTest, FirstPixelsRepeatTheStartColumn) {
  Background b;
  MakeSky(b, 0, 0, 240, 80, [](int c, int) { return uint16_t(c); });
  b.heading = 10 * 1024 + 1023;  // column 10
  b.pitch = 0;
  EXPECT_EQ(b.DrawBackground(FrameBuffer), 1);
  EXPECT_EQ(b.target, FrameBuffer);
  // Step 32768 / 240 = 136; nothing below the area.
  ExpectPx({{0, 0, 10}, {1, 0, 10}, {2, 0, 10}, {3, 0, 11}, {239, 0, 10 + (238 * 136) / 256}, {0, 79, 10},
            {0, 80, 0}});
}

TEST_F(BackgroundTest, StartColumnTruncatesThenWrapsIntoOneTurn) {
  Background b;
  MakeSky(b, 0, 0, 128, 10, [](int c, int) { return uint16_t(c); });
  const struct {
    int32_t heading, column;
  } cases[] = {
      {-1, 0},  // the construction heading, before the world sets one
      {-1023, 0},         {-1024, 511},        {-1025, 511},          {1023, 0},
      {1024, 1},          {kFullTurn - 1, 511}, {kFullTurn, 0},       {kFullTurn + 3 * 1024, 3},
      {INT32_MIN, 0},     {INT32_MAX, 511},
  };
  for (const auto& c : cases) {
    b.heading = c.heading;
    b.DrawBackground(FrameBuffer);
    EXPECT_EQ(Px(0, 0), c.column) << c.heading;
  }
  b.heading = -1024;
  b.DrawBackground(FrameBuffer);
  EXPECT_EQ(Px(127, 0), 511 + 126);  // the repeated columns keep the window unbroken
}

TEST_F(BackgroundTest, RowsFollowPitchAndStayInsideThePanorama) {
  Background b;
  MakeSky(b, 0, 100, 240, 160, [](int, int r) { return uint16_t(r + 1); });
  b.heading = 0;
  b.pitch = 51000;  // a level camera: row 28; 160 rows over 80: each row twice
  b.DrawBackground(FrameBuffer);
  ExpectPx({{5, 100, 29}, {5, 101, 29}, {5, 102, 30}, {5, 259, 28 + 79 + 1}, {5, 99, 0}});
  b.pitch = 1792 * 100;  // the window would leave the bottom: kept on the last 80 rows
  b.DrawBackground(FrameBuffer);
  ExpectPx({{5, 100, 49}, {5, 259, 128}});
  b.pitch = -500000;
  b.DrawBackground(FrameBuffer);
  EXPECT_EQ(Px(5, 100), 1);
}

TEST_F(BackgroundTest, AreaOffTheFrameIsClipped) {
  Background b;
  MakeSky(b, 200, 300, 240, 80, [](int, int) { return uint16_t(0x4444); });
  b.heading = 0;
  EXPECT_EQ(b.DrawBackground(FrameBuffer), 1);  // no wrap onto the next row
  ExpectPx({{200, 300, 0x4444}, {239, 319, 0x4444}, {199, 300, 0}, {0, 301, 0}});
  b.Create(nullptr, "BG", -100, -50, 240, 80);
  b.plain = 0;
  ASSERT_EQ(b.LoadBackground("sky.spr"), 1);
  ClearFrame();
  b.DrawBackground(FrameBuffer);
  ExpectPx({{139, 29, 0x4444}, {140, 29, 0}, {0, 30, 0}});
  b.Release();
}

TEST_F(BackgroundTest, PlainFillCoversWholeRows) {
  Background b(nullptr, "BG", 60, 10, 50, 20);
  EXPECT_EQ(b.LoadBackground("anything.spr"), 1);  // plain: nothing to load
  EXPECT_EQ(g->sprites[0].inUse, 0);
  b.SetFillColour(MakeColour(31, 31, 31));
  EXPECT_EQ(b.fillColourCopy, MakeColour(31, 31, 31));
  EXPECT_EQ(b.DrawBackground(FrameBuffer), 1);  // left of x and right of x + width too
  ExpectPx({{0, 10, 0xFFDF}, {239, 29, 0xFFDF}, {0, 9, 0}, {0, 30, 0}});
  Background tall(nullptr, "BG", 0, 300, 240, 100);
  tall.SetFillColour(1);
  tall.DrawBackground(FrameBuffer);  // stops at the frame's end
  EXPECT_EQ(Px(239, 319), 1);
}

// Covers() names exactly the pixels a draw overwrites whatever was there: drawn over two
// different frames, those pixels agree and every other pixel is left as it was. The frame's
// sky relies on it to copy a drawn sky back instead of drawing it again.
TEST_F(BackgroundTest, CoversIsExactlyWhatADrawOverwrites) {
  constexpr int kPixels = 240 * 320;
  const struct {
    bool plain;
    int x, y, w, h, pitch;
    bool covers;
  } cases[] = {
      {false, 0, 0, 240, 232, 51000, true},   // the first-person view
      {false, 0, 0, 240, 280, 51000, true},   // the external camera's
      {false, 0, 0, 240, 320, 0, true},       // the whole frame, the panorama's top rows
      {false, 0, 0, 240, 320, 80 * 1792, true},  // and its lowest window
      {false, -30, -20, 120, 90, 0, true},    // partly off the frame's top and left
      {false, 200, 300, 100, 60, 0, true},    // and off its right and bottom
      {false, 0, 0, 240, 40, 1792 * 200, true},  // the pitch kept inside the panorama
      {false, 0, 0, 240, 2, 0, true},         // two rows, far apart in the panorama
      {false, 0, 0, 240, 1, 48 * 1792, true},  // one row
      {false, 300, 0, 50, 50, 0, false},      // wholly right of the frame
      {false, 0, 0, 0, 50, 0, false},
      {true, 30, 12, 50, 100, 0, true},       // plain: whole rows
      {true, 0, 300, 240, 100, 0, true},      // cut at the frame's end
      {true, 0, 400, 240, 10, 0, false},      // below the frame
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.plain ? "plain " : "sky ") << c.x << "," << c.y << " "
                                    << c.w << "x" << c.h << " pitch " << c.pitch);
    Background b;
    if (c.plain) {
      b.Create(nullptr, "BG", c.x, c.y, c.w, c.h);
      b.SetFillColour(0x1234);
    } else {
      MakeSky(b, c.x, c.y, c.w, c.h, [](int col, int row) { return uint16_t(col * 131 + row * 7 + 1); });
      b.pitch = c.pitch;
      b.heading = 77 * 1024;
    }
    std::vector<uint16_t> first(kPixels), second(kPixels);
    std::fill_n(FrameBuffer, kPixels, uint16_t(0xAAAA));
    b.DrawBackground(FrameBuffer);
    std::copy_n(FrameBuffer, kPixels, first.begin());
    std::fill_n(FrameBuffer, kPixels, uint16_t(0x5555));
    b.DrawBackground(FrameBuffer);
    std::copy_n(FrameBuffer, kPixels, second.begin());
    int32_t l = -1, t = -1, r = -1, bottom = -1;
    ASSERT_EQ(b.Covers(&l, &t, &r, &bottom), c.covers);
    if (!c.covers) continue;
    int wrong = 0;
    for (int y = 0; y < 320; ++y)
      for (int x = 0; x < 240; ++x) {
        const size_t i = size_t(y * 240 + x);
        const bool inside = x >= l && x < r && y >= t && y < bottom;
        const bool drawn = inside ? first[i] == second[i] : first[i] != 0xAAAA || second[i] != 0x5555;
        if (inside != drawn) ++wrong;
      }
    EXPECT_EQ(wrong, 0) << "rect " << l << "," << t << " to " << r << "," << bottom;
    b.Release();
  }
  // A hidden sky draws nothing, and a sky without its image cannot be drawn.
  Background hidden(nullptr, "BG", 0, 0, 240, 232);
  hidden.visible = 0;
  int32_t l, t, r, bottom;
  EXPECT_FALSE(hidden.Covers(&l, &t, &r, &bottom));
  Background unloaded(nullptr, "BG", 0, 0, 240, 232);
  unloaded.plain = 0;
  EXPECT_FALSE(unloaded.Covers(&l, &t, &r, &bottom));
}

}  // namespace
