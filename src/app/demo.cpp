// The attract mode: the autopilot reads the driver's world, screen state and current form.
#include "app/app.h"
#include "autopilot/autopilot.h"

namespace {

class DriverWatch final : public GameWatch {
 public:
  GameReading Read() const override {
    GameReading r;
    if (!Driver) return r;
    const GameDriver& d = *Driver;
    r.world = WorldView(&d.world);
    r.screenState = d.screenState;
    r.form = d.forms && d.forms->current ? d.forms->current->name : "";
    r.choiceOpen = d.screenState == kScreenChoice || d.screenState == kScreenChoiceAnswered;
    return r;
  }
};

const DriverWatch kWatch;

}  // namespace

Platform* WithDemo(Platform* platform, const PlatformOptions& options) {
  AutopilotOptions demo;
  if (!platform || !options.demo || !ParseDemoOption(options.demoValue, &demo)) return platform;
  demo.closeAtEnd = options.headless;
  return CreateAutopilotPlatform(platform, demo, &kWatch);
}
