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
