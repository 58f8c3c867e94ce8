// The route checks: walks on open ground between existing records, legs joined by exits.
#include "route_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "autopilot/autopilot.h"
#include "world/kinds.h"

namespace {

constexpr double kSample = 40;    // along a walk, the ground is looked at this often
// The craft sways about its line as it turns: a walk keeps this far from walls either side.
constexpr double kClearance = 120;
constexpr double kAtRecord = 1;   // a step names a record standing exactly there

std::string At(const std::string& file, int line) { return file + ":" + std::to_string(line) + ": "; }

int CellType(const BuiltMap& m, double x, double z) {
  const int i = std::clamp(int(x / m.cell), 0, m.cellsX - 1);
  const int j = std::clamp(int(z / m.cell), 0, m.cellsZ - 1);
  return m.cellType[size_t(j) * size_t(m.cellsX) + size_t(i)];
}

bool Inside(const BuiltMap& m, double x, double z) {
  return x >= 0 && z >= 0 && x < double(m.cellsX) * m.cell && z < double(m.cellsZ) * m.cell;
}

const EntityPlacement* RecordAt(const MapSource& s, int32_t type, double x, double z) {
  for (const EntityPlacement& e : s.entities)
    if (e.type == type && std::fabs(e.x - x) <= kAtRecord && std::fabs(e.z - z) <= kAtRecord)
      return &e;
  return nullptr;
}

// The first wall on the straight walk from a to b (barriers count as open: they fall with the
// neural link, and the routes that pass one come after it); false when the walk is clear.
bool WallOnWalk(const RouteMap& map, double ax, double az, double bx, double bz, double* wx,
                double* wz) {
  const double length = std::hypot(bx - ax, bz - az);
  const int n = std::max(1, int(std::ceil(length / kSample)));
  // Unit normal of the walk, for the clearance either side.
  const double nx = length > 0 ? -(bz - az) / length : 0, nz = length > 0 ? (bx - ax) / length : 0;
  for (int k = 0; k <= 3 * n + 2; ++k) {
    const double side = (k % 3 - 1) * kClearance;
    const double x = ax + (bx - ax) * (k / 3) / n + nx * side, z = az + (bz - az) * (k / 3) / n + nz * side;
    if (!Inside(*map.built, x, z) || CellType(*map.built, x, z) != kGroundWall) continue;
    bool barrier = false;
    for (const EntityPlacement& e : map.source->entities)
      barrier = barrier || (e.type == kTypeBarrier && std::hypot(e.x - x, e.z - z) < map.built->cell * 1.5);
    if (barrier) continue;
    *wx = x;
    *wz = z;
    return true;
  }
  return false;
}

std::string Place(double x, double z) {
  return "(" + std::to_string(int(std::lround(x))) + ", " + std::to_string(int(std::lround(z))) + ")";
}

}  // namespace

bool CheckMapRoute(const std::string& file, const std::string& text, const RouteMap& map,
                   std::vector<std::string>* errors) {
  const size_t before = errors->size();
  MapRoute route;
  std::string error;
  if (!ParseMapRoute(text, &route, &error)) {
    errors->push_back(file + ":" + error);
    return false;
  }
  const MapSource& src = *map.source;
  const BuiltMap& m = *map.built;
  if (getenv("ROUTEDUMP") && src.name == getenv("ROUTEDUMP")) {
    for (int j = m.cellsZ - 1; j >= 0; --j) {
      fprintf(stderr, "%5d ", j * m.cell);
      for (int i = 0; i < m.cellsX; ++i) {
        char c = ".~#"[m.cellType[size_t(j) * m.cellsX + i]];
        for (const EntityPlacement& e : src.entities)
          if (int(e.x / m.cell) == i && int(e.z / m.cell) == j) c = e.typeName[0];
        fputc(c, stderr);
      }
      fputc('\n', stderr);
    }
  }
  for (const RouteLeg& leg : route.legs) {
    bool walked = false;  // the walk into a leg starts at an entry point the route does not name
    double fromX = 0, fromZ = 0;
    for (const RouteStep& s : leg.steps) {
      if (s.verb == RouteVerb::Wait) continue;
      if (!Inside(m, s.x, s.z)) {
        errors->push_back(At(file, s.line) + "leg " + leg.name + ": " + Place(s.x, s.z) + " lies outside " + src.name);
        continue;
      }
      if (s.verb == RouteVerb::Take || s.verb == RouteVerb::Fight) {
        if (!RecordAt(src, s.type, s.x, s.z))
          errors->push_back(At(file, s.line) + "leg " + leg.name + ": " + src.name + " has no " + s.name +
                            " at " + Place(s.x, s.z));
      } else if (s.verb == RouteVerb::Exit) {
        if (!RecordAt(src, kTypeMapExit, s.x, s.z))
          errors->push_back(At(file, s.line) + "leg " + leg.name + ": " + src.name + " has no map exit at " +
                            Place(s.x, s.z));
      } else if (CellType(m, s.x, s.z) == kGroundWall) {
        errors->push_back(At(file, s.line) + "leg " + leg.name + ": " + Place(s.x, s.z) + " is on a wall of " +
                          src.name);
        continue;
      }
      // An enemy is fought from where the craft stands: only the other steps are walked to.
      if (s.verb == RouteVerb::Fight) continue;
      double wx = 0, wz = 0;
      if (walked && WallOnWalk(map, fromX, fromZ, s.x, s.z, &wx, &wz))
        errors->push_back(At(file, s.line) + "leg " + leg.name + ": the walk from " + Place(fromX, fromZ) +
                          " meets a wall of " + src.name + " at " + Place(wx, wz));
      walked = true;
      fromX = s.x;
      fromZ = s.z;
    }
  }
  return errors->size() == before;
}

bool CheckCampaignRoute(const std::string& file, const std::string& text,
                        const std::vector<std::pair<std::string, std::string>>& routes,
                        const std::vector<RouteMap>& maps,
                        const std::vector<ChartDestination>& chart,
                        std::vector<std::string>* errors) {
  const size_t before = errors->size();
  std::vector<CampaignRun> runs;
  std::string error;
  if (!ParseCampaignRoute(text, &runs, &error)) {
    errors->push_back(file + ":" + error);
    return false;
  }
  auto mapNamed = [&](const std::string& name) -> const RouteMap* {
    for (const RouteMap& m : maps)
      if (m.source->name == name) return &m;
    return nullptr;
  };
  for (const CampaignRun& run : runs) {
    for (size_t i = 0; i < run.legs.size(); ++i) {
      const CampaignLeg& leg = run.legs[i];
      const std::string where = At(file, leg.line) + "run " + run.name + ": ";
      const RouteMap* map = mapNamed(leg.map);
      const std::string* routeText = nullptr;
      for (const auto& [name, t] : routes)
        if (name == leg.map) routeText = &t;
      MapRoute route;
      if (!map || !routeText || !ParseMapRoute(*routeText, &route, &error)) {
        errors->push_back(where + leg.map + " has no map or no readable route");
        continue;
      }
      const RouteLeg* steps = route.Leg(leg.leg);
      if (!steps) {
        errors->push_back(where + leg.map + ".route has no leg " + leg.leg);
        continue;
      }
      if (i + 1 == run.legs.size()) continue;  // the last leg ends the game its own way
      const std::string next = run.legs[i + 1].map + ".map";
      const RouteStep* exit = nullptr;
      for (const RouteStep& s : steps->steps)
        if (s.verb == RouteVerb::Exit) exit = &s;
      const EntityPlacement* record = exit ? RecordAt(*map->source, kTypeMapExit, exit->x, exit->z) : nullptr;
      if (!record) {
        errors->push_back(where + leg.map + " leg " + leg.leg + " ends by no map exit, but " + next + " follows");
        continue;
      }
      bool joined = record->tag == next;
      if (record->tag == "starchart.map")
        for (const ChartDestination& d : chart) joined = joined || d.map == next;
      if (!joined)
        errors->push_back(where + leg.map + " leg " + leg.leg + " leaves for " + record->tag + ", but " + next +
                          " follows");
    }
  }
  return errors->size() == before;
}
