// The running form: stylus and keys, key capture, drawing and throttling, closing.
#include <cstring>
#include <string>
#include <tuple>

#include "gui_test_util.h"

namespace {

using Runtime = FormsFixture;

const char* const kTwoButtons =
    "FORM F\n"
    "BITMAP BACK big.spr 200 300 0 0 0 0\n"
    "BUTTON A n.spr h.spr 10 10 0 0\n"
    "BUTTON B n.spr h.spr 10 50 0 0 1\n"
    "CHECKBOX C u.spr f.spr c.spr 100 10 0 0 0\n"
    "LABEL L A 1 100 100\n"
    "ENDFORM\n";

using Events = std::vector<std::pair<int32_t, std::string>>;

Events Codes() {
  Events out;
  for (const RecordedEvent& e : Recorded) out.emplace_back(e.code, e.name);
  return out;
}

TEST_F(Runtime, TapDownOnOneButtonUpOnAnother) {
  ASSERT_TRUE(Open(kTwoButtons));
  Recorded.clear();
  TapDown(20, 20);
  auto* a = Control<ButtonControl>("A");
  auto* b = Control<ButtonControl>("B");
  EXPECT_EQ(a->state, 2);
  EXPECT_EQ(Codes(), (Events{{kEventFormTick, "F"}}));
  Recorded.clear();
  TapUp(20, 60);
  EXPECT_EQ(Codes(), (Events{{kEventButtonClicked, "B"}, {kEventFormTick, "F"}}));
  EXPECT_EQ(Recorded[0].object, b);
  // A stays pressed and is drawn highlighted until a release inside it.
  EXPECT_EQ(a->state, 2);
  DrawForms(m);
  EXPECT_EQ(Px(20, 20), kHighlightColour);
}

TEST_F(Runtime, StylusEdgesAreExclusiveAndHiddenButtonsIgnored) {
  ASSERT_TRUE(Open(kTwoButtons));
  Recorded.clear();
  TapDown(10, 20);  // on A's left edge
  TapUp(10, 20);
  EXPECT_EQ(Codes(), (Events{{kEventFormTick, "F"}, {kEventFormTick, "F"}}));
  SetControlVisible(m, "A", 0);
  Recorded.clear();
  TapDown(20, 20);
  TapUp(20, 20);
  EXPECT_EQ(Codes(), (Events{{kEventFormTick, "F"}, {kEventFormTick, "F"}}));
  // A held stylus gives one click, not one per step.
  SetControlVisible(m, "A", 1);
  Recorded.clear();
  TapDown(20, 20);
  TapUp(20, 20);
  Step();
  EXPECT_EQ(Codes(), (Events{{kEventFormTick, "F"}, {kEventButtonClicked, "A"}, {kEventFormTick, "F"},
                             {kEventFormTick, "F"}}));
}

TEST_F(Runtime, SelectActsOnTheFocusBeforeTheMove) {
  ASSERT_TRUE(Open(kTwoButtons));
  ASSERT_EQ(m->current->focused, IndexOf("A"));
  Recorded.clear();
  Step({kActMenuDown, kActMenuSelect});
  EXPECT_EQ(Codes(), (Events{{kEventButtonClicked, "A"}, {kEventFormTick, "F"}}));
  EXPECT_EQ(std::make_tuple(m->current->focused, Control<ButtonControl>("B")->focused),
            std::make_tuple(IndexOf("B"), 1));
  // Select on a focused checkbox toggles it.
  Step({kActMenuUp});
  Step({kActMenuRight});
  ASSERT_EQ(m->current->focused, IndexOf("C"));
  Recorded.clear();
  Step({kActMenuSelect});
  EXPECT_EQ(Control<CheckboxControl>("C")->checked, 1);
  EXPECT_EQ(Codes(), (Events{{kEventCheckboxToggled, "C"}, {kEventFormTick, "F"}}));
  // Keys do nothing while navigation is off.
  m->keysNavigate = 0;
  Step({kActMenuLeft, kActMenuSelect});
  EXPECT_EQ(std::make_tuple(Control<CheckboxControl>("C")->checked, m->current->focused),
            std::make_tuple(1, IndexOf("C")));
}

TEST_F(Runtime, HandlerClosingTheFormEndsTheStep) {
  ASSERT_TRUE(Open(kTwoButtons));
  OnEvent = [](FormManager* manager, const RecordedEvent& e) {
    if (e.code == kEventButtonClicked) CloseCurrentForm(manager);
  };
  Recorded.clear();
  Step({kActMenuSelect});
  // No tick for a form that is gone.
  EXPECT_EQ(Codes(), (Events{{kEventButtonClicked, "A"}, {kEventFormClosing, "F"}}));
  EXPECT_EQ(m->current, nullptr);
}

TEST_F(Runtime, ThrottledRedrawShowsAChangedLabelWithinSixFrames) {
  ASSERT_TRUE(Open(kTwoButtons));
  SetThrottledRedraw(m, 1);
  DrawForms(m);  // the next frame after switching draws everything
  EXPECT_EQ(Px(101, 101), MakeColour(31, 31, 31));
  SetLabelText(Control<LabelControl>("L"), "B");
  int shownAt = 0;
  for (int frame = 1; frame <= 6 && !shownAt; ++frame) {
    ClearFrame();
    DrawForms(m);
    // B redraws every frame; A only with the rest.
    EXPECT_EQ(Px(20, 60), kNormalColour) << frame;
    if (frame < 6) {
      EXPECT_EQ(Px(20, 20), 0) << frame;
    }
    if (Px(101, 101) != 0) shownAt = frame;
  }
  EXPECT_EQ(shownAt, 6);
  EXPECT_EQ(Px(20, 20), kHighlightColour);  // A has the focus
  SetThrottledRedraw(m, 0);
  ClearFrame();
  DrawForms(m);
  EXPECT_EQ(Px(101, 101), MakeColour(31, 31, 31));
}

TEST_F(Runtime, ProgressBarFillGeometry) {
  ASSERT_TRUE(Open("FORM F\n"
                   "PROGRESSBAR H NO_IMAGE 20 30 40 10 10 20 0 0 2016 15\n"
                   "PROGRESSBAR V NO_IMAGE 100 30 10 40 10 20 0 0 2016 15 1\n"
                   "PROGRESSBAR E NO_IMAGE 150 30 40 10 10 20 0 0 2016 10\n"
                   "PROGRESSBAR Z NO_IMAGE 150 60 40 10 5 5 0 0 2016 5\n"
                   "PROGRESSBAR N NO_IMAGE 150 90 40 10 -10 10 0 0 2016 0\n"
                   "ENDFORM\n"));
  DrawForms(m);
  EXPECT_EQ(Px(25, 35), 0) << "hidden without a frame image";
  ShowAllControls(m);
  DrawForms(m);
  // Horizontal: half of 40 columns, one pixel inside the left and top edges. Vertical: from
  // the left edge, half of 40 rows up from the bottom.
  struct Probe {
    int32_t x, y;
    uint16_t colour;
  };
  for (const Probe& p : {Probe{21, 31, 2016}, {40, 39, 2016}, {41, 35, 0}, {20, 35, 0},
                         {30, 30, 0}, {30, 40, 0}, {100, 50, 2016}, {109, 68, 2016},
                         {100, 49, 0}, {100, 69, 0}, {110, 60, 0}})
    EXPECT_EQ(Px(p.x, p.y), p.colour) << p.x << "," << p.y;
  // An empty bar, a bar with no range and a value of 0 above its minimum draw no fill.
  for (int x = 145; x < 200; ++x)
    for (int y : {35, 65, 95}) EXPECT_EQ(Px(x, y), 0) << x << "," << y;
  auto* h = Control<ProgressBarControl>("H");
  SetProgressValue(h, 25);
  EXPECT_EQ(h->value, 20);
  SetProgressValue(h, -3);
  EXPECT_EQ(h->value, 10);
}

TEST_F(Runtime, AProgressBarWhoseFrameIsTheFirstSpriteLoadedShows) {
  ASSERT_TRUE(Open("FORM F\nPROGRESSBAR P n.spr 20 30 40 10 0 10 0 0 2016 5\nENDFORM\n"));
  auto* p = Control<ProgressBarControl>("P");
  EXPECT_EQ(std::make_tuple(p->frameImage, p->visible), std::make_tuple(0, 1));
  DrawForms(m);
  EXPECT_EQ(Px(21, 31), 2016);
}

TEST_F(Runtime, CloseFormAndLookups) {
  ASSERT_TRUE(Open(kTwoButtons));
  EXPECT_EQ(FindControl(m->current, "nothing"), nullptr);
  int32_t kind = 0;
  EXPECT_EQ(std::make_tuple(FindControl(m->current, "C", &kind) != nullptr, kind),
            std::make_tuple(true, kControlCheckbox));
  EXPECT_FALSE(SetControlVisible(m, "nothing", 0));
  HideAllControls(m);
  DrawForms(m);
  for (int i = 0; i < 240 * 320; ++i) ASSERT_EQ(FrameBuffer[i], 0);

  Recorded.clear();
  EXPECT_FALSE(CloseForm(m, "G"));
  EXPECT_EQ(LogLines(), std::vector<std::string>{"Error in CloseForm: form not found:G"});
  FormRecord* f = m->current;
  EXPECT_TRUE(CloseForm(m, "F"));
  ASSERT_EQ(Recorded.size(), 1u);
  EXPECT_EQ(std::make_tuple(Recorded[0].code, Recorded[0].object),
            std::make_tuple(kEventFormClosing, static_cast<void*>(f)));
  EXPECT_EQ(std::make_tuple(m->current, m->forms.Count()), std::make_tuple(nullptr, 0));
  // Nothing to draw or update without a form.
  Recorded.clear();
  Step();
  DrawForms(m);
  EXPECT_TRUE(Recorded.empty());
}

TEST_F(Runtime, ClosingAnotherFormLeavesNoneCurrent) {
  dir.Write("kvr.rsx", "FORM A\nENDFORM\nFORM B\nENDFORM\n");
  ASSERT_TRUE(OpenForm(m, "kvr.rsx", "A"));
  ASSERT_TRUE(OpenForm(m, "kvr.rsx", "B"));
  EXPECT_STREQ(m->current->name, "B");
  ASSERT_TRUE(OpenForm(m, "kvr.rsx", "A"));
  EXPECT_STREQ(m->current->name, "A");
  EXPECT_TRUE(CloseForm(m, "B"));
  EXPECT_EQ(std::make_tuple(m->current, m->forms.Count()), std::make_tuple(nullptr, 1));
  // The manager's destruction closes whatever is left.
}

TEST_F(Runtime, AFormNameOverTheLimitIsCutTheSameWayWhenLookedUp) {
  for (size_t length : {127, 128, 200}) {
    const std::string name(length, 'n');
    dir.Write("kvr.rsx", "FORM " + name + "\nENDFORM\n");
    ASSERT_TRUE(OpenForm(m, "kvr.rsx", name.c_str())) << length;
    ASSERT_TRUE(OpenForm(m, "kvr.rsx", name.c_str())) << length;
    EXPECT_EQ(m->forms.Count(), 1) << length;  // reopened, not appended again
    EXPECT_EQ(strlen(m->current->name), 127u);
    EXPECT_TRUE(CloseForm(m, name.c_str())) << length;
    EXPECT_EQ(m->forms.Count(), 0) << length;
  }
  EXPECT_EQ(LogLines(), std::vector<std::string>{});
  // A shorter name is still compared whole.
  dir.Write("kvr.rsx", "FORM AB\nENDFORM\n");
  ASSERT_TRUE(OpenForm(m, "kvr.rsx", "AB"));
  EXPECT_EQ(std::make_tuple(FindForm(m, "A"), FindForm(m, "ABC")), std::make_tuple(nullptr, nullptr));
}

}  // namespace
