// The scrolling text panel: one logic step of the briefing (clear and redraw every visible
// line into its image), and preparing a story (read, wrap, split).
#include <benchmark/benchmark.h>

#include "core/core.h"
#include "gfx2d/gfx2d.h"
#include "gui/scroll_text.h"

namespace {

struct BakedStory {
  BakedStory() {
    SetExeDir(KVR_GAME_DIR "/");
    g.Create(0, 240, 320, FrameBuffer);
    Gfx2D = &g;
    font.LoadFont("font1.fnt");
    image = g.LoadSprite("story_text.spr");
  }
  ~BakedStory() {
    g.ReleaseSprite(image);
    Gfx2D = nullptr;
  }
  Graphics2D g;
  Font font;
  int32_t image = -1;
};

// Steady state with the 216 x 220 window full of text (after the lead-in has risen).
void BM_ScrollTextUpdate(benchmark::State& state) {
  BakedStory s;
  ScrollText panel{};
  panel.Create(0, s.image, "intro.txt", &s.font, 1.0f);
  for (int i = 0; i < 200; ++i) panel.Update();
  for (auto _ : state) {
    if (!panel.Update()) panel.position = 200;  // keep the window full
  }
  panel.Destroy();
}
BENCHMARK(BM_ScrollTextUpdate)->Unit(benchmark::kMicrosecond);

void BM_ScrollTextCreate(benchmark::State& state) {
  BakedStory s;
  for (auto _ : state) {
    ScrollText panel{};
    panel.Create(0, s.image, "intro.txt", &s.font, 1.0f);
    panel.Destroy();
  }
}
BENCHMARK(BM_ScrollTextCreate)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
