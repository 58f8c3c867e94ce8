// Fuzz target: arbitrary bytes as intro.mmd, played by the title-music sequencer through the
// mixer for a few blocks (restarts included).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/frame_clock.h"
#include "sound/sound.h"

namespace {
struct Setup {
  std::string dir;
  SoundSystem* ss;
};

// A scratch directory holding small instruments; the event file is rewritten per input.
const Setup& Scratch() {
  static Setup s = [] {
    char pattern[] = "/tmp/kvrfuzzmmdXXXXXX";
    std::string d = mkdtemp(pattern) ? pattern : "/tmp";
    SetExeDir((d + "/").c_str());
    std::vector<int16_t> tone(600);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = int16_t((i % 40) * 500 - 10000);
    for (const char* name : {"intro_p1.wav", "intro_p2.wav", "intro_p3.wav"})
      WriteWavFile((d + "/" + name).c_str(), tone.data(), tone.size());
    return Setup{d, CreateSoundSystem(nullptr)};
  }();
  return s;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Setup& s = Scratch();
  const std::string path = s.dir + "/intro.mmd";
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return 0;
  if (size) fwrite(data, 1, size, f);
  fclose(f);
  SoundSystem* ss = s.ss;
  StartIntroMusic(ss);
  uint8_t block[kMixBlockBytes];
  FrameDeltaMs = 40;
  for (int i = 0; i < 3; ++i) {
    FillBlock(nullptr, block, kMixBlockBytes);
    MixStep(ss);
  }
  StopIntroMusic(ss);
  remove(path.c_str());
  return 0;
}
