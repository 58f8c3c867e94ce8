// The 3D engine's speed: a whole frame of the golden scene, the textured span filler and
// the scaled sprite blitter.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "../tests/engine3d/golden_scene.h"
#include "engine3d/pipeline.h"

namespace {

// Pixels the filler writes for the scene's last frame, overdraw included: every ordered
// polygon is clipped and filled again into a scratch frame through a table of ones.
int64_t FilledPixels(Engine3D& e) {
  std::vector<uint16_t> scratch(240 * 320, 0);
  std::vector<uint16_t> ones(kLutEntries + 2 * 8 * 256, 1);
  int64_t total = 0;
  for (int32_t key = e.visibility - 1; key >= 0; --key)
    for (Poly3D* p = e.buckets[key]; p; p = p->next) {
      if (p->sprite || p->type == 3 || p->type == 4) continue;
      ClipVertex* corners[4];
      int n = p->cornerCount == 4 ? 4 : 3;
      for (int k = 0; k < n; ++k) {
        const Vertex3D& v = e.vertSoup[p->corner[k]];
        ClipVertex* c = NextClipVertex(e);
        *c = ClipVertex{v.x, v.y, v.z, v.shade, p->u[k], p->v[k], 0, 0, 0};
        ProjectPoint(e, c->x, c->y, c->z, &c->sx, &c->sy);
        corners[k] = c;
      }
      ClipVertex* clipped[kMaxClipCorners];
      int count = ClipPolygon(e, corners, n, clipped, true);
      if (count < 3) continue;
      RasterVertex rv[kMaxClipCorners];
      for (int k = 0; k < count; ++k)
        rv[k] = RasterVertex{clipped[k]->sx, clipped[k]->sy, clipped[k]->shade, clipped[k]->u, clipped[k]->v};
      FillTexturedPolygon(e, rv, count, e.textures[p->bank][p->texture], scratch.data(), ones.data() + 8 * 256);
      total += std::count(scratch.begin(), scratch.end(), 1);
      std::fill(scratch.begin(), scratch.end(), 0);
    }
  return total;
}

// The golden scene, whole frames: culling, transform, fog, sort, clip, fill, sprites.
void BM_DrawFrameGoldenScene(benchmark::State& state) {
  golden::Scene scene;
  if (!scene.ok()) {
    state.SkipWithError("scene did not load (bake the content first)");
    return;
  }
  scene.Draw();
  const int64_t filled = FilledPixels(*scene.engine);
  for (auto _ : state) scene.Draw();
  state.counters["polygons"] = double(scene.engine->polygonsUsed);
  state.counters["filled_px"] = double(filled);
  // Seconds per filled pixel (shown in ns): the whole frame's time over the filler's pixels.
  state.counters["per_filled_px"] =
      benchmark::Counter(double(filled), benchmark::Counter::kIsIterationInvariantRate |
                                             benchmark::Counter::kInvert);
}
BENCHMARK(BM_DrawFrameGoldenScene)->Unit(benchmark::kMillisecond);

struct RasterSetup {
  RasterSetup() {
    engine.x0 = 0, engine.x1 = 240, engine.y0 = 0, engine.y1 = 320;
    reciprocal.resize(16384);
    for (int n = 1; n < 16384; ++n) reciprocal[size_t(n)] = uint16_t(std::min(65535, 65536 / n));
    engine.reciprocal = reciprocal.data();
    for (int i = 0; i < 4096; ++i) texture[i] = uint8_t((i * 37) ^ (i >> 6));
    lut.resize(kLutEntries + 2 * 8 * 256);
    for (size_t i = 0; i < lut.size(); ++i) lut[i] = uint16_t(i * 2654435761u >> 16);
    frame.assign(240 * 320, 0);
  }
  Engine3D engine;
  std::vector<uint16_t> reciprocal, lut, frame;
  uint8_t texture[4096];
};

// One 200 x 200 textured, shaded quadrilateral: 40000 pixels of spans.
void BM_FillTexturedSpans(benchmark::State& state) {
  RasterSetup s;
  const RasterVertex quad[4] = {{20 * 256, 60 * 256, 10 * 256, 0, 0},
                                {220 * 256, 60 * 256, 40 * 256, 20000, 3000},
                                {220 * 256, 260 * 256, 30 * 256, 25000, 28000},
                                {20 * 256, 260 * 256, 5 * 256, 2000, 22000}};
  for (auto _ : state) {
    FillTexturedPolygon(s.engine, quad, 4, s.texture, s.frame.data(), s.lut.data() + 8 * 256);
    benchmark::DoNotOptimize(s.frame.data());
  }
  state.counters["px"] = benchmark::Counter(40000, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FillTexturedSpans);

// Small triangles of about 50 pixels, as distant geometry gives them.
void BM_FillSmallTriangles(benchmark::State& state) {
  RasterSetup s;
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) {
      int32_t x = (i * 37) % 220, y = (i * 53) % 300;
      const RasterVertex tri[3] = {{(x + 5) * 256, y * 256, 4000, 0, 0},
                                   {(x + 10) * 256, (y + 10) * 256, 6000, 2560, 2560},
                                   {x * 256, (y + 10) * 256, 8000, 0, 2560}};
      FillTexturedPolygon(s.engine, tri, 3, s.texture, s.frame.data(), s.lut.data() + 8 * 256);
    }
    benchmark::DoNotOptimize(s.frame.data());
  }
  state.counters["triangles"] = benchmark::Counter(100, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FillSmallTriangles);

// A 64 x 64 sprite scaled to 120 x 120 in each blit mode.
void BM_BlitSprite(benchmark::State& state) {
  RasterSetup s;
  std::vector<uint16_t> image(2 + 64 * 64);
  image[0] = 64, image[1] = 64;
  for (int i = 0; i < 64 * 64; ++i) image[size_t(2 + i)] = uint16_t(i % 7 == 0 ? 0 : i * 40503u);
  const int32_t mode = int32_t(state.range(0));
  for (auto _ : state) {
    BlitSprite(s.engine, s.frame.data(), 60, 100, 180, 220, image.data(), 0, 0, 64, 64, 0, 0, 240,
               320, mode, 0);
    benchmark::DoNotOptimize(s.frame.data());
  }
  state.counters["px"] = benchmark::Counter(120 * 120, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_BlitSprite)->DenseRange(0, 3);

}  // namespace

BENCHMARK_MAIN();
