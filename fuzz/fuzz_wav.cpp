// Fuzz target: LoadWav on arbitrary bytes; a loaded wave is then played, looped and pitched
// through the mixer, and freed with a clone.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/core.h"
#include "core/frame_clock.h"
#include "fuzz_support.h"
#include "sound/sound.h"

namespace {
// Log lines go to the scratch directory rather than beside the fuzzer.
SoundSystem* Sound() {
  static SoundSystem* ss = [] {
    FuzzScratchDir();
    return CreateSoundSystem(nullptr);
  }();
  return ss;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SoundSystem* ss = Sound();
  if (size == 0) return 0;
  FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!f) return 0;
  int32_t slot = LoadWavFromStream(ss, "fuzz.wav", f);
  fclose(f);
  // A refused wave logs at every input; the log must not grow without end.
  DeleteLog();
  if (slot < 0) return 0;
  int32_t clone = CloneSample(ss, slot);
  const SampleSlot& s = ss->slots[slot];
  SetSampleLoopStart(ss, slot, s.length > 0 ? int32_t(data[0]) * s.length / 256 : 0);
  SetSamplePitch(ss, clone, size > 1 ? data[1] * 8 : 256);
  SetSampleVolume(ss, slot, 256);
  PlaySampleEx(ss, slot, 1, s.length / 2, 3);
  PlaySample(ss, slot, 0);
  PlaySample(ss, clone, 1);
  uint8_t block[kMixBlockBytes];
  FrameDeltaMs = 40;
  for (int i = 0; i < 2; ++i) {
    FillBlock(nullptr, block, kMixBlockBytes);
    MixStep(ss);
  }
  FreeSample(ss, slot);
  FreeSample(ss, clone);
  return 0;
}
