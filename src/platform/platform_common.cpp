// Pieces every backend shares: the command line, the current backend, the instance lock,
// the executable's directory and its installed layout.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace {

Platform* current = nullptr;
int lockFd = -1;

const char kHelp[] =
    "usage: game [options]\n"
    "  --help             show this text\n"
    "  --version          show the version\n"
    "  --scale N          window scale (whole number; default: the largest that fits)\n"
    "  --fullscreen       start in borderless fullscreen (Alt+Enter or F11 toggles)\n"
    "  --window           start in a window (the default)\n"
    "  --nosound          run silent\n"
    "  --data DIR         read data files from DIR and write settings and saves there\n"
    "  --record FILE      record the session's input to FILE\n"
    "  --replay FILE      play a recorded session back (headless or in the window)\n"
    "  --demo[=SKILL[,RUN]]  the autopilot plays a new game from the main menu until a key\n"
    "                     or a click (SKILL easy (default), normal or hard; RUN final\n"
    "                     (default) or ship); its saves go to a demo/ folder beside the\n"
    "                     player's; headless, the game closes when the run ends\n"
    "  --map NAME[@ENTRY] a new game on a map of your own (built by kvr-maps) or the game's,\n"
    "                     at its entry point (default: default); its saves go to a\n"
    "                     maps-play/ folder beside the player's\n"
    "  --skill SKILL      easy, normal (default) or hard, for --map\n"
    "headless runs (no window, no sound card, virtual 20 ms clock):\n"
    "  --headless         run without a window\n"
    "  --ticks N          close after N timer messages\n"
    "  --input FILE       input script: lines 'TICK down|up|press VK', 'TICK stylus-down X Y',\n"
    "                     'TICK stylus-up', 'TICK close'\n"
    "  --shot TICK:FILE   write the frame presented at timer message TICK as PNG, or as raw\n"
    "                     5-6-5 bytes when FILE ends in .raw (repeatable)\n"
    "  --wav FILE         write everything the null audio device played to a WAV file\n"
    "keys in the window: Alt+Enter/F11 fullscreen, F12 screenshot, Ctrl+A about, Ctrl+Q quit\n"
    "examples:\n"
    "  game --headless --ticks 500 --shot 499:shot.png\n"
    "  game --headless --demo=normal --ticks 1500 --shot 1499:demo.png\n";

bool ParseInt(const char* text, int* out) {
  char* end = nullptr;
  long v = strtol(text, &end, 10);
  if (!*text || *end || v < -1000000000L || v > 1000000000L) return false;
  *out = int(v);
  return true;
}

}  // namespace

int ParsePlatformOptions(int argc, char** argv, PlatformOptions* o, std::string* out,
                         std::string* err) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](const char** v) {
      if (i + 1 >= argc) {
        *err = "game: " + a + " needs a value";
        return false;
      }
      *v = argv[++i];
      return true;
    };
    const char* v = nullptr;
    if (a == "--help" || a == "-h") {
      *out = kHelp;
      return 2;
    } else if (a == "--version") {
      *out = "3d Morvek 1.0\n";
      return 2;
    } else if (a == "--scale") {
      if (!value(&v)) return 1;
      if (!ParseInt(v, &o->scale) || o->scale < 1 || o->scale > 16) {
        *err = "game: --scale takes a whole number from 1 to 16";
        return 1;
      }
    } else if (a == "--fullscreen") {
      o->fullscreen = true;
    } else if (a == "--window") {
      o->fullscreen = false;
    } else if (a == "--nosound") {
      o->nosound = true;
    } else if (a == "--data") {
      if (!value(&v)) return 1;
      o->dataDir = v;
    } else if (a == "--record") {
      if (!value(&v)) return 1;
      o->recordFile = v;
    } else if (a == "--replay") {
      if (!value(&v)) return 1;
      o->replayFile = v;
    } else if (a == "--demo" || a.rfind("--demo=", 0) == 0) {
      o->demo = true;
      o->demoValue = a.size() > 6 ? a.substr(7) : "";
    } else if (a == "--map") {
      if (!value(&v)) return 1;
      o->map = v;
    } else if (a == "--skill") {
      if (!value(&v)) return 1;
      o->skill = v;
    } else if (a == "--headless") {
      o->headless = true;
    } else if (a == "--ticks") {
      if (!value(&v)) return 1;
      if (!ParseInt(v, &o->ticks) || o->ticks < 0) {
        *err = "game: --ticks takes a whole number";
        return 1;
      }
      o->headless = true;
    } else if (a == "--input") {
      if (!value(&v)) return 1;
      o->inputScript = v;
      o->headless = true;
    } else if (a == "--shot") {
      if (!value(&v)) return 1;
      const char* colon = strchr(v, ':');
      int tick = 0;
      if (!colon || !ParseInt(std::string(v, colon).c_str(), &tick) || tick < 0 || !colon[1]) {
        *err = "game: --shot takes TICK:FILE.png";
        return 1;
      }
      o->shots.emplace_back(tick, std::string(colon + 1));
      o->headless = true;
    } else if (a == "--wav") {
      if (!value(&v)) return 1;
      o->wavFile = v;
      o->headless = true;
    } else {
      *err = "game: unknown option '" + a + "' (see --help)";
      return 1;
    }
  }
  return 0;
}

Platform* CurrentPlatform() { return current; }
void SetCurrentPlatform(Platform* platform) { current = platform; }

bool TakeInstanceLock(const std::string& dir) {
  std::string path = dir;
  if (!path.empty() && path.back() != '/') path += '/';
  path += "game.lock";
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return true;  // a read-only directory must not stop the game
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  lockFd = fd;
  return true;
}

void ReleaseInstanceLock() {
  if (lockFd >= 0) close(lockFd);
  lockFd = -1;
}

std::string ExecutableDirectory() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "./";
  buf[n] = 0;
  std::string path(buf);
  size_t cut = path.find_last_of('/');
  return cut == std::string::npos ? std::string("./") : path.substr(0, cut + 1);
}

std::string InstallTreeDataDirectory(const std::string& exeDir) {
  const std::string games = "/" KVR_GAMES_FOLDER "/";
  if (exeDir.size() < games.size() ||
      exeDir.compare(exeDir.size() - games.size(), games.size(), games))
    return "";
  return exeDir + KVR_DATA_FROM_GAMES "/";
}

std::string InstalledDataDirectory(const std::string& exeDir) {
  const std::string data = InstallTreeDataDirectory(exeDir);
  if (data.empty()) return "";
  struct stat st;
  // The default settings are part of every install: a share folder without them is not ours.
  if (stat((data + "kvr.ini").c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return "";
  return data;
}

static bool MakeDirectories(const std::string& path) {
  for (size_t at = 1; at <= path.size(); ++at) {
    if (at < path.size() && path[at] != '/') continue;
    std::string part = path.substr(0, at);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string UserDataDirectory() {
  std::string base;
  const char* xdg = getenv("XDG_DATA_HOME");
  const char* home = getenv("HOME");
  // A relative XDG_DATA_HOME is invalid and is ignored, as the base directory rules say.
  if (xdg && xdg[0] == '/')
    base = xdg;
  else if (home && home[0] == '/')
    base = std::string(home) + "/.local/share";
  else {
    fprintf(stderr, "game: neither XDG_DATA_HOME nor HOME names a folder for the saves\n");
    return "";
  }
  std::string dir = base + "/kvr";
  if (!MakeDirectories(dir)) {
    fprintf(stderr, "game: cannot create %s: %s\n", dir.c_str(), strerror(errno));
    return "";
  }
  return dir + "/";
}

bool WriteRawFrame(const std::string& path, const uint16_t* frame) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = true;
  for (int i = 0; i < kScreenWidth * kScreenHeight && ok; ++i)
    ok = fputc(frame[i] & 0xFF, f) != EOF && fputc(frame[i] >> 8, f) != EOF;
  return fclose(f) == 0 && ok;
}
