// The face of the forms GUI: the resource-script parser, the FormManager that runs the
// current form, the seven control kinds, and the events every form reports.
#pragma once

#include <cstdint>

#include "core/pointer_list.h"
#include "engine3d/engine3d.h"
#include "gfx2d/gfx2d.h"
#include "gui/scroll_text.h"

struct SoundSystem;
struct FormManager;
struct SceneCache;

// ---------------------------------------------------------------------------------------
// Events and kinds

// What the manager reports to the menu event handler.
enum FormEvent : int32_t {
  kEventButtonClicked = 1,      // object: the button
  kEventCheckboxToggled = 4,    // object: the checkbox
  kEventManagerCreated = 300,   // object: none
  kEventFormOpened = 301,       // object: the form, once its script block was parsed
  kEventKeyCaptured = 302,      // value: the virtual-key code; object: none
  kEventFormTick = 303,         // once per logic step for the current form
  kEventFormClosing = 304,      // object: the form, before its controls are destroyed
};

// The tag byte of each entry of a form's control list.
enum ControlKind : uint8_t {
  kControlButton = 1,
  kControlBitmap = 2,
  kControlLabel = 3,
  kControlCheckbox = 4,
  kControlView3D = 5,
  kControlBackground = 6,
  kControlProgressBar = 7,
};

enum FormInputMode : uint32_t {
  kInputNormal = 1,       // the current form takes the stylus and the menu keys
  kInputWaitKey = 2,      // "Press a key": the next key is captured (event 302)
  kInputWaitRelease = 3,  // a key was captured; waiting until every key is up
};

// The one handler of every form event. `object` is the control or form the event is
// about (null for 300 and 302); `name` its name (empty when there is none). The handler
// may open and close forms, including the one the event is about.
using MenuEventHandler = void (*)(FormManager* manager, int32_t code, int32_t value,
                                  void* object, const char* name);

// ---------------------------------------------------------------------------------------
// Control records. Positions are layout coordinates of the top-left corner; images are
// sprite-table slots, -1 for none. Every record belongs to its form's control list.

struct ButtonControl {
  int32_t normalImage;
  int32_t highlightImage;
  int32_t state;          // 1 normal, 2 pressed (held by the stylus)
  uint8_t focused;
  uint8_t visible;
  int32_t x, y, width, height;  // size of the highlighted image
  uint8_t redrawAlways;
  char name[320];
  uint32_t blitMode;
  uint16_t colourKey;
};

// A bitmap control is a SpriteImage; its `option` byte is the redraw-always flag.
using BitmapControl = SpriteImage;

struct LabelControl {
  char text[256];
  uint8_t visible;
  int32_t y, x;
  char name[64];
  Font* font;  // one of the manager's three shared fonts
};

struct CheckboxControl {
  int32_t uncheckedImage;
  int32_t focusImage;     // drawn over the box while it has the focus
  int32_t checkedImage;
  int32_t checkedOffsetX, checkedOffsetY;
  int32_t focusState;     // 1 normal, 2 focused
  uint8_t checked;
  int32_t x, y, width, height;  // size of the unchecked image
  uint8_t redrawAlways;
  char name[64];
  uint32_t blitMode;
  uint16_t colourKey;
  uint8_t visible;
};

// The 3D view owns its engine from creation to the form's close.
struct View3DControl {
  uint8_t active;   // the view draws only while set (SetControlVisible)
  char name[64];
  int32_t x, y, width, height;
  Engine3D* engine;
};

// A background control is the Background itself (image mode, no image until the map
// loader gives it one).
using BackgroundControl = Background;

struct ProgressBarControl {
  char name[64];
  int32_t x, y, width, height;
  int32_t minimum, maximum, value;
  uint16_t fillColour;
  int32_t imageOffsetX, imageOffsetY;  // the frame is drawn at (x - offset x, y - offset y)
  int32_t frameImage;
  uint8_t vertical;   // fills from the bottom up instead of from the left
  uint8_t visible;
};

// ---------------------------------------------------------------------------------------
// Forms and the manager

constexpr int kMaxFormNameChars = 127;

struct FormRecord {
  uint32_t app;
  char name[kMaxFormNameChars + 1];
  PointerList controls;  // tag = ControlKind; indices in script order
  int32_t focused;       // -1 for none
};

struct FormManager {
  void* driver;           // the game driver, handed over at creation
  Font* font1;            // the shared fonts every label draws with
  Font* font2;
  Font* font3;
  FormRecord* current;
  uint8_t keysNavigate;   // menu keys move the focus and select
  uint8_t throttledRedraw;  // static controls are drawn only every sixth frame
  uint8_t menuSounds;
  uint8_t focusHighlight;
  int32_t redrawCounter;
  uint32_t app;
  PointerList forms;      // FormRecord pointers
  uint32_t inputMode;     // FormInputMode
  int32_t moveSample;     // sample slots, -1 when not loaded
  int32_t selectSample;
  char* scriptText;       // only while OpenForm parses
  int32_t readPosition;
  int32_t scriptSize;
  char scriptName[64];    // the script the menus open their forms from
  char capturedAction[64];  // the key-setup action waiting for its key (modes 2 and 3)
  // Desktop additions: where the samples live and where events go.
  SoundSystem* sound;
  MenuEventHandler handler;
  uint8_t captureArmed;   // mode 2 has seen every key up, so the next key is a new press
  // Set by the game before a frame when no logic step has run since the last one: the sky
  // and the 3D view would come out as they did, so DrawForms copies their pixels back
  // instead of drawing them again. It holds for one DrawForms.
  uint8_t sceneUnchanged;
  SceneCache* sceneCache;  // those pixels, kept by DrawForms; null until first needed
};

// The one FormManager of the process; set by the game driver, null until then.
extern FormManager* Forms;

// Creates the manager: loads font1.fnt, font2.fnt and font3.fnt (a font that fails is
// logged as "Error loading fontN.fnt" and creation stops there), the menu samples
// menu1.wav and menu2.wav when `sound` is given, and sends event 300 to `handler`.
// Null only when memory is short. The caller owns it (DestroyFormManager).
FormManager* CreateFormManager(uint32_t app, void* driver, SoundSystem* sound,
                               MenuEventHandler handler);
// Closes the current form (event 304), destroys every other form without events, frees
// the fonts and the samples and the manager itself.
void DestroyFormManager(FormManager* manager);

// Parses the named FORM block of the script into a new current form. A form of that name
// that is already open only becomes current. False after logging on failure; the form
// then stays current with the controls made before the failing line.
bool OpenForm(FormManager* manager, const char* scriptName, const char* formName);
// Closes the named form; false and "Error in CloseForm: form not found:NAME" when absent.
bool CloseForm(FormManager* manager, const char* formName);
void CloseCurrentForm(FormManager* manager);
// The open form of that name, or null.
FormRecord* FindForm(FormManager* manager, const char* formName);
// Calls visit for the name of every FORM block of a script, in file order. The number of
// blocks, or -1 when the script cannot be opened. For tools.
int32_t ListScriptForms(const char* scriptName, void (*visit)(const char* formName, void* user),
                        void* user);

// The first control of that name in list order (its kind in *kind when given), or null.
void* FindControl(FormRecord* form, const char* name, int32_t* kind = nullptr);
void* FindCurrentControl(FormManager* manager, const char* name, int32_t* kind = nullptr);
// The name of a control of the given kind.
const char* ControlName(void* control, int32_t kind);
// Visible flag of the named control of the current form (a 3D view's active flag).
bool SetControlVisible(FormManager* manager, const char* name, uint8_t visible);
// Moves the named 3D view or background of the current form to another rectangle (the
// view's projection follows it); false for other kinds and unknown names.
bool SetControlArea(FormManager* manager, const char* name, int32_t x, int32_t y,
                    int32_t width, int32_t height);
void HideAllControls(FormManager* manager);
void ShowAllControls(FormManager* manager);
void SetLabelText(LabelControl* label, const char* text);  // at most 255 bytes are kept
void SetProgressValue(ProgressBarControl* bar, int32_t value);  // clamped into the range
// Throttled redraw on or off; the next frame draws everything either way.
void SetThrottledRedraw(FormManager* manager, uint8_t on);

// Focus: the initial choice after parsing, marking the focused control, and the four moves
// with the menu keys (only visible buttons and checkboxes can take the focus).
void ChooseInitialFocus(FormRecord* form);
void ApplyFocus(FormRecord* form);
void MoveFocusLeft(FormRecord* form);
void MoveFocusRight(FormRecord* form);
void MoveFocusUp(FormRecord* form);
void MoveFocusDown(FormRecord* form);

// Once per logic step, before the screen's own work: stylus and menu keys on the current
// form, or the "Press a key" capture; then event 303.
void UpdateForms(FormManager* manager);
// Once per frame: the current form's controls in list order (only the ones that change
// every frame on five of six frames while throttled).
void DrawForms(FormManager* manager);
// Draws one control by its kind, whatever the throttling.
void DrawControl(FormManager* manager, void* control, int32_t kind);
