// The autopilot's playthrough timed from outside the game: the shell runs the real driver
// over the headless machine with the autopilot at the keys, and every logic step and every
// frame is timed with the real clock. Reports the worst and the median of each (and of the
// frames that follow a step, which draw the world anew), the slowest map loading, the game's
// own processor time in steps and frames, and the steps and frames run. One iteration is one
// run of the argument's timer messages (or to the run's end, when that comes first).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/app.h"
#include "core/core.h"
#include "test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

// The thread's own processor time: on a busy machine the wall clock also counts the time the
// game waited for a core.
double ThreadMicros() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

// The driver with a stopwatch round its step and its frame.
class TimedGame final : public GameHooks {
 public:
  void Initialise(uint32_t handle, uint16_t* frame) override { driver.Initialise(handle, frame); }
  bool Update(uint16_t* frame, int32_t deltaMs) override {
    const bool loading = driver.screenState == kScreenLoading;
    const auto t = Clock::now();
    const double c = ThreadMicros();
    const bool on = driver.Update(frame, deltaMs);
    stepped = true;
    stepsCpu.push_back(ThreadMicros() - c);
    steps.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t).count());
    CountLoading(loading, steps.back(), stepsCpu.back());
    return on;
  }
  void Render(uint16_t* frame) override {
    const bool loading = driver.screenState == kScreenLoading;
    const auto t = Clock::now();
    const double c = ThreadMicros();
    driver.Render(frame);
    framesCpu.push_back(ThreadMicros() - c);
    frames.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t).count());
    // The frame after a step draws the world anew; the one after it, with no step between,
    // shows the same world and copies much of it back.
    if (stepped) steppedFramesCpu.push_back(framesCpu.back());
    stepped = false;
    CountLoading(loading, frames.back(), framesCpu.back());
  }
  // A map loads over the frames of the loading screen (and the steps between them): their
  // sum is its loading time.
  void CountLoading(bool loading, double wall, double cpu) {
    if (loading && !wasLoading) {
      loads.push_back(0);
      loadsCpu.push_back(0);
    }
    if (loading) {
      loads.back() += wall;
      loadsCpu.back() += cpu;
    }
    wasLoading = loading;
  }
  void Shutdown() override { driver.Shutdown(); }

  GameDriver driver;
  std::vector<double> steps, frames;        // microseconds of the wall clock
  std::vector<double> stepsCpu, framesCpu;  // microseconds of the thread's processor time
  std::vector<double> loads, loadsCpu;      // each map's loading, the same two ways
  std::vector<double> steppedFramesCpu;     // processor time of the frames that follow a step
  bool wasLoading = false;
  bool stepped = false;
};

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + long(v.size() / 2), v.end());
  return v[v.size() / 2];
}

double Percentile99(std::vector<double> v) {
  if (v.empty()) return 0;
  const size_t k = v.size() * 99 / 100;
  std::nth_element(v.begin(), v.begin() + long(k), v.end());
  return v[k];
}

double Sum(const std::vector<double>& v) {
  double total = 0;
  for (double x : v) total += x;
  return total;
}

double Worst(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

void Run(benchmark::State& state, const char* demo) {
  const int ticks = int(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    ScratchDir dir;
    dir.LinkGameData();
    // The settings and key bindings the game ships with.
    std::ifstream in(GameDataDir() + "/kvr.ini", std::ios::binary);
    dir.Write("kvr.ini", std::string(std::istreambuf_iterator<char>(in), {}));
    PlatformOptions options;
    options.headless = true;
    options.nosound = true;
    options.ticks = ticks;
    options.demo = true;
    options.demoValue = demo;
    Platform* platform = WithDemo(CreateHeadlessPlatform(options), options);
    TimedGame game;
    state.ResumeTiming();
    RunShell(platform, &game);
    state.PauseTiming();
    SetCurrentPlatform(nullptr);
    delete platform;
    state.counters["step_worst_us"] = Worst(game.steps);
    state.counters["step_median_us"] = Median(game.steps);
    state.counters["frame_worst_us"] = Worst(game.frames);
    state.counters["frame_median_us"] = Median(game.frames);
    state.counters["step_p99_us"] = Percentile99(game.steps);
    state.counters["frame_p99_us"] = Percentile99(game.frames);
    state.counters["step_cpu_worst_us"] = Worst(game.stepsCpu);
    state.counters["step_cpu_median_us"] = Median(game.stepsCpu);
    state.counters["frame_cpu_worst_us"] = Worst(game.framesCpu);
    state.counters["frame_cpu_median_us"] = Median(game.framesCpu);
    state.counters["stepped_frame_cpu_median_us"] = Median(game.steppedFramesCpu);
    state.counters["cpu_s"] = Sum(game.stepsCpu) / 1e6 + Sum(game.framesCpu) / 1e6;
    state.counters["load_worst_ms"] = Worst(game.loads) / 1000;
    state.counters["load_cpu_worst_ms"] = Worst(game.loadsCpu) / 1000;
    // Which load was the worst (0 is the run's first, with every cache cold), and the
    // typical one, which a busy machine disturbs less than the worst.
    state.counters["load_cpu_worst_at"] = double(
        std::max_element(game.loadsCpu.begin(), game.loadsCpu.end()) - game.loadsCpu.begin());
    state.counters["load_cpu_median_ms"] = Median(game.loadsCpu) / 1000;
    state.counters["loads"] = double(game.loads.size());
    state.counters["steps"] = double(game.steps.size());
    state.counters["frames"] = double(game.frames.size());
    state.counters["virtual_s"] = double(game.steps.size()) * 0.04;
    state.ResumeTiming();
  }
}

void FinalText(benchmark::State& state) { Run(state, "easy"); }
void Departure(benchmark::State& state) { Run(state, "easy,ship"); }
// Long enough for either run to reach its end.
BENCHMARK(FinalText)->Arg(160000)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(Departure)->Arg(80000)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
