// The title-music sequencer: tick conversion, the first-sample burst, the end, skipped tracks.
#include <tuple>

#include "sound_fixture.h"

namespace {

struct Note {
  int32_t type, time, note, duration, track;
};

// An event file whose ticks are samples (division 8000 at 120 quarter notes a minute).
std::string Mmd(const std::vector<Note>& notes, int32_t division = 8000, int32_t tempo = 500000) {
  Bytes b;
  b.I32(0).I32(division).I32(tempo);
  for (const Note& n : notes)
    b.I32(n.type).I32(n.time).I32(n.note).I32(n.duration).I32(n.track).I32(0);  // 4 spare
  return b.data;
}

}  // namespace

class IntroTest : public SoundTest {
 protected:
  // Instruments of constant value: 256, 512 and 1024 mix to 160, 320 and 640 at volume 160.
  void WriteInstruments() {
    dir.Write("intro_p1.wav", WavBytes(Constant(20000, 256)));
    dir.Write("intro_p2.wav", WavBytes(Constant(20000, 512)));
    dir.Write("intro_p3.wav", WavBytes(Constant(20000, 1024)));
  }
  int PlayingChannels() const {
    int n = 0;
    for (const MixChannel& ch : ss->channels) n += ch.state == kChannelPlaying;
    return n;
  }
};

TEST_F(IntroTest, TicksBecomeSamples) {
  EXPECT_DOUBLE_EQ(IntroTickFactor(1000, 600000), 9.6);
  EXPECT_EQ(IntroTickFactor(0, 500000), 0.0);  // no finite factor: every time is 0
  EXPECT_EQ(IntroTickFactor(480, 0), 0.0);
  dir.Write("t.mmd", Mmd({{1, 480, 60, 241, 1}, {1, 7, 60, -3, 1}, {1, 2000000000, 0, 0, 0}}, 480));
  ASSERT_EQ(LoadIntroEvents(ss, "t.mmd"), 0);
  ASSERT_EQ(ss->intro.eventCount, 3);
  auto event = [this](int i) { return static_cast<IntroEvent*>(ss->intro.events.Get(i)); };
  // 241 x 16.67 truncated; a time beyond the range is held at its limit.
  EXPECT_EQ(std::make_pair(event(0)->time, event(0)->duration), std::make_pair(8000, 4016));
  EXPECT_EQ(std::make_pair(event(1)->time, event(1)->duration), std::make_pair(116, -50));
  EXPECT_EQ(event(2)->time, INT32_MAX);
  EXPECT_EQ(LoadIntroEvents(ss, "none.mmd"), -1);
  EXPECT_EQ(ss->intro.eventCount, 0);
  // A partial last record is kept, zero-filled past the bytes it got.
  std::string bytes = Mmd({{1, 10, 60, 0, 1}, {1, 20, 60, 0, 2}});
  dir.Write("p.mmd", bytes.substr(0, bytes.size() - 20));
  LoadIntroEvents(ss, "p.mmd");
  ASSERT_EQ(ss->intro.eventCount, 2);
  EXPECT_EQ(std::make_tuple(event(1)->type, event(1)->time, event(1)->track), std::make_tuple(1, 0, 0));
}

TEST_F(IntroTest, EverythingDueByTheStartClockStartsInTheFirstSample) {
  WriteInstruments();
  dir.Write("intro.mmd", Mmd({{1, 100, 60, 0, 1},
                              {1, 23000, 60, 0, 2},
                              {1, 23001, 60, 0, 3},
                              {1, 40000, 60, 0, 1},
                              {1, 50000, 60, 0, 0}}));
  StartIntroMusic(ss);
  EXPECT_EQ(ss->intro.playing, 1);
  EXPECT_EQ(ss->slots[ss->intro.instruments[1].slot].baseVolume, 160);
  // Two notes in the first sample, on two channels; the third one sample later.
  ExpectSamples(MixBlock(), {{0, 160 + 320}, {1, 160 + 320 + 640}});
  EXPECT_EQ(std::make_tuple(PlayingChannels(), ss->intro.currentIndex, ss->intro.clock),
            std::make_tuple(3, 3, 23000 + 2048));
  EXPECT_EQ(dir.Log(), "");
}

TEST_F(IntroTest, TheLastRecordOnlyRestartsTheSequence) {
  WriteInstruments();
  // Four records: 0 and 1 sound, 2 is started as the end is reached, 3 marks the end.
  dir.Write("intro.mmd", Mmd({{1, 23100, 60, 0, 1},
                              {1, 23200, 72, 0, 2},
                              {1, 23300, 84, 0, 3},
                              {1, 23400, 60, 0, 1}}));
  StartIntroMusic(ss);
  // At sample 300 record 2 starts and the end is reached: everything stops and reloads,
  // and the clock starts again at 23000.
  ExpectSamples(MixBlock(), {{99, 0}, {100, 160}, {200, 160 + 320}, {299, 160 + 320}, {300, 0},
                             {300 + 100, 0}, {300 + 101, 160}});
  EXPECT_EQ(ss->channels[2].rateCopy, 1024);  // record 2's note was started
  EXPECT_EQ(ss->intro.playing, 1);
  // Nothing of the restart needs a log line.
  EXPECT_EQ(dir.Log(), "");
}

TEST_F(IntroTest, TracksOutsideOneToFifteenAreSkippedWithoutAChannel) {
  WriteInstruments();
  dir.Write("intro.mmd", Mmd({{1, 10, 60, 0, 0},
                              {1, 20, 60, 0, 16},
                              {1, 30, 60, 0, -1},
                              {1, 40, 60, 0, 5},  // no instrument: takes a channel, plays none
                              {1, 90000, 60, 0, 1},
                              {1, 90001, 60, 0, 1}}));
  StartIntroMusic(ss);
  ASSERT_GE(LoadInstrument(ss, "intro_p1.wav", 16, 1, 0), 0);  // even with a sound on 16
  std::vector<int16_t> b = MixBlock();
  EXPECT_EQ(ss->intro.currentIndex, 4);
  EXPECT_EQ(PlayingChannels(), 0);
  for (const MixChannel& ch : ss->channels) EXPECT_EQ(ch.slot, nullptr);
  EXPECT_EQ(b[0], 0);
}

TEST_F(IntroTest, NotesTransposeByTheirRate) {
  dir.Write("intro_p1.wav", WavBytes(Ramp(20000)));
  dir.Write("intro.mmd", Mmd({{1, 0, 72, 0, 1},
                              {1, 0, 48, 0, 1},
                              {1, 0, 500, 0, 1},  // beyond the table: its last entry
                              {1, 90000, 60, 0, 1},
                              {1, 90001, 60, 0, 1}}));
  StartIntroMusic(ss);
  SetSampleVolume(ss, ss->intro.instruments[1].slot, 256);
  ss->channels[0].state = kChannelFree;
  std::vector<int16_t> b = MixBlock();
  EXPECT_EQ(std::make_tuple(ss->channels[0].position, ss->channels[1].position, ss->channels[2].rateCopy),
            std::make_tuple(2048u * 512, 2048u * 128, 1932));
  EXPECT_EQ(b[10], 20 + 5 + (10 * 1932 >> 8));
  // Pitch changes of the instrument still reach its notes.
  SetSamplePitch(ss, ss->intro.instruments[1].slot, 128);
  uint32_t before = ss->channels[0].position;
  MixBlock();
  EXPECT_EQ(ss->channels[0].position - before, 2048u * 256);
  const int32_t rates[][2] = {{60, 256},  {95, 1932}, {36, 128},  {47, 241},  {35, 128},
                              {61, 271},  {73, 542},  {84, 1024}, {-1000, 128}};
  for (const auto& r : rates) EXPECT_EQ(NoteRate(ss, r[0]), r[1]) << r[0];
}

TEST_F(IntroTest, DurationEndsTheNoteAndModeThreeLoops) {
  dir.Write("intro_p1.wav", WavBytes(Constant(20000, 256)));
  // A note lasts its duration in output samples, whatever its pitch.
  for (int32_t note : {48, 60, 72, 95}) {
    dir.Write("intro.mmd", Mmd({{1, 0, note, 50, 1}, {1, 90000, 60, 0, 1}, {1, 90001, 60, 0, 1}}));
    for (MixChannel& ch : ss->channels) ch.state = kChannelFree;
    StartIntroMusic(ss);
    SCOPED_TRACE(note);
    ExpectSamples(MixBlock(), {{49, 160}, {50, 0}});
  }
  StopIntroMusic(ss);
  // The events stay until the next start; the instruments go.
  EXPECT_EQ(std::make_tuple(ss->intro.eventCount, ss->intro.instruments[1].slot), std::make_tuple(3, -1));
  for (const SampleSlot& s : ss->slots) EXPECT_EQ(s.inUse, 0);
  ss->intro.currentIndex = 0;
  ss->intro.clock = 0;
  EXPECT_EQ(LoadInstrument(ss, "intro_p1.wav", 1, 3, 30), 0);
  EXPECT_EQ(std::make_tuple(ss->slots[0].baseVolume, ss->slots[0].loopStart), std::make_tuple(256, 30));
  ss->intro.playing = 1;
  MixBlock();
  EXPECT_EQ(std::make_tuple(ss->channels[0].loop, ss->channels[0].state),
            std::make_tuple(1, kChannelPlaying));
  EXPECT_EQ(LoadInstrument(ss, "none.wav", 2, 1, 0), -1);
  EXPECT_EQ(ss->intro.instruments[2].slot, -1);
}

TEST_F(IntroTest, MissingOrEmptyEventFileStopsTheSequence) {
  StartIntroMusic(ss);
  EXPECT_EQ(ss->intro.playing, 0);
  std::string log = dir.Log();
  EXPECT_EQ(log,
            "Error loading intro.mmd\n"
            "Error loading wave file intro_p1.wav\n"
            "Error loading wave file intro_p2.wav\n"
            "Error loading wave file intro_p3.wav\n");
  MixBlock();
  MixBlock();
  EXPECT_EQ(dir.Log(), log);  // nothing reloaded at every sample
  WriteInstruments();
  dir.Write("intro.mmd", Mmd({{1, 0, 60, 0, 1}}));  // a lone end record: nothing to play
  StartIntroMusic(ss);
  EXPECT_EQ(ss->intro.playing, 0);
  dir.Write("intro.mmd", Mmd({{2, 0, 60, 0, 1}, {1, 0, 60, 0, 1}, {1, 5, 60, 0, 1}}));
  StartIntroMusic(ss);
  EXPECT_EQ(ss->intro.playing, 1);
  MixBlock();
  EXPECT_EQ(ss->intro.currentIndex, 0);  // a record of another type holds the sequence
  EXPECT_EQ(PlayingChannels(), 0);
}
