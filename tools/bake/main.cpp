// bake OUTDIR CONTENTDIR: writes every data file of the game, the same bytes on every run.
#include <cstdio>
#include <filesystem>
#include <string>

#include "bake.h"

namespace {

struct BakeStep {
  const char* name;
  bool (*run)(const BakeContext&);
};

// Each kind of content in its own file; the order does not matter.
const BakeStep kSteps[] = {
    {"math tables", BakeMathTables},
    {"fonts", BakeFonts},
    {"sprites", BakeSprites},
    {"skies", BakeSkies},
    {"installer", BakeInstaller},
    {"story", BakeStory},
    {"settings", BakeSettings},
    {"jpeg pictures", BakeJpegPictures},
    {"textures", BakeTextures},
    {"models", BakeModels},
    {"sounds", BakeSounds},
    {"music", BakeMusic},
    {"forms", BakeForms},
    {"weapon art", BakeWeaponArt},
    {"explosions", BakeExplosions},
    {"maps", BakeMaps},
};

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: bake OUTDIR CONTENTDIR\n");
    return 2;
  }
  BakeContext ctx{WithSlash(argv[1]), WithSlash(argv[2])};
  std::filesystem::create_directories(ctx.outDir);
  int failed = 0;
  for (const BakeStep& step : kSteps) {
    if (!step.run(ctx)) {
      fprintf(stderr, "bake: %s failed\n", step.name);
      ++failed;
    }
  }
  return failed ? 1 : 0;
}
