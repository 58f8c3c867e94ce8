// The face of the game world: the host it needs from the driver, the world record the
// driver keeps, and the calls that load, run, draw the radar of and unload a map.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/core.h"
#include "engine3d/engine3d.h"
#include "gfx2d/gfx2d.h"
#include "gui/gui.h"
#include "sound/sound.h"

struct EntityManager;
struct ExplosionManager;
struct Map2D;
struct PlayerCraft;
struct StarChart;

// ---------------------------------------------------------------------------------------
// The host: what the world needs from the game driver. The driver implements it; tests hand
// the world a fake. The world never includes a header of the app.

// The driver's screen states the world writes.
enum ScreenStateCode : uint8_t {
  kScreenPlaying = 1,
  kScreenLoading = 2,
  kScreenQuit = 3,
  kScreenMenus = 5,
  kScreenChoice = 6,
  kScreenChoiceAnswered = 7,
  kScreenNextMap = 9,
  kScreenRestored = 10,
  kScreenToMainMenu = 11,
};

class WorldHost {
 public:
  virtual ~WorldHost() = default;
  // The driver's records, read and written in place.
  virtual Settings& GetSettings() = 0;
  virtual PlayerData& GetPlayerData() = 0;
  virtual uint8_t GetScreenState() = 0;
  virtual void SetScreenState(uint8_t state) = 0;
  // The picture darkens one level per frame from now on (death, final text, departure).
  virtual void SetFadeOut() = 0;
  // Full brightness on the next frame.
  virtual void SetFadeReset() = 0;
  // The head-up message line; the text is copied.
  virtual void ShowHudMessage(const char* text) = 0;
  // The process-wide objects the driver owns. Forms() may be null in tests.
  virtual FormManager* GetForms() = 0;
  virtual SoundSystem* GetSound() = 0;
};

// A host that only keeps the driver's records and shows nothing: what tools, benchmarks and
// fuzz targets hand the world when they load a map without a driver.
class RecordHost : public WorldHost {
 public:
  Settings& GetSettings() override { return settings; }
  PlayerData& GetPlayerData() override { return player; }
  uint8_t GetScreenState() override { return screen; }
  void SetScreenState(uint8_t state) override { screen = state; }
  void SetFadeOut() override {}
  void SetFadeReset() override {}
  void ShowHudMessage(const char*) override {}
  FormManager* GetForms() override { return nullptr; }
  SoundSystem* GetSound() override { return sound; }

  Settings settings = {};
  PlayerData player = {};
  uint8_t screen = 0;
  SoundSystem* sound = nullptr;
};

// ---------------------------------------------------------------------------------------
// The world record: the map's state kept beside the driver. Zero-filled by WorldInit.

enum WorldStateCode : uint8_t {
  kWorldLoading = 0,
  kWorldPlaying = 1,
  kWorldUnloaded = 4,
  kWorldClosing = 6,
};

constexpr int kWorldNameBytes = 256;
constexpr int kLoadingSteps = 10;

struct World {
  WorldHost* host;
  uint32_t app;              // the opaque application handle handed to every object
  int32_t loadingStep;       // 0..10: the next step the loader performs
  uint8_t worldState;        // WorldStateCode
  int32_t playTime;          // ms since the map started
  int32_t closingTimer;      // ms spent in world state 6
  int32_t cameraHeading;     // smoothed heading of the camera and the sky
  int32_t cameraMode;        // 1 first person, 3 outside; 4 after death, 5 boarding
  char currentMapFile[kWorldNameBytes];
  char texPackName[kWorldNameBytes];
  char backgroundName[kWorldNameBytes];
  // Bound from the in-game form by the menu handler when the form opens.
  View3DControl* view;       // its engine is the scene
  Engine3D* scene;
  Background* background;
  ProgressBarControl* energyBar;
  // Made by loading, freed by unloading.
  Map2D* map2d;
  EntityManager* entities;
  ExplosionManager* explosions;
  PointerList* kinds;        // KindList: kind objects tagged with their type code
  PlayerCraft* player;       // the current player, null when none
  void* ship;                // the current ship, null when none
  StarChart* starChart;      // while FORMSTARCHART is open
  // Loading: the map file stays open from step 3 to step 4.
  FILE* mapFile;
  int32_t mapObjectCount;
};

// Zeroes the record and stores the host and the application handle; world state 4.
void WorldInit(World* world, WorldHost* host, uint32_t app);

// One loading step (0..9) per call, then the PGB_LOADING bar shows the new step count.
// Steps at or beyond 10 only move the bar. Called once per rendered frame while loading.
void WorldLoadStep(World* world);
// One game step of the map: world state 1 plays, world state 6 runs the closing pause.
void WorldUpdate(World* world);
// Saves the map state when the player lives, destroys every kind and frees the map.
void WorldUnload(World* world);
// True while a map is loaded (between loading step 1 and unloading).
bool WorldMapLoaded(const World* world);
// The radar's entity dots; the driver calls it every frame while the craft is alive.
void WorldDrawMap2D(World* world);
// True when a map is loaded, its player's craft exists and is in state 0 (alive).
bool WorldPlayerAlive(const World* world);
// The in-game form's engine switch: the craft's engine on (its start sound) or off (its
// stop sound). Nothing happens while the map has no craft.
void SwitchPlayerEngine(World* world, uint8_t on);

// ---------------------------------------------------------------------------------------
// Map state files ("map1_1.map" keeps its state in "map1_1.sav")

// Writes the current map's state (a temporary file renamed over the old one).
void SaveMapState(World* world);
// Copies the map's state file to "mapbkp.sav" and reads it into the map's kinds.
void LoadMapState(World* world);
// Copies "mapbkp.sav" back over the map's state file (after the player's death).
void RestoreMapState(World* world);

// ---------------------------------------------------------------------------------------
// The star chart (FORMSTARCHART), driven by the menu event handler's events.

void StarChartOpen(World* world);
void StarChartUpdate(World* world);
void StarChartPrevious(World* world);
void StarChartNext(World* world);
void StarChartJump(World* world);
void StarChartClose(World* world);
// True when the next map is the star chart ("starchart.map", the target of the launch pads'
// map exits): the driver opens FORMSTARCHART instead of loading a map.
bool LeadsToStarChart(const PlayerData& player);
// The target of a map exit that leads back to the main menu (players' maps end this way).
constexpr const char* kMenuExitTarget = "menu";

// ---------------------------------------------------------------------------------------
// A read-only look at the world for code that watches or plays the game from outside it (the
// autopilot). It copies readings out and never hands out anything that could change the world.

struct CraftReading {
  bool present = false;   // a map is loaded and has a craft
  bool alive = false;     // the craft is in its living state
  int32_t x = 0, y = 0, z = 0;
  int32_t heading = 0;    // 0..524288, 0 facing +z
  int32_t pitch = 0;      // positive looks down
  int32_t speed = 0;
  int32_t dx = 0, dz = 0;  // how far it moved in the last world step
  bool engineOn = false;
  int32_t energy = 0;
  int32_t weapon = 0;     // 0 machine gun, 1 plasma, 2 rocket
  int32_t gunAmmo = 0, plasmaAmmo = 0, rockets = 0;
};

struct EntityReading {
  int32_t type = 0;       // entity type code (kinds.h)
  int32_t x = 0, y = 0, z = 0;
  bool active = false;    // taken pickups, destroyed and not yet shown enemies are inactive
  int32_t dx = 0, dy = 0, dz = 0;  // how far it moved in the last world step
  bool fromCraft = false;  // a projectile the player's craft fired
};

class WorldView {
 public:
  explicit WorldView(const World* world) : world_(world) {}
  bool MapLoaded() const;
  // Loaded and playing (not loading, not in the closing pause).
  bool Playing() const;
  // The current map's file name ("map1_1.map"), "" when none.
  const char* MapName() const;
  CraftReading Craft() const;
  int32_t EntityCount() const;
  EntityReading EntityAt(int32_t index) const;
  // While the star chart is open: its selected destination's index, their count, and the
  // map a destination leads to ("" out of range).
  int32_t ChartSelected() const;
  int32_t ChartCount() const;
  const char* ChartDestination(int32_t index) const;

 private:
  const World* world_;
};
