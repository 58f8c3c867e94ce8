// Bitmap fonts: reading .fnt files, glyph choice, pixel values, row clipping, text blocks.
#include "gfx2d_test_util.h"

namespace {

class FontTest : public Gfx2DFixture {
 protected:
  // 'A' 5 x 8 all foreground; 'X' 4 x 2 all outline; space 3 x 2 all background; 'b' with
  // one row of each value and a "not written" byte.
  std::vector<GlyphRecord> Basic() {
    return {SolidGlyph('A', 5, 8, 255), SolidGlyph('X', 4, 2, 2), SolidGlyph(' ', 3, 2, 0),
            GlyphRecord{'b', 4, 1, 1, {255, 2, 0, 9}}};
  }
  bool LoadBasic(Font& f) {
    dir.Write("f.fnt", FntFile(Basic()));
    return f.LoadFont("f.fnt") == 1;
  }
  // First frame row holding the colour in the given column, or -1.
  int FirstRowWith(int x, uint16_t colour) {
    for (int y = 0; y < 320; ++y)
      if (Px(x, y) == colour) return y;
    return -1;
  }
};

TEST_F(FontTest, LoadsRecordsAndMeasures) {
  Font f;
  ASSERT_TRUE(LoadBasic(f));
  EXPECT_EQ(f.count, 4);
  EXPECT_EQ(f.FontHeight(), 8);
  EXPECT_EQ(f.offsets[uint8_t('b')], 1);
  EXPECT_EQ(f.MeasureText(""), 0);
  EXPECT_EQ(f.MeasureText("AA"), 10);
  EXPECT_EQ(f.MeasureText("A?"), 12);  // no glyph: 7
  EXPECT_EQ(dir.Log(), "");
}

TEST_F(FontTest, RefusesBadCountsAndShortFiles) {
  Font f;
  dir.Write("n256.fnt", FntFile(Basic(), 256));
  EXPECT_EQ(f.LoadFont("n256.fnt"), 0);
  EXPECT_EQ(f.LoadFont("none.fnt"), 0);
  dir.Write("short.fnt", FntFile(Basic(), 5));  // one record missing
  EXPECT_EQ(f.LoadFont("short.fnt"), 0);
  std::string cut = FntFile({SolidGlyph('A', 5, 8, 255)});
  cut.resize(cut.size() - 1);
  dir.Write("cut.fnt", cut);
  EXPECT_EQ(f.LoadFont("cut.fnt"), 0);
  GlyphRecord huge = SolidGlyph('A', 5, 8, 255);
  huge.sizeOverride = 0x7FFFFFFF;
  dir.Write("huge.fnt", FntFile({huge}));
  EXPECT_EQ(f.LoadFont("huge.fnt"), 0);
  dir.Write("three.fnt", std::string("\x00\x00", 2));
  EXPECT_EQ(f.LoadFont("three.fnt"), 0);
  EXPECT_EQ(f.file, nullptr);
  dir.Write("n255.fnt", FntFile({SolidGlyph('A', 5, 8, 255)}, 1));
  EXPECT_EQ(f.LoadFont("n255.fnt"), 1);
}

TEST_F(FontTest, RecordDetailsFollowTheFileRules) {
  GlyphRecord empty{'e', 9, 9, 9, {}};
  GlyphRecord noAdvance = SolidGlyph('z', 1, 1, 255);
  noAdvance.advance = 0;
  std::vector<GlyphRecord> records{SolidGlyph('A', 2, 2, 255), empty, noAdvance,
                                   SolidGlyph('A', 3, 4, 2, -2)};
  dir.Write("r.fnt", FntFile(records));
  Font f;
  ASSERT_EQ(f.LoadFont("r.fnt"), 1);
  EXPECT_EQ(f.widths[uint8_t('e')], 0);
  EXPECT_EQ(f.heights[uint8_t('e')], 0);
  EXPECT_EQ(f.glyphs[uint8_t('e')], nullptr);
  EXPECT_EQ(f.widths[uint8_t('z')], 7);  // an advance below 1 is stored as 7
  EXPECT_EQ(f.widths[uint8_t('A')], 3);  // the later record replaces the earlier
  EXPECT_EQ(f.offsets[uint8_t('A')], -2);
}

TEST_F(FontTest, MissingGlyphDrawsAsXAndAdvancesSeven) {
  Font f;
  ASSERT_TRUE(LoadBasic(f));
  Fill(0x1234);
  // The 'X' glyph's outline is black, 4 wide; 'A' starts at pen 7.
  EXPECT_EQ(f.DrawText(10, 10, "?A", FrameBuffer, 240, 320, 1), 12);
  ExpectPx({{10, 10, 0}, {13, 11, 0}, {14, 10, 0x1234}, {17, 10, 0xFFFF}});
}

TEST_F(FontTest, BorrowedXGlyphKeepsTheCharactersOffset) {
  // 'X' sits 3 rows low; a character without a glyph borrows its pixels, not its offset.
  dir.Write("o.fnt", FntFile({SolidGlyph('X', 4, 2, 255, 3)}));
  Font f;
  ASSERT_EQ(f.LoadFont("o.fnt"), 1);
  f.DrawText(10, 10, "X?", FrameBuffer, 240, 320, 1);  // '?' at pen 4, on the text's own row
  ExpectPx({{10, 13, 0xFFFF}, {10, 12, 0}, {14, 10, 0xFFFF}, {14, 11, 0xFFFF}, {14, 12, 0}});
}

TEST_F(FontTest, LineFeedDrawsASpaceGlyph) {
  Font f;
  ASSERT_TRUE(LoadBasic(f));
  f.SetTextColours(0xFFFF, 0x0F0F);
  Fill(0x1234);
  EXPECT_EQ(f.DrawText(0, 0, "\nA\r", FrameBuffer, 240, 320, 0), 11);  // space is 3 wide
  ExpectPx({{0, 0, 0x0F0F}, {2, 1, 0x0F0F}, {3, 0, 0xFFFF}, {8, 0, 0x0F0F}});
}

TEST_F(FontTest, TransparentSkipsBackgroundAndOutlineStaysBlack) {
  Font f;
  ASSERT_TRUE(LoadBasic(f));
  f.SetTextColours(MakeColour(31, 31, 20), MakeColour(0, 0, 31));
  Fill(0x1234);
  // Offset 1 moves the glyph down a row; value 9 is never written.
  f.DrawText(20, 20, "b", FrameBuffer, 240, 320, 1);
  ExpectPx({{20, 21, MakeColour(31, 31, 20)}, {21, 21, 0}, {22, 21, 0x1234}, {23, 21, 0x1234}});
  f.DrawText(20, 30, "b", FrameBuffer, 240, 320, 0);
  ExpectPx({{22, 31, MakeColour(0, 0, 31)}, {23, 31, 0x1234}});
}

TEST_F(FontTest, RowsTouchingTheLastColumnOrOutsideAreSkipped) {
  Font f;
  ASSERT_TRUE(LoadBasic(f));
  f.DrawText(235, 0, "A", FrameBuffer, 240, 320, 1);  // 235 + 5 = 240: not drawn
  EXPECT_EQ(Px(235, 0), 0);
  f.DrawText(234, 0, "A", FrameBuffer, 240, 320, 1);
  f.DrawText(-1, 50, "A", FrameBuffer, 240, 320, 1);
  f.DrawText(0, 316, "A", FrameBuffer, 240, 320, 1);  // rows 316..319 drawn, the rest skipped
  f.DrawText(0, -6, "A", FrameBuffer, 240, 320, 1);
  ExpectPx({{238, 0, 0xFFFF}, {239, 0, 0}, {0, 50, 0}, {0, 319, 0xFFFF}, {4, 1, 0xFFFF}, {4, 2, 0}});
  // A small off-screen surface works the same way.
  uint16_t surface[8 * 4] = {};
  f.DrawText(0, 0, "A", surface, 8, 4, 1);
  EXPECT_EQ(surface[3 * 8 + 4], 0xFFFF);
  EXPECT_EQ(surface[5], 0);
}

TEST_F(FontTest, GlyphShorterThanItsRowsDrawsOnlyItsData) {
  GlyphRecord g1 = SolidGlyph('A', 4, 10, 255);
  g1.pixels.resize(9);  // two rows and a bit
  Font f;
  dir.Write("s.fnt", FntFile({g1}));
  ASSERT_EQ(f.LoadFont("s.fnt"), 1);
  f.DrawText(0, 0, "A", FrameBuffer, 240, 320, 1);
  ExpectPx({{3, 1, 0xFFFF}, {0, 2, 0}});
}

TEST_F(FontTest, CentredTextUsesHalfWidthsAndLongTextIsCut) {
  Font f;
  ASSERT_TRUE(LoadBasic(f));
  EXPECT_EQ(DrawTextCentred(g.get(), 5, "AAA", &f, 1), 15);  // from 120 - 15 / 2
  ExpectPx({{113, 5, 0xFFFF}, {112, 5, 0}, {127, 5, 0xFFFF}, {128, 5, 0}});
  // Long texts are cut at the text buffer.
  std::string text(1000, 'A');
  EXPECT_EQ(f.DrawText(0, 0, text.c_str(), FrameBuffer, 240, 320, 1), kMaxTextChars * 5);
  EXPECT_EQ(DrawTextCentred(g.get(), 0, text.c_str(), &f, 1), kMaxTextChars * 5);
}

TEST_F(FontTest, TextBlockPlacesLinesByLineFeedCount) {
  Font f;
  ASSERT_TRUE(LoadBasic(f));
  // Line height 8: one line starts at 160 - 4.
  DrawTextBlock(g.get(), "A", &f);
  EXPECT_EQ(FirstRowWith(120, 0xFFFF), 156);
  ClearFrame();
  DrawTextBlock(g.get(), "A\nAA", &f);
  EXPECT_EQ(FirstRowWith(120, 0xFFFF), 156);
  EXPECT_EQ(FirstRowWith(117, 0xFFFF), 172);  // "AA" (115..124), 2 x 8 lower
  ClearFrame();
  DrawTextBlock(g.get(), "A\nA\nA", &f);
  EXPECT_EQ(FirstRowWith(120, 0xFFFF), 140);
  ClearFrame();
  std::string longLine(200, 'A');
  DrawTextBlock(g.get(), longLine.c_str(), &f);  // cut to 127 characters, centred as such
  ExpectPx({{3, 156, 0xFFFF}, {0, 156, 0}});
}

}  // namespace
