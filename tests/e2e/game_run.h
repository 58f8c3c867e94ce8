// One headless run of the real `game` from a scratch directory holding the baked data:
// taps and key presses at timer messages in, the files it wrote and its shots out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/core.h"
#include "test_support.h"

// Screen points of the controls the runs press, from the resource script's layout.
struct Point {
  int x, y;
};
namespace at {
constexpr Point kPlay{182, 163}, kNewGame{182, 193}, kOptions{182, 223}, kCredits{182, 253},
    kExit{182, 283};
constexpr Point kNewGameOk{64, 241}, kNewGameCancel{176, 241};
constexpr Point kEasy{120, 91}, kNormal{120, 161}, kHard{120, 231};
constexpr Point kSkipIntro{120, 296};
constexpr Point kShowBackground{120, 63}, kPlayMusic{120, 93}, kCameraFirstPerson{120, 123};
constexpr Point kVolumeMinus{22, 170}, kVolumePlus{218, 170}, kVisMinus{22, 214},
    kVisPlus{218, 214}, kKeySetup{120, 253}, kOptionsBack{120, 289};
constexpr Point kKeyTurnLeft{83, 53}, kKeyShoot{83, 153}, kKeyMenuSelect{83, 277},
    kKeySetupBack{120, 304};
constexpr Point kCreditsBack{120, 293};
constexpr Point kInGameMenu{216, 300};
}  // namespace at

// Virtual-key codes the runs use.
constexpr int kVkEnter = 0x0D, kVkSpace = 0x20, kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27,
              kVkDown = 0x28, kVkE = 0x45, kVkW = 0x57, kVkX = 0x58;

// An RGB picture read from a shot.
class GameRun {
 public:
  GameRun();
  // The stylus down on the point at the timer message, up four messages later (two steps).
  void Tap(int tick, Point p);
  // A key down at the timer message, up four messages later.
  void Press(int tick, int vk);
  void Close(int tick);
  void Shot(int tick, const std::string& name);
  void Line(const std::string& line) { script_ += line + "\n"; }
  // Runs `game --headless` for at most `ticks` timer messages; the exit status.
  int Run(int ticks, const std::string& options = "");

  // Settings and player files as the run left them (false when absent).
  bool SavedSettings(Settings* settings, KeyBindings* keys) const;
  bool SavedPlayer(PlayerData* player) const;
  void PutSettings(const Settings& settings, const KeyBindings& keys) const;
  void PutPlayer(const PlayerData& player) const;
  // A shot taken by the run; empty when it was never written.
  RgbImage Image(const std::string& name) const;
  bool Has(const std::string& name) const { return dir.Exists(name); }
  // Copies the named shots where $KVR_KEEP_SHOTS points, for looking at them.
  void Keep(const std::vector<std::string>& names) const;
  std::string Log() const {
    return dir.Exists(files + "log.txt") ? dir.Read(files + "log.txt") : std::string();
  }

  ScratchDir dir;
  // Where in `dir` the game writes the player's files: "demo/" for the attract mode.
  std::string files;

 private:
  std::string script_;
  std::string shots_;
};

// A new campaign as the player data file keeps it: map1_1 at its default entry.
PlayerData NewGame();
// The bindings of the baked kvr.ini: arrows and Enter for the menus, arrows, Space, E, W
// for the craft.
KeyBindings DefaultKeys();
Settings DefaultSettings();
