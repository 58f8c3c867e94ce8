// Speed of the window's present path: the frame scaled whole at each whole scale (computing
// 0xRRGGBB, and at scale 3 also through a table as for other window formats); one step of play
// (the 3D view and the radar changed, the rest of the panel not) found and scaled, with every
// row of the view changed or only three in four; and a repeated frame found unchanged.
// Each reports nanoseconds per frame pixel ("ns/px").
// BM_PresentInWindow runs the whole present path into a real window, whose pixels the display
// server reads after every update (run it under xvfb-run; it reports an error without a display).
#include <benchmark/benchmark.h>

#include <memory>
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
// changed, in the view every row (argument 0) or three rows in four (argument 1: the painter
// leaves the others alone); what Present does with it, handing the painter the frame shown.
void BM_PresentPlayStep(benchmark::State& state) {
  Window win(3);
  const FramePlace place = PlaceFrame(win.w, win.h);
  std::vector<uint16_t> next = win.frame;
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x)
      if ((y < 232 && (state.range(0) == 0 || y % 4 != 0)) ||
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

// Frames with the 3D view changed whole, then the same frame again (as every other timer
// message hands over), presented in a real window at scale 3; only this thread's time counts,
// not the display server's nor the wait for it.
void BM_PresentInWindow(benchmark::State& state) {
  PlatformOptions options;
  options.scale = 3;
  options.nosound = true;
  std::unique_ptr<Platform> window(CreateSdlPlatform(options));
  if (!window || !window->OpenDisplay()) {
    state.SkipWithError("no display: run under xvfb-run");
    return;
  }
  Window win(1);
  std::vector<uint16_t> next = win.frame;
  for (size_t i = 0; i < size_t(kScreenWidth) * 232; ++i) next[i] ^= 0x0821;
  const uint16_t* frames[] = {win.frame.data(), next.data()};
  int n = 0;
  for (auto _ : state) {
    window->Present(frames[n++ / 2 % 2]);
  }
  PerFramePixel(state);
}
BENCHMARK(BM_PresentInWindow)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
