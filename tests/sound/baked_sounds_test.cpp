// The baked title music through the game's own mixer: it runs over a minute before it
// repeats and never holds the mix at its limit. (That every baked sound loads cleanly is
// kvrtool check's; the fades and loop seams are made by construction in the bake, which also
// checks that the music leaves channels for the menu sounds.)
#include <algorithm>

#include "sound_fixture.h"

TEST(BakedSounds, TitleMusicPlaysOverAMinuteBeforeItRepeats) {
  UseGameData data;
  SoundSystem* ss = CreateSoundSystem(nullptr);
  SetMasterVolume(ss, 256);
  ResetHandOff();
  FrameDeltaMs = 40;
  uint8_t block[kMixBlockBytes];
  StartIntroMusic(ss);
  ASSERT_EQ(ss->intro.playing, 1);
  int64_t samples = 0, restartAt = -1;
  int peak = 0;
  int32_t lastIndex = 0;
  while (samples < 75 * kSoundRate) {
    MixStep(ss);
    FillBlock(nullptr, block, kMixBlockBytes);
    samples += kMixBlockSamples;
    for (int16_t v : ss->mixBlock) peak = std::max(peak, std::abs(int(v)));
    if (ss->intro.currentIndex < lastIndex && restartAt < 0) restartAt = samples;
    lastIndex = ss->intro.currentIndex;
  }
  EXPECT_GE(restartAt, 60 * kSoundRate);
  EXPECT_LT(peak, 32767);
  EXPECT_EQ(ss->intro.playing, 1);
  DestroySoundSystem(ss);
  ResetHandOff();
  FrameDeltaMs = 0;
}
