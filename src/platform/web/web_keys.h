// The page's keys and gamepad buttons as the game's virtual-key codes, as the window reads them.
#pragma once

#include <string_view>

// A keyboard event's `code` (the key's place) and `key` (what it types): letters follow the
// layout, every other key its place. 0 for a key the game has no code for.
int VirtualKeyFromDom(std::string_view code, std::string_view key);

// A button of a gamepad in the standard layout, by its index; 0 for one without a code.
int VirtualKeyFromGamepadButton(int button);

// The gamepad's stick axes (0 left x, 1 left y, 2 right x, 3 right y) read as keys once pushed
// past half their travel: the codes for the negative and the positive side.
void GamepadAxisKeys(int axis, int* negative, int* positive);
