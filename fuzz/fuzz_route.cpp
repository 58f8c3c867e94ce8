// Fuzz target: the same bytes as a map's route and as the campaign's order of legs, read as
// the demo reads them; what is read must hold only what the readers promise.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "autopilot/autopilot.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  MapRoute route;
  if (ParseMapRoute(text, &route, &error)) {
    if (route.legs.empty()) abort();
    for (const RouteLeg& leg : route.legs)
      for (const RouteStep& s : leg.steps) {
        if (s.x < 0 || s.z < 0 || s.x > 1000000 || s.z > 1000000) abort();
        if ((s.verb == RouteVerb::Take || s.verb == RouteVerb::Fight) && RouteTypeCode(s.name) != s.type)
          abort();
        if (s.verb == RouteVerb::Wait && (s.type < 0 || s.type > 100000)) abort();
      }
  } else if (error.empty()) {
    abort();
  }
  std::vector<CampaignRun> runs;
  error.clear();
  if (ParseCampaignRoute(text, &runs, &error)) {
    if (runs.empty()) abort();
  } else if (error.empty()) {
    abort();
  }
  return 0;
}
