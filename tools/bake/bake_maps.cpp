// The maps: every source content/maps/NAME.txt becomes NAME.map and NAME.ent, once each map
// passes its own checks and the campaign's checks across maps; the autopilot's routes beside
// them (NAME.route, campaign.route) are checked against the maps and copied beside them.
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
#include "route_check.h"

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
  std::vector<MapSource> parsed;  // beside `built`, one for one
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
      parsed.push_back(src);
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

  // The routes: one beside each map that has one, and the campaign's order of legs.
  std::vector<RouteMap> maps;
  for (size_t i = 0; i < built.size(); ++i) maps.push_back({&parsed[i], &built[i]});
  std::vector<std::pair<std::string, std::string>> routes;
  for (const RouteMap& m : maps) {
    const std::string file = "maps/" + m.source->name + ".route";
    std::string text;
    if (!fs::exists(ctx.contentDir + file) ) continue;
    if (!ReadSource(ctx, file, &text)) {
      errors.push_back(file + ": cannot be read");
      continue;
    }
    CheckMapRoute(file, text, m, &errors);
    routes.emplace_back(m.source->name, text);
  }
  std::string campaign;
  if (!ReadSource(ctx, "maps/campaign.route", &campaign))
    errors.push_back("maps/campaign.route: cannot be read");
  else
    CheckCampaignRoute("maps/campaign.route", campaign, routes, maps, chart, &errors);

  bool ok = errors.empty();
  for (const std::string& e : errors) fprintf(stderr, "bake: %s\n", e.c_str());
  for (const BuiltMap& m : built)
    ok = WriteOut(ctx, m.name + ".map", MapFileBytes(m)) && WriteOut(ctx, m.name + ".ent", EntFileBytes(m)) && ok;
  for (const auto& [name, text] : routes) ok = WriteOutText(ctx, name + ".route", text) && ok;
  if (!campaign.empty()) ok = WriteOutText(ctx, "campaign.route", campaign) && ok;
  return ok;
}
