// kvrtool end to end: what `play` writes holds the whole sound, up to its last sample.
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/core.h"
#include "sound/sound.h"
#include "test_support.h"

namespace {

int RunKvrtool(const std::string& args) {
  std::string cmd = std::string(KVRTOOL_PATH) + " " + args + " >/dev/null 2>&1";
  int status = system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(KvrtoolPlay, TheLastBlocksOfASoundAreTakenBeforeStopping) {
  ScratchDir dir;
  // A tone shorter than a block, one of exactly four blocks, a second, and 2.36 s.
  for (size_t length : {700u, 4u * kMixBlockSamples, 16000u, 37760u}) {
    std::vector<int16_t> tone(length, 9000);
    ASSERT_TRUE(WriteWavFile(dir.File("tone.wav").c_str(), tone.data(), tone.size()));
    ASSERT_EQ(RunKvrtool("play " + dir.File("tone.wav") + " " + dir.File("out.wav")), 0);
    const std::string out = dir.Read("out.wav");
    ASSERT_GE(out.size(), 44u);
    const size_t samples = (out.size() - 44) / 2;
    size_t sounding = 0;
    for (size_t i = 0; i < samples; ++i)
      sounding += ReadU16LE(reinterpret_cast<const uint8_t*>(out.data()) + 44 + 2 * i) != 0;
    // Every sample but the last (which a slot never plays) comes out, in whole blocks.
    EXPECT_EQ(sounding, length - 1) << length;
    EXPECT_LE(samples, length + 2 * kMixBlockSamples) << length;
  }
}

}  // namespace
