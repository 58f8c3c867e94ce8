// The key table both backends keep: down now, or pressed since the code was last read.
// Code 0 stands for "not set" and never reads as down, whatever a backend hands in.
#pragma once

#include <cstdint>

struct KeyLatchTable {
  uint8_t down[256] = {};
  uint8_t pressed[256] = {};

  void Set(int vk, bool isDown) {
    if (vk < 1 || vk > 255) return;
    down[vk] = isDown ? 1 : 0;
    if (isDown) pressed[vk] = 1;
  }

  // Sets a key a backend read, keeping the generic Shift, Ctrl and Alt codes down while either
  // side's key is.
  void SetSided(int vk, bool isDown) {
    Set(vk, isDown);
    static constexpr int kPairs[3][3] = {{0x10, 0xA0, 0xA1}, {0x11, 0xA2, 0xA3}, {0x12, 0xA4, 0xA5}};
    for (const auto& p : kPairs) {
      if (vk == p[1] || vk == p[2]) Set(p[0], down[p[1]] || down[p[2]]);
    }
  }

  // As the handheld's key state: the top bit while down, the low bit once after a press.
  uint16_t Read(int vk) {
    if (vk < 1 || vk > 255) return 0;
    uint16_t state = 0;
    if (down[vk]) state |= 0x8000;
    if (pressed[vk]) state |= 1;
    pressed[vk] = 0;
    return state;
  }
};
