// Key bindings, per-action latches and the stylus: what the forms, menus and craft read.
#pragma once

#include <cstdint>

// Action slots of the key bindings and latches.
enum ActionSlot : int {
  kActEngineOnOff = 0,
  kActShoot = 1,
  kActChangeWeapon = 2,
  kActUnused3 = 3,
  kActUnused4 = 4,
  kActLeft = 5,
  kActRight = 6,
  kActViewUp = 7,
  kActViewDown = 8,
  kActUnused9 = 9,
  kActUnused10 = 10,
  kActMenuLeft = 11,
  kActMenuRight = 12,
  kActMenuUp = 13,
  kActMenuDown = 14,
  kActMenuSelect = 15,
  kActGoToMenu = 16,
  kActUnused17 = 17,
};

constexpr int kBindingCount = 18;
constexpr int kLatchCount = 17;

// 18 virtual-key codes, one per slot; 0 means "Not set". Stored as in kvr.ini.
struct KeyBindings {
  uint32_t code[kBindingCount];
};
static_assert(sizeof(KeyBindings) == 72);

struct ActionLatch {
  uint8_t current;
  uint8_t previous;
};

struct InputState {
  uint8_t inputEnabled;
  ActionLatch action[kLatchCount];
  uint8_t quitRequest;
  int32_t stylusX;
  int32_t stylusY;
  uint8_t stylusDown;
  uint8_t stylusPrevDown;
  uint8_t stylusUp;
  uint8_t stylusPrevUp;
};

extern InputState Input;
extern KeyBindings Bindings;
extern uint8_t KeyTable[256];

// The three latch tests every reader uses.
inline bool ActionPressed(int slot) {
  return Input.action[slot].current == 1 && Input.action[slot].previous == 0;
}
inline bool ActionHeld(int slot) { return Input.action[slot].current == 1; }
inline bool ActionReleased(int slot) {
  return Input.action[slot].current == 0 && Input.action[slot].previous == 1;
}

// Lowest virtual-key code 1..255 that is down, skipping 91 (left Windows key); 0 if none.
int WaitAnyKey();

// "Not set" for 0, else the code in decimal.
void FormatKeyCode(uint32_t code, char* text);

// Clears every game slot (5, 6, 7, 8, 4, 0, 1, 9, 10) / menu slot (11-15) holding `code`.
void UnbindGameKey(uint32_t code);
void UnbindMenuKey(uint32_t code);

// Stylus message handlers of the window procedure.
void StylusDownAt(int32_t x, int32_t y);
void StylusUpNow();

// True when the stylus went up strictly inside the rectangle (edges are not hits).
bool StylusHit(int32_t left, int32_t top, int32_t width, int32_t height);
