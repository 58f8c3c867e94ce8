// The autopilot's Platform: it stands between the game and the machine's backend, adds its
// keys to the key states and its taps to the messages, and steps aside for a real player.
#include <cstdio>
#include <memory>

#include "autopilot/pilot.h"
#include "core/core.h"

namespace {

constexpr int kTapHold = 4;        // timer messages between the stylus going down and up
constexpr int kTapSpacing = 16;    // timer messages before the next tap: the form reacts
constexpr int kPressSpacing = 6;   // timer messages before the same single press again

// A single press: down for the one sampling that sees it, then up for the next.
struct Press {
  enum State { Idle, Down, Up } state = Idle;
  int64_t readyAt = 0;

  bool Start(int64_t now) {
    if (state != Idle || now < readyAt) return false;
    state = Down;
    readyAt = now + kPressSpacing;
    return true;
  }
  // The key's reading at one query of its code.
  bool Read() {
    if (state == Down) {
      state = Up;
      return true;
    }
    if (state == Up) state = Idle;
    return false;
  }
};

bool ReadDataText(const std::string& name, std::string* text) {
  FILE* f = OpenDataFile(name.c_str(), "rb");
  if (!f) return false;
  text->clear();
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, f)) > 0;) text->append(buffer, n);
  fclose(f);
  return true;
}

// The pilot for the run named in the options, its routes read from the data files; null
// with the reason in *why.
std::unique_ptr<Pilot> LoadPilot(const AutopilotOptions& options, std::string* why) {
  std::string text, error;
  std::vector<CampaignRun> runs;
  if (!ReadDataText("campaign.route", &text)) {
    *why = "campaign.route cannot be read";
    return nullptr;
  }
  if (!ParseCampaignRoute(text, &runs, &error)) {
    *why = "campaign.route:" + error;
    return nullptr;
  }
  const CampaignRun* run = nullptr;
  for (const CampaignRun& r : runs)
    if (r.name == options.run) run = &r;
  if (!run) {
    *why = "campaign.route has no run '" + options.run + "'";
    return nullptr;
  }
  std::vector<MapRoute> routes;
  for (const CampaignLeg& leg : run->legs) {
    MapRoute route;
    const std::string file = leg.map + ".route";
    if (!ReadDataText(file, &text)) {
      *why = file + " cannot be read";
      return nullptr;
    }
    if (!ParseMapRoute(text, &route, &error)) {
      *why = file + ":" + error;
      return nullptr;
    }
    if (!route.Leg(leg.leg)) {
      *why = file + " has no leg '" + leg.leg + "'";
      return nullptr;
    }
    routes.push_back(std::move(route));
  }
  return std::make_unique<Pilot>(options, run->legs, std::move(routes));
}

class AutopilotPlatform final : public WrappingPlatform {
 public:
  AutopilotPlatform(Platform* inner, const AutopilotOptions& options, const GameWatch* watch)
      : WrappingPlatform(inner), options_(options), watch_(watch) {}

  PlatformMessage NextMessage() override {
    if (!queued_.empty()) {
      PlatformMessage m = queued_.front();
      queued_.erase(queued_.begin());
      return m;
    }
    PlatformMessage m = inner_->NextMessage();
    // Paused, the game takes no steps: the pilot waits with it, its taps and presses held.
    if (m.kind == PlatformMessageKind::Deactivated) away_ = true;
    if (m.kind == PlatformMessageKind::Activated) away_ = false;
    if (m.kind == PlatformMessageKind::StylusDown && !handedBack_) HandBack();
    if (m.kind == PlatformMessageKind::Timer && !handedBack_ && !away_) {
      ++messages_;
      if (messages_ == tapUpAt_) queued_.push_back({PlatformMessageKind::StylusUp, 0, 0});
      Think();
    }
    return m;
  }

  uint16_t KeyState(int vk) override {
    const uint16_t real = inner_->KeyState(vk);
    if (real && !handedBack_ && messages_ > 0) HandBack();
    if (handedBack_ || vk <= 0) return real;
    bool mine = false;
    if (intent_.drive) {
      const struct {
        int slot;
        bool down;
      } held[] = {{kActLeft, intent_.left},     {kActRight, intent_.right},
                  {kActViewUp, intent_.viewUp}, {kActViewDown, intent_.viewDown},
                  {kActShoot, intent_.shoot}};
      for (const auto& h : held)
        if (h.down && Bindings.code[h.slot] == uint32_t(vk)) mine = true;
    }
    // Single presses are read once per query of their own code.
    if (Bindings.code[kActEngineOnOff] == uint32_t(vk) && engine_.Read()) mine = true;
    if (Bindings.code[kActChangeWeapon] == uint32_t(vk) && weapon_.Read()) mine = true;
    return mine ? 1 : real;
  }

 private:
  void HandBack() {
    handedBack_ = true;
    intent_ = Intent();
    pilot_.reset();
  }

  void Think() {
    if (!pilot_) {
      std::string why;
      pilot_ = LoadPilot(options_, &why);
      if (!pilot_) {
        fprintf(stderr, "game: the demo cannot start: %s\n", why.c_str());
        handedBack_ = true;
        return;
      }
    }
    intent_ = pilot_->Think(watch_->Read());
    if (intent_.finished) {
      if (options_.closeAtEnd) {
        printf("demo: the '%s' run ended after %lld timer messages\n", options_.run.c_str(),
               static_cast<long long>(messages_));
        fflush(stdout);
        queued_.push_back({PlatformMessageKind::CloseCommand, 0, 0});
        handedBack_ = true;
      } else {
        pilot_.reset();  // the attract mode starts over
      }
      intent_ = Intent();
      return;
    }
    if (intent_.tap && messages_ >= tapReadyAt_) {
      queued_.push_back({PlatformMessageKind::StylusDown, intent_.tapX, intent_.tapY});
      tapUpAt_ = messages_ + kTapHold;
      tapReadyAt_ = messages_ + kTapSpacing;
    }
    if (intent_.drive) {
      const CraftReading craft = watch_->Read().world.Craft();
      if (intent_.engine != craft.engineOn) engine_.Start(messages_);
      if (intent_.changeWeapon) weapon_.Start(messages_);
    }
  }

  AutopilotOptions options_;
  const GameWatch* watch_;
  std::unique_ptr<Pilot> pilot_;
  Intent intent_;
  Press engine_, weapon_;
  std::vector<PlatformMessage> queued_;
  int64_t messages_ = 0;
  int64_t tapUpAt_ = -1;
  int64_t tapReadyAt_ = 0;
  bool handedBack_ = false;
  bool away_ = false;  // the window is not in front
};

}  // namespace

bool ParseDemoOption(const std::string& value, AutopilotOptions* out) {
  AutopilotOptions o = *out;
  std::string skill = value, run;
  const size_t comma = value.find(',');
  if (comma != std::string::npos) {
    skill = value.substr(0, comma);
    run = value.substr(comma + 1);
    if (run.empty()) return false;
    o.run = run;
  }
  if (skill.empty() || skill == "easy") o.skill = 1;
  else if (skill == "normal") o.skill = 2;
  else if (skill == "hard") o.skill = 3;
  else return false;
  *out = o;
  return true;
}

Platform* CreateAutopilotPlatform(Platform* inner, const AutopilotOptions& options,
                                  const GameWatch* watch) {
  if (!inner || !watch) return inner;
  return new AutopilotPlatform(inner, options, watch);
}
