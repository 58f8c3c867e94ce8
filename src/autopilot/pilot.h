// Inside the autopilot: what it wants of the controls this timer message, and the pilot that
// decides it from the reading of the game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "autopilot/autopilot.h"

// The controls the pilot asks for. Held actions stay down while set; the engine and the
// weapon change are single presses, sent one at a time.
struct Intent {
  bool left = false, right = false, viewUp = false, viewDown = false, shoot = false;
  bool engine = false;        // wanted state of the engine
  bool changeWeapon = false;  // press the weapon change once
  bool tap = false;           // tap the stylus at (tapX, tapY)
  int32_t tapX = 0, tapY = 0;
  bool drive = false;         // the craft is being driven: `engine` counts
  bool finished = false;      // the run is over and the main menu is back
};

// Heading arithmetic (heading units, 0 facing +z, growing to the right).
int32_t HeadingTowards(int32_t dx, int32_t dz);
int32_t HeadingError(int32_t target, int32_t heading);  // within +-kFullTurn / 2
int64_t Distance2(int32_t ax, int32_t az, int32_t bx, int32_t bz);

// Steering: turn towards (x, z) and walk when roughly facing it or far from it.
void SteerTo(const CraftReading& craft, int32_t x, int32_t z, Intent* out);
// Notices a craft that walks without getting anywhere and turns it out of the way for a
// while; true while that manoeuvre runs (it has filled `out`).
class Unsticker {
 public:
  bool Run(const CraftReading& craft, bool walking, Intent* out);
  void Reset();

 private:
  int32_t sampleX_ = 0, sampleZ_ = 0, sampleAge_ = 0;
  int32_t manoeuvre_ = 0;  // timer messages of the manoeuvre left
  int32_t count_ = 0;      // manoeuvres so far: the side alternates
};

// Combat: the nearest enemy worth fighting within `reach` of the craft, -1 for none.
// The nearest flyer (or, without `flyers`, walker) within `reach`, and when `walking`
// within a cone around `bearing`; -1 for none. Towers and what `ignored` holds (entity
// indices) are left alone.
int32_t EnemyToShoot(const WorldView& world, const CraftReading& craft, bool flyers,
                     int64_t reach, bool walking, int32_t bearing,
                     const std::vector<int32_t>& ignored);
// Turns, looks up or down and fires at the entity, walking nearer when `approach` is set;
// picks the weapon.
// (vx, vz): the enemy's motion in units a step, to lead it.
void Attack(const CraftReading& craft, const EntityReading& enemy, int32_t vx, int32_t vz,
            bool approach, Intent* out);

// Walks across the line of a torpedo that would hit the craft; false when none comes.
bool Dodge(const WorldView& world, const CraftReading& craft, Intent* out);

// The menus: the tap that moves the menus on towards a new game at the skill, or the next
// map of the run on the star chart; false when the form needs nothing.
bool MenuTap(const GameReading& game, int32_t skill, const std::string& nextMap, Intent* out);

// The pilot: the run's legs, the step it is on, and the combat and steering state.
class Pilot {
 public:
  Pilot(const AutopilotOptions& options, std::vector<CampaignLeg> legs,
        std::vector<MapRoute> routes);
  Intent Think(const GameReading& game);
  bool Finished() const { return finished_; }

 private:
  void PlayMap(const GameReading& game, Intent* out);
  // The route's part of the intent (or an energy pack's when low): true while walking, with
  // the heading it walks towards in *bearing.
  bool Walk(const WorldView& world, const CraftReading& craft, const RouteLeg* leg, Intent* out,
            int32_t* bearing);
  // Fetches an energy pack when the energy runs low (or before leaving by an exit): true
  // while it walks to one.
  bool FetchPack(const WorldView& world, const CraftReading& craft, const RouteLeg* leg,
                 Intent* out);
  void EnterMap(const std::string& map, bool restart);
  const RouteLeg* CurrentLeg() const;
  void NextStep();

  AutopilotOptions options_;
  std::vector<CampaignLeg> legs_;
  std::vector<MapRoute> routes_;  // by leg
  int32_t legIndex_ = -1;
  size_t step_ = 0;
  int32_t stepAge_ = 0;  // timer messages on this step
  int32_t nearAge_ = 0;  // timer messages close to a pickup that stays
  int32_t trackX_ = 0, trackZ_ = 0;
  std::string map_;      // the map the pilot plays
  bool sawDeath_ = false;
  bool turnedBack_ = false;  // the chart refused a jump without the charge: back to the hub
  bool inGame_ = false;  // a new game was started
  bool finished_ = false;
  int32_t target_ = -1;  // entity fought
  int32_t targetAge_ = 0;  // timer messages spent on it
  bool hunting_ = false;   // the target is the route's: walk to it
  bool flyer_ = false;     // the target is a flyer, shot at on the way
  int32_t seenX_[4] = {}, seenZ_[4] = {};  // the target's last places, a timer message apart
  int32_t seen_ = 0;
  void Track(const EntityReading& e, int32_t* vx, int32_t* vz);
  std::vector<int32_t> ignored_;  // enemies given up on in this map (out of the line of fire)
  int32_t pack_ = -1;     // an energy pack or ammunition box off the route, fetched when short
  int32_t packAge_ = 0;
  std::vector<int32_t> unreachable_;  // packs given up on in this map
  Unsticker unsticker_;
};
