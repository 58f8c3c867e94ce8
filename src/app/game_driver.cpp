// The game driver: start-up with its splash, the screen state each logic step, the frame
// with its fades and head-up line, and the one shutdown every road out of the game takes.
#include <cstring>
#include <new>

#include "app/app.h"
#include "core/core.h"

GameDriver* Driver = nullptr;

namespace {

// Turns the forms' throttled redraw on or off. Only a change is passed on: each change
// forces a full draw, so repeating it every frame would defeat the throttling.
void Throttle(FormManager* forms, bool on) {
  if (forms && (forms->throttledRedraw != 0) != on) SetThrottledRedraw(forms, on ? 1 : 0);
}

}  // namespace

void GameDriver::Initialise(uint32_t handle, uint16_t* frameBuffer) {
  app = handle;
  Driver = this;
  WorldInit(&world, this, app);
  memset(&settings, 0, sizeof settings);
  frame = frameBuffer;

  LoadSettingsAndPlayerData(&settings, &player, &Bindings);

  math = new (std::nothrow) MathTables();
  if (math) math->Create(app);
  Math = math;
  g2d = new (std::nothrow) Graphics2D();
  if (g2d) g2d->Create(app, int32_t(FrameBufferWidth), int32_t(FrameBufferHeight), frame);
  Gfx2D = g2d;
  sound = CreateSoundSystem(this);
  // Without a sound card the game runs on silent: everything is still mixed, nothing heard.
  if (!sound || InitSound(sound) != 0) LogMessage("Error init audio eng.");
  if (sound) SetMasterVolume(sound, settings.volume);

  // The splash stays 2000 ms; the message loop is not running yet.
  if (g2d) g2d->DrawSpriteFile("vomtal.spr", 0, 0, Opaque);
  PresentFrame();
  Pause(kSplashMs);

  messageTime = 0;
  world.closingTimer = 0;
  fadeLevel = 0;
  fadeReset = 1;
  fadeOut = 0;

  // Its creation event opens the main menu.
  forms = CreateFormManager(app, this, sound, HandleMenuEvent);
  Forms = forms;
  screenState = kScreenMenus;
  if (settings.playMusic && sound) StartIntroMusic(sound);
  Input.inputEnabled = 1;

  font = new (std::nothrow) Font(this);
  if (font) font->LoadFont("font2.fnt");
  if (mapStart.map[0]) StartOnMap();
}

void GameDriver::OpenInGameForm() {
  if (!forms) return;
  OpenForm(forms, forms->scriptName,
           settings.cameraMode == kCameraFirstPerson ? "FORMINGAME_CAM_FP" : "FORMINGAME_CAM_EXT2");
}

void GameDriver::UnloadMap() {
  if (WorldMapLoaded(&world)) WorldUnload(&world);
}

// Leaving a map for the forms: the menu keys, their sounds and the focus come back.
void GameDriver::BackToForms() {
  if (!forms) return;
  SetThrottledRedraw(forms, 0);
  forms->keysNavigate = 1;
  forms->menuSounds = 1;
  forms->focusHighlight = 1;
}

bool GameDriver::Update(uint16_t* frameBuffer, int32_t deltaMs) {
  stepped = 1;
  frameDelta = deltaMs;
  frame = frameBuffer;
  if (Input.quitRequest) return false;
  if (screenState == kScreenChoice && forms) {
    // The menu keys answer the question: the console under it must not take them too (the
    // select key would press its focused switch as well).
    const uint8_t navigate = forms->keysNavigate;
    forms->keysNavigate = 0;
    UpdateForms(forms);
    forms->keysNavigate = navigate;
  } else {
    UpdateForms(forms);
  }

  switch (screenState) {
    case kScreenPlaying:
      if (MapUnplayable()) break;
      WorldUpdate(&world);
      // A map exit, a death or the end of the closing pause in this very step goes first:
      // the question would otherwise swallow it.
      if (screenState == kScreenPlaying && Input.action[kActGoToMenu].current == 1) {
        if (sound) StopIntroMusic(sound);
        ShowChoice("Go to menu?", 2, 1, "Yes", "No", "");
        Input.action[kActGoToMenu].previous = 1;
      }
      break;
    case kScreenQuit:
      return false;
    case kScreenChoice:
      ChoiceInput();
      break;
    case kScreenChoiceAnswered:
      AnswerChoice();
      break;
    case kScreenNextMap:
      if (ExitLeadsToMenu()) break;
      fadeReset = 1;
      UnloadMap();
      BackToForms();
      screenState = kScreenMenus;
      if (forms) CloseCurrentForm(forms);
      // A launch pad's exit leads to the star chart, where the next map is chosen.
      if (LeadsToStarChart(player)) {
        if (forms) OpenForm(forms, forms->scriptName, "FORMSTARCHART");
        break;
      }
      OpenInGameForm();
      screenState = kScreenLoading;  // the map named in the player data loads next
      break;
    case kScreenRestored:
      // The craft's death faded the picture to black; the map it is restored into comes
      // back at full brightness, as the next map and the main menu do.
      fadeReset = 1;
      UnloadMap();
      screenState = kScreenLoading;
      player.engineOn = 0;
      memset(player.motion, 0, sizeof player.motion);
      memset(player.velocity, 0, sizeof player.velocity);
      if (forms) CloseCurrentForm(forms);
      OpenInGameForm();
      break;
    case kScreenToMainMenu:
      fadeReset = 1;
      UnloadMap();
      BackToForms();
      screenState = kScreenMenus;
      if (forms) {
        CloseCurrentForm(forms);
        OpenForm(forms, forms->scriptName, "FORMMAIN");
      }
      if (settings.playMusic && sound) StartIntroMusic(sound);
      break;
    default:
      break;  // loading and the menus: the forms and the frame do the work
  }

  if (sound) MixStep(sound);
  return true;
}

void GameDriver::Render(uint16_t*) {
  if (screenState == kScreenLoading) {
    if (world.loadingStep == 0) NoteArrival();
    WorldLoadStep(&world);
    Throttle(forms, false);
    stepped = 1;
  }
  // Only a logic step (or a loading step) changes what the sky and the 3D view show: a frame
  // with no step since the last one (every second frame while playing) shows them as it did.
  if (forms) forms->sceneUnchanged = stepped ? 0 : 1;
  stepped = 0;
  DrawForms(forms);
  if (world.map2d && WorldPlayerAlive(&world)) WorldDrawMap2D(&world);

  const bool firstPerson = world.cameraMode == kCameraFirstPerson;
  if (fadeReset) {
    fadeReset = 0;
    fadeOut = 0;
    fadeLevel = kFullBrightness;
    if (firstPerson) Throttle(forms, true);
  } else if (fadeOut) {
    // Over 31 frames the picture goes to black.
    if (fadeLevel > 0) --fadeLevel;
    if (g2d) g2d->FadeScreen(fadeLevel, fadeLevel, fadeLevel);
    if (firstPerson) Throttle(forms, false);
  } else {
    Throttle(forms, firstPerson && screenState == kScreenPlaying);
    Input.inputEnabled = 1;
  }

  if (messageShown) {
    messageTime = WrapAdd(messageTime, FrameDeltaMs);
    if (messageTime > kHudMessageMs) messageShown = 0;  // still drawn on this frame
    DrawTextBlock(g2d, messageText, font);
  }

  if (screenState == kScreenChoice) {
    // The game stands still under the question: its last picture, drawn again.
    if (Background* sky = world.background) {
      if (!sky->plain) sky->heading = world.cameraHeading;
      sky->DrawBackground(FrameBuffer);
    }
    if (world.view && world.view->active && world.view->engine)
      world.view->engine->DrawFrame(FrameBuffer);
    DrawChoice();
  }
}

void GameDriver::Shutdown() {
  // Every road out (the exit button, the window closing, Ctrl+Q) ends here: a map still
  // played is unloaded, which keeps its state, whatever step the driver was between.
  switch (screenState) {
    case kScreenPlaying:
    case kScreenChoice:
    case kScreenChoiceAnswered:
    case kScreenNextMap:
    case kScreenRestored:
    case kScreenToMainMenu:
      UnloadMap();
      break;
    case kScreenLoading:
      // Closed while a map loads: what was made of it is freed, but a half-loaded map has no
      // state worth keeping, so its state file is left as the last visit wrote it.
      if (WorldMapLoaded(&world)) {
        world.player = nullptr;
        WorldUnload(&world);
      }
      break;
    default:
      break;
  }
  WritePlayerData(player);

  DestroyFormManager(forms);  // closing the current form frees what it holds
  forms = nullptr;
  Forms = nullptr;
  DestroySoundSystem(sound);
  sound = nullptr;
  if (math) math->Destroy();
  delete math;
  math = nullptr;
  Math = nullptr;
  delete g2d;
  g2d = nullptr;
  Gfx2D = nullptr;
  delete font;
  font = nullptr;
  if (Driver == this) Driver = nullptr;
}
