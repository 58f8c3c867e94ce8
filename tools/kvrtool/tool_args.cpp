// The helpers every kvrtool command shares: options, PNG output and the game's log. They
// live beside the commands so that other programs running a command (kvr-maps) have them too.
#include <cstdio>
#include <string>

#include "core/core.h"
#include "kvrtool.h"
#include "platform/platform.h"

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
