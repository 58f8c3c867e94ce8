// Fuzz target: arbitrary bytes as intro.mmd, played by the title-music sequencer for a bounded
// number of output samples (restarts included), then one block through the mixer. A sequence
// that ends reloads its four files at the next sample, so the steps stop at the first restart:
// one input costs at most a handful of file loads, not one per sample of three blocks.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/frame_clock.h"
#include "fuzz_support.h"
#include "sound/sound.h"

namespace {
// The scratch directory holds small instruments; the event file is rewritten per input.
SoundSystem* Sound() {
  static SoundSystem* ss = [] {
    const std::string& d = FuzzScratchDir();
    std::vector<int16_t> tone(600);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = int16_t((i % 40) * 500 - 10000);
    for (const char* name : {"intro_p1.wav", "intro_p2.wav", "intro_p3.wav"})
      WriteWavFile((d + "/" + name).c_str(), tone.data(), tone.size());
    return CreateSoundSystem(nullptr);
  }();
  return ss;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SoundSystem* ss = Sound();
  if (!PutFuzzFile("intro.mmd", data, size)) return 0;
  // Thousands of events would be read again at every restart.
  if (size > 24 * 1024) return 0;
  StartIntroMusic(ss);
  int restarts = 0;
  for (int i = 0; i < 3 * kMixBlockSamples && ss->intro.playing && restarts < 1; ++i) {
    // A restart sets the clock back to its start; otherwise it moves on by one.
    const uint32_t before = uint32_t(ss->intro.clock);
    IntroStep(ss);
    if (uint32_t(ss->intro.clock) != before + 1) ++restarts;
  }
  // What the notes started is mixed once, the sequencer held.
  const int32_t playing = ss->intro.playing;
  ss->intro.playing = 0;
  uint8_t block[kMixBlockBytes];
  FrameDeltaMs = 40;
  FillBlock(nullptr, block, kMixBlockBytes);
  MixStep(ss);
  ss->intro.playing = playing;
  StopIntroMusic(ss);
  FileDelete("intro.mmd");
  return 0;
}
