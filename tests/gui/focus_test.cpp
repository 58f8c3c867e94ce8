// Focus: the initial choice and the four moves with their bands, gaps and ties.
#include <string>
#include <tuple>

#include "gui_test_util.h"

namespace {

using Focus = FormsFixture;

// A 40 x 20 button whose centre is (cx, cy).
std::string ButtonAt(const std::string& name, int cx, int cy) {
  return "BUTTON " + name + " n.spr h.spr " + std::to_string(cx - 20) + " " + std::to_string(cy - 10) +
         " 0 0\n";
}

std::string FormOf(const std::string& body) { return "FORM F\nBITMAP BACK big.spr 0 0 0 0 0 1\n" + body + "ENDFORM\n"; }

std::string FocusedName(FormManager* m) {
  FormRecord* f = m->current;
  return ControlName(f->controls.Get(f->focused), f->controls.Tag(f->focused));
}

TEST_F(Focus, InitialFocusSkipsTheFirstControl) {
  // A button in first place is never chosen; the first checkbox or button after it is.
  ASSERT_TRUE(Open("FORM F\n" + ButtonAt("FIRST", 100, 100) +
                   "LABEL L x 1 0 0\nCHECKBOX C u.spr f.spr c.spr 10 10 0 0 0\n" + ButtonAt("B", 100, 200) +
                   "ENDFORM\n"));
  EXPECT_EQ(std::make_tuple(m->current->focused, Control<CheckboxControl>("C")->focusState,
                            Control<ButtonControl>("FIRST")->focused, Control<ButtonControl>("B")->focused),
            std::make_tuple(2, 2, 0, 0));
  CloseCurrentForm(m);

  ASSERT_TRUE(Open("FORM F\n" + ButtonAt("ONLY", 100, 100) + "ENDFORM\n"));
  EXPECT_EQ(std::make_tuple(m->current->focused, Control<ButtonControl>("ONLY")->focused),
            std::make_tuple(0, 0));
}

TEST_F(Focus, SidewaysBandsEndAtFortyRowsLeftAndTwentyRight) {
  const struct {
    bool left;
    int rows;  // the candidate's centre row minus the focused one's
    bool moves;
  } cases[] = {{true, 39, true},   {true, 40, false}, {true, -39, true}, {true, -40, false},
               {true, 25, true},   {false, 19, true}, {false, 20, false}, {false, -19, true},
               {false, -20, false}, {false, 25, false}};
  for (const auto& c : cases) {
    ASSERT_TRUE(Open(FormOf(ButtonAt("A", 120, 110) + ButtonAt("X", c.left ? 60 : 180, 110 + c.rows))));
    ASSERT_EQ(FocusedName(m), "A");
    c.left ? MoveFocusLeft(m->current) : MoveFocusRight(m->current);
    EXPECT_EQ(FocusedName(m), c.moves ? "X" : "A") << c.left << " " << c.rows;
    EXPECT_EQ(Control<ButtonControl>("A")->focused, c.moves ? 0 : 1);
    CloseCurrentForm(m);
  }
  // The nearest column wins; on equal distance the earlier one in the list.
  ASSERT_TRUE(Open(FormOf(ButtonAt("A", 120, 110) + ButtonAt("L1", 60, 100) + ButtonAt("L2", 60, 120) +
                          ButtonAt("L0", 30, 110))));
  MoveFocusLeft(m->current);
  EXPECT_EQ(FocusedName(m), "L1");
}

TEST_F(Focus, UpKeepsTheSmallestGapSeenInListOrder) {
  // U1 is straight above, U2 is closer in rows, U3 is nearest of all but its gap is larger
  // than U2's, which came before it in the list.
  ASSERT_TRUE(Open(FormOf(ButtonAt("F", 120, 200) + ButtonAt("U1", 120, 100) + ButtonAt("U2", 200, 150) +
                          ButtonAt("U3", 120, 140) + ButtonAt("DOWN", 120, 260))));
  MoveFocusUp(m->current);
  EXPECT_EQ(FocusedName(m), "U2");
}

TEST_F(Focus, NarrowerGapsAndTiesUpAndDown) {
  const struct {
    std::string form;
    bool up;
    const char* chosen;
  } cases[] = {
      // U2 narrows the gap but is farther than U1, so it is not taken; U3, between the two
      // gaps, is then past the narrowed gap: U1 keeps the choice. Down walks the same way.
      {ButtonAt("U1", 120, 150) + ButtonAt("U2", 220, 160) + ButtonAt("U3", 120, 155), true, "U1"},
      {ButtonAt("D1", 120, 250) + ButtonAt("D2", 220, 240) + ButtonAt("D3", 120, 245), false, "D1"},
      // Mirrored candidates: up takes the later one, down keeps the earlier one.
      {ButtonAt("UL", 80, 150) + ButtonAt("UR", 160, 150), true, "UR"},
      {ButtonAt("DL", 80, 250) + ButtonAt("DR", 160, 250), false, "DL"},
      // An equal gap is kept going up, but not going down.
      {ButtonAt("U1", 100, 150) + ButtonAt("U2", 130, 150), true, "U2"},
      {ButtonAt("D1", 130, 250) + ButtonAt("D2", 100, 250), false, "D1"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(Open(FormOf(ButtonAt("F", 120, 200) + c.form)));
    c.up ? MoveFocusUp(m->current) : MoveFocusDown(m->current);
    EXPECT_EQ(FocusedName(m), c.chosen) << c.form;
    // Nothing further on: the focus stays.
    c.up ? MoveFocusUp(m->current) : MoveFocusDown(m->current);
    EXPECT_EQ(FocusedName(m), c.chosen);
    CloseCurrentForm(m);
  }
}

TEST_F(Focus, HiddenControlsAndNoFocus) {
  ASSERT_TRUE(Open(FormOf(ButtonAt("F", 120, 200) + ButtonAt("UP", 120, 100))));
  SetControlVisible(m, "UP", 0);
  MoveFocusUp(m->current);
  EXPECT_EQ(FocusedName(m), "F");
  // With no focus a move does nothing.
  m->current->focused = -1;
  MoveFocusUp(m->current);
  EXPECT_EQ(m->current->focused, -1);
}

}  // namespace
