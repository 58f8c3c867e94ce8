// Sample slots: LoadWav's checks and messages, sharing and freeing, playing and shaping.
#include <tuple>

#include "sound_fixture.h"

using SlotTest = SoundTest;

// Each refused file gives its message and leaves no slot taken.
TEST_F(SlotTest, WrongShortAndMissingFilesEachGiveTheirMessage) {
  const std::string good = WavBytes(Ramp(10));
  std::string huge = good;  // a data size beyond the file: refused before allocating
  WriteU32LE(reinterpret_cast<uint8_t*>(huge.data()) + 40, 0xFFFFFFF0u);
  const struct {
    const char* name;
    std::string bytes;  // empty: no such file
    const char* log;
  } cases[] = {
      {"8bit.wav", WavBytes(Ramp(10), 16000, 8), "Wav file is in a wrong format."},
      {"22k.wav", WavBytes(Ramp(10), 22050, 16), "Wav file is in a wrong format."},
      {"none.wav", "", "Error loading wave file none.wav"},
      {"head.wav", good.substr(0, 35), "Error reading wave header file."},
      {"chunk.wav", good.substr(0, 40), "Error reading wave chunk."},
      {"data.wav", good.substr(0, good.size() - 1), "Error loading wave data from file."},
      {"huge.wav", huge, "Error loading wave data from file."},
      {"twenty_chars_lo.wav", "", "Error loading wave file twenty_chars_lo.wav"},  // 19: read
      {"twenty_chars_lon.wav", "", "Wav filename > 19 chars: twenty_chars_lon.wav"},
      // Ending inside a skipped chunk, and running out at a chunk header with no data chunk.
      {"cut.wav", WavBytes({}, 16000, 16, Chunk("LIST", std::string(100, 'x'))).substr(0, 36 + 8 + 50),
       "Error reading wave chunk (2)"},
      {"nodata.wav", WavBytes({}, 16000, 16, Chunk("LIST", "ab")).substr(0, 36 + 10),
       "Error reading wave chunk."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dir.Write("log.txt", "");
    if (!c.bytes.empty()) dir.Write(c.name, c.bytes);
    EXPECT_EQ(LoadWav(ss, c.name), -1);
    EXPECT_EQ(dir.Log(), std::string(c.log) + "\n");
    for (const SampleSlot& s : ss->slots) EXPECT_TRUE(s.inUse == 0 && s.data == nullptr);
  }
}

TEST_F(SlotTest, OtherChunksBeforeTheDataAreSkipped) {
  dir.Write("list.wav", WavBytes(Ramp(10), 16000, 16,
                                 Chunk("LIST", "INFOsome text") + Chunk("fact", "abcd")));
  int32_t slot = LoadWav(ss, "list.wav");
  ASSERT_EQ(slot, 0);
  EXPECT_EQ(ss->slots[0].length, 10);
  EXPECT_EQ(ss->slots[0].data[3], 3);
}

TEST_F(SlotTest, SecondLoadSharesAndFreeingTheOwnerDisablesTheClone) {
  int32_t owner = Load("a.wav", Constant(4000, 100));
  int32_t clone = LoadWav(ss, "a.wav");
  ASSERT_EQ(owner, 0);
  ASSERT_EQ(clone, 1);
  const SampleSlot& c = ss->slots[clone];
  EXPECT_EQ(std::make_tuple(c.data, c.clone, std::string(c.name)),
            std::make_tuple(ss->slots[owner].data, 1, std::string()));
  SetSampleVolume(ss, clone, 30);
  EXPECT_EQ(ss->slots[owner].baseVolume, 100);
  PlaySample(ss, clone, 1);
  PlaySample(ss, owner, 1);
  FreeSample(ss, owner);
  EXPECT_EQ(std::make_tuple(IsSamplePlaying(ss, clone), IsSamplePlaying(ss, owner)), std::make_tuple(0, 0));
  EXPECT_EQ(std::make_tuple(ss->slots[clone].inUse, ss->slots[clone].data, ss->slots[owner].inUse),
            std::make_tuple(0, nullptr, 0));
  FreeSample(ss, clone);  // nothing left to free
  // The freed slots are taken again, lowest first, starting as loaded waves do.
  SetSample3D(ss, clone, 1, 2, 3, 4);
  EXPECT_EQ(Load("b.wav", Ramp(10)), 0);
  EXPECT_EQ(LoadWav(ss, "b.wav"), 1);
  EXPECT_EQ(ss->slots[1].positional, 0);
  EXPECT_EQ(dir.Log(), "");
}

TEST_F(SlotTest, FreeingACloneKeepsTheOwner) {
  int32_t owner = Load("a.wav", Constant(4000, 100));
  int32_t clone = CloneSample(ss, owner);
  PlaySample(ss, clone, 1);
  PlaySample(ss, owner, 1);
  FreeSample(ss, clone);
  EXPECT_EQ(IsSamplePlaying(ss, owner), 1);
  EXPECT_EQ(ss->slots[owner].data[0], 100);
  EXPECT_EQ(CloneSample(ss, 77), -1);
  EXPECT_EQ(dir.Log(), "Error cloning wav file.\n");
}

TEST_F(SlotTest, The151stLoadFindsNoSlot) {
  std::string bytes = WavBytes(Ramp(4));
  for (int i = 0; i < kSampleSlotCount; ++i) {
    std::string name = "s" + std::to_string(i) + ".wav";
    dir.Write(name, bytes);
    ASSERT_EQ(LoadWav(ss, name.c_str()), i);
  }
  dir.Write("last.wav", bytes);
  EXPECT_EQ(LoadWav(ss, "last.wav"), -1);
  EXPECT_EQ(LoadWav(ss, "s3.wav"), -1);  // a clone needs a slot too
  EXPECT_EQ(dir.Log(), "No more audio slots available.\nNo more audio slots available.\n");
}

TEST_F(SlotTest, VolumePanPitchAndLoopStartAreClamped) {
  int32_t slot = Load("a.wav", Ramp(100));
  SetSampleVolume(ss, slot, 300);
  EXPECT_EQ(ss->slots[slot].baseVolume, 256);
  EXPECT_EQ(ss->slots[slot].effectiveVolume, 256);
  SetSampleVolume(ss, slot, -5);
  EXPECT_EQ(ss->slots[slot].baseVolume, 0);
  SetSampleLoopStart(ss, slot, 99);
  EXPECT_EQ(ss->slots[slot].loopStart, 99);
  SetSampleLoopStart(ss, slot, 100);
  EXPECT_EQ(ss->slots[slot].loopStart, 0);
  SetSampleLoopStart(ss, slot, 50);
  SetSampleLoopStart(ss, slot, -1);
  EXPECT_EQ(ss->slots[slot].loopStart, 0);
  SetSamplePan(ss, slot, 256);
  EXPECT_EQ(ss->slots[slot].pan, 256);
  SetSamplePan(ss, slot, 255);
  EXPECT_EQ(ss->slots[slot].pan, -256);
  SetSamplePitch(ss, slot, 40000);  // kept in 16 bits, read as signed
  EXPECT_EQ(ss->slots[slot].rate, int16_t(40000 - 65536));
}

TEST_F(SlotTest, ChannelElevenIsCutOffWhenAllAreBusy) {
  int32_t a = Load("a.wav", Constant(4000, 1));
  int32_t b = Load("b.wav", Constant(4000, 2));
  for (int i = 0; i < kMixChannelCount; ++i) EXPECT_EQ(PlaySampleEx(ss, a, 1, 4000, 0), i);
  EXPECT_EQ(PlaySampleEx(ss, b, 0, 99999, -3), 11);
  // Ending no further than the slot, starting at once.
  EXPECT_EQ(std::make_tuple(ss->channels[11].slotIndex, ss->channels[11].end, ss->channels[11].startDelay),
            std::make_tuple(b, 4000, 0));
  StopSample(ss, a);
  EXPECT_EQ(std::make_tuple(ss->channels[0].state, ss->channels[1].state),
            std::make_tuple(kChannelFree, kChannelPlaying));
  EXPECT_EQ(PlaySampleEx(ss, b, 0, 10, 0), 0);
  EXPECT_EQ(PlaySampleEx(ss, -1, 0, 10, 0), -1);
  EXPECT_EQ(PlaySampleEx(ss, 5, 0, 10, 0), -1);  // not in use
  PlaySample(ss, -1, 0);
}
