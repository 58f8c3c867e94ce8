// The narrow interface between the game and the machine it runs on: window or headless.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Size of the frame the game draws: a portrait handheld screen.
constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;

// What the message loop hands the shell, in the order the machine produced it.
enum class PlatformMessageKind {
  Timer,        // the 20 ms timer fired
  StylusDown,   // left button or finger down at (x, y), layout coordinates
  StylusUp,     // released
  Deactivated,  // the window lost the focus or was minimised: the shell pauses
  Activated,    // the window is in front again: the shell resumes
  CloseCommand, // Ctrl+Q, or the window's close box
  About,        // Ctrl+A: show the About box
  Quit,         // the loop is over: GetMessage returned 0
};

struct PlatformMessage {
  PlatformMessageKind kind = PlatformMessageKind::Timer;
  int32_t x = 0;
  int32_t y = 0;
};

// Fill callback of the audio device: called on the device's own thread with room for
// `bytes` bytes of signed 16-bit mono samples.
using AudioFillCallback = void (*)(void* user, uint8_t* stream, int bytes);

struct AudioSpec {
  int rate = 16000;
  int channels = 1;
  int samples = 2048;  // one device buffer, in samples
};

// One backend: the sdl window or the headless runner. The shell owns exactly one.
class Platform {
 public:
  virtual ~Platform() = default;

  // Opens the display and the keys; false when either cannot be had.
  virtual bool OpenDisplay() = 0;
  virtual void CloseDisplay() = 0;

  // Millisecond performance counter; false when the machine has none.
  virtual bool PerformanceCounter(uint64_t* counter, uint64_t* frequency) = 0;
  // Suspends the caller (headless: advances the virtual clock instead).
  virtual void Sleep(uint32_t ms) = 0;

  // Blocks until the next message. After Quit every call returns Quit again.
  virtual PlatformMessage NextMessage() = 0;
  // Asks the loop to end: the next NextMessage returns Quit (the window is destroyed).
  virtual void PostQuit() = 0;

  // Copies one 240 x 320 frame of 5-6-5 pixels to the screen.
  virtual bool Present(const uint16_t* frame) = 0;

  // Non-zero when the key with this Windows virtual-key code is down, or was pressed
  // since the previous query of the same code.
  virtual uint16_t KeyState(int vk) = 0;

  // A modal box with one button; returns when dismissed (headless: writes to stderr).
  virtual void MessageBox(const std::string& title, const std::string& text) = 0;

  // Audio device: one stream, opened paused. The callback runs on the device thread.
  virtual bool OpenAudio(const AudioSpec& format, AudioFillCallback fill, void* user) = 0;
  virtual void PauseAudio(bool paused) = 0;
  virtual void LockAudio() = 0;
  virtual void UnlockAudio() = 0;
  virtual void CloseAudio() = 0;

  // While the game is paused (not in front): shows the last presented frame marked as
  // paused, silences the audio output whatever the game asked of the device, and restores
  // both when called with false. The game's own frame buffer is never touched.
  virtual void ShowPaused(bool paused) = 0;
};

// A backend standing in front of another one (the tape recorder and player, the autopilot):
// everything goes straight to the inner backend unless the wrapper overrides it. It owns the
// inner backend.
class WrappingPlatform : public Platform {
 public:
  explicit WrappingPlatform(Platform* inner) : inner_(inner) {}
  bool OpenDisplay() override { return inner_->OpenDisplay(); }
  void CloseDisplay() override { inner_->CloseDisplay(); }
  bool PerformanceCounter(uint64_t* counter, uint64_t* frequency) override {
    return inner_->PerformanceCounter(counter, frequency);
  }
  void Sleep(uint32_t ms) override { inner_->Sleep(ms); }
  PlatformMessage NextMessage() override { return inner_->NextMessage(); }
  void PostQuit() override { inner_->PostQuit(); }
  bool Present(const uint16_t* frame) override { return inner_->Present(frame); }
  uint16_t KeyState(int vk) override { return inner_->KeyState(vk); }
  void MessageBox(const std::string& title, const std::string& text) override {
    inner_->MessageBox(title, text);
  }
  bool OpenAudio(const AudioSpec& format, AudioFillCallback fill, void* user) override {
    return inner_->OpenAudio(format, fill, user);
  }
  void PauseAudio(bool paused) override { inner_->PauseAudio(paused); }
  void LockAudio() override { inner_->LockAudio(); }
  void UnlockAudio() override { inner_->UnlockAudio(); }
  void CloseAudio() override { inner_->CloseAudio(); }
  void ShowPaused(bool paused) override { inner_->ShowPaused(paused); }

 protected:
  std::unique_ptr<Platform> inner_;
};

// Desktop options of the program; the game itself is configured by its settings files.
struct PlatformOptions {
  bool headless = false;
  int scale = 0;           // 0: the largest whole scale that fits the screen
  bool fullscreen = false;
  bool nosound = false;
  std::string dataDir;     // stands for the program's directory when not empty
  std::string userDir;     // where the player's files and screenshots go (set by the shell)
  std::string recordFile;  // writes the session's input and clock readings to this file
  std::string replayFile;  // plays a recorded session back instead of the player's input
  int ticks = -1;          // headless: timer messages before the close command
  std::string inputScript; // headless: input script file
  std::vector<std::pair<int, std::string>> shots;  // headless: timer message, PNG file
  std::string wavFile;     // headless: everything the null audio device took
  bool noPerformanceCounter = false;  // headless: simulate a machine without one
  bool demo = false;       // the autopilot plays until a real key or touch
  std::string demoValue;   // what followed "--demo=": skill and run, checked by the app
  std::string map;         // --map NAME[@ENTRY]: a new game on that map, checked by the app
  std::string skill;       // --skill easy|normal|hard for that game, checked by the app
};

// Parses the desktop command line. Returns 0 to go on, 1 for an error (message written to
// `err`), 2 when --help or --version was answered (text written to `out`).
int ParsePlatformOptions(int argc, char** argv, PlatformOptions* options, std::string* out,
                         std::string* err);

// The backends. Each returns null when it cannot start (reason on stderr).
Platform* CreateSdlPlatform(const PlatformOptions& options);
Platform* CreateHeadlessPlatform(const PlatformOptions& options);
Platform* CreateWebPlatform(const PlatformOptions& options);
// The one a player sees: the sdl window on a desktop, the page in the browser build.
Platform* CreateWindowPlatform(const PlatformOptions& options);

// A message box on the desktop with no window of the game's own, for what stops the game
// before its window opens; false when no desktop shows it.
bool ShowDesktopMessage(const std::string& title, const std::string& text);

// The one backend in use, reached by the code that must ask the machine something.
Platform* CurrentPlatform();
void SetCurrentPlatform(Platform* platform);

// Takes the single-instance lock file in `dir`. False when another instance holds it.
// The lock is held until the process ends or ReleaseInstanceLock is called.
bool TakeInstanceLock(const std::string& dir);
void ReleaseInstanceLock();

// Directory of the running executable, with its trailing separator.
std::string ExecutableDirectory();

// Where an installed game keeps its data (<prefix>/share/kvr/ for a program in
// <prefix>/games/), with its trailing separator, whether it is there or not; empty when the
// program does not stand in an install tree's games folder.
std::string InstallTreeDataDirectory(const std::string& exeDir);
// The data folder of an installed game, with its trailing separator; empty when the program
// does not run from an installed tree or its data folder is not there.
std::string InstalledDataDirectory(const std::string& exeDir);
// $XDG_DATA_HOME/kvr/ (~/.local/share/kvr/ by default), created when missing, with its
// trailing separator; empty (reason on stderr) when it cannot be had.
std::string UserDataDirectory();

// One game pixel as 0xRRGGBB, as the screen shows it. The screen is 5-6-5: the game's own
// colours leave bit 5 clear, but a half blend can set it, and the display shows it as the lowest
// green bit. Each field is widened by copying its top bits into the low ones. Inline, so the
// window's scaler computes it for whole rows at once instead of looking it up in a table.
inline uint32_t Rgb888From565(uint16_t p) {
  uint32_t r = (p >> 11) & 31u, g = (p >> 5) & 63u, b = p & 31u;
  r = (r << 3) | (r >> 2);
  g = (g << 2) | (g >> 4);
  b = (b << 3) | (b >> 2);
  return (r << 16) | (g << 8) | b;
}

// Writes a 240 x 320 frame's own bytes (little-endian 5-6-5, row by row) to a file; false on
// failure.
bool WriteRawFrame(const std::string& path, const uint16_t* frame);

// Writes a 5-6-5 image to an RGB PNG file; false on failure (always in the browser build,
// which has no PNG library: its shots are raw frames).
bool WritePng565(const std::string& path, const uint16_t* pixels, int width, int height);
