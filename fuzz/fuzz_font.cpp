// Fuzz target: LoadFont on arbitrary .fnt bytes, then every character drawn both ways.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/core.h"
#include "fuzz_support.h"
#include "gfx2d/gfx2d.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!PutFuzzFile("fuzz.fnt", data, size)) return 0;
  Font font;
  if (font.LoadFont("fuzz.fnt")) {
    char text[256];
    for (int i = 1; i < 256; ++i) text[i - 1] = char(i);
    text[255] = 0;
    uint16_t surface[16 * 8];
    font.DrawText(-3, -2, text, surface, 16, 8, 0);
    font.DrawText(0, 300, text, FrameBuffer, 240, 320, 1);
    font.DrawText(INT32_MAX - 10, INT32_MIN + 5, text, FrameBuffer, 240, 320, 0);
    font.MeasureText(text);
    Graphics2D g;
    g.Create(0, 240, 320, FrameBuffer);
    DrawTextBlock(&g, "one\ntwo\nthree", &font);
  }
  FileDelete("fuzz.fnt");
  return 0;
}
