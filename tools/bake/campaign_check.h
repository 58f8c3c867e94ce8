// The checks that span the campaign: every map's records on ground the craft can reach from
// its entry points, every map exit leading to a map and entry point that exist, every
// campaign map reachable from the first one through exits and the star chart, and in every
// star system a hyperload station and a launch pad.
#pragma once

#include <string>
#include <vector>

#include "map_builder.h"

// The map files the game names: a new game deletes their state files, and the campaign
// must reach every one of them from map1_1.
extern const char* const kCampaignMaps[11];

// What the cross-map checks need of one built map.
struct MapLinks {
  std::string name;                  // "map1_2"
  std::string file;                  // its source, for messages
  std::vector<std::string> entries;  // entry point names of its player records
  struct Exit {
    std::string target, entry;       // "map1_3.map", "canyon"
    double x = 0, z = 0;
    int line = 0;
  };
  std::vector<Exit> exits;
  bool hyperload = false;            // holds a hyperload station
};

// One star-chart destination: its star-system number and the map a jump there loads.
struct ChartDestination {
  int system = 0;
  std::string map;  // "map1_3.map"
};

// Every player record, pickup, mission object and map exit must stand on ground joined to
// every entry point of the map (walls stop the craft; barriers count as open, they fall with
// the neural link), and the loader's tags must be ones it reads for that type.
bool CheckMapReach(const MapSource& source, const BuiltMap& map, std::vector<std::string>* errors);

MapLinks LinksOf(const MapSource& source);

// The star chart's destinations from the bytes of "starchart.ent"; false when malformed.
bool ReadChartDestinations(const Bytes& ent, std::vector<ChartDestination>* out);

// The checks across maps. `required` lists the maps that must be reachable from `start`.
bool CheckCampaign(const std::vector<MapLinks>& maps, const std::vector<ChartDestination>& chart,
                   const std::string& start, const std::vector<std::string>& required,
                   std::vector<std::string>* errors);
