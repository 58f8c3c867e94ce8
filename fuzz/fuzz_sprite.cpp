// Fuzz target: LoadSprite on arbitrary .spr bytes, then blits and a sky draw of what loaded.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/core.h"
#include "fuzz_support.h"
#include "gfx2d/gfx2d.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!PutFuzzFile("fuzz.spr", data, size)) return 0;
  static Graphics2D g;
  g.Create(0, 240, 320, FrameBuffer);
  Gfx2D = &g;
  int32_t slot = g.LoadSprite("fuzz.spr", 1);
  if (slot >= 0) {
    const int32_t xs[] = {-70000, -5, 0, 100, 239};
    const int32_t ys[] = {-70000, -3, 0, 300};
    for (int32_t x : xs)
      for (int32_t y : ys)
        for (uint32_t mode = 0; mode < 5; ++mode) g.DrawSprite(slot, x, y, mode, 0);
    g.ClearSprite(slot);
    Background sky(nullptr, "BACKGROUND", -3, 250, 300, 100);
    sky.plain = 0;
    if (sky.LoadBackground("fuzz.spr")) {
      sky.heading = int32_t(size * 7919);
      sky.pitch = int32_t(size * 104729);
      sky.DrawBackground(FrameBuffer);
      sky.Release();
    }
    g.ReleaseSprite(slot);
  }
  FileDelete("fuzz.spr");
  DeleteLog();
  return 0;
}
