// Reading the keys into the action latches once per step, and shifting them afterwards.
#include "app/app.h"
#include "core/core.h"

void SampleKeys() {
  Platform* platform = CurrentPlatform();
  // Code 0 means "not set": it never reads as down, so an unbound action never activates.
  KeyTable[0] = 0;
  for (int code = 1; code < 256; ++code)
    KeyTable[code] = (platform && platform->KeyState(code) != 0) ? 1 : 0;
  static const int kSampled[] = {5, 6, 7, 8, 0, 1, 2, 3, 4, 11, 12, 13, 14, 15};
  for (int slot : kSampled) {
    uint32_t code = Bindings.code[slot];
    // A code from a damaged settings file never indexes past the key table.
    Input.action[slot].current = code < 256 ? KeyTable[code] : 0;
  }
}

static bool Latched(int slot) { return slot != 9 && slot != 10; }

void ShiftLatches() {
  for (int slot = 0; slot < kLatchCount; ++slot)
    if (Latched(slot)) Input.action[slot].previous = Input.action[slot].current;
  Input.stylusPrevDown = Input.stylusDown;
  Input.stylusPrevUp = Input.stylusUp;
  // Stylus latches stay: only the stylus messages change them.
  for (int slot = 0; slot < kLatchCount; ++slot)
    if (Latched(slot)) Input.action[slot].current = 0;
}

bool PresentFrame() {
  Platform* platform = CurrentPlatform();
  return platform && platform->Present(FrameBuffer);
}
