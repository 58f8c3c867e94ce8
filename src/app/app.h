// The face of the app: the shell that drives the game from the 20 ms timer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "world/world.h"

// What the shell drives: the game driver in the game, small stand-ins in tests.
class GameHooks {
 public:
  virtual ~GameHooks() = default;
  // Once, after the display is open. `handle` is the opaque application context.
  virtual void Initialise(uint32_t handle, uint16_t* frame) = 0;
  // One 40 ms logic step; false ends the game.
  virtual bool Update(uint16_t* frame, int32_t deltaMs) = 0;
  // Once per timer message, after the steps.
  virtual void Render(uint16_t* frame) = 0;
  // Once, by either road out of the message loop.
  virtual void Shutdown() = 0;
};

// The opaque application context handed to the game at initialisation.
constexpr uint32_t kAppContext = 0xDEADBEEF;

// Takes the single-instance lock in ExeDir and starts a fresh log; false when another
// instance runs (it is told on stderr).
bool StartInstance();

// Runs the program over `platform`: display, initialisation, the message loop and
// shutdown. Returns the process exit status.
int RunShell(Platform* platform, GameHooks* game);

// One timer message: as many logic steps as are due (at most 50), then one frame.
void FrameTick(GameHooks* game);

// A stylus down or up from the machine. It goes into the latches at once, unless an earlier
// one has not been seen by a logic step yet: then it waits, in order, for the steps after.
void TakeStylusMessage(const PlatformMessage& m);
// After each logic step: hands the next held stylus message over, if any.
void StylusStepTaken();
// Forgets held stylus messages (a new run of the shell).
void ClearStylusQueue();

// Copies the frame buffer to the screen.
bool PresentFrame();

// Fills the key table from the platform and the current latches of the sampled slots.
void SampleKeys();

// After a logic step: previous = current for slots 0-8 and 11-16 and the stylus, then the
// current action latches of those slots are cleared.
void ShiftLatches();

// With --demo, the platform wrapped by the autopilot (headless, it closes the game when its
// run is over); else the platform itself.
Platform* WithDemo(Platform* platform, const PlatformOptions& options);

// Why the game cannot run from the data folder `dir` (it does not exist, or lacks a file the
// game cannot start without), in words for the player; empty when it can.
std::string DataFolderProblem(const std::string& dir);

// A new game on one map, asked for on the command line (--map NAME[@ENTRY] --skill S).
struct MapStart {
  char map[kMapNameBytes] = {};         // "NAME.map"; empty: the game opens at the main menu
  char entry[kEntryPointBytes] = {};    // the player record that places the craft
  int32_t skill = 2;                    // 1 easy, 2 normal, 3 hard
};
// Checks --map and --skill into *start (left empty without --map) and turns the lookup in
// the player's maps folder on. 0 to go on, else the exit status (the reason on stderr).
int ReadMapStart(const PlatformOptions& options, MapStart* start);
// After the folder is chosen: false (reason on stderr) when no map of that name is found.
bool MapStartFound(const MapStart& start);

// Picks the backend from the desktop options, runs the shell, returns the exit status.
int RunGame(int argc, char** argv);

// ---------------------------------------------------------------------------------------
// The game driver: the one object that ties the game together. It owns the process-wide
// objects (MathTables, Graphics2D, SoundSystem, FormManager), the settings and player
// records and the world record, and runs the screen state the menus and the world write.

constexpr int kHudMessageBytes = 256;
constexpr int kChoiceTextBytes = 256;
constexpr int kAnswerBytes = 96;
constexpr int32_t kHudMessageMs = 3000;   // how long a head-up message stays
constexpr int32_t kFullBrightness = 31;
constexpr int32_t kChoiceDimLevel = 14;   // the frozen game under the choice box
constexpr uint32_t kSplashMs = 2000;

struct AnswerRect {
  int32_t x, y, width, height;
};

class GameDriver final : public GameHooks, public WorldHost {
 public:
  // GameHooks: Create, one logic step, one frame, Destroy.
  void Initialise(uint32_t handle, uint16_t* frame) override;
  bool Update(uint16_t* frame, int32_t deltaMs) override;
  void Render(uint16_t* frame) override;
  void Shutdown() override;

  // WorldHost
  Settings& GetSettings() override { return settings; }
  PlayerData& GetPlayerData() override { return player; }
  uint8_t GetScreenState() override { return screenState; }
  void SetScreenState(uint8_t state) override { screenState = state; }
  void SetFadeOut() override { fadeOut = 1; }
  void SetFadeReset() override { fadeReset = 1; }
  void ShowHudMessage(const char* text) override;
  FormManager* GetForms() override { return forms; }
  SoundSystem* GetSound() override { return sound; }

  // The in-game choice box: a question with one to three answers, the first selection
  // 1..count. False, with nothing changed but the throttled redraw, when out of range.
  bool ShowChoice(const char* question, int32_t count, int32_t first, const char* answer1,
                  const char* answer2, const char* answer3);
  // Opens FORMINGAME_CAM_FP for the first-person camera, else FORMINGAME_CAM_EXT2.
  void OpenInGameForm();

  // Set before Initialise: the game starts on this map instead of at the main menu.
  MapStart mapStart;
  char arrivalMap[kMapNameBytes] = {};       // the map being played and the entry it was
  char arrivalEntry[kEntryPointBytes] = {};  // entered by, for a way back from a dead end

  uint32_t app = 0;
  uint16_t* frame = nullptr;
  Font* font = nullptr;            // "font2.fnt": the head-up line and the choice box
  int32_t frameDelta = 0;
  uint8_t screenState = 0;         // ScreenStateCode
  int32_t fadeLevel = 0;           // 0 black .. 31 full brightness
  uint8_t fadeReset = 0;
  uint8_t fadeOut = 0;
  uint8_t messageShown = 0;
  int32_t messageTime = 0;
  uint8_t stepped = 1;             // a logic step ran since the last frame
  char messageText[kHudMessageBytes] = {};
  Settings settings = {};
  PlayerData player = {};
  char choiceText[kChoiceTextBytes] = {};
  char answers[3][kAnswerBytes] = {};
  int32_t answerCount = 0;
  int32_t selected = 0;
  AnswerRect answerRects[3] = {};
  World world = {};
  MathTables* math = nullptr;
  Graphics2D* g2d = nullptr;
  SoundSystem* sound = nullptr;
  FormManager* forms = nullptr;
  ScrollText* intro = nullptr;     // the briefing's panel while FORMINTRO is open

 private:
  void ChoiceInput();
  void DrawChoice();
  void AnswerChoice();
  void UnloadMap();
  void BackToForms();
  // Custom maps (map_play.cpp): the start on a map, and the main menu in place of an exit
  // that leads nowhere or of a map that has no craft to play.
  void StartOnMap();
  void NoteArrival();
  bool ExitLeadsToMenu();
  bool MapUnplayable();
};

// The one game driver of the process; null outside its lifetime.
extern GameDriver* Driver;

// Every form event of every menu screen; installed in the FormManager by the driver.
void HandleMenuEvent(FormManager* manager, int32_t code, int32_t value, void* object,
                     const char* name);

// The head-up message rule: a text that fits the layout width stays one line; a longer one
// is broken into lines after words, each continuation line starting with the space that
// separated them, every line ending in "\n". The result never exceeds `outBytes` - 1.
void WrapHudMessage(const Font& font, const char* text, int32_t layoutWidth, char* out,
                    size_t outBytes);

// Where the choice box puts each of its `count` answers (text sizes from `font`), in
// layout units scaled to the current layout through `g2d`.
void PlaceAnswers(const Graphics2D& g2d, const Font& font, int32_t count,
                  const char* const answers[3], AnswerRect rects[3]);
