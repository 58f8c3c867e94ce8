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

constexpr int kMostSteps = 64;

// The drawing set-up, made once for the run: the frame, the font and the three images.
// Create clears its image, so nothing one input draws is seen by the next.
struct Panels {
  Graphics2D g;
  Font font;
  int32_t slots[3] = {};
};

Panels& Shared() {
  static Panels* p = [] {
    static const int kSizes[][2] = {{220, 60}, {4, 20}, {1, 1}};
    auto* panels = new Panels;
    panels->g.Create(0, 240, 320, FrameBuffer);
    Gfx2D = &panels->g;
    MakeFont(&panels->font);
    for (int i = 0; i < 3; ++i) {
      const std::string name = "img" + std::to_string(kSizes[i][0]) + ".spr";
      PutFuzzFile(name.c_str(), Blank(kSizes[i][0], kSizes[i][1]));
      panels->slots[i] = panels->g.LoadSprite(name.c_str());
    }
    return panels;
  }();
  return *p;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Panels& p = Shared();
  PutFuzzFile("fuzz.txt", data, size);
  for (int32_t slot : p.slots) {
    ScrollText panel{};
    panel.Create(0, slot, "fuzz.txt", &p.font, 7.5f);
    // Each step clears the image and draws every visible line again: a few screenfuls show
    // all there is to draw, and a long text would spend thousands of steps repeating it. A
    // text of up to some fifty lines is followed to its end.
    for (int step = 0; step < kMostSteps && panel.Update(); ++step) {
    }
    panel.Destroy();
  }
  return 0;
}
