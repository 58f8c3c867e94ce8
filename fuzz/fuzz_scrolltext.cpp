// Fuzz target: arbitrary bytes as a story text, wrapped into images of a few sizes and
// scrolled to the end with the baked-style font built in memory.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/core.h"
#include "fuzz_support.h"
#include "gfx2d/gfx2d.h"
#include "gui/scroll_text.h"

namespace {
// A blank sprite file of w x h (big-endian size words).
std::string Blank(int w, int h) {
  std::string s = {char(w >> 8), char(w & 255), char(h >> 8), char(h & 255)};
  s.append(size_t(w) * h * 2, '\0');
  return s;
}

// Glyphs of varied widths for the printable characters; the rest measure 7.
void MakeFont(Font* font) {
  for (int c = 32; c < 127; ++c) {
    const int w = 3 + c % 6, h = 9;
    font->widths[c] = uint8_t(w);
    font->heights[c] = uint8_t(h);
    font->sizes[c] = w * h;
    font->glyphs[c] = static_cast<uint8_t*>(MemAlloc(size_t(w * h)));
    for (int i = 0; i < w * h; ++i) font->glyphs[c][i] = uint8_t(i % 3 == 0 ? 255 : 2);
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PutFuzzFile("fuzz.txt", data, size);
  static const int kSizes[][2] = {{220, 60}, {4, 20}, {1, 1}};
  Graphics2D g;
  g.Create(0, 240, 320, FrameBuffer);
  Gfx2D = &g;
  Font font;
  MakeFont(&font);
  for (const auto& s : kSizes) {
    const std::string name = "img" + std::to_string(s[0]) + ".spr";
    PutFuzzFile(name.c_str(), Blank(s[0], s[1]));
    const int32_t slot = g.LoadSprite(name.c_str());
    ScrollText panel{};
    panel.Create(0, slot, "fuzz.txt", &font, 7.5f);
    // Bounded: every line moves out within a few steps at this speed.
    for (int step = 0; step < 100000 && panel.Update(); ++step) {
    }
    panel.Destroy();
    g.ReleaseSprite(slot);
  }
  Gfx2D = nullptr;
  return 0;
}
