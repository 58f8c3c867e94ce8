// The baked kvr.rsx: every form opens cleanly with the controls the game looks up, every
// button is reachable with the menu keys and tappable on its own, and the final-text panel
// stays out of sight while playing.
#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "gui_test_util.h"

namespace {

struct ControlRectForTest {
  int32_t x, y, w, h;
  std::string name;
};

struct Named {
  const char* name;
  int32_t kind;
};

const std::vector<Named> kInGame = {
    {"NEWBACKGROUND", kControlBackground}, {"NEWTDENG", kControlView3D},
    {"IMG_MAP2D", kControlBitmap},         {"PGB_ENERGY", kControlProgressBar},
    {"PGB_LOADING", kControlProgressBar},  {"LBL_ENTERING", kControlLabel},
    {"CURRWEAPON", kControlLabel},         {"AMMOLEFT", kControlLabel},
    {"CROSSHAIR_RIFLEMACHINE", kControlBitmap}, {"CROSSHAIR_PLASMA", kControlBitmap},
    {"CROSSHAIR_ROCKET", kControlBitmap},  {"ENGINELED", kControlCheckbox},
    {"BTN_MENU", kControlButton},          {"BTN_CHANGEWEAPON", kControlButton},
    {"IMG_SCROLLFINAL", kControlBitmap},   {"IMG_TEXTFINAL", kControlBitmap},
};

const std::map<std::string, std::vector<Named>> kForms = {
    {"FORMMAIN",
     {{"BTNSTART_FORMMAIN", kControlButton}, {"BTN_NEWGAME", kControlButton},
      {"BTNOPTIONS_FORMMAIN", kControlButton}, {"BTNCREDITS_FORMMAIN", kControlButton},
      {"BTNEXITAPP", kControlButton}}},
    {"FORMOPTIONS",
     {{"CHKOPTIONS_SHOWBACKGROUND", kControlCheckbox}, {"CHKOPTIONS_PLAYMUSIC", kControlCheckbox},
      {"CHK_OPTIONS_CAMFIRSTPERSON", kControlCheckbox}, {"PROGRBAR_VOLUME", kControlProgressBar},
      {"PGB_VIS", kControlProgressBar}, {"BTNVOLUMEPLUS_FORMOPTIONS", kControlButton},
      {"BTNVOLUMEMINUS_FORMOPTIONS", kControlButton}, {"BTN_VISPLUS", kControlButton},
      {"BTN_VISMINUS", kControlButton}, {"BTNBACK_FORMOPTIONS", kControlButton},
      {"BTNOPTIONS_KEYSETUP", kControlButton}}},
    {"FORMKEYSETUP",
     {{"BTNKEYSETUP_TURNLEFT", kControlButton}, {"BTNKEYSETUP_TURNRIGHT", kControlButton},
      {"BTNKEYSETUP_VIEWUP", kControlButton}, {"BTNKEYSETUP_VIEWDOWN", kControlButton},
      {"BTNKEYSETUP_ENGINESONOFF", kControlButton}, {"BTNKEYSETUP_SHOOT", kControlButton},
      {"BTNKEYSETUP_CHANGEWEAPON", kControlButton}, {"BTNKEYSETUP_MENUUP", kControlButton},
      {"BTNKEYSETUP_MENUDOWN", kControlButton}, {"BTNKEYSETUP_MENULEFT", kControlButton},
      {"BTNKEYSETUP_MENURIGHT", kControlButton}, {"BTNKEYSETUP_MENUSELECT", kControlButton},
      {"BTNBACK_FORMKEYSETUP", kControlButton}, {"LBLTURNLEFTCODE", kControlLabel},
      {"LBLTURNRIGHTCODE", kControlLabel}, {"LBLVIEWUPCODE", kControlLabel},
      {"LBLVIEWDOWNCODE", kControlLabel}, {"LBLENGINEONOFFCODE", kControlLabel},
      {"LBLSHOOTCODE", kControlLabel}, {"LBLCHANGEWEAPONCODE", kControlLabel},
      {"LBLMENUUPCODE", kControlLabel}, {"LBLMENUDOWNCODE", kControlLabel},
      {"LBLMENULEFTCODE", kControlLabel}, {"LBLMENURIGHTCODE", kControlLabel},
      {"LBLMENUSELECTCODE", kControlLabel}}},
    {"FORMCREDITS", {{"BTNBACK_FORMCREDITS", kControlButton}}},
    {"FORMNEWGAME", {{"BTN_NEWGAME_OK", kControlButton}, {"BTN_NEWGAME_CANCEL", kControlButton}}},
    {"FORMSKILLLEVEL",
     {{"BTN_SKILLLEVEL_EASY", kControlButton}, {"BTN_SKILLLEVEL_NORMAL", kControlButton},
      {"BTN_SKILLLEVEL_HARD", kControlButton}}},
    {"FORMINTRO", {{"IMG_SCROLLTEXT", kControlBitmap}, {"BTN_SKIPINTRO", kControlButton}}},
    {"FORMINGAME_CAM_FP", kInGame},
    {"FORMINGAME_CAM_EXT2", kInGame},
    {"FORMSTARCHART",
     {{"FORMSTARCHART_TDENG", kControlView3D}, {"LBL_DESTINATION", kControlLabel},
      {"BTN_DESTPREVIOUS", kControlButton}, {"BTN_DESTNEXT", kControlButton},
      {"BTN_DESTSEL", kControlButton}}},
    {"FORMJUMPTOOFAR", {{"FORMJUMPTOOFAR_BTN_OK", kControlButton}}},
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

  // Log lines appended to the game directory's log.txt while it lives.
  struct LogCapture {
    LogCapture() : start(GameDataLog().size()) {}
    std::string New() const {
      const std::string log = GameDataLog();
      return log.substr(std::min(start, log.size()));
    }
    size_t start;
  };

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

TEST_F(BakedForms, EveryFormOpensWithItsNamedControls) {
  std::vector<std::string> inScript;
  ListScriptForms("kvr.rsx", [](const char* n, void* u) { static_cast<std::vector<std::string>*>(u)->push_back(n); },
                  &inScript);
  for (const auto& [form, controls] : kForms)
    EXPECT_NE(std::find(inScript.begin(), inScript.end(), form), inScript.end()) << form;
  for (const std::string& form : inScript) {
    LogCapture log;
    FormRecord* f = Open(form);
    ASSERT_NE(f, nullptr) << form;
    EXPECT_EQ(log.New(), "") << form;
    auto it = kForms.find(form);
    if (it != kForms.end())
      for (const Named& n : it->second) {
        int32_t kind = 0;
        EXPECT_NE(FindControl(f, n.name, &kind), nullptr) << form << " " << n.name;
        EXPECT_EQ(kind, n.kind) << form << " " << n.name;
      }
    // The first control is the backdrop (or the view), and something has the focus.
    EXPECT_GE(f->focused, 1) << form;
    EXPECT_TRUE(Focusable(f, f->focused)) << form;
    CloseCurrentForm(m);
  }
}

TEST_F(BakedForms, KeysReachEveryButtonAndTapsHitOneEach) {
  for (const auto& [form, controls] : kForms) {
    FormRecord* f = Open(form);
    ASSERT_NE(f, nullptr) << form;
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
