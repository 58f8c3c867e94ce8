// The pilot: which leg of the run the current map plays, the step of it under way, and the
// choice between fighting what comes near and walking the route.
#include "autopilot/pilot.h"
#include "world/kinds.h"

#include <cstring>

namespace {

constexpr int64_t kEngageReach = 1300;   // walkers nearer than this are fought at once
constexpr int64_t kKeepReach = 1900;     // a walker fought further off than this is let go
constexpr int64_t kFlyerReach = 1900;    // flyers ahead nearer than this are shot at
constexpr int64_t kHuntReach = 4000;     // the route's enemy further than this is let go
constexpr int64_t kTrackReach = 3000;    // a route's enemy is looked for this far from its mark
constexpr int64_t kPickupReach = 600;    // a route's pickup is looked for this far from its mark
constexpr int64_t kArrive = 220;         // a waypoint is reached this close
constexpr int32_t kStepPatience = 4000;  // timer messages: a step that never ends is dropped
constexpr int32_t kPickupPatience = 150; // timer messages beside a pickup that stays
constexpr int32_t kTargetPatience = 700; // timer messages on one enemy before giving it up
constexpr int64_t kStationReach = 250;   // a hyperload station is touched this close
constexpr int32_t kLowEnergy = 130;      // below this, an energy pack nearby is fetched first
constexpr int64_t kPackReach = 2500;
constexpr int32_t kLowRounds = 30;       // with fewer rounds and charges than these, the craft
constexpr int32_t kLowCharges = 10;      // fetches ammunition from anywhere on the map
constexpr int32_t kLeavingEnergy = 200;  // below this, packs are fetched before an exit
constexpr int64_t kMapReach = 20000;
constexpr int32_t kPackPatience = 1200;   // timer messages: a pack not reached by then is left

bool Holds(const std::vector<int32_t>& list, int32_t value) {
  for (int32_t v : list)
    if (v == value) return true;
  return false;
}

// Whether the craft would take the pickup now: full stores refuse it.
bool Wanted(const CraftReading& craft, int32_t type) {
  switch (type) {
    case kTypeEnergyPack: return craft.energy < 250;
    case kTypeAmmoMGun: return craft.gunAmmo < 300;
    case kTypeAmmoPlasma: return craft.plasmaAmmo < 150;
    case kTypeAmmoRocket: return craft.rockets < 8;
    default: return true;
  }
}

// What the mission needs: the X Bomb, the cards, the station's charge, and what they are
// used on.
bool Mission(int32_t type) {
  return type == kTypeXBomb || type == kTypeCodeCard || type == kTypeShipKeyCard ||
         type == kTypeHyperLoad || type == kTypeNeuralLink || type == kTypeMainframe ||
         type == kTypeShip;
}

// Mission objects the craft walks into and stays at until they are gone.
bool StaysUntilGone(int32_t type) {
  return type == kTypeNeuralLink || type == kTypeMainframe || type == kTypeShip;
}

// "map1_1.map" -> "map1_1".
std::string MapStem(const char* file) {
  std::string s = file;
  if (s.size() > 4 && s.compare(s.size() - 4, 4, ".map") == 0) s.resize(s.size() - 4);
  return s;
}

}  // namespace

Pilot::Pilot(const AutopilotOptions& options, std::vector<CampaignLeg> legs,
             std::vector<MapRoute> routes)
    : options_(options), legs_(std::move(legs)), routes_(std::move(routes)) {}

const RouteLeg* Pilot::CurrentLeg() const {
  if (legIndex_ < 0 || size_t(legIndex_) >= legs_.size()) return nullptr;
  return routes_[size_t(legIndex_)].Leg(legs_[size_t(legIndex_)].leg);
}

void Pilot::NextStep() {
  ++step_;
  stepAge_ = 0;
  nearAge_ = 0;
  target_ = -1;
  const RouteLeg* leg = CurrentLeg();
  if (leg && step_ < leg->steps.size()) {
    trackX_ = leg->steps[step_].x;
    trackZ_ = leg->steps[step_].z;
  }
}

void Pilot::EnterMap(const std::string& map, bool restart) {
  if (!restart) {
    // The next leg of the run on this map; a map off the run leaves the pilot without one.
    int32_t found = -1;
    for (size_t i = size_t(legIndex_ + 1); i < legs_.size(); ++i)
      if (legs_[i].map == map) {
        found = int32_t(i);
        break;
      }
    if (found < 0) {
      legIndex_ = int32_t(legs_.size());
    } else {
      legIndex_ = found;
    }
  }
  map_ = map;
  ignored_.clear();
  unreachable_.clear();
  pack_ = -1;
  step_ = size_t(-1);
  NextStep();
  unsticker_.Reset();
}

// Two timer messages make a step: the motion over four messages, halved, is a step's.
void Pilot::Track(const EntityReading& e, int32_t* vx, int32_t* vz) {
  const int32_t slot = seen_ % 4;
  const bool full = seen_ >= 4;
  *vx = full ? (e.x - seenX_[slot]) / 2 : 0;
  *vz = full ? (e.z - seenZ_[slot]) / 2 : 0;
  seenX_[slot] = e.x;
  seenZ_[slot] = e.z;
  ++seen_;
}

Intent Pilot::Think(const GameReading& game) {
  Intent out;
  if (finished_) {
    out.finished = true;
    return out;
  }
  const WorldView& world = game.world;
  const bool inGameForm = strncmp(game.form, "FORMINGAME", 10) == 0;
  if (inGameForm && world.Playing() && !game.choiceOpen) {
    if (!world.Craft().alive) {
      sawDeath_ = true;
      return out;
    }
    PlayMap(game, &out);
    return out;
  }
  if (strcmp(game.form, "FORMMAIN") == 0) {
    if (inGame_ && legIndex_ >= int32_t(legs_.size()) - 1) {
      finished_ = true;
      out.finished = true;
      return out;
    }
    // A new game: the run starts over.
    inGame_ = true;
    legIndex_ = -1;
    map_.clear();
  }
  // A launch pad walked onto before the station was reached opens the chart without the
  // charge: the jump it refuses is given up for the hub just left, whose leg then starts over.
  if (strcmp(game.form, "FORMJUMPTOOFAR") == 0) turnedBack_ = true;
  std::string next =
      size_t(legIndex_ + 1) < legs_.size() ? legs_[size_t(legIndex_ + 1)].map + ".map" : "";
  if (turnedBack_ && legIndex_ >= 0 && size_t(legIndex_) < legs_.size())
    next = legs_[size_t(legIndex_)].map + ".map";
  MenuTap(game, options_.skill, next, &out);
  return out;
}

void Pilot::PlayMap(const GameReading& game, Intent* out) {
  const WorldView& world = game.world;
  const CraftReading craft = world.Craft();
  out->drive = true;
  const std::string map = MapStem(world.MapName());
  if (map != map_) {
    EnterMap(map, false);
  } else if (sawDeath_ || turnedBack_) {
    // After a loss the map is restored as it was when entered; after the chart turned the
    // craft back it is the hub just left. Either way the leg starts over.
    EnterMap(map, true);
  }
  sawDeath_ = false;
  turnedBack_ = false;
  const RouteLeg* leg = CurrentLeg();
  if (!leg) return;  // off the run: stand still

  // A torpedo about to hit is walked out of the way of, whatever else goes on.
  if (Dodge(world, craft, out)) return;

  // The route's enemy is hunted down.
  if (target_ >= 0 && hunting_) {
    const EntityReading e = world.EntityAt(target_);
    if (++targetAge_ > kTargetPatience) {
      ignored_.push_back(target_);
      target_ = -1;
    } else if (!e.active || Distance2(craft.x, craft.z, e.x, e.z) > kHuntReach * kHuntReach) {
      target_ = -1;
    } else {
      int32_t vx, vz;
      Track(e, &vx, &vz);
      Attack(craft, e, vx, vz, true, out);
      if (unsticker_.Run(craft, out->engine, out)) out->shoot = false;
      return;
    }
    hunting_ = false;
  }

  // A walker close by is stood up to and shot down: the way on is rarely safe from it.
  if (target_ >= 0 && !flyer_) {
    const EntityReading e = world.EntityAt(target_);
    if (++targetAge_ > kTargetPatience) {
      ignored_.push_back(target_);
      target_ = -1;
    } else if (!e.active || Distance2(craft.x, craft.z, e.x, e.z) > kKeepReach * kKeepReach) {
      target_ = -1;
    }
  }
  if (target_ < 0 || flyer_) {
    const int32_t walker = EnemyToShoot(world, craft, false, kEngageReach, false, 0, ignored_);
    if (walker >= 0 && walker != target_) {
      target_ = walker;
      targetAge_ = 0;
      flyer_ = false;
      seen_ = 0;
    }
  }
  if (target_ >= 0 && !flyer_) {
    const EntityReading e = world.EntityAt(target_);
    int32_t vx, vz;
    Track(e, &vx, &vz);
    Attack(craft, e, vx, vz, true, out);
    if (unsticker_.Run(craft, out->engine, out)) out->shoot = false;
    return;
  }

  if (FetchPack(world, craft, leg, out)) return;
  int32_t bearing = 0;
  const bool walking = Walk(world, craft, leg, out, &bearing);
  if (hunting_) return;

  // A flyer roughly where the route goes is shot at without stopping: its torpedoes are
  // slow, and miss a craft that walks on.
  const int32_t ahead = EnemyToShoot(world, craft, true, kFlyerReach, walking, bearing, ignored_);
  if (ahead != target_) {
    target_ = ahead;
    targetAge_ = 0;
    flyer_ = true;
    seen_ = 0;
  }
  if (target_ < 0) {
    // Between fights an empty weapon is changed for one with ammunition.
    const int32_t ammo[3] = {craft.gunAmmo, craft.plasmaAmmo, craft.rockets};
    if (craft.weapon >= 0 && craft.weapon < 3 && ammo[craft.weapon] <= 0 &&
        (ammo[0] > 0 || ammo[1] > 0 || ammo[2] > 0))
      out->changeWeapon = true;
    return;
  }
  if (++targetAge_ > kTargetPatience) {
    ignored_.push_back(target_);
    target_ = -1;
    return;
  }
  const bool engine = out->engine;
  const EntityReading e = world.EntityAt(target_);
  int32_t vx, vz;
  Track(e, &vx, &vz);
  Attack(craft, e, vx, vz, false, out);
  out->engine = engine;
}

bool Pilot::FetchPack(const WorldView& world, const CraftReading& craft, const RouteLeg* leg,
                      Intent* out) {
  // Low on energy: a pack close by comes before the route; out of rounds and charges, any
  // box the map has left does.
  const bool dry = craft.gunAmmo < kLowRounds && craft.plasmaAmmo < kLowCharges;
  if (pack_ >= 0) {
    const EntityReading e = world.EntityAt(pack_);
    if (!e.active || !Wanted(craft, e.type)) {
      pack_ = -1;
    } else if (++packAge_ > kPackPatience) {
      unreachable_.push_back(pack_);
      pack_ = -1;
    }
  }
  // Before leaving by an exit, the energy is topped up from whatever packs the map has left:
  // the next map starts, and after a loss starts again, with what the craft brings.
  const bool leaving = step_ < leg->steps.size() && leg->steps[step_].verb == RouteVerb::Exit;
  const bool low = craft.energy < kLowEnergy || (leaving && craft.energy < kLeavingEnergy);
  if (pack_ < 0 && (low || dry)) {
    const int64_t reach = leaving || dry ? kMapReach : kPackReach;
    int64_t best = reach * reach;
    for (int32_t i = 0; i < world.EntityCount(); ++i) {
      const EntityReading e = world.EntityAt(i);
      const bool wanted = (low && e.type == kTypeEnergyPack) ||
                          (dry && (e.type == kTypeAmmoMGun || e.type == kTypeAmmoPlasma));
      if (!e.active || !wanted || Holds(unreachable_, i)) continue;
      const int64_t d = Distance2(craft.x, craft.z, e.x, e.z);
      if (d < best) {
        best = d;
        pack_ = i;
        packAge_ = 0;
      }
    }
  }
  if (pack_ < 0) return false;
  const EntityReading e = world.EntityAt(pack_);
  SteerTo(craft, e.x, e.z, out);
  unsticker_.Run(craft, out->engine, out);
  return true;
}

bool Pilot::Walk(const WorldView& world, const CraftReading& craft, const RouteLeg* leg,
                 Intent* out, int32_t* bearing) {
  while (step_ < leg->steps.size()) {
    const RouteStep& s = leg->steps[step_];
    // A step that never ends is dropped, except a mission object the run cannot do without.
    if (++stepAge_ > kStepPatience && !(s.verb == RouteVerb::Take && Mission(s.type))) {
      NextStep();
      continue;
    }
    switch (s.verb) {
      case RouteVerb::Go:
        if (Distance2(craft.x, craft.z, s.x, s.z) < kArrive * kArrive) {
          NextStep();
          continue;
        }
        SteerTo(craft, s.x, s.z, out);
        *bearing = HeadingTowards(s.x - craft.x, s.z - craft.z);
        break;
      case RouteVerb::Exit:
        SteerTo(craft, s.x, s.z, out);  // the map changes when the craft walks in
        *bearing = HeadingTowards(s.x - craft.x, s.z - craft.z);
        break;
      case RouteVerb::Wait:
        if (stepAge_ > s.type) {
          NextStep();
          continue;
        }
        out->engine = false;
        return false;
      case RouteVerb::Take:
      case RouteVerb::Fight: {
        // The entity of the type nearest to where it was last seen.
        const int64_t reach = s.verb == RouteVerb::Take ? kPickupReach : kTrackReach;
        int32_t found = -1;
        int64_t best = reach * reach;
        for (int32_t i = 0; i < world.EntityCount(); ++i) {
          const EntityReading e = world.EntityAt(i);
          if (!e.active || e.type != s.type) continue;
          const int64_t d = Distance2(trackX_, trackZ_, e.x, e.z);
          if (d < best) {
            best = d;
            found = i;
          }
        }
        if (found < 0 || (s.verb == RouteVerb::Take && !Wanted(craft, s.type))) {
          NextStep();
          continue;
        }
        const EntityReading e = world.EntityAt(found);
        trackX_ = e.x;
        trackZ_ = e.z;
        if (s.verb == RouteVerb::Fight) {
          bool given = false;
          for (int32_t k : ignored_) given = given || k == found;
          if (given) {
            NextStep();
            continue;
          }
          if (target_ != found) seen_ = 0;
          target_ = found;
          targetAge_ = 0;
          hunting_ = true;
          int32_t vx, vz;
          Track(e, &vx, &vz);
          Attack(craft, e, vx, vz, true, out);
          if (unsticker_.Run(craft, out->engine, out)) out->shoot = false;
          return true;
        }
        const int64_t d2 = Distance2(craft.x, craft.z, e.x, e.z);
        if (s.type == kTypeHyperLoad && d2 < kStationReach * kStationReach) {
          NextStep();  // the station stays; touching it charges
          continue;
        }
        if (StaysUntilGone(s.type) && d2 < 900 * 900) {
          SteerTo(craft, e.x, e.z, out);
          out->engine = true;
          *bearing = HeadingTowards(e.x - craft.x, e.z - craft.z);
          return true;  // pressing against it is the point: no getting unstuck
        }
        if (d2 < 150 * 150 && ++nearAge_ > kPickupPatience) {
          NextStep();  // it does not go: stands where the craft cannot touch it
          continue;
        }
        SteerTo(craft, e.x, e.z, out);
        *bearing = HeadingTowards(e.x - craft.x, e.z - craft.z);
        break;
      }
    }
    unsticker_.Run(craft, out->engine, out);
    return true;
  }
  out->engine = false;  // the leg is walked: wait for what comes (the ending)
  return false;
}
