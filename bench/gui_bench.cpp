// Speed of drawing the forms: the first-person in-game form every frame (sky, craft in the
// 3D view, console, radar, crosshair), drawn fully and with the throttled redraw the game
// uses in that camera, and a menu for comparison. Reports the time per frame ("per_frame").
#include <benchmark/benchmark.h>

#include <string>

#include "core/core.h"
#include "gfx2d/gfx2d.h"
#include "gui/gui.h"

namespace {

// The baked game data, a Graphics2D, the math tables and one open form.
struct FormScene {
  explicit FormScene(const char* formName) {
    SetExeDir(KVR_GAME_DIR "/");
    g.Create(0, 240, 320, FrameBuffer);
    Gfx2D = &g;
    math.Create(0);
    Math = &math;
    m = CreateFormManager(0xDEADBEEF, nullptr, nullptr, nullptr);
    ok = m && OpenForm(m, "kvr.rsx", formName);
    if (!ok) return;
    SetControlVisible(m, "LBL_ENTERING", 0);
    SetControlVisible(m, "PGB_LOADING", 0);
    // What the map loader gives the view: a sky and the craft ahead of the camera.
    if (auto* bg = static_cast<BackgroundControl*>(FindCurrentControl(m, "NEWBACKGROUND")))
      bg->LoadBackground("sky_desert.spr");
    if (auto* view = static_cast<View3DControl*>(FindCurrentControl(m, "NEWTDENG"))) {
      Engine3D* e = view->engine;
      e->LoadTexturePack("ents.tex", kBankEntities);
      e->store.Load("player1.tdo", 1, 2, 0);
      e->cameraPos = {0, 280, -350};
      e->cameraAngle = {10000, 0, 0};
    }
  }
  ~FormScene() {
    DestroyFormManager(m);
    Math = nullptr;
    math.Destroy();
    Gfx2D = nullptr;
  }
  Graphics2D g;
  MathTables math;
  FormManager* m = nullptr;
  bool ok = false;
};

void PerFrame(benchmark::State& state) {
  // Seconds per iteration, printed with its unit prefix (us).
  state.counters["per_frame"] = benchmark::Counter(double(state.iterations()),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void Run(benchmark::State& state, const char* form, bool throttled) {
  FormScene s(form);
  if (!s.ok) {
    state.SkipWithError("the baked kvr.rsx did not open");
    return;
  }
  SetThrottledRedraw(s.m, throttled ? 1 : 0);
  for (auto _ : state) {
    DrawForms(s.m);
    benchmark::ClobberMemory();
  }
  PerFrame(state);
}

void BM_DrawForms_InGameFull(benchmark::State& state) { Run(state, "FORMINGAME_CAM_FP", false); }
void BM_DrawForms_InGameThrottled(benchmark::State& state) { Run(state, "FORMINGAME_CAM_FP", true); }
void BM_DrawForms_Options(benchmark::State& state) { Run(state, "FORMOPTIONS", false); }
BENCHMARK(BM_DrawForms_InGameFull);
BENCHMARK(BM_DrawForms_InGameThrottled);
BENCHMARK(BM_DrawForms_Options);

// One logic step of a menu with nothing pressed: the input pass over its controls.
void BM_UpdateForms_KeySetup(benchmark::State& state) {
  FormScene s("FORMKEYSETUP");
  if (!s.ok) {
    state.SkipWithError("the baked kvr.rsx did not open");
    return;
  }
  Input = InputState{};
  for (auto _ : state) UpdateForms(s.m);
  PerFrame(state);
}
BENCHMARK(BM_UpdateForms_KeySetup);

// Parsing a form from the script, as every screen change does.
void BM_OpenForm_KeySetup(benchmark::State& state) {
  FormScene s("FORMMAIN");
  for (auto _ : state) {
    OpenForm(s.m, "kvr.rsx", "FORMKEYSETUP");
    CloseCurrentForm(s.m);
  }
  PerFrame(state);
}
BENCHMARK(BM_OpenForm_KeySetup);

}  // namespace

BENCHMARK_MAIN();
