// The baked kvr.rsx: every button of every form is reachable with the menu keys and
// tappable on its own, and the final-text panel stays out of sight while playing.
#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "gui_test_util.h"

namespace {

// The test fixture's manager over the baked files (its own fonts and sprites are kept).
class BakedForms : public FormsFixture {
 protected:
  void SetUp() override {
    FormsFixture::SetUp();
    dir.LinkGameData();
  }
  FormRecord* OpenBaked(const std::string& name) {
    return OpenForm(m, "kvr.rsx", name.c_str()) ? m->current : nullptr;
  }
};

struct Rect {
  int32_t x, y, w, h;
};

template <typename C>
bool VisibleRect(void* control, Rect* r) {
  auto* c = static_cast<C*>(control);
  *r = {c->x, c->y, c->width, c->height};
  return c->visible;
}

// A visible button or checkbox can take the focus; its rectangle.
bool Focusable(FormRecord* f, int32_t i, Rect* r) {
  const int32_t kind = f->controls.Tag(i);
  if (kind == kControlButton) return VisibleRect<ButtonControl>(f->controls.Get(i), r);
  if (kind == kControlCheckbox) return VisibleRect<CheckboxControl>(f->controls.Get(i), r);
  return false;
}

TEST_F(BakedForms, KeysReachEveryButtonAndTapsHitOneEach) {
  std::vector<std::string> forms;
  ListScriptForms("kvr.rsx", [](const char* n, void* u) { static_cast<std::vector<std::string>*>(u)->push_back(n); },
                  &forms);
  EXPECT_GE(forms.size(), 11u);  // the menus, the two in-game views, the chart and its notice
  for (const std::string& form : forms) {
    FormRecord* f = OpenBaked(form);
    ASSERT_NE(f, nullptr) << form;
    // The first control is the backdrop (or the view), and something has the focus.
    Rect r;
    EXPECT_GE(f->focused, 1) << form;
    EXPECT_TRUE(Focusable(f, f->focused, &r)) << form;
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
    std::vector<std::pair<Rect, std::string>> tappable;
    for (int32_t i = 0; i < f->controls.Count(); ++i) {
      if (!Focusable(f, i, &r)) continue;
      const std::string name = form + " " + ControlName(f->controls.Get(i), f->controls.Tag(i));
      EXPECT_TRUE(seen.count(i)) << name << ": the keys never reach it";
      EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.w <= 240 && r.y + r.h <= 320) << name;
      EXPECT_TRUE(r.w >= 24 && r.h >= 18) << name << " is too small to tap";
      for (const auto& [o, other] : tappable)
        EXPECT_TRUE(r.x >= o.x + o.w || o.x >= r.x + r.w || r.y >= o.y + o.h || o.y >= r.y + r.h)
            << name << " overlaps " << other;
      tappable.push_back({r, name});
    }
    CloseCurrentForm(m);
  }
}

// (The external camera's final panel is the strip the console sits on while playing.)
TEST_F(BakedForms, FinalTextPanelIsHiddenWhilePlaying) {
  ASSERT_NE(OpenBaked("FORMINGAME_CAM_FP"), nullptr);
  // As the map loader leaves the form when play starts.
  ShowAllControls(m);
  for (const char* hidden : {"PGB_LOADING", "LBL_ENTERING", "IMG_SCROLLFINAL"}) SetControlVisible(m, hidden, 0);
  std::fill(FrameBuffer, FrameBuffer + 240 * 320, uint16_t(0x1234));
  DrawForms(m);
  std::vector<uint16_t> playing(FrameBuffer, FrameBuffer + 240 * 320);
  SetControlVisible(m, "IMG_TEXTFINAL", 0);
  std::fill(FrameBuffer, FrameBuffer + 240 * 320, uint16_t(0x1234));
  DrawForms(m);
  EXPECT_TRUE(std::equal(playing.begin(), playing.end(), FrameBuffer));
}

}  // namespace
