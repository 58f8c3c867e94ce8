// Key sampling into action latches, latch shifting, key unbinding and the stylus.
#include "core/input.h"

#include <cstdio>
#include <cstring>

#include "platform/platform.h"

InputState Input;
KeyBindings Bindings;
uint8_t KeyTable[256];

int WaitAnyKey() {
  Platform* platform = CurrentPlatform();
  if (!platform) return 0;
  for (int code = 1; code < 256; ++code) {
    if (code == 91) continue;
    if (platform->KeyState(code) != 0) return code;
  }
  return 0;
}

void FormatKeyCode(uint32_t code, char* text) {
  if (code == 0)
    strcpy(text, "Not set");
  else
    sprintf(text, "%d", int(code));
}

void UnbindGameKey(uint32_t code) {
  static const int kGameSlots[] = {5, 6, 7, 8, 4, 0, 1, 9, 10};
  for (int slot : kGameSlots)
    if (Bindings.code[slot] == code) Bindings.code[slot] = 0;
}

void UnbindMenuKey(uint32_t code) {
  for (int slot = 11; slot <= 15; ++slot)
    if (Bindings.code[slot] == code) Bindings.code[slot] = 0;
}

void StylusDownAt(int32_t x, int32_t y) {
  Input.stylusDown = 1;
  Input.stylusUp = 0;
  Input.stylusX = x;
  Input.stylusY = y;
}

void StylusUpNow() {
  Input.stylusUp = 1;
  Input.stylusDown = 0;
}

bool StylusHit(int32_t left, int32_t top, int32_t width, int32_t height) {
  return Input.stylusUp == 1 && left < Input.stylusX && Input.stylusX < left + width &&
         top < Input.stylusY && Input.stylusY < top + height;
}
