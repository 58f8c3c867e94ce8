// Reading the routes: a map's legs of steps, and the campaign's order of legs.
#include <cstdlib>
#include <sstream>

#include "autopilot/autopilot.h"
#include "world/kinds.h"

namespace {

struct TypeName {
  const char* name;
  int32_t code;
};
constexpr TypeName kTypes[] = {
    {"StegoTank", kTypeStegoTank},       {"MegaRaptor", kTypeMegaRaptor},
    {"PteranoFlyer", kTypePteranoFlyer}, {"Ship", kTypeShip},
    {"EnergyPack", kTypeEnergyPack},     {"AmmoMGun", kTypeAmmoMGun},
    {"AmmoPlasma", kTypeAmmoPlasma},     {"AmmoRocket", kTypeAmmoRocket},
    {"ShipKeyCard", kTypeShipKeyCard},   {"HyperLoad", kTypeHyperLoad},
    {"ShootingTower", kTypeShootingTower}, {"Mainframe", kTypeMainframe},
    {"XBomb", kTypeXBomb},               {"NeuralLink", kTypeNeuralLink},
    {"CodeCard", kTypeCodeCard},         {"HoverChasmo", kTypeHoverChasmo},
};

bool IsEnemy(int32_t type) {
  return type == kTypeStegoTank || type == kTypeMegaRaptor || type == kTypePteranoFlyer ||
         type == kTypeShootingTower || type == kTypeHoverChasmo;
}

// Lines without comments, split into words; numbered from 1.
std::vector<std::pair<int, std::vector<std::string>>> Lines(const std::string& text) {
  std::vector<std::pair<int, std::vector<std::string>>> out;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (!w.empty()) out.emplace_back(number, std::move(w));
  }
  return out;
}

// A map coordinate: a whole number within what any map can span.
bool Coordinate(const std::string& text, int32_t* out) {
  char* end = nullptr;
  const long v = strtol(text.c_str(), &end, 10);
  if (text.empty() || *end || v < 0 || v > 1000000) return false;
  *out = int32_t(v);
  return true;
}

bool Fail(std::string* error, int line, const std::string& why) {
  if (error) *error = std::to_string(line) + ": " + why;
  return false;
}

}  // namespace

int32_t RouteTypeCode(const std::string& name) {
  for (const TypeName& t : kTypes)
    if (name == t.name) return t.code;
  return 0;
}

const RouteLeg* MapRoute::Leg(const std::string& name) const {
  for (const RouteLeg& leg : legs)
    if (leg.name == name) return &leg;
  return nullptr;
}

bool ParseMapRoute(const std::string& text, MapRoute* out, std::string* error) {
  *out = MapRoute();
  for (const auto& [line, w] : Lines(text)) {
    const std::string& verb = w[0];
    if (verb == "leg") {
      if (w.size() != 2) return Fail(error, line, "leg takes a name");
      if (out->Leg(w[1])) return Fail(error, line, "leg '" + w[1] + "' twice");
      out->legs.push_back({w[1], {}});
      continue;
    }
    if (out->legs.empty()) return Fail(error, line, "a step before the first leg");
    RouteStep s;
    s.line = line;
    if (verb == "go" || verb == "exit") {
      s.verb = verb == "go" ? RouteVerb::Go : RouteVerb::Exit;
      if (w.size() != 3 || !Coordinate(w[1], &s.x) || !Coordinate(w[2], &s.z))
        return Fail(error, line, verb + " takes X Z");
    } else if (verb == "take" || verb == "fight") {
      s.verb = verb == "take" ? RouteVerb::Take : RouteVerb::Fight;
      if (w.size() != 4 || !Coordinate(w[2], &s.x) || !Coordinate(w[3], &s.z))
        return Fail(error, line, verb + " takes TYPE X Z");
      s.name = w[1];
      s.type = RouteTypeCode(w[1]);
      if (s.type == 0) return Fail(error, line, "no entity type '" + w[1] + "'");
      if ((s.verb == RouteVerb::Fight) != IsEnemy(s.type))
        return Fail(error, line, verb + " '" + w[1] + "': " +
                                     (IsEnemy(s.type) ? "an enemy is fought" : "not an enemy"));
    } else if (verb == "wait") {
      s.verb = RouteVerb::Wait;
      if (w.size() != 2 || !Coordinate(w[1], &s.type) || s.type > 100000)
        return Fail(error, line, "wait takes a number of steps");
    } else {
      return Fail(error, line, "unknown step '" + verb + "'");
    }
    out->legs.back().steps.push_back(s);
  }
  if (out->legs.empty()) return Fail(error, 0, "no leg");
  return true;
}

bool ParseCampaignRoute(const std::string& text, std::vector<CampaignRun>* out,
                        std::string* error) {
  out->clear();
  for (const auto& [line, w] : Lines(text)) {
    if (w[0] == "run") {
      if (w.size() != 2) return Fail(error, line, "run takes a name");
      for (const CampaignRun& r : *out)
        if (r.name == w[1]) return Fail(error, line, "run '" + w[1] + "' twice");
      out->push_back({w[1], {}});
      continue;
    }
    if (out->empty()) return Fail(error, line, "a leg before the first run");
    if (w.size() != 2) return Fail(error, line, "a leg is MAP LEG");
    out->back().legs.push_back({w[0], w[1], line});
  }
  if (out->empty()) return Fail(error, 0, "no run");
  return true;
}
