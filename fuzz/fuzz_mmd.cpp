// Fuzz target: arbitrary bytes as intro.mmd, played by the title-music sequencer through the
// mixer for a few blocks (restarts included).
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
  StartIntroMusic(ss);
  uint8_t block[kMixBlockBytes];
  FrameDeltaMs = 40;
  for (int i = 0; i < 3; ++i) {
    FillBlock(nullptr, block, kMixBlockBytes);
    MixStep(ss);
  }
  StopIntroMusic(ss);
  FileDelete("intro.mmd");
  return 0;
}
