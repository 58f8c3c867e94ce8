// The baked kvr.rsx: every button of every form is reachable with the menu keys and
// tappable on its own, and the final-text panel stays out of sight while playing.
#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "gui_test_util.h"

namespace {

struct ControlRectForTest {
  int32_t x, y, w, h;
  std::string name;
};

class BakedForms : public ::testing::Test {
 protected:
  void SetUp() override {
    g.Create(0, 240, 320, FrameBuffer);
    Gfx2D = &g;
    m = CreateFormManager(0xDEADBEEF, nullptr, nullptr, nullptr);
    ASSERT_NE(m, nullptr);
  }
  void TearDown() override {
    DestroyFormManager(m);
    Gfx2D = nullptr;
  }
  FormRecord* Open(const std::string& name) {
    if (!OpenForm(m, "kvr.rsx", name.c_str())) return nullptr;
    return m->current;
  }

  UseGameData data;
  Graphics2D g;
  FormManager* m = nullptr;
};

bool Focusable(FormRecord* f, int32_t i) {
  const int32_t kind = f->controls.Tag(i);
  if (kind == kControlButton) return static_cast<ButtonControl*>(f->controls.Get(i))->visible;
  if (kind == kControlCheckbox) return static_cast<CheckboxControl*>(f->controls.Get(i))->visible;
  return false;
}

TEST_F(BakedForms, KeysReachEveryButtonAndTapsHitOneEach) {
  std::vector<std::string> forms;
  ListScriptForms("kvr.rsx", [](const char* n, void* u) { static_cast<std::vector<std::string>*>(u)->push_back(n); },
                  &forms);
  EXPECT_GE(forms.size(), 11u);  // the menus, the two in-game views, the chart and its notice
  for (const std::string& form : forms) {
    FormRecord* f = Open(form);
    ASSERT_NE(f, nullptr) << form;
    // The first control is the backdrop (or the view), and something has the focus.
    EXPECT_GE(f->focused, 1) << form;
    EXPECT_TRUE(Focusable(f, f->focused)) << form;
    // Everything reachable from the initial focus with the four moves.
    std::set<int32_t> seen = {f->focused};
    std::vector<int32_t> todo = {f->focused};
    while (!todo.empty()) {
      const int32_t from = todo.back();
      todo.pop_back();
      for (void (*move)(FormRecord*) : {MoveFocusUp, MoveFocusDown, MoveFocusLeft, MoveFocusRight}) {
        f->focused = from;
        move(f);
        if (seen.insert(f->focused).second) todo.push_back(f->focused);
      }
    }
    std::vector<ControlRectForTest> rects;
    for (int32_t i = 0; i < f->controls.Count(); ++i) {
      if (!Focusable(f, i)) continue;
      const char* name = ControlName(f->controls.Get(i), f->controls.Tag(i));
      EXPECT_TRUE(seen.count(i)) << form << ": the keys never reach " << name;
      int32_t x, y, w, h;
      if (f->controls.Tag(i) == kControlButton) {
        auto* b = static_cast<ButtonControl*>(f->controls.Get(i));
        x = b->x, y = b->y, w = b->width, h = b->height;
      } else {
        auto* c = static_cast<CheckboxControl*>(f->controls.Get(i));
        x = c->x, y = c->y, w = c->width, h = c->height;
      }
      EXPECT_TRUE(x >= 0 && y >= 0 && x + w <= 240 && y + h <= 320) << form << " " << name;
      EXPECT_GE(w, 24) << form << " " << name << " is too small to tap";
      EXPECT_GE(h, 18) << form << " " << name << " is too small to tap";
      for (const ControlRectForTest& r : rects)
        EXPECT_TRUE(x >= r.x + r.w || r.x >= x + w || y >= r.y + r.h || r.y >= y + h)
            << form << ": " << name << " overlaps " << r.name;
      rects.push_back({x, y, w, h, name});
    }
    CloseCurrentForm(m);
  }
}

// (The external camera's final panel is the strip the console sits on while playing.)
TEST_F(BakedForms, FinalTextPanelIsHiddenWhilePlaying) {
  for (const char* form : {"FORMINGAME_CAM_FP"}) {
    ASSERT_NE(Open(form), nullptr);
    // As the map loader leaves the form when play starts.
    ShowAllControls(m);
    for (const char* hidden : {"PGB_LOADING", "LBL_ENTERING", "IMG_SCROLLFINAL"}) SetControlVisible(m, hidden, 0);
    std::fill(FrameBuffer, FrameBuffer + 240 * 320, uint16_t(0x1234));
    DrawForms(m);
    std::vector<uint16_t> playing(FrameBuffer, FrameBuffer + 240 * 320);
    SetControlVisible(m, "IMG_TEXTFINAL", 0);
    std::fill(FrameBuffer, FrameBuffer + 240 * 320, uint16_t(0x1234));
    DrawForms(m);
    EXPECT_TRUE(std::equal(playing.begin(), playing.end(), FrameBuffer)) << form;
    CloseCurrentForm(m);
  }
}

}  // namespace
