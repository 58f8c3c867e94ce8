// Recording a session and playing it back: the replay reaches the same frames and writes the
// same files; a file that is not a recording is refused before the game starts.
#include <cstdio>
#include <cstring>

#include "game_run.h"

namespace {

// "game: recorded|replayed N frames, last frame XXXXXXXX" from a run's standard error.
std::string FrameReport(const GameRun& run, const char* verb) {
  const std::string out = run.dir.Read("stdout.txt");
  const size_t at = out.find(std::string("game: ") + verb + " ");
  if (at == std::string::npos) return "";
  const size_t from = out.find(' ', at + 7), end = out.find_first_of(",\n", from);
  return out.substr(from + 1, end - from - 1);
}

// A whole evening in short: a new campaign into the first map, some driving and shooting,
// "Go to menu?" answered Yes (the map's state is kept), Play to continue (the state and its
// backup are read again), more play, then the window is closed in the map.
void ScriptSession(GameRun* run) {
  run->Tap(10, at::kPlay);
  run->Tap(20, at::kNewGameOk);
  run->Tap(30, at::kNormal);
  run->Tap(70, at::kSkipIntro);
  run->Press(140, kVkE);
  run->Line("150 down " + std::to_string(kVkUp));
  run->Line("250 up " + std::to_string(kVkUp));
  run->Line("260 down " + std::to_string(kVkSpace));
  run->Line("300 up " + std::to_string(kVkSpace));
  run->Press(310, kVkW);
  run->Line("320 down " + std::to_string(kVkLeft));
  run->Line("350 up " + std::to_string(kVkLeft));
  run->Tap(400, at::kInGameMenu);
  run->Press(450, kVkEnter);
  run->Tap(760, at::kPlay);
  run->Line("860 down " + std::to_string(kVkRight));
  run->Line("880 up " + std::to_string(kVkRight));
  run->Press(890, kVkSpace);
  run->Close(960);
}

TEST(Replay, ASessionPlayedBackEndsOnTheSameFrameWithTheSameFiles) {
  GameRun recorded;
  ScriptSession(&recorded);
  const std::string tape = recorded.dir.File("session.tape");
  for (int tick : {100, 600, 950}) recorded.Shot(tick, "shot" + std::to_string(tick) + ".png");
  ASSERT_EQ(recorded.Run(1000, "--record " + tape), 0);
  ASSERT_TRUE(recorded.Has("map1_1.sav")) << "the session never left the map";

  GameRun replayed;  // no input of its own: everything comes from the tape
  for (int tick : {100, 600, 950}) replayed.Shot(tick, "shot" + std::to_string(tick) + ".png");
  ASSERT_EQ(replayed.Run(5000, "--replay " + tape), 0);

  const std::string frames = FrameReport(recorded, "recorded");
  ASSERT_NE(frames, "");
  EXPECT_EQ(FrameReport(replayed, "replayed"), frames);
  for (const char* shot : {"shot100.png", "shot600.png", "shot950.png"}) {
    SCOPED_TRACE(shot);
    const RgbImage a = recorded.Image(shot), b = replayed.Image(shot);
    ASSERT_EQ(a.width, 240);
    EXPECT_TRUE(a.SameArea(b, 0, 0, 240, 320));
  }
  // The two shots in play differ: the run did move.
  EXPECT_FALSE(recorded.Image("shot100.png").SameArea(recorded.Image("shot950.png"), 0, 0, 240, 320));
  for (const char* file : {"kvr.ini", "kvr_playerdata.dat", "map1_1.sav", "mapbkp.sav", "log.txt"}) {
    SCOPED_TRACE(file);
    ASSERT_EQ(recorded.Has(file), replayed.Has(file));
    if (recorded.Has(file)) {
      EXPECT_EQ(recorded.dir.Read(file), replayed.dir.Read(file));
    }
  }
}

TEST(Replay, WhatIsNotARecordingIsRefusedBeforeTheGameStarts) {
  std::string header("KVRTAPE1\x01\0\0\0", 12);
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"another file", "RIFF\x24\0\0\0WAVEfmt "},
      {"another version", std::string("KVRTAPE1\x02\0\0\0", 12) + "T"},
      {"unknown record", header + "TTZ"},
      {"clock reading cut short", header + "TC\x01\x02\x03"},
      {"stylus far outside any window", header + "D" + std::string("\0\0\0\x40\0\0\0\0", 8)},
      {"clock beyond what milliseconds can hold",
       header + "C" + std::string(7, '\0') + "\xff" + std::string("\xe8\x03\0\0\0\0\0\0", 8)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameRun run;
    run.dir.Write("bad.tape", c.bytes);
    EXPECT_EQ(run.Run(100, "--replay " + run.dir.File("bad.tape")), 2);
    EXPECT_NE(run.dir.Read("stdout.txt").find("cannot replay"), std::string::npos);
    EXPECT_FALSE(run.Has("kvr_playerdata.dat"));
  }
}

}  // namespace
