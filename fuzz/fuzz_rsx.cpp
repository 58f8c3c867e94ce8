// Fuzz target: arbitrary bytes as the resource script. The forms "F" and "G" are opened
// from it, driven for a few steps with the menu keys and the stylus, drawn and closed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/core.h"
#include "fuzz_support.h"
#include "gfx2d/gfx2d.h"
#include "gui/gui.h"

namespace {
// A sprite of one colour (big-endian size words, then the pixels).
std::string Sprite(int w, int h, uint16_t pixel) {
  std::string s = {char(w >> 8), char(w & 255), char(h >> 8), char(h & 255)};
  for (int i = 0; i < w * h; ++i) {
    s.push_back(char(pixel >> 8));
    s.push_back(char(pixel & 255));
  }
  return s;
}

// A font of solid 3 x 5 glyphs for the letters and digits.
std::string FontFile() {
  std::string body;
  uint32_t count = 0;
  auto put32 = [&body](uint32_t v) {
    for (int i = 0; i < 4; ++i) body.push_back(char(v >> (8 * i)));
  };
  for (int c = '0'; c <= 'z'; ++c) {
    body.push_back(char(c));
    put32(15);
    put32(3);
    put32(5);
    put32(0);
    body.append(15, char(255));
    ++count;
  }
  std::string out;
  for (int i = 0; i < 4; ++i) out.push_back(char(count >> (8 * i)));
  return out + body;
}

void SetUp() {
  static bool done = false;
  if (done) return;
  done = true;
  for (const char* name : {"font1.fnt", "font2.fnt", "font3.fnt"}) PutFuzzFile(name, FontFile());
  PutFuzzFile("a.spr", Sprite(8, 8, 0x1234));
  PutFuzzFile("b.spr", Sprite(40, 20, 0xF800));
  PutFuzzFile("c.spr", Sprite(640, 128, 0x07E0));
}

void Steps(FormManager* m) {
  static const int kActions[] = {kActMenuUp, kActMenuDown, kActMenuLeft, kActMenuRight, kActMenuSelect};
  for (int i = 0; i < 8; ++i) {
    Input = InputState{};
    Input.action[kActions[i % 5]].current = 1;
    Input.stylusX = 10 + i * 9;
    Input.stylusY = 10 + i * 7;
    if (i & 1) Input.stylusUp = 1; else Input.stylusDown = 1;
    UpdateForms(m);
    DrawForms(m);
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetUp();
  PutFuzzFile("kvr.rsx", data, size);
  Graphics2D g;
  g.Create(0, 240, 320, FrameBuffer);
  Gfx2D = &g;
  FormManager* m = CreateFormManager(0, nullptr, nullptr, nullptr);
  if (m) {
    ListScriptForms("kvr.rsx", nullptr, nullptr);
    for (const char* form : {"F", "G"}) {
      OpenForm(m, "kvr.rsx", form);
      // Any kind of control may carry the name: only a background takes a panorama.
      int32_t kind = 0;
      void* named = FindCurrentControl(m, "BG", &kind);
      if (named && kind == kControlBackground)
        static_cast<BackgroundControl*>(named)->LoadBackground("c.spr");
      Steps(m);
      SetThrottledRedraw(m, 1);
      Steps(m);
    }
    // One form closed by name, the other by the manager's end.
    CloseForm(m, "F");
    DestroyFormManager(m);
  }
  Gfx2D = nullptr;
  Input = InputState{};
  DeleteLog();  // failures log every run; the log must not grow without end
  return 0;
}
