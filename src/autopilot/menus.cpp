// The menus: a new game at the chosen skill, the briefing skipped, the next system picked on
// the star chart, and the notices answered. Taps land on the controls' middles.
#include <cstring>

#include "autopilot/pilot.h"

namespace {

struct Tap {
  int32_t x, y;
};
constexpr Tap kNewGame{182, 193};
constexpr Tap kNewGameOk{64, 241};
constexpr Tap kSkills[3] = {{120, 91}, {120, 161}, {120, 231}};
constexpr Tap kSkipIntro{120, 296};
constexpr Tap kChartPrevious{32, 296}, kChartNext{208, 296}, kChartJump{120, 296};
constexpr Tap kTooFarOk{120, 250};
constexpr Tap kCreditsBack{120, 293}, kOptionsBack{120, 289}, kKeySetupBack{120, 304};

bool Is(const char* form, const char* name) { return strcmp(form, name) == 0; }

bool Put(Tap t, Intent* out) {
  out->tap = true;
  out->tapX = t.x;
  out->tapY = t.y;
  return true;
}

}  // namespace

bool MenuTap(const GameReading& game, int32_t skill, const std::string& nextMap, Intent* out) {
  const char* form = game.form;
  if (Is(form, "FORMMAIN")) return Put(kNewGame, out);
  if (Is(form, "FORMNEWGAME")) return Put(kNewGameOk, out);
  if (Is(form, "FORMSKILLLEVEL")) return Put(kSkills[skill >= 1 && skill <= 3 ? skill - 1 : 0], out);
  if (Is(form, "FORMINTRO")) return Put(kSkipIntro, out);
  if (Is(form, "FORMJUMPTOOFAR")) return Put(kTooFarOk, out);
  if (Is(form, "FORMCREDITS")) return Put(kCreditsBack, out);
  if (Is(form, "FORMOPTIONS")) return Put(kOptionsBack, out);
  if (Is(form, "FORMKEYSETUP")) return Put(kKeySetupBack, out);
  if (Is(form, "FORMSTARCHART")) {
    const WorldView& w = game.world;
    const int32_t selected = w.ChartSelected();
    if (selected < 0) return false;  // the chart is still opening
    if (nextMap == w.ChartDestination(selected)) return Put(kChartJump, out);
    for (int32_t i = 0; i < w.ChartCount(); ++i)
      if (nextMap == w.ChartDestination(i)) return Put(i > selected ? kChartNext : kChartPrevious, out);
    return false;  // the run names no destination of the chart: the player decides
  }
  return false;
}
