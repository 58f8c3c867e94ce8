// Speed of the window's present path: the frame scaled whole at each whole scale (computing
// 0xRRGGBB, and at scale 3 also through a table as for other window formats), and one step of
// play (the 3D view and the radar changed, the rest of the panel not) found and scaled.
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
// changed; what Present does with it.
void BM_PresentPlayStep(benchmark::State& state) {
  Window win(3);
  const FramePlace place = PlaceFrame(win.w, win.h);
  std::vector<uint16_t> next = win.frame;
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x)
      if (y < 232 || (y >= 236 && y < 316 && x >= 4 && x < 84)) next[size_t(y * kScreenWidth + x)] ^= 0x0821;
  FrameArea areas[kMaxFrameAreas];
  for (auto _ : state) {
    const int count = ChangedAreas(win.frame.data(), next.data(), areas);
    for (int i = 0; i < count; ++i)
      ScaleFrameArea(next.data(), nullptr, win.pixels.data(), win.pitch, place, areas[i]);
    benchmark::ClobberMemory();
  }
  PerFramePixel(state);
}
BENCHMARK(BM_PresentPlayStep);

}  // namespace

BENCHMARK_MAIN();
