// The menu event handler: every menu screen's buttons, checkboxes, bars and key setup, the
// briefing's scrolling text, and the in-game form's own buttons.
#include <cstring>
#include <new>

#include "app/app.h"
#include "core/core.h"

namespace {

constexpr const char* kScript = "kvr.rsx";
constexpr int32_t kVolumeStep = 16;
constexpr int32_t kVisibilityStep = 200;

// The key-setup rows: the button, the action the manager remembers while it waits for a
// key, the binding slot, whether the action is a menu key (which unbinds only menu keys),
// and the label that shows the bound code.
struct KeyRow {
  const char* button;
  const char* action;
  int slot;
  bool menuKey;
  const char* label;
};

const KeyRow kKeyRows[] = {
    {"BTNKEYSETUP_TURNLEFT", "LEFT", kActLeft, false, "LBLTURNLEFTCODE"},
    {"BTNKEYSETUP_TURNRIGHT", "RIGHT", kActRight, false, "LBLTURNRIGHTCODE"},
    {"BTNKEYSETUP_VIEWUP", "VIEWUP", kActViewUp, false, "LBLVIEWUPCODE"},
    {"BTNKEYSETUP_VIEWDOWN", "VIEWDOWN", kActViewDown, false, "LBLVIEWDOWNCODE"},
    {"BTNKEYSETUP_ENGINESONOFF", "ENGINEONOFF", kActEngineOnOff, false, "LBLENGINEONOFFCODE"},
    {"BTNKEYSETUP_SHOOT", "SHOOT", kActShoot, false, "LBLSHOOTCODE"},
    {"BTNKEYSETUP_CHANGEWEAPON", "CHANGEWEAPON", kActChangeWeapon, false, "LBLCHANGEWEAPONCODE"},
    {"BTNKEYSETUP_MENUUP", "MENUUP", kActMenuUp, true, "LBLMENUUPCODE"},
    {"BTNKEYSETUP_MENUDOWN", "MENUDOWN", kActMenuDown, true, "LBLMENUDOWNCODE"},
    {"BTNKEYSETUP_MENULEFT", "MENULEFT", kActMenuLeft, true, "LBLMENULEFTCODE"},
    {"BTNKEYSETUP_MENURIGHT", "MENURIGHT", kActMenuRight, true, "LBLMENURIGHTCODE"},
    {"BTNKEYSETUP_MENUSELECT", "MENUSELECT", kActMenuSelect, true, "LBLMENUSELECTCODE"},
};

bool Is(const char* name, const char* expected) { return strcmp(name, expected) == 0; }

void Open(FormManager* m, const char* form) { OpenForm(m, m->scriptName, form); }

// The named control of the current form when it is of that kind; a control missing from
// the form is skipped by every caller.
template <typename T>
T* Current(FormManager* m, const char* name, int32_t kind) {
  int32_t found = 0;
  void* control = FindCurrentControl(m, name, &found);
  return control && found == kind ? static_cast<T*>(control) : nullptr;
}

void SetChecked(FormManager* m, const char* name, bool checked) {
  if (auto* c = Current<CheckboxControl>(m, name, kControlCheckbox)) c->checked = checked ? 1 : 0;
}

// ---------------------------------------------------------------------------------------
// Event 301: a form was opened.

void FillOptions(FormManager* m, GameDriver* d) {
  SetChecked(m, "CHKOPTIONS_SHOWBACKGROUND", d->settings.showBackground != 0);
  SetChecked(m, "CHKOPTIONS_PLAYMUSIC", d->settings.playMusic != 0);
  SetChecked(m, "CHK_OPTIONS_CAMFIRSTPERSON", d->settings.cameraMode == kCameraFirstPerson);
  // The stored volume is shown as it is, even outside the bar's range.
  if (auto* v = Current<ProgressBarControl>(m, "PROGRBAR_VOLUME", kControlProgressBar))
    v->value = d->settings.volume;
  if (auto* v = Current<ProgressBarControl>(m, "PGB_VIS", kControlProgressBar)) {
    v->minimum = kVisibilityMin;
    v->maximum = kVisibilityMax;
    v->value = d->settings.visibility;
  }
}

void FillKeyLabels(FormManager* m) {
  for (const KeyRow& row : kKeyRows) {
    auto* label = Current<LabelControl>(m, row.label, kControlLabel);
    if (!label) continue;
    char text[16];
    FormatKeyCode(Bindings.code[row.slot], text);
    SetLabelText(label, text);
  }
}

// The in-game form hands its 3D view, sky and energy bar to the world; the map then loads
// one stage per frame.
void BindInGameForm(FormManager* m, GameDriver* d) {
  World& w = d->world;
  w.view = Current<View3DControl>(m, "NEWTDENG", kControlView3D);
  w.scene = w.view ? w.view->engine : nullptr;
  w.background = Current<BackgroundControl>(m, "NEWBACKGROUND", kControlBackground);
  w.energyBar = Current<ProgressBarControl>(m, "PGB_ENERGY", kControlProgressBar);
  d->screenState = kScreenLoading;
}

void StartBriefing(FormManager* m, GameDriver* d) {
  auto* image = Current<BitmapControl>(m, "IMG_SCROLLTEXT", kControlBitmap);
  if (!image) {
    LogMessage("Error getting ptr for IMG_SCROLLTEXT");
    // Nothing to scroll the story into: the briefing is over before it began.
    CloseCurrentForm(m);
    d->OpenInGameForm();
    return;
  }
  auto* panel = static_cast<ScrollText*>(AllocZeroed(sizeof(ScrollText)));
  if (!panel) return;
  panel->Create(d->app, image->slot, "intro.txt", m->font1, 1.0f);
  d->intro = panel;
}

void FreeBriefing(GameDriver* d) {
  if (!d->intro) return;
  d->intro->Destroy();
  MemFree(d->intro);
  d->intro = nullptr;
}

void FormOpened(FormManager* m, GameDriver* d, const char* form) {
  if (Is(form, "FORMOPTIONS")) {
    FillOptions(m, d);
  } else if (Is(form, "FORMKEYSETUP")) {
    FillKeyLabels(m);
  } else if (Is(form, "FORMINGAME_CAM_FP") || Is(form, "FORMINGAME_CAM_EXT2")) {
    BindInGameForm(m, d);
  } else if (Is(form, "FORMINTRO")) {
    StartBriefing(m, d);
  }
}

// ---------------------------------------------------------------------------------------
// Events 303 and 304: the current form's step, and a form closing.

void FormTick(FormManager* m, GameDriver* d, const char* form) {
  if (!Is(form, "FORMINTRO") || !d->intro) return;
  if (!d->intro->Update()) {
    CloseCurrentForm(m);  // its closing event frees the panel
    d->OpenInGameForm();
  }
}

void FormClosing(GameDriver* d, const char* form) {
  if (Is(form, "FORMINTRO")) FreeBriefing(d);
}

// ---------------------------------------------------------------------------------------
// Event 302: key setup captured a key.

void KeyCaptured(FormManager* m, int32_t code) {
  for (const KeyRow& row : kKeyRows) {
    if (!Is(m->capturedAction, row.action)) continue;
    if (row.menuKey)
      UnbindMenuKey(uint32_t(code));
    else
      UnbindGameKey(uint32_t(code));
    Bindings.code[row.slot] = uint32_t(code);
    break;
  }
  Open(m, "FORMKEYSETUP");
}

// ---------------------------------------------------------------------------------------
// Event 4: a checkbox was toggled.

void CheckboxToggled(FormManager* m, GameDriver* d, CheckboxControl* box, const char* name) {
  const bool on = box && box->checked;
  if (Is(name, "CHKOPTIONS_SHOWBACKGROUND")) {
    d->settings.showBackground = on ? 1 : 0;
  } else if (Is(name, "CHKOPTIONS_PLAYMUSIC")) {
    d->settings.playMusic = on ? 1 : 0;
    if (d->sound) {
      if (on)
        StartIntroMusic(d->sound);
      else
        StopIntroMusic(d->sound);
    }
  } else if (Is(name, "CHK_OPTIONS_CAMFIRSTPERSON")) {
    d->settings.cameraMode = on ? kCameraFirstPerson : kCameraExternal;
  } else if (Is(name, "ENGINELED")) {
    if (m->sound && m->moveSample >= 0) PlaySample(m->sound, m->moveSample, 0);
    SwitchPlayerEngine(&d->world, on ? 1 : 0);
  }
}

// ---------------------------------------------------------------------------------------
// Event 1: a button was clicked.

// A bar's value moved by `step`, kept inside the bar's own range.
int32_t StepBar(ProgressBarControl* bar, int32_t step) {
  SetProgressValue(bar, WrapAdd(bar->value, step));
  return bar->value;
}

void ChangeVolume(FormManager* m, GameDriver* d, int32_t step) {
  auto* bar = Current<ProgressBarControl>(m, "PROGRBAR_VOLUME", kControlProgressBar);
  if (!bar) return;
  const int32_t volume = StepBar(bar, step);
  if (d->sound) SetMasterVolume(d->sound, volume);
  d->settings.volume = volume;
}

void ChangeVisibility(FormManager* m, GameDriver* d, int32_t step) {
  auto* bar = Current<ProgressBarControl>(m, "PGB_VIS", kControlProgressBar);
  if (!bar) return;
  bar->minimum = kVisibilityMin;
  bar->maximum = kVisibilityMax;
  d->settings.visibility = StepBar(bar, step);
}

// Play: a first start asks whether to begin a campaign; saved progress continues.
void StartGame(FormManager* m, GameDriver* d) {
  CloseForm(m, "FORMMAIN");
  PlayerData& p = d->player;
  if (!FileExists(kPlayerDataFile)) {
    p.previousMap[0] = 0;
    strcpy(p.nextMap, "map1_1.map");
    strcpy(p.entryPoint, "default");
    p.restorePlayer = 0;
    p.starSystem = 1;
    Open(m, "FORMNEWGAME");
    return;
  }
  if (p.restorePlayer) memcpy(p.nextMap, p.previousMap, sizeof p.nextMap);
  d->OpenInGameForm();
}

void ChooseSkill(FormManager* m, GameDriver* d, int32_t level) {
  d->player.skillLevel = level;
  CloseCurrentForm(m);
  Open(m, "FORMINTRO");
}

// Closes `from` and opens `to`.
void Switch(FormManager* m, const char* from, const char* to) {
  CloseForm(m, from);
  Open(m, to);
}

bool KeySetupButton(FormManager* m, const char* name) {
  for (const KeyRow& row : kKeyRows) {
    if (!Is(name, row.button)) continue;
    CloseForm(m, "FORMKEYSETUP");
    strncpy(m->capturedAction, row.action, sizeof m->capturedAction - 1);
    m->inputMode = kInputWaitKey;
    return true;
  }
  return false;
}

void ButtonClicked(FormManager* m, GameDriver* d, const char* name) {
  if (KeySetupButton(m, name)) return;
  if (Is(name, "BTNEXITAPP")) {
    CloseForm(m, "FORMMAIN");
    Input.quitRequest = 1;
    d->screenState = kScreenQuit;
  } else if (Is(name, "BTNSTART_FORMMAIN")) {
    StartGame(m, d);
  } else if (Is(name, "BTNOPTIONS_FORMMAIN")) {
    Switch(m, "FORMMAIN", "FORMOPTIONS");
  } else if (Is(name, "BTNCREDITS_FORMMAIN")) {
    Switch(m, "FORMMAIN", "FORMCREDITS");
  } else if (Is(name, "BTNBACK_FORMCREDITS")) {
    Switch(m, "FORMCREDITS", "FORMMAIN");
  } else if (Is(name, "FORMJUMPTOOFAR_BTN_OK")) {
    Switch(m, "FORMJUMPTOOFAR", "FORMSTARCHART");
  } else if (Is(name, "BTNVOLUMEPLUS_FORMOPTIONS")) {
    ChangeVolume(m, d, kVolumeStep);
  } else if (Is(name, "BTNVOLUMEMINUS_FORMOPTIONS")) {
    ChangeVolume(m, d, -kVolumeStep);
  } else if (Is(name, "BTN_VISPLUS")) {
    ChangeVisibility(m, d, kVisibilityStep);
  } else if (Is(name, "BTN_VISMINUS")) {
    ChangeVisibility(m, d, -kVisibilityStep);
  } else if (Is(name, "BTNBACK_FORMOPTIONS")) {
    WriteSettings(d->settings, Bindings);
    Switch(m, "FORMOPTIONS", "FORMMAIN");
  } else if (Is(name, "BTNOPTIONS_KEYSETUP")) {
    Switch(m, "FORMOPTIONS", "FORMKEYSETUP");
  } else if (Is(name, "BTNBACK_FORMKEYSETUP")) {
    WriteSettings(d->settings, Bindings);
    Switch(m, "FORMKEYSETUP", "FORMOPTIONS");
  } else if (Is(name, "BTN_MENU")) {
    Input.action[kActGoToMenu].current = 1;
  } else if (Is(name, "BTN_NEWGAME")) {
    CloseCurrentForm(m);
    Open(m, "FORMNEWGAME");
  } else if (Is(name, "BTN_NEWGAME_CANCEL")) {
    CloseCurrentForm(m);
    Open(m, "FORMMAIN");
  } else if (Is(name, "BTN_NEWGAME_OK")) {
    NewGameReset(&d->player);
    CloseCurrentForm(m);
    Open(m, "FORMSKILLLEVEL");
  } else if (Is(name, "BTN_SKILLLEVEL_EASY")) {
    ChooseSkill(m, d, 1);
  } else if (Is(name, "BTN_SKILLLEVEL_NORMAL")) {
    ChooseSkill(m, d, 2);
  } else if (Is(name, "BTN_SKILLLEVEL_HARD")) {
    ChooseSkill(m, d, 3);
  } else if (Is(name, "BTN_SKIPINTRO")) {
    CloseCurrentForm(m);  // its closing event frees the panel
    d->OpenInGameForm();
  } else if (Is(name, "BTN_CHANGEWEAPON")) {
    Input.action[kActChangeWeapon].current = 1;
    if (m->sound && m->moveSample >= 0) PlaySample(m->sound, m->moveSample, 0);
  }
}

}  // namespace

void HandleMenuEvent(FormManager* m, int32_t code, int32_t value, void* object,
                     const char* name) {
  GameDriver* d = Driver;
  if (!m || !d) return;
  if (!name) name = "";
  switch (code) {
    case kEventManagerCreated:
      strncpy(m->scriptName, kScript, sizeof m->scriptName - 1);
      Open(m, "FORMMAIN");
      break;
    case kEventFormOpened: FormOpened(m, d, name); break;
    case kEventFormTick: FormTick(m, d, name); break;
    case kEventFormClosing: FormClosing(d, name); break;
    case kEventKeyCaptured: KeyCaptured(m, value); break;
    case kEventCheckboxToggled:
      CheckboxToggled(m, d, static_cast<CheckboxControl*>(object), name);
      break;
    case kEventButtonClicked: ButtonClicked(m, d, name); break;
    default: break;
  }
}
