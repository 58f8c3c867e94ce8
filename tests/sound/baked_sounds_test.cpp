// Every baked sound and the title music load through the game's own loaders without a log
// line; one-shots start and end in silence, loops repeat without a click, and the music runs
// over a minute before it repeats without crowding the channels.
#include <algorithm>

#include "sound_fixture.h"

namespace {

const char* const kOneShots[] = {
    "menu1.wav",         "menu2.wav",          "step.wav",          "starteng.wav",
    "stopeng.wav",       "rotate.wav",         "PlasmaExplosion.wav", "BigExplosion.wav",
    "BulletHit2.wav",    "PlasmaShot.wav",     "rocket_travel.wav", "TorpedoShot.wav",
    "SmallExplosion.wav", "RaptorGrowl.wav",   "recharge.wav",      "ship.wav",
    "intro_p1.wav",      "intro_p2.wav",       "intro_p3.wav",
};
const char* const kLoops[] = {"RifleMachShot.wav", "StegoEng2.wav", "hover.wav",
                              "PteranoEng.wav",    "NLink.wav",     "compnois.wav"};

class BakedSoundsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ss = CreateSoundSystem(nullptr);
    SetMasterVolume(ss, 256);
    ResetHandOff();
    FrameDeltaMs = 40;
  }
  void TearDown() override {
    DestroySoundSystem(ss);
    ResetHandOff();
    FrameDeltaMs = 0;
  }

  UseGameData data;
  std::string logBefore = GameDataLog();  // the loaders must add no line to it
  SoundSystem* ss = nullptr;
};

}  // namespace

TEST_F(BakedSoundsTest, OneShotsLoadAndStartAndEndInSilence) {
  for (const char* name : kOneShots) {
    SCOPED_TRACE(name);
    int32_t slot = LoadWav(ss, name);
    ASSERT_GE(slot, 0);
    const SampleSlot& s = ss->slots[slot];
    ASSERT_GT(s.length, 800);  // at least 50 ms
    EXPECT_LE(std::abs(s.data[0]), 64);
    EXPECT_LE(std::abs(s.data[s.length - 2]), 64);
    int peak = 0;
    for (int32_t i = 0; i < s.length; ++i) peak = std::max(peak, std::abs(int(s.data[i])));
    EXPECT_GT(peak, 4000);  // audible
  }
  EXPECT_EQ(GameDataLog(), logBefore);
}

TEST_F(BakedSoundsTest, LoopsRepeatWithoutAStepLargerThanTheirOwn) {
  for (const char* name : kLoops) {
    SCOPED_TRACE(name);
    int32_t slot = LoadWav(ss, name);
    ASSERT_GE(slot, 0);
    const SampleSlot& s = ss->slots[slot];
    ASSERT_GT(s.length, 4000);
    // The mixer repeats samples 0 .. length - 2; the last one is a copy of the first.
    EXPECT_EQ(s.data[s.length - 1], s.data[0]);
    std::vector<int> steps;
    for (int32_t i = 0; i + 2 < s.length; ++i) steps.push_back(std::abs(s.data[i + 1] - s.data[i]));
    std::sort(steps.begin(), steps.end());
    int p99 = steps[steps.size() * 99 / 100];
    EXPECT_LE(std::abs(s.data[0] - s.data[s.length - 2]), p99);
  }
  EXPECT_EQ(GameDataLog(), logBefore);
}

TEST_F(BakedSoundsTest, TitleMusicPlaysOverAMinuteBeforeItRepeats) {
  uint8_t block[kMixBlockBytes];
  MixStep(ss);
  FillBlock(nullptr, block, kMixBlockBytes);
  StartIntroMusic(ss);
  ASSERT_EQ(ss->intro.playing, 1);
  int64_t samples = 0, restartAt = -1;
  int most = 0, peak = 0;
  int32_t lastIndex = 0;
  while (samples < 75 * kSoundRate) {
    MixStep(ss);
    FillBlock(nullptr, block, kMixBlockBytes);
    samples += kMixBlockSamples;
    int playing = 0;
    for (const MixChannel& ch : ss->channels) playing += ch.state == kChannelPlaying;
    most = std::max(most, playing);
    for (int16_t v : ss->mixBlock) peak = std::max(peak, std::abs(int(v)));
    if (ss->intro.currentIndex < lastIndex && restartAt < 0) restartAt = samples;
    lastIndex = ss->intro.currentIndex;
  }
  EXPECT_GE(restartAt, 60 * kSoundRate);
  EXPECT_LE(most, 10);   // leaves channels for the menu sounds
  EXPECT_LT(peak, 32767);  // never held at the limit
  EXPECT_EQ(ss->intro.playing, 1);
  EXPECT_EQ(GameDataLog(), logBefore);
}
