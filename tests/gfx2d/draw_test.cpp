// Graphics2D drawing: blit clipping and modes, line guards, rectangles, fades, scaling.
#include <vector>

#include "gfx2d/blit_row.h"
#include "gfx2d_test_util.h"

namespace {

using DrawTest = Gfx2DFixture;

// Clipping against each edge: touching the left edge from outside draws nothing but
// succeeds; rows past the bottom are dropped and reported; clipped columns never wrap.
TEST_F(DrawTest, SpriteClipping) {
  int32_t four = Load("four.spr", SprFill(4, 4, FileValueOf(0xF800)));
  ASSERT_GE(four, 0);
  EXPECT_EQ(g->DrawSprite(four, -4, 10, Opaque, 0), 1);
  for (int x = 0; x < 240; ++x) EXPECT_EQ(Px(x, 10), 0);
  EXPECT_EQ(g->DrawSprite(four, -5, 10, Opaque, 0), 0);
  EXPECT_EQ(g->DrawSprite(four, 10, -5, Opaque, 0), 0);
  EXPECT_EQ(g->DrawSprite(four, 10, 320, Opaque, 0), 0);
  EXPECT_EQ(g->DrawSprite(-1, 10, 10, Opaque, 0), 0);
  EXPECT_EQ(g->DrawSprite(199, 10, 10, Opaque, 0), 0);  // a free slot
  EXPECT_EQ(g->DrawSprite(four, 20, 318, Opaque, 0), 0);
  ExpectPx({{20, 318, 0xF800}, {23, 319, 0xF800}, {20, 317, 0}});
  // Rows carry their index so the dropped ones can be told apart.
  std::vector<uint16_t> px;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) px.push_back(FileValueOf(uint16_t(1 + r * 4 + c)));
  int32_t s = Load("rows.spr", SprFile(4, 4, px));
  EXPECT_EQ(g->DrawSprite(s, 0, -2, Opaque, 0), 1);
  ExpectPx({{0, 0, 9}, {3, 1, 16}, {0, 2, 0}});
  EXPECT_EQ(g->DrawSprite(s, 238, 100, Opaque, 0), 1);
  ExpectPx({{238, 100, 1}, {239, 100, 2}, {0, 101, 0}});  // the clipped part does not wrap
  EXPECT_EQ(g->DrawSprite(s, -3, 200, Opaque, 0), 1);
  ExpectPx({{0, 200, 4}, {1, 200, 0}});
  EXPECT_EQ(g->DrawSprite(s, 240, 50, Opaque, 0), 0);
  EXPECT_EQ(g->DrawSprite(s, INT32_MIN, INT32_MIN, Opaque, 0), 0);
}

TEST_F(DrawTest, BlitModesFollowTheirArithmetic) {
  // Odd fields everywhere, so a blend that kept a lowest bit would show.
  const uint16_t a = MakeColour(21, 11, 7), black = 0, bg = MakeColour(11, 31, 17);
  const uint16_t halfway = MakeColour(15, 21, 11);              // a and bg blended
  const uint16_t halfBg = uint16_t(MakeColour(5, 15, 8) | 0x20);  // bg halved: green 31 / 2
  int32_t s = Load("two.spr", SprFile(2, 1, {FileValueOf(a), FileValueOf(black)}));
  const struct {
    int mode;
    uint16_t key, first, second;
  } cases[] = {
      {Opaque, 0, a, black},
      {ColourKey, 0, a, bg},      // black is the key: the background shows
      {Blend50, 0, halfway, halfBg},
      {KeyBlend, 0, a, halfBg},   // a black key halves what is beneath
      {KeyBlend, a, halfway, black},  // a coloured key tints half-way towards it
      {7, 0, a, black},           // unknown modes draw opaque
  };
  for (const auto& c : cases) {
    Fill(bg);
    g->DrawSprite(s, 0, 0, c.mode, c.key);
    EXPECT_EQ(Px(0, 0), c.first) << c.mode << " " << c.key;
    EXPECT_EQ(Px(1, 0), c.second) << c.mode << " " << c.key;
  }
}

// The blit rows in lanes against the pixel-by-pixel ones, in every mode, for lengths on
// either side of the lane width, over pixels where every field is odd, full or the key;
// nothing past the row is touched.
TEST_F(DrawTest, BlitRowsInLanesMatchThePixelByPixelRows) {
  uint32_t seed = 99;
  auto next = [&seed] {
    seed = seed * 214013u + 2531011u;
    return uint16_t(seed >> 16);
  };
  for (uint32_t mode : {uint32_t(Opaque), uint32_t(ColourKey), uint32_t(Blend50), uint32_t(KeyBlend), 9u})
    for (uint16_t key : {uint16_t(0), uint16_t(0xFFFF), uint16_t(0x07E0 | 0x0821)})
      for (int32_t n = 0; n <= 37; ++n) {
        std::vector<uint16_t> src(40), lanes(48), scalar;
        for (auto& p : src) p = next() % 4 == 0 ? key : next();
        for (auto& p : lanes) p = next() % 5 == 0 ? 0xFFFF : next();
        scalar = lanes;
        BlitRow(lanes.data(), src.data(), n, mode, key);
        BlitRowScalar(scalar.data(), src.data(), n, mode, key);
        ASSERT_EQ(lanes, scalar) << "mode " << mode << " key " << key << " n " << n;
      }
}

// Only the start and the far end are guarded: a line ending in the last column or row, or
// starting off the screen, is refused whole; one running off the left edge stops there.
TEST_F(DrawTest, LinesAreGuardedAtTheirEndsAndStepLikeBresenham) {
  const int32_t refused[][4] = {{10, 10, 239, 10}, {10, 10, 10, 319}, {-1, 10, 10, 10}, {10, -1, 10, 10},
                                {300, 20, 10, 20}, {0, 0, INT32_MIN, INT32_MIN + 5}};
  for (const auto& l : refused)
    EXPECT_EQ(g->DrawLine(l[0], l[1], l[2], l[3], 1, 0xFFFF), 0) << l[0] << "," << l[1];
  for (int x = 0; x < 240; ++x) ASSERT_EQ(Px(x, 10), 0);
  EXPECT_EQ(Px(239, 20), 0);
  EXPECT_EQ(g->DrawLine(5, 20, -50, 20, 1, 0x1234), 0);
  for (int x = 0; x <= 5; ++x) EXPECT_EQ(Px(x, 20), 0x1234);
  EXPECT_EQ(g->DrawLine(0, 5, 238, 5, 1, 0xFFFF), 1);
  ExpectPx({{0, 5, 0xFFFF}, {238, 5, 0xFFFF}, {239, 5, 0}});
  // Five pixels for (0, 0) to (4, 2), and a steep one drawn right to left.
  EXPECT_EQ(g->DrawLine(0, 0, 4, 2, 1, 7), 1);
  int count = 0;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) count += Px(x, y) == 7;
  EXPECT_EQ(count, 5);
  ExpectPx({{0, 0, 7}, {1, 1, 7}, {2, 1, 7}, {3, 2, 7}, {4, 2, 7}});
  EXPECT_EQ(g->DrawLine(20, 20, 18, 26, 1, 9), 1);
  ExpectPx({{20, 20, 9}, {18, 26, 9}});
}

TEST_F(DrawTest, FillRectCoversInclusiveColumnsAndSkipsRowsAtTheEdge) {
  EXPECT_EQ(g->FillRect(10, 10, 5, 3, 0x00FF), 1);  // column x + w is drawn, row y + h not
  ExpectPx({{10, 10, 0x00FF}, {15, 12, 0x00FF}, {16, 12, 0}, {10, 13, 0}});
  // The last row would reach row 319: it is skipped whole and decides the result.
  EXPECT_EQ(g->FillRect(0, 317, 10, 3, 0x00FF), 0);
  ExpectPx({{0, 318, 0x00FF}, {0, 319, 0}});
  EXPECT_EQ(g->FillRect(0, 0, 239, 4, 0x00FF), 0);  // reaches column 239: nothing
  EXPECT_EQ(Px(100, 0), 0);
  EXPECT_EQ(g->FillRect(0, 0, 10, 0, 0x00FF), 0);
  EXPECT_EQ(g->FillRect(0, INT32_MAX - 2, 10, INT32_MAX, 0x00FF), 0);
}

TEST_F(DrawTest, FadeScreenScalesEachChannel) {
  Fill(0xFFDF);
  g->FadeScreen(31, 31, 31);
  EXPECT_EQ(Px(0, 0), 0xFFDF);
  Fill(MakeColour(30, 30, 30));
  g->FadeScreen(31, 31, 31);
  EXPECT_EQ(Px(100, 100), MakeColour(29, 29, 29));
  Fill(0xFFFF);  // the lowest green bit is ignored
  g->FadeScreen(14, 14, 14);
  EXPECT_EQ(Px(239, 319), MakeColour(14, 14, 14));
  Fill(MakeColour(31, 31, 31));
  g->FadeScreen(0, 31, 0);  // levels are blue, green, red
  EXPECT_EQ(Px(0, 0), MakeColour(0, 31, 0));
  g->FadeScreen(0, 0, 0);
  EXPECT_EQ(Px(0, 0), 0);
}

}  // namespace
