// The shell end to end: headless runs, shots, input scripts, shutdown and the instance lock.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "driver_fixture.h"
#include "platform/replay/replay.h"

namespace {

class CountingGame : public GameHooks {
 public:
  void Initialise(uint32_t handle, uint16_t*) override { this->handle = handle; }
  bool Update(uint16_t*, int32_t) override { return ++updates != failAt; }
  void Render(uint16_t*) override { ++renders; }
  void Shutdown() override { ++shutdowns; }
  uint32_t handle = 0;
  int updates = 0, renders = 0, shutdowns = 0, failAt = -1;
};

// The exit status of the game run with `args`; what it printed goes to `out`.
int RunGameBinary(const std::string& args, const std::string& out = "/dev/null") {
  std::string cmd = GameDataDir() + "/game " + args + " >" + out + " 2>&1";
  int status = system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The shell over the headless machine, in a scratch directory.
class ShellTest : public HeadlessTest {
 protected:
  ScratchDir dir;
  CountingGame game;
};

}  // namespace

TEST(Shell, TheLoopEndsAfterNTicksOrAtTheMessageAfterAFalseUpdate) {
  ScratchDir dir;
  for (int failAt : {-1, 2}) {
    ClearFrameClock();
    PlatformOptions o;
    o.ticks = failAt < 0 ? 10 : 1000;
    HeadlessPlatform platform(o);
    CountingGame game;
    game.failAt = failAt;
    EXPECT_EQ(RunShell(&platform, &game), 0);
    EXPECT_EQ(game.handle, kAppContext);
    EXPECT_EQ(game.shutdowns, 1);
    if (failAt < 0) {
      EXPECT_EQ(platform.TimerCount(), 10);
      EXPECT_EQ(game.renders, 10);
      EXPECT_EQ(game.updates, 5);  // 200 ms of virtual time: one step per 40 ms
    } else {
      EXPECT_EQ(game.updates, 2);
      EXPECT_LT(platform.TimerCount(), 10);
    }
    SetCurrentPlatform(nullptr);
  }
}

namespace {

// Away from the front (focus lost or minimised) from timer message `leaveAt` on, back in front
// after message `backAt` (never when negative). A key is held from message 40 and let go at 100.
class AwayPlatform final : public WrappingPlatform {
 public:
  AwayPlatform(HeadlessPlatform* inner, int leaveAt, int backAt)
      : WrappingPlatform(inner), headless(inner), leaveAt_(leaveAt), backAt_(backAt) {}
  PlatformMessage NextMessage() override {
    if (pending_) {
      const PlatformMessage m = {*pending_};
      pending_.reset();
      return m;
    }
    const PlatformMessage m = inner_->NextMessage();
    if (m.kind != PlatformMessageKind::Timer) return m;
    const int timer = headless->TimerCount();
    if (timer == 40 || timer == 100) headless->SetKey(kKey, timer == 40);
    if (timer == leaveAt_) pending_ = PlatformMessageKind::Deactivated;
    if (timer == backAt_) pending_ = PlatformMessageKind::Activated;
    if (headless->ShownPaused()) ++pausedTimers;
    return m;
  }
  static constexpr int kKey = 0x41;
  HeadlessPlatform* headless;
  int pausedTimers = 0;

 private:
  int leaveAt_, backAt_;
  std::optional<PlatformMessageKind> pending_;
};

// A game that plays a sound and notes each step: the timer message it ran at, its delta, the
// key's reading and the audio blocks taken so far.
class StepLog : public CountingGame {
 public:
  struct Step {
    int timer;
    int32_t delta;
    int key;
    long blocks;
    bool operator==(const Step&) const = default;
  };
  void Initialise(uint32_t handle, uint16_t* frame) override {
    CountingGame::Initialise(handle, frame);
    AudioSpec format;
    if (CurrentPlatform()->OpenAudio(format, [](void*, uint8_t*, int) {}, nullptr))
      CurrentPlatform()->PauseAudio(false);
  }
  bool Update(uint16_t* frame, int32_t delta) override {
    steps.push_back({machine->TimerCount(), delta, KeyTable[AwayPlatform::kKey],
                     machine->AudioBlocksTaken()});
    return CountingGame::Update(frame, delta);
  }
  HeadlessPlatform* machine = nullptr;
  std::vector<Step> steps;
};

}  // namespace

TEST(Shell, AwayFromTheFrontNoStepRunsAndNoSoundPlaysAndTheReturnRunsNoBurst) {
  ScratchDir dir;
  struct Case {
    const char* name;
    int backAt;
  };
  for (const Case c : {Case{"back after 2 s", 150}, Case{"closed while away", -1}}) {
    SCOPED_TRACE(c.name);
    ClearFrameClock();
    PlatformOptions o;
    o.ticks = 200;
    auto* headless = new HeadlessPlatform(o);
    auto* away = new AwayPlatform(headless, 50, c.backAt);
    const std::string tape = dir.File("away.tape");
    std::unique_ptr<Platform> recorder(CreateRecordingPlatform(away, tape));
    StepLog game;
    game.machine = headless;
    EXPECT_EQ(RunShell(recorder.get(), &game), 0);
    SetCurrentPlatform(nullptr);
    EXPECT_EQ(game.shutdowns, 1);  // the close while away still takes the one shutdown
    EXPECT_EQ(away->pausedTimers, c.backAt < 0 ? 150 : 100);
    EXPECT_EQ(headless->ShownPaused(), c.backAt < 0);
    // 1 s before leaving and 1 s after coming back: a step per 40 ms, none in between.
    ASSERT_EQ(game.steps.size(), c.backAt < 0 ? 25u : 50u);
    long blocksWhenLeft = 0;
    for (const StepLog::Step& s : game.steps) {
      EXPECT_TRUE(s.timer <= 50 || s.timer > c.backAt) << s.timer;
      EXPECT_LE(s.delta, 40) << s.timer;  // the time away is no long step either
      if (s.timer <= 50) blocksWhenLeft = s.blocks;
      if (s.timer > 100) {
        EXPECT_EQ(s.key, 0) << "let go while away";
      }
    }
    EXPECT_EQ(game.steps[20].key, 1);  // held at timer message 42
    if (c.backAt > 0) {
      // Two messages after the return the first step runs, then one per two messages.
      EXPECT_EQ(game.steps[25].timer, c.backAt + 2);
      // The 2 s away took no audio block: the blocks after the return are those of 1 s
      // (one 128 ms block per boundary passed), not the 23 of 3 s.
      EXPECT_EQ(game.steps.back().blocks - blocksWhenLeft, 8);
    }

    // The tape keeps the leaving and the return: played back, the run pauses as it did.
    recorder.reset();
    ClearFrameClock();
    auto* again = new HeadlessPlatform(PlatformOptions{});
    std::unique_ptr<Platform> replay(CreateReplayPlatform(again, tape));
    ASSERT_TRUE(replay);
    StepLog replayed;
    replayed.machine = again;
    EXPECT_EQ(RunShell(replay.get(), &replayed), 0);
    SetCurrentPlatform(nullptr);
    EXPECT_TRUE(replayed.steps == game.steps);
  }
}

TEST_F(ShellTest, AboutShowsItsBoxAndTheCloseCommandEndsTheGame) {
  platform.QueueMessage({PlatformMessageKind::About});
  platform.QueueMessage({PlatformMessageKind::CloseCommand});
  EXPECT_EQ(RunShell(&platform, &game), 0);
  EXPECT_EQ(game.shutdowns, 1);
  EXPECT_EQ(platform.MessageBoxes(), std::vector<std::string>{"About 3d Morvek: Version 1.0"});
}

TEST_F(ShellTest, ADisplayThatWillNotOpenIsLoggedAndFails) {
  platform.SetDisplayOk(false);
  EXPECT_EQ(RunShell(&platform, &game), 1);
  EXPECT_EQ(game.shutdowns, 0);
  EXPECT_EQ(dir.Log(), "Unable to open the display or the keys.\n");
}

TEST_F(ShellTest, AScriptedEventComesJustBeforeItsTimerMessage) {
  std::vector<ScriptedInput> script;
  std::string err;
  ASSERT_TRUE(ParseInputScript("5 up 65\n3 down 65\n", &script, &err));
  platform.SetScript(script);
  std::vector<int> down;
  for (int i = 0; i < 7; ++i) {
    ASSERT_EQ(platform.NextMessage().kind, PlatformMessageKind::Timer);
    down.push_back(platform.KeyState(65) >> 15);
  }
  EXPECT_EQ(down, (std::vector<int>{0, 0, 0, 1, 1, 0, 0}));  // timer messages 3 and 4
}

TEST(GameProgram, ASecondInstanceExitsWhileTheFirstHoldsTheLock) {
  ScratchDir dir;
  dir.LinkGameData();
  dir.Write("log.txt", "first instance's log\n");
  ASSERT_TRUE(TakeInstanceLock(dir.path()));
  EXPECT_EQ(RunGameBinary("--headless --data " + dir.path() + " --ticks 5"), 0);
  EXPECT_EQ(dir.Log(), "first instance's log\n");  // untouched by the second start
  ReleaseInstanceLock();
  EXPECT_EQ(RunGameBinary("--headless --data " + dir.path() + " --ticks 5"), 0);
  EXPECT_FALSE(dir.Exists("log.txt"));
}

// Every bad value is refused before a window opens, with one line saying what is wrong: the
// data folder too, when it is missing or lacks a file the game cannot start without (and
// nothing is written into it).
TEST(GameProgram, OptionsAndBadInput) {
  ScratchDir dir, empty, noFont;
  dir.LinkGameData();
  dir.Write("bad.txt", "5 jump 3\n");
  noFont.LinkGameData();
  std::filesystem::remove(noFont.File("font2.fnt"));
  const std::string data = " --data " + dir.path();
  const struct {
    std::string args;
    int status;
    std::string says;  // the start of the one line on stderr, or of stdout's first line
  } cases[] = {
      {"--version", 0, "3d Morvek 1.0"},
      {"--help", 0, "usage: game"},
      {"--bogus", 2, "game: unknown option '--bogus'"},
      {"--scale 0", 2, "game: --scale takes a whole number"},
      {"--ticks abc", 2, "game: --ticks takes a whole number"},
      {"--headless" + data + " --input " + dir.File("bad.txt"), 1, "game: input script line 1"},
      {"--headless" + data + " --input " + dir.File("none.txt"), 1, "game: cannot read input script"},
      {"--headless --ticks 1 --data /no/such/folder", 1, "game: there is no folder /no/such/folder"},
      {"--data /no/such/folder", 1, "game: there is no folder /no/such/folder"},  // no window
      {"--headless --ticks 1 --data " + dir.File("bad.txt"), 1,
       "game: " + dir.File("bad.txt") + " is not a folder"},
      {"--headless --ticks 1 --data " + empty.path(), 1,
       "game: the data folder " + empty.path() +
           " lacks the game's data (155, 148, asintable.dat, kvr.rsx, font1.fnt, font2.fnt, font3.fnt)"},
      {"--headless --ticks 1 --data " + noFont.path(), 1,
       "game: the data folder " + noFont.path() + " lacks the game's data (font2.fnt)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    EXPECT_EQ(RunGameBinary(c.args, dir.File("out.txt")), c.status);
    const std::string out = dir.Read("out.txt");
    EXPECT_EQ(out.rfind(c.says, 0), 0u) << out;
    if (c.status != 0) {
      EXPECT_EQ(out.find('\n'), out.size() - 1) << out;  // one line
    }
  }
  EXPECT_TRUE(std::filesystem::is_empty(empty.path()));
  EXPECT_FALSE(noFont.Exists("log.txt"));
  // A data directory too long to keep whole is refused at start, not cut.
  for (size_t length : {262, 263}) {
    std::string longDir = dir.path() + "/" + std::string(length - 1 - dir.path().size(), 'x');
    std::filesystem::create_directory(longDir);
    for (const auto& entry : std::filesystem::directory_iterator(noFont.path()))
      std::filesystem::copy_symlink(entry.path(), longDir + "/" + entry.path().filename().string());
    std::filesystem::copy_symlink(dir.File("font2.fnt"), longDir + "/font2.fnt");
    EXPECT_EQ(RunGameBinary("--headless --ticks 1 --data " + longDir), length == 262 ? 0 : 1);
  }
}
