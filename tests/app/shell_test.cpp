// The shell end to end: headless runs, shots, input scripts, shutdown and the instance lock.
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "driver_fixture.h"

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

int RunGameBinary(const std::string& args) {
  std::string cmd = GameDataDir() + "/game " + args + " >/dev/null 2>&1";
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

TEST_F(ShellTest, DeactivationClosesTheGame) {
  platform.QueueMessage({PlatformMessageKind::About});
  platform.QueueMessage({PlatformMessageKind::Deactivated});
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

TEST(GameProgram, OptionsAndBadInput) {
  const std::pair<const char*, int> options[] = {
      {"--version", 0}, {"--help", 0}, {"--bogus", 2}, {"--scale 0", 2}};
  for (const auto& [option, status] : options) EXPECT_EQ(RunGameBinary(option), status) << option;
  ScratchDir dir;
  // A data directory too long to keep whole is refused at start, not cut.
  for (size_t length : {262, 263}) {
    std::string longDir = dir.path() + "/" + std::string(length - 1 - dir.path().size(), 'x');
    EXPECT_EQ(RunGameBinary("--headless --ticks 1 --data " + longDir), length == 262 ? 0 : 1);
  }
  dir.Write("bad.txt", "5 jump 3\n");
  EXPECT_EQ(RunGameBinary("--headless --data " + dir.path() + " --input " + dir.File("bad.txt")), 1);
}
