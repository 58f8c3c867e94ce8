// The campaign's checks: reachable ground inside each map, exits and entry points between
// maps, the road from the first map to every other, and each star system's way out.
#include "campaign_check.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>

#include "world/kinds.h"

const char* const kCampaignMaps[11] = {"map1_1", "map1_2", "map1_3", "map2_1", "map2_2", "map3_1",
                                       "map3_2", "map4_1", "map5_1", "map6_1", "map6_2"};

namespace {

constexpr const char* kStarChart = "starchart.map";

std::string Place(double x, double z) {
  return "x " + std::to_string(int(std::lround(x))) + ", z " + std::to_string(int(std::lround(z)));
}

// How far an enemy keeps from an entry point: the craft arriving there sees it coming.
constexpr double kEntryClearance = 1500;

bool IsEnemy(int32_t type) {
  return type == kTypeStegoTank || type == kTypeMegaRaptor || type == kTypePteranoFlyer ||
         type == kTypeShootingTower || type == kTypeHoverChasmo;
}

// Records the craft must be able to walk to.
bool MustBeReached(int32_t type) {
  switch (type) {
    case kTypePlayer: case kTypeShip: case kTypeMapExit: case kTypeEnergyPack: case kTypeAmmoMGun:
    case kTypeAmmoPlasma: case kTypeAmmoRocket: case kTypeShipKeyCard: case kTypeHyperLoad:
    case kTypeMainframe: case kTypeXBomb: case kTypeNeuralLink: case kTypeCodeCard:
      return true;
    default:
      return false;
  }
}

// The tags the loader acts on, by type; a map exit's tag is its target instead.
bool TagReadByLoader(int32_t type, const std::string& tag) {
  if (tag.empty() || type == kTypeMapExit) return true;
  if (type == kTypeStegoTank || type == kTypeMegaRaptor) return tag == "HaveShipKeyCard";
  if (type == kTypeHoverChasmo) return tag == "NeuralLinkDown" || tag == "HyperjumpLoaded";
  return false;
}

// The system number of a campaign map name "mapS_N"; 0 for any other.
int SystemOf(const std::string& map) {
  if (map.size() >= 6 && map.compare(0, 3, "map") == 0 && map[3] >= '1' && map[3] <= '9' && map[4] == '_')
    return map[3] - '0';
  return 0;
}

std::string Stem(const std::string& file) {
  return file.size() > 4 && file.compare(file.size() - 4, 4, ".map") == 0 ? file.substr(0, file.size() - 4) : file;
}

}  // namespace

bool CheckMapReach(const MapSource& src, const BuiltMap& m, std::vector<std::string>* errors) {
  const size_t before = errors->size();
  const int nx = m.cellsX, nz = m.cellsZ;
  if (nx <= 0 || nz <= 0) return true;
  auto cellOf = [&](double x, double z) {
    const int i = std::clamp(int(x / m.cell), 0, nx - 1), j = std::clamp(int(z / m.cell), 0, nz - 1);
    return size_t(j) * nx + i;
  };
  for (const EntityPlacement& e : src.entities)
    if (!TagReadByLoader(e.type, e.tag))
      errors->push_back(src.name + ": " + e.typeName + " at " + Place(e.x, e.z) + " (" + src.file + ":" +
                        std::to_string(e.line) + "): the loader does not read the tag \"" + e.tag +
                        "\" on this type, so it would always be there");
  // An enemy waiting beside an entry point would be on the craft before the pilot can look
  // round. Tagged ones appear only with their flag, which the maps place away from the
  // entries where the flag is set.
  for (const EntityPlacement& p : src.entities) {
    if (p.type != kTypePlayer) continue;
    for (const EntityPlacement& e : src.entities)
      if (IsEnemy(e.type) && e.tag.empty() && std::hypot(e.x - p.x, e.z - p.z) < kEntryClearance)
        errors->push_back(src.name + ": " + e.typeName + " at " + Place(e.x, e.z) + " (" + src.file + ":" +
                          std::to_string(e.line) + "): closer than " + std::to_string(int(kEntryClearance)) +
                          " to the entry \"" + p.entry + "\"");
  }
  // The ground joined to the first entry point, four ways from cell to cell.
  std::vector<int> component(m.cellType.size(), -1);
  int components = 0;
  auto fill = [&](size_t start) {
    if (component[start] >= 0 || m.cellType[start] == kGroundWall) return;
    std::vector<size_t> todo{start};
    component[start] = components;
    while (!todo.empty()) {
      const size_t c = todo.back();
      todo.pop_back();
      const int i = int(c % size_t(nx)), j = int(c / size_t(nx));
      const int di[4] = {1, -1, 0, 0}, dj[4] = {0, 0, 1, -1};
      for (int k = 0; k < 4; ++k) {
        const int a = i + di[k], b = j + dj[k];
        if (a < 0 || b < 0 || a >= nx || b >= nz) continue;
        const size_t n = size_t(b) * nx + a;
        if (component[n] >= 0 || m.cellType[n] == kGroundWall) continue;
        component[n] = components;
        todo.push_back(n);
      }
    }
    ++components;
  };
  const EntityPlacement* first = nullptr;
  for (const EntityPlacement& e : src.entities)
    if (e.type == kTypePlayer && !first) first = &e;
  if (!first) return errors->size() == before;  // the builder reports the missing player
  const size_t home = cellOf(first->x, first->z);
  fill(home);
  for (const EntityPlacement& e : src.entities) {
    if (!MustBeReached(e.type)) continue;
    const size_t c = cellOf(e.x, e.z);
    if (m.cellType[c] == kGroundWall) continue;  // the builder reports records on walls
    if (component[c] != component[home])
      errors->push_back(src.name + ": " + e.typeName + " at " + Place(e.x, e.z) + " (" + src.file + ":" +
                        std::to_string(e.line) + "): not on ground the craft can reach from the entry \"" +
                        first->entry + "\" at " + Place(first->x, first->z));
  }
  return errors->size() == before;
}

MapLinks LinksOf(const MapSource& src) {
  MapLinks l;
  l.name = src.name;
  l.file = src.file;
  for (const EntityPlacement& e : src.entities) {
    if (e.type == kTypePlayer) l.entries.push_back(e.entry);
    if (e.type == kTypeHyperLoad) l.hyperload = true;
    if (e.type == kTypeMapExit) l.exits.push_back(MapLinks::Exit{e.tag, e.entry, e.x, e.z, e.line});
  }
  return l;
}

bool ReadChartDestinations(const Bytes& ent, std::vector<ChartDestination>* out) {
  out->clear();
  if (ent.size() < 4) return false;
  auto i32 = [&](size_t at) {
    return int32_t(uint32_t(ent[at]) | uint32_t(ent[at + 1]) << 8 | uint32_t(ent[at + 2]) << 16 |
                   uint32_t(ent[at + 3]) << 24);
  };
  const int32_t count = i32(0);
  if (count < 0 || count > MapLimits::kMaxRecords || ent.size() < 4 + size_t(count) * kEntRecordBytes) return false;
  for (int32_t r = 0; r < count; ++r) {
    const size_t at = 4 + size_t(r) * kEntRecordBytes;
    const char* entry = reinterpret_cast<const char*>(ent.data() + at + 156);
    out->push_back(ChartDestination{i32(at + 4), std::string(entry, strnlen(entry, kEntEntryBytes))});
  }
  return true;
}

bool CheckCampaign(const std::vector<MapLinks>& maps, const std::vector<ChartDestination>& chart,
                   const std::string& start, const std::vector<std::string>& required,
                   std::vector<std::string>* errors) {
  const size_t before = errors->size();
  std::map<std::string, const MapLinks*> byName;
  for (const MapLinks& m : maps) byName[m.name] = &m;
  auto hasEntry = [](const MapLinks& m, const std::string& entry) {
    return std::find(m.entries.begin(), m.entries.end(), entry) != m.entries.end();
  };
  // Every exit leads somewhere that exists.
  for (const MapLinks& m : maps)
    for (const MapLinks::Exit& e : m.exits) {
      const std::string where = m.name + ": MapExit at " + Place(e.x, e.z) + " (" + m.file + ":" +
                                std::to_string(e.line) + "): ";
      if (e.target == kStarChart) continue;  // the chart picks the map; every jump lands at "default"
      const auto t = byName.find(Stem(e.target));
      if (t == byName.end())
        errors->push_back(where + "leads to \"" + e.target + "\", which is no map");
      else if (!hasEntry(*t->second, e.entry))
        errors->push_back(where + "leads to the entry \"" + e.entry + "\" of " + t->first +
                          ", which has no player record for it");
    }
  for (const ChartDestination& d : chart) {
    const auto t = byName.find(Stem(d.map));
    if (t == byName.end())
      errors->push_back("starchart.ent: the destination of system " + std::to_string(d.system) + " is \"" +
                        d.map + "\", which is no map");
    else if (!hasEntry(*t->second, "default"))
      errors->push_back("starchart.ent: " + t->first + ", the destination of system " +
                        std::to_string(d.system) + ", has no \"default\" entry for the jump to land at");
    else if (SystemOf(t->first) && SystemOf(t->first) != d.system)
      errors->push_back("starchart.ent: system " + std::to_string(d.system) + " leads to " + t->first +
                        ", a map of system " + std::to_string(SystemOf(t->first)));
  }
  // The road from the first map: exits, and from any launch pad every chart destination.
  std::set<std::string> reached{start};
  std::vector<std::string> todo{start};
  bool chartReached = false;
  while (!todo.empty()) {
    const std::string name = todo.back();
    todo.pop_back();
    const auto it = byName.find(name);
    if (it == byName.end()) continue;
    std::vector<std::string> next;
    for (const MapLinks::Exit& e : it->second->exits) {
      if (e.target != kStarChart) {
        next.push_back(Stem(e.target));
      } else if (!chartReached) {
        chartReached = true;
        for (const ChartDestination& d : chart) next.push_back(Stem(d.map));
      }
    }
    for (const std::string& n : next)
      if (reached.insert(n).second) todo.push_back(n);
  }
  for (const std::string& r : required) {
    if (!byName.count(r))
      errors->push_back(r + ": the campaign needs this map and there is no source for it");
    else if (!reached.count(r))
      errors->push_back(r + ": cannot be reached from " + start + " through map exits and the star chart");
  }
  // Each system of the campaign has its own way out: a hyperload station to charge the jump
  // and a launch pad's exit to the star chart.
  std::map<int, std::pair<bool, bool>> systems;  // system -> (station, pad)
  for (const std::string& r : required)
    if (const auto it = byName.find(r); it != byName.end() && SystemOf(r)) {
      auto& s = systems[SystemOf(r)];
      s.first = s.first || it->second->hyperload;
      for (const MapLinks::Exit& e : it->second->exits) s.second = s.second || e.target == kStarChart;
    }
  for (const auto& [system, has] : systems) {
    if (!has.first)
      errors->push_back("system " + std::to_string(system) +
                        ": no hyperload station, so no jump out of it can be charged there");
    if (!has.second) errors->push_back("system " + std::to_string(system) + ": no map exit to the star chart");
  }
  return errors->size() == before;
}
