// The face of the app: the shell that drives the game from the 20 ms timer.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// What the shell drives. The game driver implements it; until it exists, the input-test
// screen does.
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

// Copies the frame buffer to the screen.
bool PresentFrame();

// Fills the key table from the platform and the current latches of the sampled slots.
void SampleKeys();

// After a logic step: previous = current for slots 0-8 and 11-16 and the stylus, then the
// current action latches of those slots are cleared.
void ShiftLatches();

// The stand-in game until the driver lands: shows keys, stylus and steps per second.
GameHooks* CreateInputTestScreen();

// Picks the backend from the desktop options, runs the shell, returns the exit status.
int RunGame(int argc, char** argv);
