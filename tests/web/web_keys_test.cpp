// The page's keys and gamepads reach the game as the same virtual-key codes as the window's.
#include <gtest/gtest.h>

#include "platform/web/web_keys.h"

namespace {

TEST(WebKeys, KeysReadAsTheWindowReadsThem) {
  struct Case {
    const char* code;
    const char* key;
    int vk;
  };
  const Case cases[] = {
      {"KeyA", "a", 0x41},           {"KeyQ", "A", 0x41},  // letters follow the layout
      {"KeyZ", "y", 0x59},           {"KeyE", "\xd0\xb5", 0x45},  // not a Latin letter: its place
      {"Digit0", "0", 0x30},         {"Digit9", "(", 0x39},
      {"Numpad0", "0", 0x60},        {"Numpad9", "PageUp", 0x69},
      {"F1", "F1", 0x70},            {"F9", "F9", 0x78},  {"F10", "F10", 0x79},
      {"F12", "F12", 0x7B},          {"Enter", "Enter", 0x0D},
      {"NumpadEnter", "Enter", 0x0D}, {"Escape", "Escape", 0x1B},
      {"Space", " ", 0x20},          {"Tab", "Tab", 0x09},  {"Backspace", "Backspace", 0x08},
      {"ArrowLeft", "ArrowLeft", 0x25}, {"ArrowUp", "ArrowUp", 0x26},
      {"ArrowRight", "ArrowRight", 0x27}, {"ArrowDown", "ArrowDown", 0x28},
      {"Insert", "Insert", 0x2D},    {"Delete", "Delete", 0x2E},  {"Home", "Home", 0x24},
      {"End", "End", 0x23},          {"PageUp", "PageUp", 0x21},  {"PageDown", "PageDown", 0x22},
      {"ShiftLeft", "Shift", 0xA0},  {"ShiftRight", "Shift", 0xA1},
      {"ControlLeft", "Control", 0xA2}, {"ControlRight", "Control", 0xA3},
      {"AltLeft", "Alt", 0xA4},      {"AltRight", "AltGraph", 0xA5},
      {"MetaLeft", "Meta", 0x5B},
      // Keys the game has no code for, and names that only look like one.
      {"F13", "F13", 0},             {"F1x", "", 0},  {"Key", "", 0},  {"Numpad", "", 0},
      {"KeyAB", "", 0},              {"", "", 0},     {"MetaRight", "Meta", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(VirtualKeyFromDom(c.code, c.key), c.vk) << c.code;
}

TEST(WebKeys, GamepadButtonsAndSticks) {
  const int buttons[] = {0xC3, 0xC4, 0xC5, 0xC6, 0xC8, 0xC7, 0xC9, 0xCA,
                         0xD0, 0xCF, 0xD1, 0xD2, 0xCB, 0xCC, 0xCD, 0xCE};
  for (int b = 0; b < 16; ++b) EXPECT_EQ(VirtualKeyFromGamepadButton(b), buttons[b]) << b;
  EXPECT_EQ(VirtualKeyFromGamepadButton(16), 0);  // the guide button
  EXPECT_EQ(VirtualKeyFromGamepadButton(-1), 0);
  const int sides[5][2] = {{0xD6, 0xD5}, {0xD3, 0xD4}, {0xDA, 0xD9}, {0xD7, 0xD8}, {0, 0}};
  for (int a = 0; a < 5; ++a) {
    int negative = -1, positive = -1;
    GamepadAxisKeys(a, &negative, &positive);
    EXPECT_EQ(negative, sides[a][0]) << a;
    EXPECT_EQ(positive, sides[a][1]) << a;
  }
}

}  // namespace
