// The maps: every source content/maps/NAME.txt becomes NAME.map and NAME.ent, once each map
// passes its own checks and the campaign's checks across maps.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bake.h"
#include "campaign_check.h"
#include "map_builder.h"

bool BakeMaps(const BakeContext& ctx) {
  namespace fs = std::filesystem;
  std::vector<std::string> sources;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(ctx.contentDir + "maps", ec))
    if (entry.is_regular_file() && entry.path().extension() == ".txt")
      sources.push_back("maps/" + entry.path().filename().string());
  std::sort(sources.begin(), sources.end());  // the same order, and messages, on every run

  std::vector<std::string> errors;
  std::vector<BuiltMap> built;
  std::vector<MapLinks> links;
  for (const std::string& s : sources) {
    std::string text;
    MapSource src;
    BuiltMap map;
    if (!ReadSource(ctx, s, &text)) {
      errors.push_back(s + ": cannot be read");
      continue;
    }
    if (!ParseMapSource(s, text, &src, &errors)) continue;
    links.push_back(LinksOf(src));
    // A map that breaks only the reach or campaign checks is still written, so that it can
    // be looked at; the bake fails all the same.
    if (BuildMap(src, &map, &errors)) {
      CheckMapReach(src, map, &errors);
      built.push_back(std::move(map));
    }
  }

  // The star chart is baked before the maps; its destinations are part of the road.
  std::vector<ChartDestination> chart;
  std::ifstream in(ctx.outDir + "starchart.ent", std::ios::binary);
  const Bytes ent{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!ReadChartDestinations(ent, &chart))
    errors.push_back("starchart.ent is missing or damaged: the star chart's destinations cannot be checked");
  CheckCampaign(links, chart, kCampaignMaps[0],
                std::vector<std::string>(std::begin(kCampaignMaps), std::end(kCampaignMaps)), &errors);

  bool ok = errors.empty();
  for (const std::string& e : errors) fprintf(stderr, "bake: %s\n", e.c_str());
  for (const BuiltMap& m : built)
    ok = WriteOut(ctx, m.name + ".map", MapFileBytes(m)) && WriteOut(ctx, m.name + ".ent", EntFileBytes(m)) && ok;
  return ok;
}
