// The headless backend: a virtual 20 ms clock, scripted input, PNG shots, a null sound card.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/key_latch.h"
#include "platform/platform.h"

struct ScriptedInput {
  int tick;        // timer message before which it happens (0-based)
  enum Kind { KeyDown, KeyUp, KeyPress, StylusDown, StylusUp, Close } kind;
  int a = 0, b = 0;  // key code, or stylus x and y
};

// Parses an input script; false with a message in `err` on a malformed line.
bool ParseInputScript(const std::string& text, std::vector<ScriptedInput>* out, std::string* err);

class HeadlessPlatform : public Platform {
 public:
  explicit HeadlessPlatform(const PlatformOptions& options);
  ~HeadlessPlatform() override;

  bool OpenDisplay() override { return displayOk_; }
  void CloseDisplay() override {}
  bool PerformanceCounter(uint64_t* counter, uint64_t* frequency) override;
  void Sleep(uint32_t ms) override { Advance(ms); }
  PlatformMessage NextMessage() override;
  void PostQuit() override { quitPosted_ = true; }
  bool Present(const uint16_t* frame) override;
  uint16_t KeyState(int vk) override;
  void MessageBox(const std::string& title, const std::string& text) override;
  bool OpenAudio(const AudioSpec& format, AudioFillCallback fill, void* user) override;
  void PauseAudio(bool paused) override { audioPaused_ = paused; }
  void LockAudio() override {}
  void UnlockAudio() override {}
  void CloseAudio() override;
  // A headless run is never out of sight; a test that sends the message sees its effect on
  // the null audio device (it takes nothing while paused) and through ShownPaused.
  void ShowPaused(bool paused) override { shownPaused_ = paused; }

  // For tests: drive the machine by hand.
  void SetClockMs(uint64_t ms) { clockMs_ = ms; }
  uint64_t ClockMsNow() const { return clockMs_; }
  void Advance(uint64_t ms);
  void SetKey(int vk, bool down);
  void SetPerformanceCounter(bool present) { hasCounter_ = present; }
  void SetDisplayOk(bool ok) { displayOk_ = ok; }
  void QueueMessage(const PlatformMessage& m) { queued_.push_back(m); }
  int TimerCount() const { return timers_; }
  int PresentCount() const { return presents_; }
  const std::vector<std::string>& MessageBoxes() const { return boxes_; }
  const uint16_t* LastFrame() const { return lastFrame_.data(); }
  long AudioBlocksTaken() const { return blocksTaken_; }
  bool ShownPaused() const { return shownPaused_; }
  void SetScript(std::vector<ScriptedInput> script) { script_ = std::move(script); scriptPos_ = 0; }

 private:
  void FeedAudioUntilNow();
  void FinishWav();

  PlatformOptions options_;
  std::vector<ScriptedInput> script_;
  size_t scriptPos_ = 0;
  std::vector<PlatformMessage> queued_;
  uint64_t clockMs_ = 0;
  bool hasCounter_ = true;
  bool displayOk_ = true;
  bool quitPosted_ = false;
  bool closeSent_ = false;
  int timers_ = 0;    // timer messages handed out
  int presents_ = 0;  // frames presented
  KeyLatchTable keys_;
  std::vector<std::string> boxes_;
  std::vector<uint16_t> lastFrame_;
  // Null audio device: one block per 128 ms of virtual time.
  AudioFillCallback fill_ = nullptr;
  void* fillUser_ = nullptr;
  AudioSpec format_;
  bool audioPaused_ = true;
  bool shownPaused_ = false;
  uint64_t nextBlockMs_ = 0;
  long blocksTaken_ = 0;
  FILE* wav_ = nullptr;
  uint32_t wavBytes_ = 0;
};
