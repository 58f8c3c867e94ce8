// The resource script: lines, tokens, keyword lines, the failure messages and their lines.
#include <string>
#include <tuple>

#include "gui_test_util.h"

namespace {

using Parser = FormsFixture;

std::string ParseError(int line, const std::string& message) {
  return "Error parsing resource file at line num " + std::to_string(line) + " - " + message;
}

TEST_F(Parser, BuildsEveryKindInScriptOrder) {
  ASSERT_TRUE(Open(
      "# the test form\n"
      "FORM F\n"
      "BITMAP IMG big.spr 1 2 1 0 1 0\n"
      "BUTTON BTN n.spr h.spr 10 20 1 0\n"
      "LABEL LBL \"two words\" 2 10 20\n"
      "CHECKBOX CHK u.spr f.spr c.spr 50 60 1 0 0\n"
      "PROGRESSBAR PGB n.spr 5 6 30 8 10 20 1 2 2016 99 1\n"
      "BACKGROUND BACK 0 10 240 100\n"
      "ENDFORM\n"));
  FormRecord* f = m->current;
  ASSERT_EQ(f->controls.Count(), 6);
  const int kinds[] = {kControlBitmap, kControlButton, kControlLabel, kControlCheckbox,
                       kControlProgressBar, kControlBackground};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(f->controls.Tag(i), kinds[i]) << i;

  EXPECT_EQ(Control<BitmapControl>("IMG")->visible, 0);  // hidden until the game shows it
  // Eight tokens: the redraw-always flag defaults to 0; the size is the highlighted image's.
  auto* b = Control<ButtonControl>("BTN");
  EXPECT_EQ(std::make_tuple(b->redrawAlways, b->width), std::make_tuple(0, 40));
  // The quoted text keeps its space and loses its quotes.
  EXPECT_STREQ(Control<LabelControl>("LBL")->text, "two words");
  // The value is clamped into the range; the vertical flag is the optional last token.
  auto* p = Control<ProgressBarControl>("PGB");
  EXPECT_EQ(std::make_tuple(p->value, p->vertical), std::make_tuple(20, 1));
  EXPECT_EQ(Control<BackgroundControl>("BACK")->plain, 0);  // image mode, no image yet

  ASSERT_EQ(Recorded.size(), 1u);
  EXPECT_EQ(std::make_tuple(Recorded[0].code, Recorded[0].object, Recorded[0].name),
            std::make_tuple(kEventFormOpened, static_cast<void*>(f), "F"));
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(Parser, TokenRules) {
  // Indented keywords, CR LF line ends, a quote ending a token without a space after it,
  // a '#' that is not the line's first byte inside another form, and a last line of one
  // byte without its line feed, which is never read.
  ASSERT_TRUE(Open(
      "FORM OTHER\r\n"
      "   # not a comment, but this block is not parsed\r\n"
      "WHATEVER 1 2\r\n"
      "ENDFORM\r\n"
      "FORM F\r\n"
      "     LABEL   A \"x  y\"1 3 4\r\n"
      "LABEL N x 2 -12abc +7\nLABEL J x 2 junk 99999999999\n"
      "ENDFORM\n"
      "X"));
  auto* a = Control<LabelControl>("A");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(std::make_tuple(std::string(a->text), a->font, a->x, a->y),
            std::make_tuple("x  y", m->font1, 3, 4));
  // Numbers read like atoi, held at the limits of 32 bits.
  auto* n = Control<LabelControl>("N");
  auto* j = Control<LabelControl>("J");
  EXPECT_EQ(std::make_tuple(n->x, n->y, j->x, j->y), std::make_tuple(-12, 7, 0, INT32_MAX));
  EXPECT_TRUE(LogLines().empty());
}

// 1023 bytes is the longest line of the wanted form's block (its FORM line included).
const std::string kLongestLine =
    "LABEL A " + std::string(255, 'y') + " 1 1 1" + std::string(1023 - 8 - 255 - 6, ' ');

TEST_F(Parser, FailuresAreLoggedAtTheirLine) {
  ASSERT_EQ(kLongestLine.size(), 1023u);
  const struct {
    std::string script;
    const char* form;
    int line;
    const char* message;
  } cases[] = {
      {"FORM F\nLABEL A \"\" 1 2 3\nENDFORM\n", "F", 2, "Syntax Error."},  // empty token
      {"FORM F\n# a comment\n  # not one\nENDFORM\n", "F", 3, "Syntax Error."},
      // A tab does not separate tokens: the keyword is unknown.
      {"FORM F\nLABEL A x 1 1 1\nLABEL\tB x 1 1 1\nENDFORM\n", "F", 3, "Syntax Error."},
      {"FORM F\nLABEL A x 1 1 1\n\nFORM G\nENDFORM\n", "F", 4, "ENDFORM not found."},
      {"FORM A\nENDFORM\n\n# four lines\n", "F", 4, "FORM not found."},
      {"FORM\nENDFORM\nFORM F\nENDFORM\n", "F", 1, "Syntax Error."},
      // One token short of each keyword's required ones.
      {"FORM F\nFONT1 font1.fnt\n", "F", 2, "Syntax Error."},
      {"FORM F\nBITMAP A big.spr 1 2 0\n", "F", 2, "Syntax Error."},
      {"FORM F\nBUTTON A n.spr h.spr 1 2 0\n", "F", 2, "Syntax Error."},
      {"FORM F\nLABEL A x 1 2\n", "F", 2, "Syntax Error."},
      {"FORM F\nCHECKBOX A u.spr f.spr c.spr 1 2 0 0\n", "F", 2, "Syntax Error."},
      {"FORM F\nPROGRESSBAR A NO_IMAGE 1 2 3 4 5 6 7 8 9\n", "F", 2, "Syntax Error."},
      {"FORM F\nTDENG A 1 2 3\n", "F", 2, "Syntax Error."},
      {"FORM F\nBACKGROUND A 1 2 3\n", "F", 2, "Syntax Error."},
      // A token past 255 bytes, a line of 1024 and a FORM line of 1024.
      {"FORM F\nLABEL A " + std::string(300, 'x') + " 1 1 1\nENDFORM\n", "F", 2, "Syntax Error."},
      {"FORM F\n\n" + kLongestLine + " \nENDFORM\n", "F", 3, "Syntax Error."},
      {"FORM F " + std::string(1020, ' ') + "\nENDFORM\n", "F", 1, "Syntax Error."},
  };
  for (const auto& c : cases) {
    ClearLog();
    Recorded.clear();
    EXPECT_FALSE(Open(c.script, c.form)) << c.script;
    EXPECT_EQ(LogLines(), std::vector<std::string>{ParseError(c.line, c.message)}) << c.script;
    EXPECT_TRUE(Recorded.empty());
    CloseCurrentForm(m);
  }
  // The failed form stays current with what was built before the failing line.
  EXPECT_FALSE(Open("FORM F\nLABEL A x 1 1 1\nLABEL\tB x 1 1 1\nENDFORM\n"));
  ASSERT_NE(m->current, nullptr);
  EXPECT_EQ(m->current->controls.Count(), 1);
  CloseCurrentForm(m);
  // A missing ENDFORM at the end of the file is accepted; a last line of one byte without
  // its line feed is never read.
  EXPECT_TRUE(Open("FORM F\nLABEL A x 1 1 1\nX"));
  EXPECT_EQ(m->current->controls.Count(), 1);
}

TEST_F(Parser, ImageFailures) {
  EXPECT_FALSE(Open("FORM F\nBUTTON A n.spr h.spr 1 2 0 0\nBUTTON B n.spr nothere.spr 1 2 0 0\nENDFORM\n"));
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"Error opening sprite file: nothere.spr",
                                                  ParseError(3, "Error loading image file.")}));
  // The partial form is current; opening it again finds it at once, without an event.
  Recorded.clear();
  EXPECT_TRUE(OpenForm(m, "kvr.rsx", "F"));
  EXPECT_EQ(m->current->controls.Count(), 1);
  EXPECT_TRUE(Recorded.empty());
  CloseCurrentForm(m);

  // A progress bar's missing frame only hides the bar.
  ClearLog();
  EXPECT_TRUE(Open("FORM F\nPROGRESSBAR P gone.spr 1 2 3 4 0 10 0 0 0 5\n"
                   "PROGRESSBAR Q NO_IMAGE 1 2 3 4 0 10 0 0 0 5\nENDFORM\n"));
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"Error opening sprite file: gone.spr",
                                                  "Error loading Progressbar sprite."}));
  auto* p = Control<ProgressBarControl>("P");
  EXPECT_EQ(std::make_tuple(p->visible, p->frameImage, Control<ProgressBarControl>("Q")->visible),
            std::make_tuple(0, -1, 0));
}

TEST_F(Parser, MissingScript) {
  EXPECT_FALSE(OpenForm(m, "nothere.rsx", "F"));
  EXPECT_EQ(LogLines(), std::vector<std::string>{"Error opening resorce file."});
  ASSERT_NE(m->current, nullptr);
  EXPECT_STREQ(m->current->name, "F");
}

// The longest line, a 1023-byte comment and a 255-byte token are read; outside the wanted
// block lengths are not checked: long lines, comments and names in another form do not stop
// this one from opening. (The lines one byte longer are among the failures above.)
TEST_F(Parser, LongLinesAndTokensUpToTheirLimits) {
  EXPECT_TRUE(Open("FORM F\n" + kLongestLine + "\n#" + std::string(1022, 'z') + "\nENDFORM\n"));
  EXPECT_EQ(Control<LabelControl>("A")->text, std::string(255, 'y'));
  CloseCurrentForm(m);
  EXPECT_TRUE(Open("FORM G\nLABEL A " + std::string(1100, 'g') + "\n#" + std::string(1023, 'c') +
                   "\nENDFORM\nFORM " + std::string(300, 'x') +
                   "\nENDFORM\nFORM F\nLABEL A x 1 1 1\nENDFORM\n"));
  EXPECT_EQ(LogLines(), std::vector<std::string>{});
}

TEST_F(Parser, FontLinesRecolourEveryLabelOfThatFont) {
  ASSERT_TRUE(Open("FORM F\nLABEL A A 2 0 0\nFONT2 font2.fnt 2016\nLABEL B A 2 0 20\nENDFORM\n"));
  EXPECT_EQ(m->font2->foreground, 2016);
  EXPECT_EQ(Control<LabelControl>("A")->font, m->font2);
  DrawForms(m);
  EXPECT_EQ(Px(1, 1), 2016);
  EXPECT_EQ(Px(1, 21), 2016);
  // A font file that cannot be read is logged; the form opens with the font as it was.
  CloseCurrentForm(m);
  EXPECT_TRUE(Open("FORM F\nFONT1 nofont.fnt 31\nENDFORM\n"));
  EXPECT_EQ(LogLines(), std::vector<std::string>{"Error loading nofont.fnt"});
  EXPECT_EQ(m->font1->foreground, 31);
  EXPECT_NE(m->font1->glyphs['A'], nullptr);
}

TEST_F(Parser, ListsTheFormsOfAScript) {
  dir.Write("kvr.rsx", "FORM A\nENDFORM\n#FORM X\nFORM B\nFORM\n");
  std::vector<std::string> names;
  EXPECT_EQ(ListScriptForms("kvr.rsx",
                            [](const char* name, void* user) {
                              static_cast<std::vector<std::string>*>(user)->push_back(name);
                            },
                            &names),
            2);
  EXPECT_EQ(names, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(ListScriptForms("none.rsx", nullptr, nullptr), -1);
}

}  // namespace
