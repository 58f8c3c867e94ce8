// The game driver in-process: the head-up message's wrapping and lifetime, the choice box's
// keys — what a run of the program cannot pin down by itself.
#include <string>
#include <vector>

#include "driver_fixture.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
    out.push_back(text.substr(start, nl - start));
  if (start < text.size()) out.push_back(text.substr(start));
  return out;
}

class HudFont : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(font.LoadFont("font2.fnt"), 1); }
  std::string Wrap(const std::string& text, int32_t width = 240) {
    char out[kHudMessageBytes];
    WrapHudMessage(font, text.c_str(), width, out, sizeof out);
    return out;
  }
  UseGameData data;
  Font font;
};

// Texts of about 400 and 700 pixels: broken after words, every continuation line starting
// with the space that separated the words, nothing lost, no line wider than the layout.
TEST_F(HudFont, ALongTextIsBrokenAfterWords) {
  const std::string texts[] = {
      "You found the ship keycard. The ship waits for you at the landing pad.",
      "The neural link is down: the mainframe's guards are blind now. Find the mainframe, "
      "set the X Bomb beside it and leave before the countdown ends."};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    ASSERT_GT(font.MeasureText(text.c_str()), 300);
    const std::string wrapped = Wrap(text);
    const std::vector<std::string> lines = Lines(wrapped);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(wrapped.back(), '\n');
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_LE(font.MeasureText(lines[i].c_str()), 240) << lines[i];
      if (i > 0) {
        EXPECT_EQ(lines[i][0], ' ') << lines[i];
      }
      if (i + 1 < lines.size()) {
        EXPECT_NE(lines[i].back(), ' ') << lines[i];
      }
      joined += lines[i];
    }
    EXPECT_EQ(joined, text);
  }
}

TEST_F(HudFont, OverlongTextsAreCutAndTheRecordNeverOverflows) {
  // 300 characters of words: cut to 255, then the line breaks must still fit 256 bytes.
  std::string words;
  while (words.size() < 300) words += "abcd ";
  const std::string wrapped = Wrap(words);
  EXPECT_LE(wrapped.size(), size_t(kHudMessageBytes - 1));
  std::string joined;
  for (const std::string& line : Lines(wrapped)) joined += line;
  EXPECT_EQ(joined, words.substr(0, joined.size()));

  // A word wider than the layout has no space to break at: its lines are filled, not cut
  // down to a character each.
  const std::string word(80, 'W');
  const std::vector<std::string> lines = Lines(Wrap(word));
  ASSERT_GE(lines.size(), 2u);
  EXPECT_LE(lines.size(), 6u);
  for (const std::string& line : lines) EXPECT_LE(font.MeasureText(line.c_str()), 240);
}

// Keys in the choice box, by the number of answers. (Down staying with two answers, right
// moving on and the selection key answering are the end-to-end "Go to menu?" runs'.)
TEST_F(DriverTest, ChoiceBoxKeys) {
  struct Case {
    const char* name;
    int32_t count, first;
    std::vector<int> keys;
    int32_t selected;
  };
  const Case cases[] = {
      {"down with three answers goes to the third", 3, 1, {0x28}, 3},
      {"right stops at the last", 2, 2, {0x27, 0x27}, 2},
      {"left stops at the first", 3, 1, {0x25}, 1},
      {"up goes to the first", 3, 3, {0x26}, 1},
  };
  CloseCurrentForm(Forms);  // the menu keys are the box's alone
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(driver.ShowChoice("Go on?", c.count, c.first, "A", "B", "C"));
    EXPECT_EQ(driver.screenState, kScreenChoice);
    for (int vk : c.keys) {
      Step(vk);
      Step();
    }
    EXPECT_EQ(driver.selected, c.selected);
    EXPECT_EQ(driver.screenState, kScreenChoice);
    driver.screenState = kScreenMenus;
  }
}

TEST_F(DriverTest, ChoiceBoxTakesAStylusReleaseInsideAnAnswer) {
  ASSERT_TRUE(driver.ShowChoice("Go to menu?", 2, 1, "Yes", "No", ""));
  const AnswerRect no = driver.answerRects[1];
  StylusDownAt(no.x + no.width / 2, no.y + no.height / 2);
  Step();
  EXPECT_EQ(driver.screenState, kScreenChoice);
  StylusUpNow();
  Step();
  EXPECT_EQ(driver.screenState, kScreenChoiceAnswered);
  EXPECT_EQ(driver.selected, 2);
  EXPECT_EQ(driver.fadeOut, 1);
}

TEST_F(DriverTest, ChoiceBoxRefusesCountsOutOfRange) {
  struct Case {
    int32_t count, first;
  };
  for (const Case c : {Case{4, 1}, Case{2, 3}, Case{2, 0}, Case{0, 1}}) {
    SetThrottledRedraw(Forms, 1);
    EXPECT_FALSE(driver.ShowChoice("?", c.count, c.first, "A", "B", "C"));
    EXPECT_EQ(driver.screenState, kScreenMenus);
    EXPECT_EQ(Forms->throttledRedraw, 0);
  }
}

// The box dims the frozen picture one level a frame down to 14 and frames the selection in
// white, 6 pixels outside the answer's text.
TEST_F(DriverTest, ChoiceBoxDimsAndFramesTheSelection) {
  ASSERT_TRUE(driver.ShowChoice("Go to menu?", 2, 1, "Yes", "No", ""));
  for (int i = 0; i < 20; ++i) Step();
  EXPECT_EQ(driver.fadeLevel, kChoiceDimLevel);
  const AnswerRect yes = driver.answerRects[0];
  EXPECT_EQ(FrameBuffer[(yes.y - 6) * 240 + yes.x], MakeColour(31, 31, 31));
  EXPECT_EQ(FrameBuffer[(yes.y + yes.height + 6) * 240 + yes.x + yes.width + 6],
            MakeColour(31, 31, 31));
}

// A message lives 3000 ms of frames; a second one replaces it and starts the time again.
TEST_F(DriverTest, HudMessageLifetime) {
  driver.ShowHudMessage("Energy +50");
  for (int i = 0; i < 50; ++i) Step();  // 2000 ms
  EXPECT_EQ(driver.messageShown, 1);
  driver.ShowHudMessage("Rockets +4");
  EXPECT_STREQ(driver.messageText, "Rockets +4");
  for (int i = 0; i < 75; ++i) Step();  // 3000 ms: not yet over
  EXPECT_EQ(driver.messageShown, 1);
  Step();
  EXPECT_EQ(driver.messageShown, 0);
}

}  // namespace
