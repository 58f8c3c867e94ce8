// Games on a single map, started from the command line (--map NAME[@ENTRY]): the options'
// checks, the new game on that map, and the main menu in place of a dead end (an exit to a
// map that does not exist, the "menu" exit of a player's map, a map with nothing to play).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/app.h"
#include "core/core.h"
#include "engine3d/engine3d.h"

int ReadMapStart(const PlatformOptions& options, MapStart* start) {
  *start = MapStart{};
  // The player's maps are found wherever the player's files are; a folder too long to use
  // just means there are none.
  SetPlayerMapsDir((std::string(PlayerFilesDir()) + "maps/").c_str());
  if (options.map.empty()) {
    if (options.skill.empty()) return 0;
    fprintf(stderr, "game: --skill goes with --map\n");
    return 2;
  }
  if (options.demo) {
    fprintf(stderr, "game: --demo and --map do not go together\n");
    return 2;
  }
  const size_t at = options.map.find('@');
  const std::string name = options.map.substr(0, at);
  const std::string entry = at == std::string::npos ? "default" : options.map.substr(at + 1);
  // The name becomes a file name: nothing that could lead out of the folders.
  if (!IsPlainMapName(name.c_str()) || entry.empty() || entry.size() >= sizeof start->entry) {
    fprintf(stderr, "game: --map takes NAME or NAME@ENTRY (letters, digits, '_' and '-' in the name)\n");
    return 2;
  }
  static const struct {
    const char* word;
    int32_t level;
  } kSkills[] = {{"", 2}, {"easy", 1}, {"normal", 2}, {"hard", 3}};
  bool known = false;
  for (const auto& s : kSkills)
    if (options.skill == s.word) known = true, start->skill = s.level;
  if (!known) {
    fprintf(stderr, "game: --skill takes easy, normal or hard\n");
    return 2;
  }
  snprintf(start->map, sizeof start->map, "%s.map", name.c_str());
  snprintf(start->entry, sizeof start->entry, "%s", entry.c_str());
  return 0;
}

bool MapStartFound(const MapStart& start) {
  if (FileExists(start.map)) return true;
  fprintf(stderr, "game: no map %s in %s or in the game's data (kvr-maps list shows yours)\n", start.map,
          PlayerMapsDir[0] ? PlayerMapsDir : "your maps folder");
  return false;
}

void GameDriver::StartOnMap() {
  // A new game in this folder of its own: no player data and no map state of an earlier
  // run on these maps is taken along.
  NewGameReset(&player);
  std::error_code error;
  for (const auto& file : std::filesystem::directory_iterator(PlayerFilesDir(), error))
    if (file.path().extension() == ".sav") std::filesystem::remove(file.path(), error);
  player.skillLevel = mapStart.skill;
  memcpy(player.nextMap, mapStart.map, sizeof player.nextMap);
  memcpy(player.entryPoint, mapStart.entry, sizeof player.entryPoint);
  if (sound) StopIntroMusic(sound);
  if (forms) CloseCurrentForm(forms);
  OpenInGameForm();  // its opening starts the loading
}

void GameDriver::NoteArrival() {
  memcpy(arrivalMap, player.nextMap, sizeof arrivalMap);
  memcpy(arrivalEntry, player.entryPoint, sizeof arrivalEntry);
}

bool GameDriver::ExitLeadsToMenu() {
  const bool menu = !strcmp(player.nextMap, kMenuExitTarget);
  if (!menu && (LeadsToStarChart(player) || FileExists(player.nextMap))) return false;
  if (!menu) {
    ShowHudMessage((std::string("Map not found: ") + player.nextMap).c_str());
  }
  // Play from the menu goes back to where the map just left was entered.
  memcpy(player.nextMap, arrivalMap, sizeof player.nextMap);
  memcpy(player.entryPoint, arrivalEntry, sizeof player.entryPoint);
  player.restorePlayer = 0;
  screenState = kScreenToMainMenu;
  return true;
}

bool GameDriver::MapUnplayable() {
  // Without a craft, or without one solid object to stand on, the screen would stay black
  // or the craft fall for ever: the loader's log says what was wrong with the files.
  bool ground = false;
  if (world.scene)
    for (int32_t k = 0; k < world.scene->store.count && !ground; ++k) {
      const Object3D* o = world.scene->store.Get(k);
      ground = o && o->solid && !o->entity;
    }
  if (world.player && ground) return false;
  ShowHudMessage((std::string("Map cannot be played: ") + world.currentMapFile).c_str());
  screenState = kScreenToMainMenu;
  return true;
}
