// Every baked font and sky loads through the game's own loaders without a log line.
#include <cstring>

#include "gfx2d_test_util.h"

namespace {

const char* const kFonts[] = {"font1.fnt", "font2.fnt", "font3.fnt"};
const char* const kSkies[] = {"sky_desert.spr", "sky_ice.spr",      "sky_jungle.spr",
                              "sky_night.spr",  "sky_volcanic.spr", "sky_storm.spr"};

class BakedContentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g.Create(0, 240, 320, FrameBuffer);
    Gfx2D = &g;
  }
  void TearDown() override { Gfx2D = nullptr; }

  UseGameData data;
  std::string logBefore = GameDataLog();  // the loaders must add no line to it
  Graphics2D g;
};

TEST_F(BakedContentTest, FontsLoadWithEveryPrintableCharacterOutlined) {
  for (const char* name : kFonts) {
    SCOPED_TRACE(name);
    Font f;
    ASSERT_EQ(f.LoadFont(name), 1);
    EXPECT_GE(f.FontHeight(), 8);
    for (int ch = 33; ch < 127; ++ch) {
      ASSERT_NE(f.glyphs[ch], nullptr) << char(ch);
      ASSERT_GT(f.widths[ch], 0);
      // Ink is always ringed by outline bytes, so text reads on any background.
      const uint8_t* px = f.glyphs[ch];
      const size_t size = size_t(f.widths[ch]) * f.heights[ch];
      ASSERT_EQ(size_t(f.sizes[ch]), size);
      EXPECT_NE(memchr(px, 2, size), nullptr) << char(ch);
      EXPECT_NE(memchr(px, 255, size), nullptr) << char(ch);
      for (int x = 0; x < f.widths[ch]; ++x) EXPECT_NE(px[x], 255) << char(ch) << " top row";
    }
    EXPECT_GT(f.widths[uint8_t(' ')], 0);
    // A typical head-up message fits the screen in the text fonts (font3 is for titles).
    if (strcmp(name, "font3.fnt") != 0) EXPECT_LE(f.MeasureText("Self-destruction code found"), 240);
    else EXPECT_LE(f.MeasureText("OPTIONS"), 120);
  }
  EXPECT_EQ(GameDataLog(), logBefore);
}

TEST_F(BakedContentTest, SkiesArePanoramasThatCloseTheirTurn) {
  for (const char* name : kSkies) {
    SCOPED_TRACE(name);
    Background b(nullptr, "BACKGROUND", 0, 0, 240, 160);
    b.plain = 0;
    ASSERT_EQ(b.LoadBackground(name), 1);
    const uint16_t* px = SpritePixels(g.SpriteBlock(b.slot));
    bool seamless = true;
    for (int y = 0; y < kPanoramaHeight; ++y)
      for (int x = 512; x < kPanoramaWidth; ++x)
        seamless = seamless && px[y * 640 + x] == px[y * 640 + x - 512];
    EXPECT_TRUE(seamless);
    b.heading = 200000;
    b.pitch = 51000;
    EXPECT_EQ(b.DrawBackground(FrameBuffer), 1);
    b.Release();
  }
  EXPECT_EQ(GameDataLog(), logBefore);
}

}  // namespace
