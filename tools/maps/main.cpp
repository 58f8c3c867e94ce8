// kvr-maps: a player's own maps, written as text, built with the game's map builder into the
// player's maps folder, drawn and listed.
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/core.h"
#include "maps_tool.h"
#include "platform/platform.h"

namespace {

struct Command {
  const char* name;
  const char* usage;
  int (*run)(const MapsFolders&, const Words&);
};

const Command kCommands[] = {
    {"new", "new NAME                 write NAME.txt, a commented starter map, here", CommandNew},
    {"build", "build FILE.txt [--out DIR]  check the map and build it into your maps folder",
     CommandBuild},
    {"show", "show FILE.txt OUT.png [--from ENTRY]  draw the map from above, or from an entry point",
     CommandShow},
    {"list", "list                     the maps in your maps folder", CommandList},
};

void Help(const MapsFolders& folders) {
  printf("usage: kvr-maps [--data DIR] COMMAND ...\n");
  for (const Command& c : kCommands) printf("  kvr-maps %s\n", c.usage);
  printf("Your maps folder: %s\n", folders.maps.c_str());
  printf("  (--data DIR uses DIR's game data and DIR/maps/, as the game's --data DIR does)\n");
  printf("Play a built map: %s --map NAME[@ENTRY] [--skill easy|normal|hard]\n", folders.game.c_str());
  printf("The modder's guide (commands, props, textures, entities, limits): %s\n", folders.guide.c_str());
  printf("examples:\n"
         "  kvr-maps new valley\n"
         "  kvr-maps show valley.txt top.png\n"
         "  kvr-maps build valley.txt\n"
         "  kvr-maps list\n");
}

// The folders as the game picks them: --data DIR for both; an installed game's shared data
// and the player's own data folder; else the build folder the program lies in.
bool FindFolders(const std::string& dataOption, MapsFolders* f) {
  const std::string exeDir = ExecutableDirectory();
  if (!dataOption.empty()) {
    f->data = dataOption.back() == '/' ? dataOption : dataOption + "/";
    f->maps = f->data + "maps/";
  } else if (const std::string installed = InstalledDataDirectory(exeDir); !installed.empty()) {
    const std::string user = UserDataDirectory();
    if (user.empty()) return false;
    f->data = installed;
    f->maps = user + "maps/";
    f->guide = std::filesystem::path(installed + "maps-guide.md").lexically_normal().string();
    f->game = "kvr-game";
  } else {
    f->data = exeDir;
    f->maps = exeDir + "maps/";
  }
  if (f->guide.empty()) {
    // From a build tree the guide is read where it is written.
    const std::string source = KVR_MAPS_GUIDE_SOURCE;
    std::error_code ec;
    f->guide = std::filesystem::exists(source, ec) ? source : f->data + "maps-guide.md";
  }
  if (f->game.empty()) f->game = exeDir + "game";
  if (!dataOption.empty()) f->game += " --data " + dataOption;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Words args(argv + 1, argv + argc);
  std::string data;
  bool help = false;
  for (size_t i = 0; i < args.size();) {
    if (args[i] == "--data" && i + 1 < args.size()) {
      data = args[i + 1];
      args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
    } else if (args[i] == "--help" || args[i] == "-h") {
      help = true;
      args.erase(args.begin() + long(i));
    } else {
      ++i;
    }
  }
  MapsFolders folders;
  if (!FindFolders(data, &folders)) return 1;
  if (help || args.empty()) {
    Help(folders);
    return help ? 0 : 2;
  }
  if (!SetExeDir(folders.data.c_str())) {
    fprintf(stderr, "kvr-maps: the data folder is too long: %s\n", folders.data.c_str());
    return 2;
  }
  // Drawing runs the game's own renderer, which reads the clock through a backend.
  Platform* headless = CreateHeadlessPlatform(PlatformOptions{});
  SetCurrentPlatform(headless);
  int status = -1;
  for (const Command& c : kCommands)
    if (args[0] == c.name) status = c.run(folders, Words(args.begin() + 1, args.end()));
  if (status < 0) {
    fprintf(stderr, "kvr-maps: unknown command '%s' (see kvr-maps --help)\n", args[0].c_str());
    status = 2;
  }
  SetCurrentPlatform(nullptr);
  delete headless;
  return status;
}
