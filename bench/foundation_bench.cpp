// The frame loop's own cost per timer message, and the fixed-point helpers.
#include <benchmark/benchmark.h>

#include "app/app.h"
#include "core/core.h"
#include "platform/headless/headless.h"

namespace {

class IdleGame : public GameHooks {
 public:
  void Initialise(uint32_t, uint16_t*) override {}
  bool Update(uint16_t*, int32_t) override { return true; }
  void Render(uint16_t*) override {}
  void Shutdown() override {}
};

// One timer message with one step due: key sampling, latches, present (a 150 KB copy).
void BM_FrameTickOneStep(benchmark::State& state) {
  HeadlessPlatform platform{PlatformOptions{}};
  SetCurrentPlatform(&platform);
  ClearFrameClock();
  IdleGame game;
  for (auto _ : state) {
    platform.Advance(40);
    FrameTick(&game);
  }
  SetCurrentPlatform(nullptr);
}
BENCHMARK(BM_FrameTickOneStep);

// A timer message with no step due: only the render and present.
void BM_FrameTickNoStep(benchmark::State& state) {
  HeadlessPlatform platform{PlatformOptions{}};
  SetCurrentPlatform(&platform);
  ClearFrameClock();
  IdleGame game;
  for (auto _ : state) FrameTick(&game);
  SetCurrentPlatform(nullptr);
}
BENCHMARK(BM_FrameTickNoStep);

void BM_IntSqrt(benchmark::State& state) {
  int32_t n = 12345;
  for (auto _ : state) {
    benchmark::DoNotOptimize(MathTables::IntSqrt(n));
    n = (n * 1103515245 + 12345) & 0x3FFFFFFF;
  }
}
BENCHMARK(BM_IntSqrt);

void BM_Distance3(benchmark::State& state) {
  int32_t x = 100;
  for (auto _ : state) {
    benchmark::DoNotOptimize(MathTables::Distance3(x, 200, -300, 4000, -50, 900));
    x = (x + 37) & 0x3FFF;
  }
}
BENCHMARK(BM_Distance3);

void BM_TransformAndRotate(benchmark::State& state) {
  MathTables math;
  static int16_t sine[2048];
  for (int i = 0; i < 2048; ++i) sine[i] = int16_t(i & 255);
  math.sine = sine;
  int32_t angle = 0;
  for (auto _ : state) {
    Matrix3 m;
    MathTables::Identity(&m);
    math.RotateY(&m, angle);
    math.RotateX(&m, angle >> 1);
    math.RotateZ(&m, angle >> 2);
    Vec3 v{1000, -2000, 3000};
    MathTables::Transform(&v, m);
    benchmark::DoNotOptimize(v);
    angle += 4096;
  }
  math.sine = nullptr;
}
BENCHMARK(BM_TransformAndRotate);

void BM_Atan2(benchmark::State& state) {
  MathTables math;
  const double c[14] = {2.414213562373095, 0.41421356237309503, 1.5707963267948966,
                        0.7853981633974483, 16.15364129822302, 268.42548195503974,
                        1153.029351540485, 1780.406316433197, 896.7859740366387,
                        58.95697050844462, 536.2653740312153, 1666.7838148816338,
                        2079.33497444541, 896.7859740366387};
  for (int i = 0; i < 14; ++i) math.atanConst[i] = c[i];
  double y = -3.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(math.Atan2(y, 1.5));
    y += 0.001;
    if (y > 3.0) y = -3.0;
  }
}
BENCHMARK(BM_Atan2);

}  // namespace

BENCHMARK_MAIN();
