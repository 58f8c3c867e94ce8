// The headless game runner of the end-to-end tests.
#include "game_run.h"

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

GameRun::GameRun() { dir.LinkGameData(); }

void GameRun::Tap(int tick, Point p) {
  Line(std::to_string(tick) + " stylus-down " + std::to_string(p.x) + " " + std::to_string(p.y));
  Line(std::to_string(tick + 4) + " stylus-up");
}

void GameRun::Press(int tick, int vk) {
  Line(std::to_string(tick) + " down " + std::to_string(vk));
  Line(std::to_string(tick + 4) + " up " + std::to_string(vk));
}

void GameRun::Close(int tick) { Line(std::to_string(tick) + " close"); }

void GameRun::Shot(int tick, const std::string& name) {
  shots_ += " --shot " + std::to_string(tick) + ":" + dir.File(name);
}

int GameRun::Run(int ticks, const std::string& options) {
  dir.Write("input.txt", script_);
  const std::string cmd = GameDataDir() + "/game --headless --data " + dir.path() + " --ticks " +
                          std::to_string(ticks) + " --input " + dir.File("input.txt") + shots_ +
                          " " + options + " >" + dir.File("stdout.txt") + " 2>&1";
  const int status = system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool GameRun::SavedSettings(Settings* settings, KeyBindings* keys) const {
  if (!dir.Exists(files + kSettingsFile)) return false;
  const std::string bytes = dir.Read(files + kSettingsFile);
  memset(settings, 0, sizeof *settings);
  memset(keys, 0, sizeof *keys);
  DecodeSettingsFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), settings, keys);
  return bytes.size() == kSettingsFileBytes;
}

bool GameRun::SavedPlayer(PlayerData* player) const {
  if (!dir.Exists(files + kPlayerDataFile)) return false;
  const std::string bytes = dir.Read(files + kPlayerDataFile);
  memset(player, 0, sizeof *player);
  DecodePlayerData(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), player);
  return bytes.size() == kPlayerDataBytes;
}

void GameRun::PutSettings(const Settings& settings, const KeyBindings& keys) const {
  uint8_t image[kSettingsFileBytes];
  EncodeSettingsFile(settings, keys, image);
  dir.Write(kSettingsFile, std::string(reinterpret_cast<char*>(image), sizeof image));
}

void GameRun::PutPlayer(const PlayerData& player) const {
  uint8_t image[kPlayerDataBytes];
  EncodePlayerData(player, image);
  dir.Write(kPlayerDataFile, std::string(reinterpret_cast<char*>(image), sizeof image));
}

void GameRun::Keep(const std::vector<std::string>& names) const {
  const char* to = getenv("KVR_KEEP_SHOTS");
  if (!to) return;
  for (const std::string& n : names)
    if (Has(n))
      std::filesystem::copy_file(dir.File(n), std::string(to) + "/" + n,
                                 std::filesystem::copy_options::overwrite_existing);
}

RgbImage GameRun::Image(const std::string& name) const { return ReadRgbImage(dir.File(name)); }

PlayerData NewGame() {
  PlayerData p;
  memset(&p, 0, sizeof p);
  NewGameReset(&p);
  return p;
}

KeyBindings DefaultKeys() {
  KeyBindings keys;
  memset(&keys, 0, sizeof keys);
  keys.code[kActMenuLeft] = kVkLeft;
  keys.code[kActMenuRight] = kVkRight;
  keys.code[kActMenuUp] = kVkUp;
  keys.code[kActMenuDown] = kVkDown;
  keys.code[kActMenuSelect] = kVkEnter;
  keys.code[kActLeft] = kVkLeft;
  keys.code[kActRight] = kVkRight;
  keys.code[kActViewUp] = kVkUp;
  keys.code[kActViewDown] = kVkDown;
  keys.code[kActShoot] = kVkSpace;
  keys.code[kActEngineOnOff] = kVkE;
  keys.code[kActChangeWeapon] = kVkW;
  return keys;
}

Settings DefaultSettings() {
  Settings s;
  memset(&s, 0, sizeof s);
  SetDefaultSettings(&s);
  return s;
}
