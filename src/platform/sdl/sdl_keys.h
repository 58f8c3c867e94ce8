// Translation of SDL keys and controller buttons to Windows virtual-key codes.
#pragma once

#include <SDL.h>

// 0 when the key has no virtual-key code.
int VirtualKeyFromSdl(const SDL_Keysym& key);
int VirtualKeyFromControllerButton(Uint8 button);
