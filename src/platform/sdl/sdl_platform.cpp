// The sdl backend: a scaled window, keyboard, mouse and controllers, and the audio device.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/key_latch.h"
#include "platform/paused_frame.h"
#include "platform/platform.h"
#include "platform/sdl/frame_scale.h"
#include "platform/sdl/graphics_card.h"
#include "platform/sdl/sdl_keys.h"

namespace {

constexpr Uint32 kTimerMs = 20;
constexpr int kStickThreshold = 16000;

class SdlPlatform : public Platform {
 public:
  explicit SdlPlatform(const PlatformOptions& o) : options_(o) {}
  ~SdlPlatform() override;

  bool Start();
  bool OpenDisplay() override { return window_ && (surfaceMode_ || (renderer_ && texture_)); }
  void CloseDisplay() override;
  bool PerformanceCounter(uint64_t* counter, uint64_t* frequency) override {
    *frequency = SDL_GetPerformanceFrequency();
    *counter = SDL_GetPerformanceCounter();
    return *frequency != 0;
  }
  void Sleep(uint32_t ms) override { SDL_Delay(ms); }
  PlatformMessage NextMessage() override;
  void PostQuit() override { quit_ = true; }
  bool Present(const uint16_t* frame) override;
  uint16_t KeyState(int vk) override;
  void MessageBox(const std::string& title, const std::string& text) override;
  bool OpenAudio(const AudioSpec& format, AudioFillCallback fill, void* user) override;
  void ShowPaused(bool paused) override;
  void PauseAudio(bool paused) override {
    gameAudioPaused_ = paused;
    if (audio_ && !shownPaused_) SDL_PauseAudioDevice(audio_, paused ? 1 : 0);
  }
  void LockAudio() override {
    if (audio_) SDL_LockAudioDevice(audio_);
  }
  void UnlockAudio() override {
    if (audio_) SDL_UnlockAudioDevice(audio_);
  }
  void CloseAudio() override;

 private:
  bool Translate(const SDL_Event& e, PlatformMessage* out);
  bool WindowEvent(const SDL_WindowEvent& e, PlatformMessage* out);
  bool Finger(const SDL_TouchFingerEvent& e, PlatformMessage* out);
  void ReleaseAllKeys();
  void SetKey(int vk, bool down);
  void SetAxisKeys(int axis, int value);
  void ToggleFullscreen();
  void Screenshot();
  bool OutputSize(int* w, int* h);
  FramePlace FrameRect();
  SDL_Surface* WindowSurface();
  bool PaintSurface(const uint16_t* frame, const uint16_t* onScreen, const FrameArea* areas,
                    int count);
  void Repaint();
  void ReleaseControllerKeys();
  void LoadWindowPlace();
  void SaveWindowPlace();

  PlatformOptions options_;
  // Desktop-only preferences, remembered in the player's folder apart from the game's settings.
  int windowWidth_ = 0, windowHeight_ = 0;
  bool rememberedFullscreen_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  // With a graphics card the renderer scales the frame; without one the frame goes straight
  // into the window's own pixels, and the renderer is only the fallback for a window that has
  // none to give.
  bool surfaceMode_ = false;
  SDL_Surface* paintedSurface_ = nullptr;  // the surface last painted whole, bars and all
  int paintedWidth_ = 0, paintedHeight_ = 0;
  Uint32 surfaceFormat_ = SDL_PIXELFORMAT_UNKNOWN;
  std::vector<uint32_t> surfaceLut_;  // game pixel to surface pixel, when not 0xRRGGBB
  SDL_AudioDeviceID audio_ = 0;
  bool gameAudioPaused_ = true;  // what the game last asked of the device
  // In front means focused and not minimised; the window opens in front.
  bool focused_ = true, minimised_ = false, inFront_ = true;
  bool shownPaused_ = false;
  uint16_t gameFrame_[240 * 320] = {};  // the game's last frame while frame_ shows it paused
  SDL_FingerID finger_ = 0;             // the finger that is the stylus now
  bool fingerDown_ = false;
  std::vector<SDL_GameController*> controllers_;
  bool quit_ = false;
  Uint32 nextTimer_ = 0;
  KeyLatchTable keys_;
  uint16_t frame_[240 * 320] = {};
  bool presented_ = false;  // frame_ holds a frame shown on the screen
};

// The GL renderer's own name (GL_RENDERER) of the GL context current on the calling thread,
// or null when it cannot be asked. Asked through SDL rather than linking GL.
const char* GlRendererName() {
  using GetString = const unsigned char* (*)(unsigned int);
  constexpr unsigned int kGlRenderer = 0x1F01;
  auto get = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  return get ? reinterpret_cast<const char*>(get(kGlRenderer)) : nullptr;
}

// A vsynced renderer that the graphics card draws, or null. The driver the player named
// (`asked`, or null) is taken even when its GL is drawn in software; SDL falls back to
// another for a name it does not know, which is judged as if none was named. `what` says
// which renderer it is.
SDL_Renderer* CardRenderer(SDL_Window* window, const char* asked, std::string* what) {
  SDL_Renderer* r =
      SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  if (!r) return nullptr;
  SDL_RendererInfo info{};
  const char* gl = nullptr;
  bool card = SDL_GetRendererInfo(r, &info) == 0 && (info.flags & SDL_RENDERER_ACCELERATED);
  if (card) {
    // SDL's GL drivers (opengl, opengles, opengles2) leave their context current. Renderers of
    // other kinds than GL exist only where each is the system's own card API.
    const bool isGl = SDL_strncmp(info.name, "opengl", 6) == 0;
    if (isGl) gl = GlRendererName();
    const bool named = asked && SDL_strcasecmp(asked, info.name) == 0;
    card = named || !isGl || !DrawnInSoftware(gl);
  }
  if (!card) {
    SDL_DestroyRenderer(r);
    return nullptr;
  }
  *what = std::string(info.name) + (gl ? std::string(" (") + gl + ")" : std::string());
  return r;
}

void AudioThunk(void* user, Uint8* stream, int len) {
  auto* self = static_cast<std::pair<AudioFillCallback, void*>*>(user);
  self->first(self->second, stream, len);
}
std::pair<AudioFillCallback, void*> audioTarget;

SdlPlatform::~SdlPlatform() {
  CloseAudio();
  CloseDisplay();
  for (SDL_GameController* c : controllers_) SDL_GameControllerClose(c);
  SDL_Quit();
}

bool SdlPlatform::Start() {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  // The window's pixels stay in memory and go to the screen as they are: SDL would otherwise
  // put them through the graphics card, which on a machine without one costs more than all
  // of the game's own drawing.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER | SDL_INIT_TIMER) != 0) {
    fprintf(stderr, "game: cannot open a display (%s); run with --headless to play without one\n",
            SDL_GetError());
    return false;
  }
  LoadWindowPlace();
  int scale = options_.scale;
  if (scale <= 0 && windowWidth_ == 0) {
    // The largest whole scale that fits the usable screen area.
    SDL_Rect usable{0, 0, 720, 960};
    SDL_GetDisplayUsableBounds(0, &usable);
    scale = 1;
    while (240 * (scale + 1) <= usable.w && 320 * (scale + 1) + 40 <= usable.h) ++scale;
  }
  Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
  if (options_.fullscreen || rememberedFullscreen_) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  // A graphics card scales the frame for next to nothing, in step with the screen. GL drawn in
  // software instead scales and sends the whole window every frame, dearer than writing only
  // the changed rows into the window's own pixels. SDL_RENDER_DRIVER decides when set:
  // "software" always takes the window's pixels, a GL driver's name takes that driver as it is.
  const char* asked = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  const bool tryCard = asked ? SDL_strcasecmp(asked, "software") != 0 : GraphicsCardPresent();
  // GL may have to make the window anew: it is shown once the way of drawing into it is chosen.
  if (tryCard) flags |= SDL_WINDOW_HIDDEN;
  // A scale on the command line wins over the size the window had last time.
  const bool remembered = options_.scale <= 0 && windowWidth_ > 0;
  if (!remembered) {
    windowWidth_ = 240 * scale;
    windowHeight_ = 320 * scale;
  }
  window_ = SDL_CreateWindow("3d Morvek", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             remembered ? windowWidth_ : 240 * scale,
                             remembered ? windowHeight_ : 320 * scale, flags);
  if (!window_) {
    fprintf(stderr, "game: cannot create the window (%s)\n", SDL_GetError());
    return false;
  }
  SDL_SetWindowMinimumSize(window_, 240, 320);
  std::string card;
  if (tryCard && (renderer_ = CardRenderer(window_, asked, &card))) {
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                 240, 320);
    if (texture_) {
      fprintf(stderr, "game: the window is scaled through %s\n", card.c_str());
    } else {
      SDL_DestroyRenderer(renderer_);
      renderer_ = nullptr;
    }
  }
  surfaceMode_ = !renderer_ && WindowSurface() != nullptr;
  if (!surfaceMode_ && !renderer_) {
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) {
      fprintf(stderr, "game: cannot create a renderer (%s)\n", SDL_GetError());
      return false;
    }
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                 240, 320);
    if (!texture_) {
      fprintf(stderr, "game: cannot create the frame texture (%s)\n", SDL_GetError());
      return false;
    }
  }
  if (tryCard) SDL_ShowWindow(window_);
  SDL_ShowCursor(SDL_ENABLE);
  nextTimer_ = SDL_GetTicks() + kTimerMs;
  return true;
}

// window.cfg: "width W", "height H" and "fullscreen 0|1", one a line, in the player's folder.
void SdlPlatform::LoadWindowPlace() {
  if (options_.userDir.empty()) return;
  FILE* f = fopen((options_.userDir + "window.cfg").c_str(), "r");
  if (!f) return;
  int w = 0, h = 0, full = 0;
  char key[16];
  int value = 0;
  while (fscanf(f, "%15s %d", key, &value) == 2) {
    if (!strcmp(key, "width")) w = value;
    if (!strcmp(key, "height")) h = value;
    if (!strcmp(key, "fullscreen")) full = value;
  }
  fclose(f);
  // A hand-edited or foreign file must not open a window no screen can show.
  if (w >= 240 && w <= 240 * 16 && h >= 320 && h <= 320 * 16) {
    windowWidth_ = w;
    windowHeight_ = h;
  }
  rememberedFullscreen_ = full == 1;
}

void SdlPlatform::SaveWindowPlace() {
  if (options_.userDir.empty() || !window_) return;
  const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  int w = windowWidth_, h = windowHeight_;
  // In fullscreen the window's size is the screen's: the windowed size stays what it was.
  if (!full) SDL_GetWindowSize(window_, &w, &h);
  if (w <= 0 || h <= 0) SDL_GetWindowSize(window_, &w, &h);
  const std::string path = options_.userDir + "window.cfg", temp = path + ".tmp";
  FILE* f = fopen(temp.c_str(), "w");
  if (!f) return;
  const bool ok = fprintf(f, "width %d\nheight %d\nfullscreen %d\n", w, h, full ? 1 : 0) > 0;
  if (fclose(f) != 0 || !ok || rename(temp.c_str(), path.c_str()) != 0) remove(temp.c_str());
}

void SdlPlatform::ReleaseControllerKeys() {
  for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
    SetKey(VirtualKeyFromControllerButton(Uint8(b)), false);
  for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; ++a) SetAxisKeys(a, 0);
}

void SdlPlatform::CloseDisplay() {
  SaveWindowPlace();
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
  surfaceMode_ = false;
  paintedSurface_ = nullptr;
}

// The window's size in pixels, which with HiDPI may be more than its size in points.
bool SdlPlatform::OutputSize(int* w, int* h) {
  *w = 240;
  *h = 320;
  if (surfaceMode_) {
    SDL_Surface* s = WindowSurface();
    if (!s) return false;
    *w = s->w;
    *h = s->h;
    return true;
  }
  return renderer_ && SDL_GetRendererOutputSize(renderer_, w, h) == 0;
}

// Where the frame goes in the window; drawing and the stylus both go through it.
FramePlace SdlPlatform::FrameRect() {
  int w = 240, h = 320;
  OutputSize(&w, &h);
  return PlaceFrame(w, h);
}

// The window's pixels, asked for again every time: a size change replaces them.
SDL_Surface* SdlPlatform::WindowSurface() {
  SDL_Surface* s = SDL_GetWindowSurface(window_);
  if (!s || s->format->BytesPerPixel != 4) return nullptr;
  if (s->format->format != surfaceFormat_) {
    surfaceFormat_ = s->format->format;
    surfaceLut_.clear();
    if (surfaceFormat_ != SDL_PIXELFORMAT_RGB888) {
      surfaceLut_.resize(65536);
      for (size_t p = 0; p < 65536; ++p) {
        const uint32_t rgb = Rgb888From565(uint16_t(p));
        surfaceLut_[p] = SDL_MapRGB(s->format, Uint8(rgb >> 16), Uint8(rgb >> 8), Uint8(rgb));
      }
    }
  }
  return s;
}

// Scales the given areas of `frame` into the window's pixels and shows only those, leaving alone
// the rows equal in `onScreen` (the frame the window shows, or null); a new or resized surface is
// painted whole, bars included.
bool SdlPlatform::PaintSurface(const uint16_t* frame, const uint16_t* onScreen,
                               const FrameArea* areas, int count) {
  SDL_Surface* s = WindowSurface();
  if (!s) return false;
  const bool whole = s != paintedSurface_ || s->w != paintedWidth_ || s->h != paintedHeight_;
  static constexpr FrameArea kWholeFrame{0, 0, 240, 320};
  if (whole) {
    areas = &kWholeFrame;
    count = 1;
    onScreen = nullptr;
  }
  if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return false;
  const FramePlace r = PlaceFrame(s->w, s->h);
  auto* pixels = static_cast<uint8_t*>(s->pixels);
  if (whole) ClearBars(pixels, s->pitch, s->w, s->h, r, SDL_MapRGB(s->format, 0, 0, 0));
  const uint32_t* lut = surfaceLut_.empty() ? nullptr : surfaceLut_.data();
  SDL_Rect changed[kMaxFrameAreas];
  int rects = 0;
  for (int i = 0; i < count && rects < kMaxFrameAreas; ++i) {
    const FramePlace p = ScaleFrameArea(frame, lut, pixels, s->pitch, r, areas[i], onScreen);
    if (p.w > 0 && p.h > 0) changed[rects++] = SDL_Rect{p.x, p.y, p.w, p.h};
  }
  if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
  int shown = 0;
  if (whole) {
    shown = SDL_UpdateWindowSurface(window_);
  } else if (rects > 0) {
    shown = SDL_UpdateWindowSurfaceRects(window_, changed, rects);
  }
  if (shown != 0) {
    paintedSurface_ = nullptr;  // paint it all again next time
    return false;
  }
  if (whole) {
    paintedSurface_ = s;
    paintedWidth_ = s->w;
    paintedHeight_ = s->h;
  }
  return true;
}

void SdlPlatform::Repaint() {
  if (surfaceMode_) {
    paintedSurface_ = nullptr;
    PaintSurface(frame_, nullptr, nullptr, 0);
    return;
  }
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) == 0) {
    // A locked texture's old pixels are not kept: the whole frame goes in, at scale 1.
    static constexpr FrameArea kWholeFrame{0, 0, 240, 320};
    ScaleFrameArea(frame_, nullptr, static_cast<uint8_t*>(pixels), pitch,
                   FramePlace{0, 0, 240, 320}, kWholeFrame);
    SDL_UnlockTexture(texture_);
  }
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  const FramePlace place = FrameRect();
  const SDL_Rect dst{place.x, place.y, place.w, place.h};
  SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
  SDL_RenderPresent(renderer_);
}

bool SdlPlatform::Present(const uint16_t* frame) {
  if (!renderer_ && !surfaceMode_) return false;
  // The timer comes twice per logic step, so every other frame is the one already on the
  // screen: scaling and presenting it again would only cost time (most of the program's on a
  // machine whose graphics are drawn in software). An uncovered or resized window is
  // repainted from the kept frame by the window events.
  if (surfaceMode_) {
    // Only the tiles that changed are scaled and sent to the screen: the panel below the 3D
    // view, and the sky while the craft does not turn, mostly stay as they were.
    FrameArea areas[kMaxFrameAreas] = {{0, 0, 240, 320}};
    int count = 1;
    if (presented_) {
      count = ChangedAreas(frame_, frame, areas);
      if (count == 0) return true;
    }
    // Within the changed areas only the rows that differ from the frame on the screen are
    // written; a frame that did not reach the screen is shown whole next time, even if unchanged.
    presented_ = PaintSurface(frame, presented_ ? frame_ : nullptr, areas, count);
    memcpy(frame_, frame, sizeof frame_);
    return presented_;
  }
  if (presented_ && memcmp(frame_, frame, sizeof frame_) == 0) return true;
  memcpy(frame_, frame, sizeof frame_);
  presented_ = true;
  Repaint();
  return true;
}

void SdlPlatform::SetKey(int vk, bool down) { keys_.SetSided(vk, down); }

uint16_t SdlPlatform::KeyState(int vk) { return keys_.Read(vk); }

// Sticks and triggers read as keys once pushed past a third of their travel.
void SdlPlatform::SetAxisKeys(int axis, int value) {
  switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTY:
      SetKey(0xD3, value < -kStickThreshold);
      SetKey(0xD4, value > kStickThreshold);
      break;
    case SDL_CONTROLLER_AXIS_LEFTX:
      SetKey(0xD5, value > kStickThreshold);
      SetKey(0xD6, value < -kStickThreshold);
      break;
    case SDL_CONTROLLER_AXIS_RIGHTY:
      SetKey(0xD7, value < -kStickThreshold);
      SetKey(0xD8, value > kStickThreshold);
      break;
    case SDL_CONTROLLER_AXIS_RIGHTX:
      SetKey(0xD9, value > kStickThreshold);
      SetKey(0xDA, value < -kStickThreshold);
      break;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT: SetKey(0xC9, value > kStickThreshold); break;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT: SetKey(0xCA, value > kStickThreshold); break;
    default: break;
  }
}

void SdlPlatform::ToggleFullscreen() {
  bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void SdlPlatform::Screenshot() {
  // With the player's files, numbered so earlier shots are kept.
  std::string dir = options_.userDir.empty() ? ExecutableDirectory() : options_.userDir;
  for (int n = 1; n < 10000; ++n) {
    char name[32];
    snprintf(name, sizeof name, "shot%04d.png", n);
    std::string path = dir + name;
    if (FILE* f = fopen(path.c_str(), "rb")) {
      fclose(f);
      continue;
    }
    if (WritePng565(path, frame_, 240, 320))
      fprintf(stderr, "game: screenshot written to %s\n", path.c_str());
    else
      fprintf(stderr, "game: cannot write %s\n", path.c_str());
    return;
  }
}

bool SdlPlatform::Translate(const SDL_Event& e, PlatformMessage* out) {
  switch (e.type) {
    case SDL_QUIT:
      *out = {PlatformMessageKind::CloseCommand};
      return true;
    case SDL_WINDOWEVENT:
      return WindowEvent(e.window, out);
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      bool downNow = e.type == SDL_KEYDOWN;
      SDL_Keymod mod = SDL_Keymod(e.key.keysym.mod);
      if (downNow && !e.key.repeat) {
        SDL_Scancode s = e.key.keysym.scancode;
        if ((s == SDL_SCANCODE_RETURN && (mod & KMOD_ALT)) || s == SDL_SCANCODE_F11) {
          ToggleFullscreen();
          return false;
        }
        if (s == SDL_SCANCODE_F12) {
          Screenshot();
          return false;
        }
        if ((mod & KMOD_CTRL) && e.key.keysym.sym == SDLK_q) {
          *out = {PlatformMessageKind::CloseCommand};
          return true;
        }
        if ((mod & KMOD_CTRL) && e.key.keysym.sym == SDLK_a) {
          *out = {PlatformMessageKind::About};
          return true;
        }
      }
      SetKey(VirtualKeyFromSdl(e.key.keysym), downNow);
      return false;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      // A touch comes as finger events; SDL's mouse made up from it would tap twice.
      if (e.button.button != SDL_BUTTON_LEFT || e.button.which == SDL_TOUCH_MOUSEID) return false;
      // Window coordinates to the 240 x 320 layout, through the frame's place on screen.
      int ww = 1, wh = 1, ow = 1, oh = 1;
      SDL_GetWindowSize(window_, &ww, &wh);
      OutputSize(&ow, &oh);
      if (ww <= 0 || wh <= 0) {
        ww = ow;
        wh = oh;
      }
      double px = e.button.x * double(ow) / ww, py = e.button.y * double(oh) / wh;
      int x = 0, y = 0;
      LayoutPoint(FrameRect(), px, py, &x, &y);
      SetKey(0x01, e.type == SDL_MOUSEBUTTONDOWN);
      if (e.type == SDL_MOUSEBUTTONDOWN)
        *out = {PlatformMessageKind::StylusDown, x, y};
      else
        *out = {PlatformMessageKind::StylusUp, x, y};
      return true;
    }
    case SDL_FINGERDOWN:
    case SDL_FINGERUP:
      return Finger(e.tfinger, out);
    case SDL_CONTROLLERDEVICEADDED:
      if (SDL_GameController* c = SDL_GameControllerOpen(e.cdevice.which)) controllers_.push_back(c);
      return false;
    case SDL_CONTROLLERDEVICEREMOVED:
      // Unplugged while a button or the stick was held: nothing may stay pressed.
      for (size_t i = 0; i < controllers_.size(); ++i) {
        SDL_Joystick* j = SDL_GameControllerGetJoystick(controllers_[i]);
        if (j && SDL_JoystickInstanceID(j) == e.cdevice.which) {
          SDL_GameControllerClose(controllers_[i]);
          controllers_.erase(controllers_.begin() + long(i));
          break;
        }
      }
      ReleaseControllerKeys();
      return false;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      SetKey(VirtualKeyFromControllerButton(e.cbutton.button), e.type == SDL_CONTROLLERBUTTONDOWN);
      return false;
    case SDL_CONTROLLERAXISMOTION:
      SetAxisKeys(e.caxis.axis, e.caxis.value);
      return false;
    default:
      return false;
  }
}

bool SdlPlatform::WindowEvent(const SDL_WindowEvent& e, PlatformMessage* out) {
  switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE:
      *out = {PlatformMessageKind::CloseCommand};
      return true;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      Repaint();
      return false;
    case SDL_WINDOWEVENT_FOCUS_LOST: focused_ = false; break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: focused_ = true; break;
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_HIDDEN: minimised_ = true; break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_SHOWN: minimised_ = false; break;
    default: return false;
  }
  // One message each way however many events the window manager sends for one change.
  const bool inFront = focused_ && !minimised_;
  if (inFront == inFront_) return false;
  inFront_ = inFront;
  // Keys released while away send nothing here, and the controllers are not heard at all:
  // every key reads as up from now on, until it is pressed again.
  if (!inFront) ReleaseAllKeys();
  *out = {inFront ? PlatformMessageKind::Activated : PlatformMessageKind::Deactivated};
  return true;
}

void SdlPlatform::ReleaseAllKeys() {
  // A press not read yet stays latched: it happened while the game was in front.
  for (int vk = 1; vk < 256; ++vk)
    if (keys_.down[vk]) keys_.Set(vk, false);
}

// A touchscreen is a stylus too: the first finger down is it, until that finger goes up.
bool SdlPlatform::Finger(const SDL_TouchFingerEvent& e, PlatformMessage* out) {
  const bool down = e.type == SDL_FINGERDOWN;
  if (down ? fingerDown_ : (!fingerDown_ || e.fingerId != finger_)) return false;
  fingerDown_ = down;
  finger_ = e.fingerId;
  // Finger positions are fractions of the window: to its pixels, then through the frame's
  // place on screen as a mouse click.
  int ow = 1, oh = 1;
  OutputSize(&ow, &oh);
  int x = 0, y = 0;
  LayoutPoint(FrameRect(), double(e.x) * ow, double(e.y) * oh, &x, &y);
  SetKey(0x01, down);
  *out = {down ? PlatformMessageKind::StylusDown : PlatformMessageKind::StylusUp, x, y};
  return true;
}

PlatformMessage SdlPlatform::NextMessage() {
  for (;;) {
    if (quit_) return {PlatformMessageKind::Quit};
    // One call reads the window system's events and, when none is waiting, sleeps until the
    // timer is due: polling first and then waiting read them twice over, several system calls
    // each, fifty times a second. Events that came before the timer still come first.
    const Uint32 now = SDL_GetTicks();
    const bool due = SDL_TICKS_PASSED(now, nextTimer_);
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, due ? 0 : int(nextTimer_ - now))) {
      PlatformMessage m;
      if (Translate(e, &m)) return m;
      continue;
    }
    const Uint32 later = SDL_GetTicks();
    if (SDL_TICKS_PASSED(later, nextTimer_)) {
      // Like a window timer, a late timer fires once and does not queue up.
      nextTimer_ += kTimerMs;
      if (SDL_TICKS_PASSED(later, nextTimer_)) nextTimer_ = later + kTimerMs;
      return {PlatformMessageKind::Timer};
    }
  }
}

// Paused, the window shows the last frame dimmed with the sign, and the sound stops; back in
// front, both are as the game left them.
void SdlPlatform::ShowPaused(bool paused) {
  if (paused == shownPaused_) return;
  shownPaused_ = paused;
  if (audio_) SDL_PauseAudioDevice(audio_, paused || gameAudioPaused_ ? 1 : 0);
  if (window_) SDL_SetWindowTitle(window_, paused ? "3d Morvek (paused)" : "3d Morvek");
  if (!window_ || (!renderer_ && !surfaceMode_)) return;
  // The kept frame is what a repaint shows: it holds the paused picture while paused.
  if (paused) {
    memcpy(gameFrame_, frame_, sizeof frame_);
    DrawPausedFrame(gameFrame_, frame_);
  } else {
    memcpy(frame_, gameFrame_, sizeof frame_);
  }
  Repaint();
}

void SdlPlatform::MessageBox(const std::string& title, const std::string& text) {
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), text.c_str(), window_);
}

bool SdlPlatform::OpenAudio(const AudioSpec& format, AudioFillCallback fill, void* user) {
  if (options_.nosound) return false;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    fprintf(stderr, "game: no sound card (%s); running silent\n", SDL_GetError());
    return false;
  }
  audioTarget = {fill, user};
  SDL_AudioSpec want{}, have{};
  want.freq = format.rate;
  want.format = AUDIO_S16SYS;
  want.channels = Uint8(format.channels);
  want.samples = Uint16(format.samples);
  want.callback = AudioThunk;
  want.userdata = &audioTarget;
  // No changes allowed: SDL converts the game's 16 kHz mono to the card's own format.
  audio_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (!audio_) {
    fprintf(stderr, "game: cannot open the sound card (%s); running silent\n", SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  return true;
}

void SdlPlatform::CloseAudio() {
  if (audio_) {
    SDL_CloseAudioDevice(audio_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  audio_ = 0;
}

}  // namespace

Platform* CreateWindowPlatform(const PlatformOptions& options) { return CreateSdlPlatform(options); }

Platform* CreateSdlPlatform(const PlatformOptions& options) {
  auto* p = new SdlPlatform(options);
  if (!p->Start()) {
    delete p;
    return nullptr;
  }
  return p;
}

bool ShowDesktopMessage(const std::string& title, const std::string& text) {
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr) == 0;
}
