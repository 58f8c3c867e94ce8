// Speed of the 2D drawing: full-screen blits per mode, the fade, a line of text, the sky.
// Each reports nanoseconds per pixel written ("ns/px").
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

#include "core/core.h"
#include "gfx2d/gfx2d.h"

namespace {

constexpr int kPixels = 240 * 320;

// A Graphics2D on the frame buffer with one sprite of the given size in slot 0, built in
// memory so no data files are needed.
struct Scene {
  explicit Scene(int w, int h) {
    g.Create(0, 240, 320, FrameBuffer);
    Gfx2D = &g;
    auto* block = static_cast<uint16_t*>(MemAlloc(4 + size_t(w) * h * 2));
    block[0] = uint16_t(w);
    block[1] = uint16_t(h);
    for (int i = 0; i < w * h; ++i) block[2 + i] = uint16_t((i * 2654435761u) >> 16) & 0xF7DE;
    g.sprites[0] = SpriteEntry{"bench.spr", block, 1, 0};
    for (int i = 0; i < kPixels; ++i) FrameBuffer[i] = uint16_t(i * 40503u);
  }
  ~Scene() { Gfx2D = nullptr; }
  Graphics2D g;
};

void PerPixel(benchmark::State& state, double pixelsPerIteration) {
  state.counters["ns/px"] = benchmark::Counter(
      double(state.iterations()) * pixelsPerIteration,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_DrawSprite(benchmark::State& state) {
  Scene s(240, 320);
  const uint32_t mode = uint32_t(state.range(0));
  for (auto _ : state) {
    s.g.DrawSprite(0, 0, 0, mode, 0);
    benchmark::ClobberMemory();
  }
  PerPixel(state, kPixels);
}
BENCHMARK(BM_DrawSprite)->Arg(Opaque)->Arg(ColourKey)->Arg(Blend50)->Arg(KeyBlend);

void BM_FadeScreen(benchmark::State& state) {
  Scene s(1, 1);
  for (auto _ : state) {
    s.g.FadeScreen(14, 14, 14);
    benchmark::ClobberMemory();
  }
  PerPixel(state, kPixels);
}
BENCHMARK(BM_FadeScreen);

// A font like the game's small one: 7 x 11 glyphs of ink ringed by outline.
void BM_DrawText40(benchmark::State& state) {
  Scene s(1, 1);
  Font font;
  for (int ch = 32; ch < 127; ++ch) {
    font.widths[ch] = 7;
    font.heights[ch] = 11;
    font.sizes[ch] = 77;
    font.glyphs[ch] = static_cast<uint8_t*>(MemAlloc(77));
    for (int i = 0; i < 77; ++i) font.glyphs[ch][i] = uint8_t(i % 3 == 0 ? 255 : i % 3 == 1 ? 2 : 0);
  }
  const std::string line = "Ship keycard found. Head for the exit!!!";  // 40 characters
  const char* text = line.c_str();
  const uint8_t transparent = uint8_t(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(font.DrawText(2, 100, text, FrameBuffer, 240, 320, transparent));
    benchmark::ClobberMemory();
  }
  PerPixel(state, double(line.size()) * 7 * 11);
}
BENCHMARK(BM_DrawText40)->Arg(1)->Arg(0);

void BM_DrawBackground(benchmark::State& state) {
  Scene s(kPanoramaWidth, kPanoramaHeight);
  Background sky(nullptr, "BACKGROUND", 0, 0, 240, 160);
  sky.plain = 0;
  sky.slot = 0;
  sky.loaded = 1;
  sky.pitch = 51000;
  int32_t heading = 0;
  for (auto _ : state) {
    sky.heading = heading;
    heading += 777;
    sky.DrawBackground(FrameBuffer);
    benchmark::ClobberMemory();
  }
  sky.slot = -1;  // the scene owns the sprite
  PerPixel(state, 240.0 * 160);
}
BENCHMARK(BM_DrawBackground);

void BM_DrawBackgroundPlain(benchmark::State& state) {
  Scene s(1, 1);
  Background sky(nullptr, "BACKGROUND", 0, 0, 240, 160);
  sky.SetFillColour(0x1234);
  for (auto _ : state) {
    sky.DrawBackground(FrameBuffer);
    benchmark::ClobberMemory();
  }
  PerPixel(state, 240.0 * 160);
}
BENCHMARK(BM_DrawBackgroundPlain);

}  // namespace

BENCHMARK_MAIN();
