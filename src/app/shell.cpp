// The shell: program directory, fresh log, single instance, the message loop, shutdown.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/app.h"
#include "core/core.h"
#include "autopilot/autopilot.h"
#include "platform/replay/replay.h"

namespace {

// Both roads out of the loop (a false update, or the window closing) meet here once.
void Shutdown(Platform* platform, GameHooks* game) {
  platform->CloseDisplay();
  game->Shutdown();
}

// The attract mode and a game on one map (--map) start new games, and a new game deletes the
// player data and every map state: each keeps its files in a folder of its own inside the
// player's ("demo", "maps-play"), so a campaign under way is never touched. It takes the
// player's settings along (the keys it presses are the player's bindings). False, with the
// reason on stderr, when the folder cannot be made.
bool UseOwnFolder(const char* name) {
  namespace fs = std::filesystem;
  const fs::path player = PlayerFilesDir();
  const fs::path demo = player / name;
  std::error_code error;
  fs::create_directory(demo, error);
  if (error) {
    fprintf(stderr, "game: the folder %s cannot be made: %s\n", demo.c_str(),
            error.message().c_str());
    return false;
  }
  const fs::path settings = player / kSettingsFile;
  if (fs::exists(settings, error))
    fs::copy_file(settings, demo / kSettingsFile, fs::copy_options::overwrite_existing, error);
  else
    fs::remove(demo / kSettingsFile, error);  // the shipped defaults, as for the player
  if (!SetUserDir(demo.c_str())) {
    fprintf(stderr, "game: the folder is too long (at most %d characters): %s\n",
            kMaxPath - 2, demo.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool StartInstance() {
  // The lock comes before the log is deleted, so a second start does not wipe the log of
  // the game that is running.
  if (!TakeInstanceLock(PlayerFilesDir())) {
    fprintf(stderr, "game: another instance is already running from %s\n", PlayerFilesDir());
    return false;
  }
  DeleteLog();
  return true;
}

int RunShell(Platform* platform, GameHooks* game) {
  SetCurrentPlatform(platform);
  if (!platform->OpenDisplay()) {
    LogMessage("Unable to open the display or the keys.");
    fprintf(stderr, "game: unable to open the display or the keys\n");
    return 1;
  }
  SetDisplayLayout();
  FrameClock.accumulator = 0;
  FrameClock.quitFlag = 0;
  game->Initialise(kAppContext, FrameBuffer);
  Input.stylusDown = Input.stylusPrevDown = Input.stylusUp = Input.stylusPrevUp = 0;
  ClearStylusQueue();

  // Not in front (focus lost or minimised), the game waits: no step runs, so nothing can
  // happen to the player while away, and the window shows the last frame marked as paused.
  bool paused = false;
  for (;;) {
    PlatformMessage m = platform->NextMessage();
    if (m.kind == PlatformMessageKind::Quit) break;
    if (FrameClock.quitFlag) break;
    switch (m.kind) {
      case PlatformMessageKind::Timer:
        if (!paused) FrameTick(game);
        break;
      case PlatformMessageKind::StylusDown:
      case PlatformMessageKind::StylusUp:
        TakeStylusMessage(m);
        break;
      case PlatformMessageKind::Deactivated:
        if (!paused) platform->ShowPaused(true);
        paused = true;
        break;
      case PlatformMessageKind::Activated:
        if (!paused) break;
        paused = false;
        platform->ShowPaused(false);
        // The time away is not made up by a burst of steps, nor seen by the world as one
        // long step.
        ResetFrameClock();
        FrameClock.stepEnd = FrameClock.lastTick;
        break;
      case PlatformMessageKind::CloseCommand:
        // The window is destroyed and the loop ends at the next message.
        platform->PostQuit();
        break;
      case PlatformMessageKind::About:
        platform->MessageBox("About 3d Morvek", "Version 1.0");
        break;
      case PlatformMessageKind::Quit:
        break;
    }
  }
  Shutdown(platform, game);
  return 0;
}

int RunGame(int argc, char** argv) {
  PlatformOptions options;
  std::string out, err;
  int parsed = ParsePlatformOptions(argc, argv, &options, &out, &err);
  if (parsed == 2) {
    fputs(out.c_str(), stdout);
    return 0;
  }
  if (parsed == 1) {
    fprintf(stderr, "%s\n", err.c_str());
    return 2;
  }
  if (!options.recordFile.empty() && !options.replayFile.empty()) {
    fprintf(stderr, "game: --record and --replay do not go together\n");
    return 2;
  }
  if (options.demo) {
    AutopilotOptions demo;
    if (!ParseDemoOption(options.demoValue, &demo)) {
      fprintf(stderr, "game: --demo takes easy, normal or hard, then optionally ,RUN\n");
      return 2;
    }
    if (!options.replayFile.empty()) {
      fprintf(stderr, "game: --demo and --replay do not go together\n");
      return 2;
    }
  }
  // The data directory stands for the program's own directory. Run from the build folder the
  // game reads and writes beside itself; installed, it reads the shared data folder and keeps
  // the player's files in the user's own data folder.
  const std::string exeDir = ExecutableDirectory();
  const std::string installed = options.dataDir.empty() ? InstalledDataDirectory(exeDir) : "";
  std::string dir = !options.dataDir.empty() ? options.dataDir : !installed.empty() ? installed : exeDir;
  // A folder the game cannot run from is refused before a window opens, rather than showing
  // a black window. An installed game whose data went missing (started from the desktop's
  // menu, with no terminal to read) says so in a message box as well.
  std::string problem = DataFolderProblem(dir);
  if (!problem.empty()) {
    const std::string share = options.dataDir.empty() ? InstallTreeDataDirectory(exeDir) : "";
    if (!share.empty()) problem = DataFolderProblem(share);
    fprintf(stderr, "game: %s\n", problem.c_str());
    if (!share.empty() && !options.headless)
      ShowDesktopMessage("3d Morvek", "The game cannot start:\n" + problem +
                                          ".\n\nInstalling the game again brings its data back.");
    return 1;
  }
  if (!SetExeDir(dir.c_str())) {
    fprintf(stderr, "game: the data directory is too long (at most %d characters): %s\n",
            kMaxPath - 2, dir.c_str());
    return 1;
  }
  if (!installed.empty()) {
    const std::string user = UserDataDirectory();
    if (user.empty()) return 1;
    if (!SetUserDir(user.c_str())) {
      fprintf(stderr, "game: the user data folder is too long (at most %d characters): %s\n",
              kMaxPath - 2, user.c_str());
      return 1;
    }
  }
  MapStart start;
  if (const int misused = ReadMapStart(options, &start)) return misused;
  if (options.demo && !UseOwnFolder("demo")) return 1;
  if (start.map[0] && (!UseOwnFolder("maps-play") || !MapStartFound(start))) return 1;
  options.userDir = PlayerFilesDir();
  if (!StartInstance()) return 0;
  Platform* platform =
      options.headless ? CreateHeadlessPlatform(options) : CreateWindowPlatform(options);
  if (!platform) {
    LogMessage("Unable to open the display or the keys.");
    ReleaseInstanceLock();
    return 1;
  }
  // A tape that cannot be read or written is the command line's fault (reason on stderr).
  if (!options.replayFile.empty())
    platform = CreateReplayPlatform(platform, options.replayFile);
  else if (!options.recordFile.empty())
    platform = CreateRecordingPlatform(platform, options.recordFile);
  if (!platform) {
    ReleaseInstanceLock();
    return 2;
  }
  platform = WithDemo(platform, options);
  GameDriver* driver = new GameDriver();
  driver->mapStart = start;
  GameHooks* game = driver;
  int status = RunShell(platform, game);
  delete game;
  SetCurrentPlatform(nullptr);
  delete platform;
  ReleaseInstanceLock();
  return status;
}
