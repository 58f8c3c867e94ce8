// The scrolling text panel: wrapping, splitting, the end of the text, the speed and the
// pixels drawn into the image.
#include <limits>
#include <string>
#include <vector>

#include "gfx2d/gfx2d_test_util.h"
#include "gui/scroll_text.h"

namespace {

constexpr int kAdvance = 6;
constexpr int kLineHeight = 10;
constexpr uint16_t kInk = 0xFFFF;

// Every printable character a solid 6 x 10 block; the space writes nothing.
std::string BlockFont() {
  std::vector<GlyphRecord> glyphs;
  glyphs.push_back(SolidGlyph(' ', kAdvance, kLineHeight, 1));
  for (int c = 33; c < 127; ++c) glyphs.push_back(SolidGlyph(uint8_t(c), kAdvance, kLineHeight, 255));
  return FntFile(glyphs);
}

class ScrollPanel : public Gfx2DFixture {
 protected:
  void SetUp() override {
    Gfx2DFixture::SetUp();
    dir.Write("block.fnt", BlockFont());
    ASSERT_EQ(font.LoadFont("block.fnt"), 1);
  }
  void TearDown() override {
    panel.Destroy();
    Gfx2DFixture::TearDown();
  }
  // A panel over a fresh image (filled, so clearing shows) reading `text`.
  void Open(const std::string& text, int width, int height, float speed) {
    dir.Write("story.txt", text);
    image = Load("image" + std::to_string(++images) + ".spr", SprFill(width, height, 0x1234));
    ASSERT_GE(image, 0);
    panel.Create(7, image, "story.txt", &font, speed);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (int32_t i = 0; i < panel.lines.Count(); ++i)
      out.emplace_back(static_cast<const char*>(panel.lines.Get(i)));
    return out;
  }
  uint16_t ImagePx(int x, int y) const {
    const uint16_t* block = g->SpriteBlock(image);
    return SpritePixels(block)[y * SpriteWidth(block) + x];
  }
  // Updates until the panel reports the end; the count of steps that still moved.
  int StepsToEnd() {
    int steps = 0;
    while (panel.Update()) ++steps;
    return steps;
  }

  Font font;
  ScrollText panel{};
  int32_t image = -1;
  int images = 0;
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(ScrollPanel, LinesBreakAndWrapAtTheLastSpaceAndLongWordsTwoCharactersAtATime) {
  const struct {
    const char* text;
    int width;  // 33 pixels: lines may reach 30 pixels, five characters
    Texts lines;
  } cases[] = {
      {"The craft wakes.", 200, {"The craft wakes."}},
      {"The craft wakes.\r\n", 200, {"The craft wakes."}},  // no second line
      // The blank line between paragraphs stays; a lone line feed breaks the line too.
      {"One\r\nTwo\r\n\r\nThree\nFour", 200, {"One", "Two", "", "Three", "Four"}},
      {"aaa bbb ccc", 33, {"aaa ", "bbb ", "ccc"}},
      {"ABCDEFGHIJKLM end", 33, {"AB", "CD", "EF", "GH", "IJ", "KLM ", "end"}},
      // Spaces at the start of a line are dropped, those that fill a line are kept.
      {"   abc      de", 33, {"abc  ", "de"}},
  };
  for (const auto& c : cases) {
    Open(c.text, c.width, 100, 1.0f);
    EXPECT_EQ(Lines(), c.lines) << c.text;
    // A single line never scrolls.
    if (c.lines.size() == 1) {
      EXPECT_FALSE(panel.Update()) << c.text;
    }
    panel.Destroy();
  }
  // One character per line doubles the text; the wrap buffer must hold that.
  Open(std::string(3000, 'x'), 4, 20, 1.0f);
  ASSERT_EQ(panel.lines.Count(), 3000);
  EXPECT_EQ(Lines().back(), "x");
  EXPECT_TRUE(panel.Update());
}

TEST_F(ScrollPanel, TheTextRunsOutWhenItsLastLineReachesTheTop) {
  // N lines of height h move for N * h + 1 steps at one pixel per step.
  Open("a\r\nb\r\nc", 100, 100, 1.0f);
  EXPECT_EQ(StepsToEnd(), 3 * kLineHeight + 1);
  EXPECT_FALSE(panel.Update());  // and stays ended
  panel.Destroy();
  // A 10-pixel line at 0.3 pixel per step: 33.3 steps, so 33 or 34 depending on where the
  // float sum falls; about 1.4 s of 40 ms steps.
  Open("a\r\nb\r\nc\r\nd", 100, 100, 0.3f);
  EXPECT_NEAR(StepsToEnd(), 4 * kLineHeight / 0.3, 1.0);
  // A speed that is not a pixel count stands still.
  for (float speed : {-1e30f, std::numeric_limits<float>::quiet_NaN()}) {
    panel.Destroy();
    Open("a\r\nb\r\nc", 100, 100, speed);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(panel.Update());
    EXPECT_EQ(panel.position, 0.0f);
  }
}

TEST_F(ScrollPanel, AFileThatCannotBeOpenedLeavesThePanelEmpty) {
  image = Load("image.spr", SprFill(40, 40, 0x1234));
  panel.Create(7, image, "missing.txt", &font, 1.0f);
  EXPECT_EQ(dir.Log(), "error opening scroll txt file\n");
  EXPECT_EQ(panel.lines.Count(), 0);
  EXPECT_EQ(ImagePx(0, 0), 0);  // cleared all the same
  EXPECT_FALSE(panel.Update());
}

TEST_F(ScrollPanel, EachStepRedrawsTheCentredLinesOnePixelHigher) {
  Open("AA\r\nAAAA\r\nA", 40, 50, 1.0f);
  EXPECT_EQ(ImagePx(20, 20), 0);  // Create cleared the image

  ASSERT_TRUE(panel.Update());
  // Position 0: the first line one line height down, each line centred.
  EXPECT_EQ(ImagePx(14, 10), kInk);  // "AA": 12 pixels wide at x 14
  EXPECT_EQ(ImagePx(25, 19), kInk);
  EXPECT_EQ(ImagePx(13, 10), 0);
  EXPECT_EQ(ImagePx(26, 10), 0);
  EXPECT_EQ(ImagePx(14, 9), 0);
  EXPECT_EQ(ImagePx(8, 20), kInk);   // "AAAA": 24 wide at x 8
  EXPECT_EQ(ImagePx(31, 29), kInk);
  EXPECT_EQ(ImagePx(17, 30), kInk);  // "A": 6 wide at x 17
  EXPECT_EQ(ImagePx(16, 30), 0);
  EXPECT_EQ(ImagePx(17, 40), 0);

  ASSERT_TRUE(panel.Update());
  // Position 1: everything one row up, and what was drawn before is gone.
  EXPECT_EQ(ImagePx(14, 9), kInk);
  EXPECT_EQ(ImagePx(14, 8), 0);
  EXPECT_EQ(ImagePx(12, 18), 0);
  EXPECT_EQ(ImagePx(12, 19), kInk);
  EXPECT_EQ(ImagePx(17, 39), 0);
}

TEST_F(ScrollPanel, ALineWiderThanTheImageKeepsItsFirstCharacter) {
  // "AAAA " reaches the 25-pixel limit with its space: 30 pixels in a 28-pixel image.
  Open("AAAA BB", 28, 30, 1.0f);
  ASSERT_EQ(Lines(), (Texts{"AAAA ", "BB"}));
  ASSERT_TRUE(panel.Update());
  EXPECT_EQ(ImagePx(0, 10), kInk);
  EXPECT_EQ(ImagePx(23, 10), kInk);
  EXPECT_EQ(ImagePx(24, 10), 0);
}

TEST_F(ScrollPanel, DestroyIsSafeOnAPanelNeverCreatedAndTwice) {
  auto* zeroed = static_cast<ScrollText*>(AllocZeroed(sizeof(ScrollText)));
  zeroed->Destroy();
  EXPECT_FALSE(zeroed->Update());
  MemFree(zeroed);

  Open("one\r\ntwo", 100, 100, 1.0f);
  panel.Destroy();
  panel.Destroy();
  EXPECT_EQ(panel.text, nullptr);
}
