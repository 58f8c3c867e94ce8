// The autopilot: plays the game through the player's own input. It presses the keys bound to
// the craft's actions and taps the stylus by standing in for the machine's Platform, and it
// reads the game through a read-only view, following the routes stored beside each map.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "world/world.h"

// ---------------------------------------------------------------------------------------
// Routes: "NAME.route" beside each map, and "campaign.route", the order of the legs.

enum class RouteVerb : uint8_t {
  Go,     // walk to a point
  Take,   // walk into a pickup or mission object until it is gone
  Fight,  // destroy an enemy (it may have moved from where the route names it)
  Wait,   // stand still for a number of steps (a countdown, a door)
  Exit,   // walk into a map exit
};

struct RouteStep {
  RouteVerb verb = RouteVerb::Go;
  int32_t type = 0;      // Take, Fight: the entity type code; Wait: the steps
  std::string name;      // Take, Fight: the type's name
  int32_t x = 0, z = 0;  // Go, Take, Fight, Exit: map coordinates
  int line = 0;          // in the route file
};

struct RouteLeg {
  std::string name;
  std::vector<RouteStep> steps;
};

struct MapRoute {
  std::vector<RouteLeg> legs;
  const RouteLeg* Leg(const std::string& name) const;
};

// One leg of a playthrough: play this map's leg.
struct CampaignLeg {
  std::string map;  // "map1_1"
  std::string leg;
  int line = 0;
};

struct CampaignRun {
  std::string name;  // "final", "ship"
  std::vector<CampaignLeg> legs;
};

// Type code of an entity kind's name ("StegoTank"), 0 for none.
int32_t RouteTypeCode(const std::string& name);

// Parses a map's route. False with "LINE: reason" in *error on the first bad line.
bool ParseMapRoute(const std::string& text, MapRoute* out, std::string* error);
// Parses the campaign's order of legs; same error convention.
bool ParseCampaignRoute(const std::string& text, std::vector<CampaignRun>* out,
                        std::string* error);

// ---------------------------------------------------------------------------------------
// What the autopilot reads of the game each timer message.

struct GameReading {
  WorldView world{nullptr};
  uint8_t screenState = 0;  // ScreenStateCode
  const char* form = "";    // name of the current form, "" when none
  bool choiceOpen = false;  // the in-game choice box waits for an answer
};

class GameWatch {
 public:
  virtual ~GameWatch() = default;
  virtual GameReading Read() const = 0;
};

struct AutopilotOptions {
  int32_t skill = 1;          // 1 easy, 2 normal, 3 hard
  std::string run = "final";  // a run of campaign.route
  bool closeAtEnd = false;    // close the game when the run is over (else start again)
};

// Parses the value of --demo: "", "easy", "normal", "hard", each optionally followed by
// ",RUN" ("normal,ship"). False for anything else.
bool ParseDemoOption(const std::string& value, AutopilotOptions* out);

// Wraps `inner`: its key states are ORed with the autopilot's keys, its stylus taps come
// before the inner messages, and a real key press or stylus touch hands the game back to the
// player for good. Takes ownership of `inner`. The routes are read from the data files when
// the first timer message arrives; a missing or broken route leaves the game to the player
// with the reason on stderr.
Platform* CreateAutopilotPlatform(Platform* inner, const AutopilotOptions& options,
                                  const GameWatch* watch);
