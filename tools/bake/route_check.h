// The autopilot's routes beside the map sources: each map's legs on ground the craft can walk,
// naming records that exist, and the campaign's order of legs joined by exits and the chart.
#pragma once

#include <string>
#include <vector>

#include "campaign_check.h"
#include "map_builder.h"

// One map as the route checks see it: its source and what was built of it.
struct RouteMap {
  const MapSource* source = nullptr;
  const BuiltMap* built = nullptr;
};

// Checks "maps/NAME.route" against its map: every step's point inside the map and off the
// walls, every walk between two points free of walls, every take, fight and exit naming a
// record of that kind at that place. Messages name the route file and line.
bool CheckMapRoute(const std::string& file, const std::string& text, const RouteMap& map,
                   std::vector<std::string>* errors);

// Checks "maps/campaign.route": each run's legs name maps with a route holding that leg, and
// each leg ends by an exit to the next leg's map (or, through a launch pad, at the star
// chart with the next map among its destinations). `routes` holds the text of every map's
// route by map name.
bool CheckCampaignRoute(const std::string& file, const std::string& text,
                        const std::vector<std::pair<std::string, std::string>>& routes,
                        const std::vector<RouteMap>& maps,
                        const std::vector<ChartDestination>& chart,
                        std::vector<std::string>* errors);
