// Speed of the game driver over the headless machine: from start to the main menu (the
// 2000 ms splash sleeps on the virtual clock, so it costs nothing here), and one whole frame
// (a logic step and a render) on the main menu and in the first map.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/app.h"
#include "core/core.h"
#include "platform/headless/headless.h"
#include "test_support.h"

namespace {

// A scratch copy of the game's directory and the headless machine under one driver.
struct DriverRig {
  DriverRig() {
    dir.LinkGameData();
    SetCurrentPlatform(&platform);
    SetDisplayLayout();
    ClearFrameClock();
    memset(&Input, 0, sizeof Input);
  }
  ~DriverRig() { SetCurrentPlatform(nullptr); }
  // One step and one frame, as a timer message with one step due runs them.
  void Frame(GameDriver& d) {
    SampleKeys();
    d.Update(FrameBuffer, 40);
    ShiftLatches();
    FrameDeltaMs = 40;
    d.Render(FrameBuffer);
    PresentFrame();
  }
  ScratchDir dir;
  PlatformOptions options;
  HeadlessPlatform platform{options};
};

void StartToMainMenu(benchmark::State& state) {
  DriverRig rig;
  for (auto _ : state) {
    GameDriver driver;
    driver.Initialise(kAppContext, FrameBuffer);
    rig.Frame(driver);
    state.PauseTiming();
    driver.Shutdown();
    state.ResumeTiming();
  }
}
BENCHMARK(StartToMainMenu)->Unit(benchmark::kMicrosecond);

void MainMenuFrame(benchmark::State& state) {
  DriverRig rig;
  GameDriver driver;
  driver.Initialise(kAppContext, FrameBuffer);
  for (auto _ : state) rig.Frame(driver);
  driver.Shutdown();
}
BENCHMARK(MainMenuFrame)->Unit(benchmark::kMicrosecond);

// The first map played from a saved game: the in-game form, the 3D view, the sky, the radar.
void InGameFrame(benchmark::State& state) {
  DriverRig rig;
  PlayerData saved;
  memset(&saved, 0, sizeof saved);
  NewGameReset(&saved);
  WritePlayerData(saved);
  GameDriver driver;
  driver.Initialise(kAppContext, FrameBuffer);
  CloseCurrentForm(Forms);
  driver.OpenInGameForm();
  for (int i = 0; i < 40 && driver.screenState != kScreenPlaying; ++i) rig.Frame(driver);
  if (driver.screenState != kScreenPlaying) state.SkipWithError("the map did not load");
  for (auto _ : state) rig.Frame(driver);
  driver.Shutdown();
}
BENCHMARK(InGameFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
