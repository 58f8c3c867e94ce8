// The sound library and its device over a recording stand-in for the platform.
#include <string>
#include <tuple>

#include "platform/headless/headless.h"
#include "sound_fixture.h"

namespace {

// Records what the sound code asks of the audio device; the rest is the headless machine's.
class FakePlatform : public HeadlessPlatform {
 public:
  FakePlatform() : HeadlessPlatform(PlatformOptions{}) {}
  bool OpenAudio(const AudioSpec& s, AudioFillCallback f, void* u) override {
    calls += "open;";
    wanted = s;
    fill = f;
    user = u;
    return accept;
  }
  void PauseAudio(bool paused) override { calls += paused ? "pause;" : "play;"; }
  void LockAudio() override { calls += "lock;"; }
  void UnlockAudio() override { calls += "unlock;"; }
  void CloseAudio() override { calls += "close;"; }

  bool accept = true;
  std::string calls;
  AudioSpec wanted;
  AudioFillCallback fill = nullptr;
  void* user = nullptr;
};

class DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = CurrentPlatform();
    SetCurrentPlatform(&fake);
  }
  void TearDown() override { SetCurrentPlatform(previous); }

  FakePlatform fake;
  Platform* previous = nullptr;
  SoundFormat format{kFormat16Bit, 1, 16000};
};

void Ignore(void*, uint8_t*, int) {}

}  // namespace

TEST_F(DeviceTest, OpenRefusesBadFormatsAndASecondOpen) {
  SoundDevice d;
  EXPECT_EQ(d.Close(), -3);
  EXPECT_EQ(d.Open(nullptr, 2880, Ignore, nullptr), -1);
  EXPECT_EQ(d.Open(&format, 2880, nullptr, nullptr), -1);
  // The stream is 16-bit only, one or two channels.
  for (SoundFormat bad : {SoundFormat{0, 1, 16000}, SoundFormat{0x11, 1, 16000}, SoundFormat{0x22, 1, 16000},
                          SoundFormat{kFormat16Bit, 0, 16000}, SoundFormat{kFormat16Bit, 3, 16000},
                          SoundFormat{kFormat8Bit, 1, 16000}})
    EXPECT_EQ(d.Open(&bad, 2880, Ignore, nullptr), -1) << bad.flags << " " << bad.channels;
  EXPECT_EQ(fake.calls, "");
  fake.accept = false;
  EXPECT_EQ(d.Open(&format, 2880, Ignore, nullptr), -1);
  EXPECT_FALSE(d.isOpen);
  fake.accept = true;
  fake.calls.clear();
  ASSERT_EQ(d.Open(&format, 2880, Ignore, &d), 0);
  EXPECT_EQ(d.Open(&format, 2880, Ignore, &d), -2);
  EXPECT_EQ(fake.calls, "open;");
  EXPECT_EQ(std::make_tuple(fake.wanted.rate, fake.wanted.channels, fake.wanted.samples, d.bufferCount,
                            d.bytesPerBuffer),
            std::make_tuple(16000, 1, 2048, 4, 4096));
  EXPECT_EQ(fake.user, &d);
  EXPECT_TRUE(d.paused);
  SetCurrentPlatform(nullptr);  // no platform, no device
  SoundDevice none;
  EXPECT_EQ(none.Open(&format, 2880, Ignore, nullptr), -1);
}

TEST_F(DeviceTest, SoundSystemStartsTheDeviceAndResetsTheHandOff) {
  SoundSystem* ss = CreateSoundSystem(nullptr);
  int16_t block[kMixBlockSamples] = {};
  SubmitBlock(block);
  EXPECT_EQ(InitSound(ss), 0);
  EXPECT_EQ(std::make_pair(int(HandOff.pending.load()), HandOff.length), std::make_pair(0, 0));
  EXPECT_EQ(fake.calls, "open;lock;play;unlock;lock;unlock;");
  fake.calls.clear();
  DestroySoundSystem(ss);
  EXPECT_EQ(fake.calls, "close;");

  fake.accept = false;
  ss = CreateSoundSystem(nullptr);
  EXPECT_EQ(InitSound(ss), -1);  // the game runs silent
  MixStep(ss);
  EXPECT_EQ(ss->handOffResult, 0);
  MixStep(ss);
  EXPECT_EQ(ss->handOffResult, -1);  // nobody takes the block
  DestroySoundSystem(ss);
  ResetHandOff();
}
