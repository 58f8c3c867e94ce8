// kvrtool: shows the game's data files as pictures and sounds, and checks them.
#include <cstdio>
#include <cstring>
#include <string>

#include "core/core.h"
#include "kvrtool.h"
#include "platform/platform.h"

namespace {

const ToolCommand kCommands[] = {
    {"info", nullptr, "info FILE", InfoFile},
    {"show", "sprite", "show sprite FILE OUT.png [--mode N] [--key C]", ShowSprite},
    {"show", "text", "show text FONT TEXT OUT.png [--fg C] [--bg C] [--opaque 1]", ShowText},
    {"show", "sky", "show sky FILE HEADING PITCH OUT.png [--area X,Y,W,H]", ShowSky},
    {"show", "model", "show model FILE.tdo PACK.tex OUT.png [--yaw A] [--pitch P] [--dist D]",
     ShowModel},
    {"show", "frames", "show frames BASE.tdo [PACK.tex] FRAME.tdo... OUT.png [--yaw A]",
     ShowFrames},
    {"show", "map", "show map NAME.map OUT.png [--from ENTRY|X,Z,DEG] [--visibility V] [--behind D]",
     ShowMap},
    {"show", "campaign", "show campaign OUT.png", ShowCampaign},
    {"show", "scroll", "show scroll FILE.txt OUT.png [--font N] [--speed S] [--steps N] [--size WxH]",
     ShowScroll},
    {"show", "form",
     "show form SCRIPT FORM OUT.png [--sky F] [--model F --pack P] [--only A,B] [--hide A,B] "
     "[--show A,B] [--focus NAME] [--set NAME=VALUE] [--scroll IMG=FILE:FONT:SPEED:STEPS]",
     ShowForm},
    {"check", nullptr, "check", CheckData},
    {"keys", nullptr, "keys [--scale N] [--headless --ticks N --input FILE --shot T:F.png]",
     ShowKeys},
    {"music", nullptr, "music OUT.wav [--seconds N]", MusicToWav},
    {"play", nullptr, "play FILE.wav OUT.wav [--seconds N] [--loop 1] [--pitch R] [--volume V]",
     PlayToWav},
};

void Usage() {
  fprintf(stderr, "usage: kvrtool [--data DIR] COMMAND ...\n");
  for (const ToolCommand& c : kCommands) fprintf(stderr, "  kvrtool %s\n", c.usage);
  fprintf(stderr,
          "a FILE given by its bare name is read from the data directory (--data DIR, else the\n"
          "current folder); a path is used as given; OUT files are written where named\n"
          "examples (from the top of the source tree, after a build):\n"
          "  kvrtool --data build/game info 155\n"
          "  kvrtool info build/game/map1_1.ent\n"
          "  kvrtool --data build/game show map map1_1.map top.png --from canyon\n"
          "  kvrtool --data build/game show sprite vomtal.spr splash.png\n"
          "  kvrtool --data build/game check\n");
}

}  // namespace

bool SaveFramePng(const std::string& path) {
  if (!WritePng565(path, FrameBuffer, 240, 320)) {
    fprintf(stderr, "kvrtool: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

std::string OptionValue(const Args& args, const std::string& name, const std::string& fallback) {
  for (size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == name) return args[i + 1];
  return fallback;
}

std::string InputPath(const std::string& arg) {
  return arg.find('/') == std::string::npos ? ExeDir + arg : arg;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// kvrtool has no log of its own worth keeping: what the game logged goes to stderr.
void ReportLog() {
  FILE* f = OpenDataFile("log.txt", "rb");
  if (!f) return;
  char line[512];
  while (fgets(line, sizeof line, f)) fprintf(stderr, "log: %s", line);
  fclose(f);
}

Args Positional(const Args& args) {
  Args out;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i].rfind("--", 0) == 0 && args[i].size() > 2) {
      ++i;
      continue;
    }
    out.push_back(args[i]);
  }
  return out;
}

int main(int argc, char** argv) {
  Args args(argv + 1, argv + argc);
  // Like the game, data files are read by name from one directory.
  std::string dataDir = ".";
  if (args.size() >= 2 && args[0] == "--data") {
    dataDir = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (!SetExeDir((dataDir + "/").c_str())) {
    fprintf(stderr, "kvrtool: the data directory is too long: %s\n", dataDir.c_str());
    return 2;
  }
  if (args.empty() || args[0] == "--help") {
    Usage();
    return args.empty() ? 2 : 0;
  }
  Platform* headless = CreateHeadlessPlatform(PlatformOptions{});
  SetCurrentPlatform(headless);
  for (const ToolCommand& c : kCommands) {
    if (args[0] != c.verb) continue;
    size_t skip = 1;
    if (c.object) {
      if (args.size() < 2 || args[1] != c.object) continue;
      skip = 2;
    }
    return c.run(Args(args.begin() + long(skip), args.end()));
  }
  fprintf(stderr, "kvrtool: unknown command '%s'\n", args[0].c_str());
  Usage();
  return 2;
}
