// Shared pieces of the sound tests: wave bytes, a scratch sound system, block capture.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/frame_clock.h"
#include "core/files.h"
#include "sound/sound.h"
#include "../support/data_files.h"
#include "../support/test_support.h"

// A RIFF chunk: its id, its size, its body.
inline std::string Chunk(const std::string& id, const std::string& body) {
  return Bytes().Raw(id.substr(0, 4)).I32(int32_t(body.size())).Raw(body).data;
}

// A sound system over a scratch directory, with the hand-off and the frame delta cleared.
class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ss = CreateSoundSystem(nullptr);
    ASSERT_NE(ss, nullptr);
    SetMasterVolume(ss, 256);
    ResetHandOff();
    FrameDeltaMs = 0;
  }
  void TearDown() override {
    DestroySoundSystem(ss);
    ResetHandOff();
    FrameDeltaMs = 0;
  }

  // Loads a wave of these samples under `name`.
  int32_t Load(const std::string& name, const std::vector<int16_t>& samples) {
    dir.Write(name, WavBytes(samples));
    return LoadWav(ss, name.c_str());
  }

  // Lets the device take whatever is pending, then mixes one block and returns it.
  std::vector<int16_t> MixBlock() {
    uint8_t sink[kMixBlockBytes];
    FillBlock(nullptr, sink, kMixBlockBytes);
    MixStep(ss);
    return std::vector<int16_t>(ss->mixBlock, ss->mixBlock + kMixBlockSamples);
  }
  // Each probe: an output sample of the block and the value expected there.
  static void ExpectSamples(const std::vector<int16_t>& block,
                            const std::vector<std::pair<int, int>>& probes) {
    for (const auto& [at, value] : probes) EXPECT_EQ(block[size_t(at)], value) << "sample " << at;
  }

  ScratchDir dir;
  SoundSystem* ss = nullptr;
};

// n samples of the value v.
inline std::vector<int16_t> Constant(size_t n, int16_t v) { return std::vector<int16_t>(n, v); }
// Sample i holds i (a ramp shows which source sample was mixed).
inline std::vector<int16_t> Ramp(size_t n) {
  std::vector<int16_t> s(n);
  for (size_t i = 0; i < n; ++i) s[i] = int16_t(i);
  return s;
}
