// The maps: every source content/maps/NAME.txt becomes NAME.map and NAME.ent.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "bake.h"
#include "map_builder.h"

bool BakeMaps(const BakeContext& ctx) {
  namespace fs = std::filesystem;
  std::vector<std::string> sources;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(ctx.contentDir + "maps", ec))
    if (entry.is_regular_file() && entry.path().extension() == ".txt")
      sources.push_back("maps/" + entry.path().filename().string());
  std::sort(sources.begin(), sources.end());  // the same order, and messages, on every run
  bool ok = true;
  for (const std::string& s : sources) ok = BakeMapSource(ctx, s) && ok;
  return ok;
}
