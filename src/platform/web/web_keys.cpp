// Virtual-key codes of the page's keys and gamepads.
#include "platform/web/web_keys.h"

#include <iterator>

namespace {

struct Named {
  const char* code;
  int vk;
};

constexpr Named kKeys[] = {
    {"Enter", 0x0D},      {"NumpadEnter", 0x0D}, {"Escape", 0x1B},     {"Space", 0x20},
    {"Tab", 0x09},        {"Backspace", 0x08},   {"ArrowLeft", 0x25},  {"ArrowUp", 0x26},
    {"ArrowRight", 0x27}, {"ArrowDown", 0x28},   {"Insert", 0x2D},     {"Delete", 0x2E},
    {"Home", 0x24},       {"End", 0x23},         {"PageUp", 0x21},     {"PageDown", 0x22},
    {"ShiftLeft", 0xA0},  {"ShiftRight", 0xA1},  {"ControlLeft", 0xA2}, {"ControlRight", 0xA3},
    {"AltLeft", 0xA4},    {"AltRight", 0xA5},    {"MetaLeft", 0x5B},   {"OSLeft", 0x5B},
};

// "Prefix" followed by one character from `first` to `last`: its offset, else -1.
int Indexed(std::string_view code, std::string_view prefix, char first, char last) {
  if (code.size() != prefix.size() + 1 || code.substr(0, prefix.size()) != prefix) return -1;
  const char c = code.back();
  return c >= first && c <= last ? c - first : -1;
}

}  // namespace

int VirtualKeyFromDom(std::string_view code, std::string_view key) {
  if (key.size() == 1) {
    const char c = key[0];
    if (c >= 'a' && c <= 'z') return 0x41 + (c - 'a');
    if (c >= 'A' && c <= 'Z') return 0x41 + (c - 'A');
  }
  int i = Indexed(code, "Key", 'A', 'Z');
  if (i >= 0) return 0x41 + i;
  if ((i = Indexed(code, "Digit", '0', '9')) >= 0) return 0x30 + i;
  if ((i = Indexed(code, "Numpad", '0', '9')) >= 0) return 0x60 + i;
  if ((i = Indexed(code, "F", '1', '9')) >= 0) return 0x70 + i;
  if (code == "F10" || code == "F11" || code == "F12") return 0x79 + (code[2] - '0');
  for (const Named& k : kKeys)
    if (code == k.code) return k.vk;
  return 0;
}

int VirtualKeyFromGamepadButton(int button) {
  // A, B, X, Y, left and right shoulder, left and right trigger, back, start, stick presses,
  // then the d-pad up, down, left, right.
  static constexpr int kButtons[] = {0xC3, 0xC4, 0xC5, 0xC6, 0xC8, 0xC7, 0xC9, 0xCA,
                                     0xD0, 0xCF, 0xD1, 0xD2, 0xCB, 0xCC, 0xCD, 0xCE};
  return button >= 0 && button < int(std::size(kButtons)) ? kButtons[button] : 0;
}

void GamepadAxisKeys(int axis, int* negative, int* positive) {
  static constexpr int kAxes[4][2] = {{0xD6, 0xD5}, {0xD3, 0xD4}, {0xDA, 0xD9}, {0xD7, 0xD8}};
  const bool known = axis >= 0 && axis < 4;
  *negative = known ? kAxes[axis][0] : 0;
  *positive = known ? kAxes[axis][1] : 0;
}
