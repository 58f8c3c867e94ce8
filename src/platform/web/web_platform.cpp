// The web backend: the game in a browser page (canvas, keys, pointer, gamepads, Web Audio). The
// page's side of each call is in page.html; the message loop yields to the browser while it
// waits, so the shell's loop runs as it does in the window.
#include <emscripten.h>

#include <cstdint>
#include <cstring>
#include <deque>
#include <vector>

#include "platform/key_latch.h"
#include "platform/paused_frame.h"
#include "platform/platform.h"
#include "platform/web/web_keys.h"

namespace {

constexpr double kTimerMs = 20;
constexpr int kStickThreshold = 16000;

// The page's side: the functions page.html keeps in Module.kvrPage.
EM_JS(int, PageOpen, (), { return Module.kvrPage && Module.kvrPage.open() ? 1 : 0; });
EM_JS(void, PagePresent, (const uint8_t* rgba), { Module.kvrPage.present(rgba); });
EM_JS(void, PagePoll, (), { Module.kvrPage.poll(); });
EM_JS(void, PageClosed, (), { Module.kvrPage.closed(); });
EM_JS(void, PageSilence, (int silent), { Module.kvrPage.silence(!!silent); });
// How long the step of one presented frame took (Update, Render, Present), for a page that
// measures it.
EM_JS(void, PageStepTime, (double ms), { if (Module.kvrStepTimes) Module.kvrStepTimes.push(ms); });
EM_JS(void, PageAlert, (const char* title, const char* text),
      { alert(UTF8ToString(title) + "\n\n" + UTF8ToString(text)); });

class WebPlatform;
WebPlatform* page = nullptr;  // the backend the page's events go to, while the game runs

class WebPlatform : public Platform {
 public:
  explicit WebPlatform(const PlatformOptions& o) : options_(o) {
    page = this;
    lut_.resize(65536);
    // Canvas pixels are bytes R, G, B, A: as a little-endian word, 0xAABBGGRR.
    for (uint32_t p = 0; p < 65536; ++p) {
      const uint32_t rgb = Rgb888From565(uint16_t(p));
      lut_[p] = 0xFF000000u | ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16);
    }
  }

  ~WebPlatform() override { page = nullptr; }

  bool OpenDisplay() override {
    nextTimer_ = emscripten_get_now() + kTimerMs;
    return PageOpen() != 0;
  }
  void CloseDisplay() override { PageClosed(); }
  bool PerformanceCounter(uint64_t* counter, uint64_t* frequency) override {
    *frequency = 1000000;
    *counter = uint64_t(emscripten_get_now() * 1000.0);
    return true;
  }
  void Sleep(uint32_t ms) override { emscripten_sleep(ms); }
  PlatformMessage NextMessage() override;
  void PostQuit() override { quit_ = true; }
  bool Present(const uint16_t* frame) override;
  uint16_t KeyState(int vk) override { return keys_.Read(vk); }
  void MessageBox(const std::string& title, const std::string& text) override {
    PageAlert(title.c_str(), text.c_str());
  }
  bool OpenAudio(const AudioSpec& format, AudioFillCallback fill, void* user) override;
  void PauseAudio(bool paused) override { audioPaused_ = paused; }
  // One thread: the page pulls blocks between the game's steps, never inside one.
  void LockAudio() override {}
  void UnlockAudio() override {}
  void CloseAudio() override { fill_ = nullptr; }
  void ShowPaused(bool paused) override;

  void Post(const PlatformMessage& m) { queue_.push_back(m); }
  void SetKey(int vk, bool down) { keys_.SetSided(vk, down); }
  // Keys held when the page lost the focus never see their release: none may stay down.
  void ReleaseKeys() { memset(keys_.down, 0, sizeof keys_.down); }
  // Fills `bytes` of 16 kHz mono samples; false (silence written) while nothing may play.
  bool FillAudio(uint8_t* stream, int bytes);

 private:
  void Show(const uint16_t* frame);

  PlatformOptions options_;
  std::deque<PlatformMessage> queue_;
  bool quit_ = false;
  double nextTimer_ = 0;
  double stepStarted_ = 0;  // when the last timer message was handed out
  bool presentedInStep_ = false;
  KeyLatchTable keys_;
  std::vector<uint32_t> lut_;
  uint16_t frame_[240 * 320] = {};
  uint32_t rgba_[240 * 320] = {};
  bool presented_ = false;
  bool paused_ = false;
  AudioFillCallback fill_ = nullptr;
  void* fillUser_ = nullptr;
  bool audioPaused_ = true;
};

PlatformMessage WebPlatform::NextMessage() {
  if (stepStarted_ > 0 && presentedInStep_) PageStepTime(emscripten_get_now() - stepStarted_);
  stepStarted_ = 0;
  presentedInStep_ = false;
  for (;;) {
    if (quit_) return {PlatformMessageKind::Quit};
    PagePoll();
    if (!queue_.empty()) {
      PlatformMessage m = queue_.front();
      queue_.pop_front();
      return m;
    }
    const double now = emscripten_get_now();
    if (now >= nextTimer_) {
      // Like a window timer, a late timer fires once and does not queue up.
      nextTimer_ += kTimerMs;
      if (now >= nextTimer_) nextTimer_ = now + kTimerMs;
      stepStarted_ = now;
      return {PlatformMessageKind::Timer};
    }
    // The browser runs its events, draws the canvas and plays the sound meanwhile.
    emscripten_sleep(unsigned(nextTimer_ - now) + 1);
  }
}

void WebPlatform::Show(const uint16_t* frame) {
  for (int i = 0; i < 240 * 320; ++i) rgba_[i] = lut_[frame[i]];
  PagePresent(reinterpret_cast<const uint8_t*>(rgba_));
}

bool WebPlatform::Present(const uint16_t* frame) {
  // The timer comes twice per logic step: a frame already on the canvas is not sent again.
  if (presented_ && memcmp(frame_, frame, sizeof frame_) == 0) return true;
  presentedInStep_ = true;
  memcpy(frame_, frame, sizeof frame_);
  presented_ = true;
  if (!paused_) Show(frame_);
  return true;
}

void WebPlatform::ShowPaused(bool paused) {
  paused_ = paused;
  PageSilence(paused ? 1 : 0);
  if (!presented_) return;
  if (paused) {
    uint16_t marked[240 * 320];
    DrawPausedFrame(frame_, marked);
    Show(marked);
  } else {
    Show(frame_);
  }
}

bool WebPlatform::OpenAudio(const AudioSpec& format, AudioFillCallback fill, void* user) {
  // The page's audio context runs at the game's own rate, mono.
  if (options_.nosound || format.rate != 16000 || format.channels != 1) return false;
  fill_ = fill;
  fillUser_ = user;
  audioPaused_ = true;
  return true;
}

bool WebPlatform::FillAudio(uint8_t* stream, int bytes) {
  if (!fill_ || audioPaused_ || paused_) {
    memset(stream, 0, size_t(bytes));
    return false;
  }
  memset(stream, 0, size_t(bytes));
  fill_(fillUser_, stream, bytes);
  return true;
}

}  // namespace

// What the page hands the game. Events before the game starts or after it ended go nowhere.
extern "C" {

// A key went down or up: its virtual-key code, or 0 when the game has none. Ctrl+Q and Ctrl+A
// are the close and About commands, as in the window.
EMSCRIPTEN_KEEPALIVE int kvr_web_key(const char* code, const char* key, int down, int ctrl) {
  const int vk = VirtualKeyFromDom(code, key);
  if (!page) return vk;
  if (down && ctrl && (vk == 0x51 || vk == 0x41)) {
    page->Post({vk == 0x51 ? PlatformMessageKind::CloseCommand : PlatformMessageKind::About});
    return vk;
  }
  page->SetKey(vk, down != 0);
  return vk;
}

// The left button or a finger at layout point (x, y).
EMSCRIPTEN_KEEPALIVE void kvr_web_pointer(int down, int x, int y) {
  if (!page) return;
  page->SetKey(0x01, down != 0);
  page->Post({down ? PlatformMessageKind::StylusDown : PlatformMessageKind::StylusUp, x, y});
}

EMSCRIPTEN_KEEPALIVE void kvr_web_pad_button(int button, int down) {
  if (page) page->SetKey(VirtualKeyFromGamepadButton(button), down != 0);
}

// A stick axis from -32767 to 32767.
EMSCRIPTEN_KEEPALIVE void kvr_web_pad_axis(int axis, int value) {
  int negative = 0, positive = 0;
  GamepadAxisKeys(axis, &negative, &positive);
  if (!page) return;
  page->SetKey(negative, value < -kStickThreshold);
  page->SetKey(positive, value > kStickThreshold);
}

// The tab was hidden or lost the focus (0), or is in front again (1).
EMSCRIPTEN_KEEPALIVE void kvr_web_focus(int active) {
  if (!page) return;
  if (!active) page->ReleaseKeys();
  page->Post({active ? PlatformMessageKind::Activated : PlatformMessageKind::Deactivated});
}

// The audio context asks for `bytes` bytes of samples; 1 when the game's sound filled them.
EMSCRIPTEN_KEEPALIVE int kvr_web_fill_audio(uint8_t* stream, int bytes) {
  if (!page) {
    memset(stream, 0, size_t(bytes));
    return 0;
  }
  return page->FillAudio(stream, bytes) ? 1 : 0;
}

}  // extern "C"

Platform* CreateWebPlatform(const PlatformOptions& options) { return new WebPlatform(options); }

Platform* CreateWindowPlatform(const PlatformOptions& options) { return CreateWebPlatform(options); }

bool ShowDesktopMessage(const std::string& title, const std::string& text) {
  PageAlert(title.c_str(), text.c_str());
  return true;
}

// The page has no PNG library; its shots are raw frames.
bool WritePng565(const std::string&, const uint16_t*, int, int) { return false; }
