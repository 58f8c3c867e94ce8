// Bitmap fonts: reading .fnt files, glyph choice, pixel values, row clipping, text blocks.
#include <tuple>

#include "gfx2d_test_util.h"

namespace {

// Most tests draw with the basic font, `f`.
class FontTest : public Gfx2DFixture {
 protected:
  void SetUp() override {
    Gfx2DFixture::SetUp();
    dir.Write("f.fnt", FntFile(Basic()));
    ASSERT_EQ(f.LoadFont("f.fnt"), 1);
  }
  // 'A' 5 x 8 all foreground; 'X' 4 x 2 all outline; space 3 x 2 all background; 'b' with
  // one row of each value and a "not written" byte.
  static std::vector<GlyphRecord> Basic() {
    return {SolidGlyph('A', 5, 8, 255), SolidGlyph('X', 4, 2, 2), SolidGlyph(' ', 3, 2, 0),
            GlyphRecord{'b', 4, 1, 1, {255, 2, 0, 9}}};
  }
  // First frame row holding the colour in the given column, or -1.
  int FirstRowWith(int x, uint16_t colour) {
    for (int y = 0; y < 320; ++y)
      if (Px(x, y) == colour) return y;
    return -1;
  }
  Font f;
};

TEST_F(FontTest, LoadsRecordsAndMeasures) {
  EXPECT_EQ(std::make_tuple(f.count, f.FontHeight(), f.offsets[uint8_t('b')]), std::make_tuple(4, 8, 1));
  EXPECT_EQ(f.MeasureText(""), 0);
  EXPECT_EQ(f.MeasureText("AA"), 10);
  EXPECT_EQ(f.MeasureText("A?"), 12);  // no glyph: 7
  EXPECT_EQ(dir.Log(), "");
}

TEST_F(FontTest, RefusesBadCountsAndShortFiles) {
  std::string cut = FntFile({SolidGlyph('A', 5, 8, 255)});
  cut.resize(cut.size() - 1);
  GlyphRecord huge = SolidGlyph('A', 5, 8, 255);
  huge.sizeOverride = 0x7FFFFFFF;
  const std::pair<const char*, std::string> cases[] = {
      {"n256.fnt", FntFile(Basic(), 256)}, {"short.fnt", FntFile(Basic(), 5)},  // one record missing
      {"cut.fnt", cut}, {"huge.fnt", FntFile({huge})}, {"three.fnt", std::string("\x00\x00", 2)}};
  Font other;
  EXPECT_EQ(other.LoadFont("none.fnt"), 0);
  for (const auto& [name, bytes] : cases) {
    dir.Write(name, bytes);
    EXPECT_EQ(other.LoadFont(name), 0) << name;
  }
  EXPECT_EQ(other.file, nullptr);
  dir.Write("n255.fnt", FntFile({SolidGlyph('A', 5, 8, 255)}, 1));
  EXPECT_EQ(other.LoadFont("n255.fnt"), 1);
}

TEST_F(FontTest, RecordDetailsFollowTheFileRules) {
  GlyphRecord empty{'e', 9, 9, 9, {}};
  GlyphRecord noAdvance = SolidGlyph('z', 1, 1, 255);
  noAdvance.advance = 0;
  dir.Write("r.fnt", FntFile({SolidGlyph('A', 2, 2, 255), empty, noAdvance, SolidGlyph('A', 3, 4, 2, -2)}));
  Font r;
  ASSERT_EQ(r.LoadFont("r.fnt"), 1);
  EXPECT_EQ(std::make_tuple(r.widths[uint8_t('e')], r.heights[uint8_t('e')], r.glyphs[uint8_t('e')]),
            std::make_tuple(0, 0, nullptr));
  EXPECT_EQ(r.widths[uint8_t('z')], 7);  // an advance below 1 is stored as 7
  // The later record replaces the earlier.
  EXPECT_EQ(std::make_tuple(r.widths[uint8_t('A')], r.offsets[uint8_t('A')]), std::make_tuple(3, -2));
}

// A missing glyph draws as 'X' (outline: black, 4 wide) and advances 7; a line feed draws the
// space glyph (3 wide); transparent text skips the background and opaque text writes it; the
// value 9 is never written; the offset of 1 moves 'b' down a row.
TEST_F(FontTest, GlyphChoiceAndPixelValues) {
  const uint16_t fore = MakeColour(31, 31, 20), back = MakeColour(0, 0, 31);
  f.SetTextColours(fore, back);
  Fill(0x1234);
  EXPECT_EQ(f.DrawText(10, 10, "?A", FrameBuffer, 240, 320, 1), 12);
  EXPECT_EQ(f.DrawText(0, 0, "\nA\r", FrameBuffer, 240, 320, 0), 11);
  f.DrawText(20, 20, "b", FrameBuffer, 240, 320, 1);
  f.DrawText(20, 30, "b", FrameBuffer, 240, 320, 0);
  ExpectPx({{10, 10, 0}, {13, 11, 0}, {14, 10, 0x1234}, {17, 10, fore},      // "?A"
            {0, 0, back}, {2, 1, back}, {3, 0, fore}, {8, 0, back},          // "\nA\r"
            {20, 21, fore}, {21, 21, 0}, {22, 21, 0x1234}, {23, 21, 0x1234},  // "b", transparent
            {22, 31, back}, {23, 31, 0x1234}});
}

TEST_F(FontTest, BorrowedXGlyphKeepsTheCharactersOffset) {
  // 'X' sits 3 rows low; a character without a glyph borrows its pixels, not its offset.
  dir.Write("o.fnt", FntFile({SolidGlyph('X', 4, 2, 255, 3)}));
  Font o;
  ASSERT_EQ(o.LoadFont("o.fnt"), 1);
  o.DrawText(10, 10, "X?", FrameBuffer, 240, 320, 1);  // '?' at pen 4, on the text's own row
  ExpectPx({{10, 13, 0xFFFF}, {10, 12, 0}, {14, 10, 0xFFFF}, {14, 11, 0xFFFF}, {14, 12, 0}});
}

TEST_F(FontTest, RowsTouchingTheLastColumnOrOutsideAreSkipped) {
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
  EXPECT_EQ(std::make_pair(surface[3 * 8 + 4], surface[5]), std::make_pair(uint16_t(0xFFFF), uint16_t(0)));
}

TEST_F(FontTest, GlyphShorterThanItsRowsDrawsOnlyItsData) {
  GlyphRecord g1 = SolidGlyph('A', 4, 10, 255);
  g1.pixels.resize(9);  // two rows and a bit
  dir.Write("s.fnt", FntFile({g1}));
  Font s;
  ASSERT_EQ(s.LoadFont("s.fnt"), 1);
  s.DrawText(0, 0, "A", FrameBuffer, 240, 320, 1);
  ExpectPx({{3, 1, 0xFFFF}, {0, 2, 0}});
}

TEST_F(FontTest, CentredTextUsesHalfWidthsAndLongTextIsCut) {
  EXPECT_EQ(DrawTextCentred(g.get(), 5, "AAA", &f, 1), 15);  // from 120 - 15 / 2
  ExpectPx({{113, 5, 0xFFFF}, {112, 5, 0}, {127, 5, 0xFFFF}, {128, 5, 0}});
  // Long texts are cut at the text buffer.
  std::string text(1000, 'A');
  EXPECT_EQ(f.DrawText(0, 0, text.c_str(), FrameBuffer, 240, 320, 1), kMaxTextChars * 5);
  EXPECT_EQ(DrawTextCentred(g.get(), 0, text.c_str(), &f, 1), kMaxTextChars * 5);
}

TEST_F(FontTest, TextBlockPlacesLinesByLineFeedCount) {
  // Line height 8: one line starts at 160 - 4; "AA" (115..124) of the second line 2 x 8 lower.
  const struct {
    std::string text;
    int x, firstRow;
  } cases[] = {{"A", 120, 156}, {"A\nAA", 120, 156}, {"A\nAA", 117, 172}, {"A\nA\nA", 120, 140}};
  for (const auto& c : cases) {
    ClearFrame();
    DrawTextBlock(g.get(), c.text.c_str(), &f);
    EXPECT_EQ(FirstRowWith(c.x, 0xFFFF), c.firstRow) << c.text;
  }
  ClearFrame();
  std::string longLine(200, 'A');
  DrawTextBlock(g.get(), longLine.c_str(), &f);  // cut to 127 characters, centred as such
  ExpectPx({{3, 156, 0xFFFF}, {0, 156, 0}});
}

}  // namespace
