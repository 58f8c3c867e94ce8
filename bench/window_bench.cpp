// Speed of the window's present path: the frame scaled whole at each whole scale (computing
// 0xRRGGBB, and at scale 3 also through a table as for other window formats); one step of play
// (the 3D view and the radar changed, the rest of the panel not) found and scaled, writing every
// pixel of the changed tiles or only those that differ; and a repeated frame found unchanged.
// Each reports nanoseconds per frame pixel ("ns/px").
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/platform.h"
#include "platform/sdl/frame_scale.h"

namespace {

constexpr int kPixels = kScreenWidth * kScreenHeight;

struct Window {
  explicit Window(int scale)
      : w(kScreenWidth * scale), h(kScreenHeight * scale), pitch(w * 4),
        pixels(size_t(pitch) * size_t(h)), lut(65536), frame(kPixels) {
    for (uint32_t p = 0; p < 65536; ++p) lut[p] = Rgb888From565(uint16_t(p));
    for (int i = 0; i < kPixels; ++i) frame[size_t(i)] = uint16_t((uint32_t(i) * 2654435761u) >> 16);
  }
  int w, h, pitch;
  std::vector<uint8_t> pixels;
  std::vector<uint32_t> lut;
  std::vector<uint16_t> frame;
};

void PerFramePixel(benchmark::State& state) {
  state.counters["ns/px"] = benchmark::Counter(
      double(state.iterations()) * kPixels, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ScaleWholeFrame(benchmark::State& state) {
  Window win(int(state.range(0)));
  const FramePlace place = PlaceFrame(win.w, win.h);
  const uint32_t* lut = state.range(1) ? win.lut.data() : nullptr;
  for (auto _ : state) {
    ScaleFrameArea(win.frame.data(), lut, win.pixels.data(), win.pitch, place,
                   FrameArea{0, 0, kScreenWidth, kScreenHeight});
    benchmark::ClobberMemory();
  }
  PerFramePixel(state);
}
BENCHMARK(BM_ScaleWholeFrame)->Args({1, 0})->Args({2, 0})->Args({3, 0})->Args({4, 0})->Args({3, 1});

// A step of play at scale 3: the 3D view (rows 0-231) and the radar (80 x 80 at the bottom left)
// changed, in the view every pixel (argument 0) or, as on the ground and under the sky, about
// half of each row in runs (argument 1); what Present does with it, handing the painter the
// frame on the screen.
void BM_PresentPlayStep(benchmark::State& state) {
  Window win(3);
  const FramePlace place = PlaceFrame(win.w, win.h);
  std::vector<uint16_t> next = win.frame;
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x)
      if ((y < 232 && (state.range(0) == 0 || x / 8 % 2 == 0)) ||
          (y >= 236 && y < 316 && x >= 4 && x < 84))
        next[size_t(y * kScreenWidth + x)] ^= 0x0821;
  FrameArea areas[kMaxFrameAreas];
  for (auto _ : state) {
    const int count = ChangedAreas(win.frame.data(), next.data(), areas);
    for (int i = 0; i < count; ++i)
      ScaleFrameArea(next.data(), nullptr, win.pixels.data(), win.pitch, place, areas[i],
                     win.frame.data());
    benchmark::ClobberMemory();
  }
  PerFramePixel(state);
}
BENCHMARK(BM_PresentPlayStep)->Arg(0)->Arg(1);

// The frame of the second timer message of a logic step, the same as the one shown: found so.
void BM_PresentRepeatedFrame(benchmark::State& state) {
  Window win(3);
  const std::vector<uint16_t> same = win.frame;
  FrameArea areas[kMaxFrameAreas];
  for (auto _ : state) benchmark::DoNotOptimize(ChangedAreas(win.frame.data(), same.data(), areas));
  PerFramePixel(state);
}
BENCHMARK(BM_PresentRepeatedFrame);

}  // namespace

BENCHMARK_MAIN();
