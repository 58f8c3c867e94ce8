// The forms test fixture: tiny fonts and sprites in a scratch directory, a recording handler.
#include "gui_test_util.h"

#include <sstream>

std::vector<RecordedEvent> Recorded;
void (*OnEvent)(FormManager* manager, const RecordedEvent& event) = nullptr;

void RecordEvent(FormManager* manager, int32_t code, int32_t value, void* object, const char* name) {
  Recorded.push_back({code, value, object, name});
  if (OnEvent) OnEvent(manager, Recorded.back());
}

void FormsFixture::SetUp() {
  Recorded.clear();
  OnEvent = nullptr;
  Input = InputState{};
  // Fonts of one solid 4 x 6 glyph per letter in use; anything else advances 7 pixels.
  std::vector<GlyphRecord> glyphs;
  for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"))
    glyphs.push_back(SolidGlyph(uint8_t(c), 4, 6, 255));
  for (const char* name : {"font1.fnt", "font2.fnt", "font3.fnt"}) dir.Write(name, FntFile(glyphs));
  dir.Write("n.spr", SprFill(40, 20, FileValueOf(kNormalColour)));
  dir.Write("h.spr", SprFill(40, 20, FileValueOf(kHighlightColour)));
  dir.Write("u.spr", SprFill(16, 16, FileValueOf(kNormalColour)));
  dir.Write("f.spr", SprFill(16, 16, FileValueOf(kFocusColour)));
  dir.Write("c.spr", SprFill(16, 16, FileValueOf(kCheckedColour)));
  dir.Write("big.spr", SprFill(100, 60, FileValueOf(MakeColour(4, 4, 4))));
  g = std::make_unique<Graphics2D>();
  g->Create(0, 240, 320, FrameBuffer);
  Gfx2D = g.get();
  ClearFrame();
  m = CreateFormManager(0xDEADBEEF, nullptr, nullptr, RecordEvent);
  ASSERT_NE(m, nullptr);
  ASSERT_NE(m->font3, nullptr);
  ASSERT_EQ(Recorded.size(), 1u);
  EXPECT_EQ(Recorded[0].code, kEventManagerCreated);
  Recorded.clear();
}

void FormsFixture::TearDown() {
  DestroyFormManager(m);
  // Every control gave its sprites back.
  for (const SpriteEntry& e : g->sprites) EXPECT_EQ(e.inUse, 0) << e.name;
  Gfx2D = nullptr;
  OnEvent = nullptr;
}

bool FormsFixture::Open(const std::string& script, const std::string& form) {
  dir.Write("kvr.rsx", script);
  return OpenForm(m, "kvr.rsx", form.c_str());
}

std::vector<std::string> FormsFixture::LogLines() const {
  std::vector<std::string> lines;
  std::istringstream in(dir.Log());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void FormsFixture::ClearLog() const { DeleteLog(); }

int32_t FormsFixture::IndexOf(const std::string& name) const {
  FormRecord* form = m->current;
  for (int32_t i = 0; form && i < form->controls.Count(); ++i)
    if (name == ControlName(form->controls.Get(i), form->controls.Tag(i))) return i;
  return -1;
}

void FormsFixture::Step(std::initializer_list<int> pressed) {
  for (int slot : pressed) Input.action[slot] = {1, 0};
  UpdateForms(m);
  for (ActionLatch& a : Input.action) a = {0, a.current};
  Input.stylusPrevDown = Input.stylusDown;
  Input.stylusPrevUp = Input.stylusUp;
}

void FormsFixture::TapDown(int32_t x, int32_t y) {
  StylusDownAt(x, y);
  Step();
}

void FormsFixture::TapUp(int32_t x, int32_t y) {
  // The position is the one the stylus left the screen at.
  Input.stylusX = x;
  Input.stylusY = y;
  StylusUpNow();
  Step();
}
