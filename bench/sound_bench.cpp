// The mixer's speed: MixStep with all 12 voices playing, and with the title music sequencing,
// reported per output sample.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/core.h"
#include "core/frame_clock.h"
#include "sound/sound.h"

namespace {

// A sound system whose device takes every block, with a looping one-second wave loaded from a
// scratch directory into `voices` channels (one of them positional).
SoundSystem* Playing(int voices) {
  char pattern[] = "/tmp/kvrbenchsndXXXXXX";
  SetExeDir((std::string(mkdtemp(pattern)) + "/").c_str());
  std::vector<int16_t> wave(16000);
  for (size_t i = 0; i < wave.size(); ++i) wave[i] = int16_t((i * 37) % 4000 - 2000);
  WriteWavFile((std::string(ExeDir) + "loop.wav").c_str(), wave.data(), wave.size());
  SoundSystem* ss = CreateSoundSystem(nullptr);
  SetMasterVolume(ss, 200);
  ResetHandOff();
  int32_t slot = LoadWav(ss, "loop.wav");
  SetSamplePitch(ss, slot, 300);
  for (int v = 0; v < voices; ++v) {
    int32_t s = v == 0 ? slot : CloneSample(ss, slot);
    if (v == 1) SetSample3D(ss, s, 1000, 0, 0, 0);
    PlaySample(ss, s, 1);
  }
  return ss;
}

void Mix(benchmark::State& state, SoundSystem* ss) {
  uint8_t block[kMixBlockBytes];
  FrameDeltaMs = 40;
  for (auto _ : state) {
    FillBlock(nullptr, block, kMixBlockBytes);
    MixStep(ss);
    benchmark::DoNotOptimize(ss->mixBlock[100]);
  }
  state.SetItemsProcessed(state.iterations() * kMixBlockSamples);
  state.counters["ns_per_sample"] = benchmark::Counter(
      double(state.iterations()) * kMixBlockSamples,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_MixStepTwelveVoices(benchmark::State& state) {
  SoundSystem* ss = Playing(12);
  Mix(state, ss);
  DestroySoundSystem(ss);
}
BENCHMARK(BM_MixStepTwelveVoices);

void BM_MixStepSilent(benchmark::State& state) {
  SoundSystem* ss = Playing(0);
  Mix(state, ss);
  DestroySoundSystem(ss);
}
BENCHMARK(BM_MixStepSilent);

// The baked title music, when the build has baked it.
void BM_MixStepTitleMusic(benchmark::State& state) {
  SetExeDir(KVR_GAME_DIR "/");
  SoundSystem* ss = CreateSoundSystem(nullptr);
  SetMasterVolume(ss, 256);
  ResetHandOff();
  StartIntroMusic(ss);
  if (!ss->intro.playing) {
    state.SkipWithError("no baked title music");
    DestroySoundSystem(ss);
    return;
  }
  Mix(state, ss);
  DestroySoundSystem(ss);
}
BENCHMARK(BM_MixStepTitleMusic);

}  // namespace

BENCHMARK_MAIN();
