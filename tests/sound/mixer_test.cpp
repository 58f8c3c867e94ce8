// The mixer: start delays, ends and loops, saturation, positional volume, the hand-off.
#include <tuple>

#include "sound_fixture.h"

using MixerTest = SoundTest;

// Where a channel starts and stops within a block: its start delay, the end of a slot that
// does not loop (one sample early), a loop's restart mixed in the same output sample, an
// end position cutting the channel, the slot's and master volumes, and all of it at a pitch.
TEST_F(MixerTest, StartsEndsAndLoopsLandOnTheirSamples) {
  struct Case {
    const char* what;
    std::vector<int16_t> wave;
    int32_t volume, master, loopStart, end, delay;
    uint8_t loop;
    std::vector<std::pair<int, int>> expect;  // output sample, value
    int32_t pitch = 256;
  };
  const Case cases[] = {
      {"start delay", Constant(4000, 1000), 256, 256, 0, 4000, 100, 0,
       {{99, 0}, {100, 1000}, {2047, 1000}}},
      {"no loop", Ramp(1000), 256, 256, 0, -1, 0, 0, {{0, 0}, {998, 998}, {999, 0}}},
      {"loop", Ramp(1000), 256, 256, 500, -1, 0, 1,
       {{998, 998}, {999, 500}, {1000, 501}, {999 + 498, 998}, {999 + 499, 500}}},
      {"end and volumes", Constant(4000, 1024), 128, 64, 0, 10, 0, 0,
       {{0, 128}, {9, 128}, {10, 0}}},  // 1024 x 128/256 x 64/256
      // A faster pitch: 300/256 of a sample per output sample, to the loop's restart (the
      // first position past 998 x 256) and through the next pass; and an end cut at 10 x 256.
      {"pitch and loop", Ramp(1000), 256, 256, 500, -1, 0, 1,
       {{852, 998}, {853, 500}, {854, 501}, {855, 502}, {1278, 998}, {1279, 500}}, 300},
      {"pitch and end", Ramp(4000), 256, 256, 0, 10, 0, 0, {{8, 9}, {9, 0}}, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DestroySoundSystem(ss);  // a fresh system: no slot or channel of the last case
    ss = CreateSoundSystem(nullptr);
    ResetHandOff();
    int32_t slot = Load("w.wav", c.wave);
    SetSampleVolume(ss, slot, c.volume);
    SetMasterVolume(ss, c.master);
    if (c.loopStart) SetSampleLoopStart(ss, slot, c.loopStart);
    SetSamplePitch(ss, slot, c.pitch);
    if (c.end >= 0) PlaySampleEx(ss, slot, c.loop, c.end, c.delay);
    else PlaySample(ss, slot, c.loop);
    ExpectSamples(MixBlock(), c.expect);
    EXPECT_EQ(IsSamplePlaying(ss, slot), c.loop || c.end > 2048 ? 1 : 0);
  }
}

TEST_F(MixerTest, PlaySampleDelaysByTheGameTimeSinceTheLastBlock) {
  int32_t slot = Load("c.wav", Constant(4000, 1000));
  SetSampleVolume(ss, slot, 256);
  MixBlock();
  MixStep(ss);  // mixes the next block, which the device has not room for yet
  FrameDeltaMs = 40;
  MixStep(ss);  // refused again: only the time counts
  MixStep(ss);
  PlaySample(ss, slot, 0);
  EXPECT_EQ(ss->channels[0].startDelay, 160);
  ss->msSinceBlock = 900;
  PlaySample(ss, slot, 0);
  EXPECT_EQ(ss->channels[1].startDelay, 1024);
  // A game without a device never has a block taken: the count stops at its limit.
  ss->msSinceBlock = INT32_MAX - 10;
  MixStep(ss);
  EXPECT_EQ(ss->msSinceBlock, INT32_MAX);
  PlaySample(ss, slot, 0);
  EXPECT_EQ(ss->channels[2].startDelay, 1024);
}

TEST_F(MixerTest, TwoFullVoicesSaturateInsteadOfWrapping) {
  for (int16_t v : {30000, -30000}) {
    const int32_t slot = Load(std::to_string(v) + ".wav", Constant(3000, v)), clone = CloneSample(ss, slot);
    SetSampleVolume(ss, slot, 256);
    SetSampleVolume(ss, clone, 256);
    PlaySample(ss, slot, 0);
    PlaySample(ss, clone, 0);
    EXPECT_EQ(MixBlock()[0], v > 0 ? 32767 : -32768);
    StopSample(ss, slot);
    StopSample(ss, clone);
  }
}

// The hearing distance is 5000; a near sample with a small base may pass 256 but the
// output saturates.
TEST_F(MixerTest, PositionalVolumeFallsWithDistance) {
  int32_t slot = Load("c.wav", Constant(4000, 32767));
  PlaySample(ss, slot, 1);
  const struct {
    int32_t base, x, y, z, listenerX, effective;
  } cases[] = {
      {100, 2500, 0, 0, 0, 50},  // half the hearing distance
      {100, 0, 5000, 0, 0, 0},   {100, 0, 0, 4999, 0, 0},  // (5000 - 4999) / 50 truncates
      {100, 0, 0, 5001, 0, 0},   {100, 100, 0, 0, 100, 100},
      {0, 100, 0, 0, 100, 0},    // a base of 0 is silent rather than a division by zero
      {256, 0, 0, 0, 0, 263},    // 5000 / (5000 / 256)
  };
  for (const auto& c : cases) {
    SetSampleVolume(ss, slot, c.base);
    SetSample3D(ss, slot, c.x, c.y, c.z, 0);
    SetListener(ss, c.listenerX, 0, 0, 0, nullptr);
    std::vector<int16_t> b = MixBlock();
    EXPECT_EQ(ss->slots[slot].effectiveVolume, c.effective) << c.base << " " << c.x << " " << c.z;
    if (c.effective == 0 || c.effective > 256) {
      EXPECT_EQ(b[0], c.effective ? 32767 : 0);
    }
  }
}

TEST_F(MixerTest, NothingIsMixedWhileTheBlockIsPending) {
  int32_t slot = Load("r.wav", Ramp(10000));
  SetSampleVolume(ss, slot, 256);
  PlaySample(ss, slot, 0);
  MixBlock();
  // Handed-off result, time since the last block taken, channel position, first sample.
  auto state = [this] {
    return std::make_tuple(ss->handOffResult, ss->msSinceBlock, ss->channels[0].position, ss->mixBlock[0]);
  };
  MixStep(ss);  // mixes the second block; the device has not taken the first: refused
  EXPECT_EQ(state(), std::make_tuple(-1, 0, 4096u * 256, 2048));
  FrameDeltaMs = 40;
  MixStep(ss);
  MixStep(ss);
  EXPECT_EQ(state(), std::make_tuple(-1, 80, 4096u * 256, 2048));  // nothing mixed meanwhile
  MixBlock();  // taken now: the same block is handed over
  EXPECT_EQ(state(), std::make_tuple(0, 120, 4096u * 256, 2048));
  MixBlock();
  EXPECT_EQ(state(), std::make_tuple(0, 0, 6144u * 256, 4096));
}

TEST_F(MixerTest, TheHandOffCopiesWhatTheDeviceLastAskedFor) {
  int16_t block[kMixBlockSamples];
  for (int16_t& s : block) s = 7;
  std::vector<uint8_t> out(kMixBlockBytes * 2, 0xAA);
  memset(HandOff.buffer, 0, sizeof HandOff.buffer);
  EXPECT_EQ(SubmitBlock(block), 0);
  EXPECT_EQ(SubmitBlock(block), -1);
  FillBlock(nullptr, out.data(), kMixBlockBytes);
  EXPECT_EQ(out[0], 0);  // the device had not asked yet: nothing was copied
  EXPECT_EQ(HandOff.length, kMixBlockBytes);
  out[0] = 0xAA;
  FillBlock(nullptr, out.data(), kMixBlockBytes);  // nothing pending: silence
  EXPECT_EQ(out[0], 0);
  // Asking for more than a block gives silence after it.
  EXPECT_EQ(SubmitBlock(block), 0);
  FillBlock(nullptr, out.data(), int(out.size()));
  EXPECT_EQ(HandOff.length, kMixBlockBytes);
  EXPECT_EQ(std::make_tuple(out[0], out[kMixBlockBytes - 2], out[kMixBlockBytes], out.back()),
            std::make_tuple(7, 7, 0, 0));
  // Asking for nothing still takes the pending block and records the length 0, so the next
  // submission copies nothing and the buffer still holds the block copied before.
  EXPECT_EQ(SubmitBlock(block), 0);
  FillBlock(nullptr, nullptr, 0);
  EXPECT_EQ(std::make_tuple(int(HandOff.pending.load()), HandOff.length), std::make_tuple(0, 0));
  for (int16_t& s : block) s = 9;
  EXPECT_EQ(SubmitBlock(block), 0);
  FillBlock(nullptr, out.data(), kMixBlockBytes);
  EXPECT_EQ(out[0], 7);
}

TEST_F(MixerTest, PitchReachesChannelsAlreadyPlaying) {
  int32_t slot = Load("r.wav", Ramp(8000));
  SetSampleVolume(ss, slot, 256);
  PlaySample(ss, slot, 0);
  SetSamplePitch(ss, slot, 512);
  std::vector<int16_t> b = MixBlock();
  EXPECT_EQ(b[10], 20);
  SetSamplePitch(ss, slot, -5);
  EXPECT_EQ(ss->slots[slot].rate, 0);
  b = MixBlock();
  EXPECT_EQ(b[0], b[2047]);
}

// A channel whose slot lost its data (as a disabled clone's) is freed, and an empty looping
// slot ends, both silently and without reading.
TEST_F(MixerTest, ChannelsWithNothingToReadEndSilently) {
  int32_t slot = Load("c.wav", Constant(4000, 1000));
  int32_t empty = Load("e.wav", {});
  ASSERT_GE(empty, 0);
  PlaySample(ss, slot, 1);
  PlaySample(ss, empty, 1);
  int16_t* data = ss->slots[slot].data;
  ss->slots[slot].data = nullptr;
  std::vector<int16_t> b = MixBlock();
  EXPECT_EQ(b[0], 0);
  EXPECT_EQ(ss->channels[0].state, kChannelFree);
  EXPECT_EQ(IsSamplePlaying(ss, empty), 0);
  ss->slots[slot].data = data;
}
