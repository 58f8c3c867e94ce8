// Virtual-key codes: letters follow the keyboard layout, every other key its position.
#include "platform/sdl/sdl_keys.h"

int VirtualKeyFromSdl(const SDL_Keysym& key) {
  if (key.sym >= SDLK_a && key.sym <= SDLK_z) return 0x41 + (key.sym - SDLK_a);
  SDL_Scancode s = key.scancode;
  if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z) return 0x41 + (s - SDL_SCANCODE_A);
  if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9) return 0x31 + (s - SDL_SCANCODE_1);
  if (s == SDL_SCANCODE_0) return 0x30;
  if (s >= SDL_SCANCODE_F1 && s <= SDL_SCANCODE_F12) return 0x70 + (s - SDL_SCANCODE_F1);
  if (s >= SDL_SCANCODE_KP_1 && s <= SDL_SCANCODE_KP_9) return 0x61 + (s - SDL_SCANCODE_KP_1);
  switch (s) {
    case SDL_SCANCODE_KP_0: return 0x60;
    case SDL_SCANCODE_RETURN: return 0x0D;
    case SDL_SCANCODE_KP_ENTER: return 0x0D;
    case SDL_SCANCODE_ESCAPE: return 0x1B;
    case SDL_SCANCODE_SPACE: return 0x20;
    case SDL_SCANCODE_TAB: return 0x09;
    case SDL_SCANCODE_BACKSPACE: return 0x08;
    case SDL_SCANCODE_LEFT: return 0x25;
    case SDL_SCANCODE_UP: return 0x26;
    case SDL_SCANCODE_RIGHT: return 0x27;
    case SDL_SCANCODE_DOWN: return 0x28;
    case SDL_SCANCODE_INSERT: return 0x2D;
    case SDL_SCANCODE_DELETE: return 0x2E;
    case SDL_SCANCODE_HOME: return 0x24;
    case SDL_SCANCODE_END: return 0x23;
    case SDL_SCANCODE_PAGEUP: return 0x21;
    case SDL_SCANCODE_PAGEDOWN: return 0x22;
    case SDL_SCANCODE_LSHIFT: return 0xA0;
    case SDL_SCANCODE_RSHIFT: return 0xA1;
    case SDL_SCANCODE_LCTRL: return 0xA2;
    case SDL_SCANCODE_RCTRL: return 0xA3;
    case SDL_SCANCODE_LALT: return 0xA4;
    case SDL_SCANCODE_RALT: return 0xA5;
    case SDL_SCANCODE_LGUI: return 0x5B;
    default: return 0;
  }
}

int VirtualKeyFromControllerButton(Uint8 button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return 0xC3;
    case SDL_CONTROLLER_BUTTON_B: return 0xC4;
    case SDL_CONTROLLER_BUTTON_X: return 0xC5;
    case SDL_CONTROLLER_BUTTON_Y: return 0xC6;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return 0xC7;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return 0xC8;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return 0xCB;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return 0xCC;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return 0xCD;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return 0xCE;
    case SDL_CONTROLLER_BUTTON_START: return 0xCF;
    case SDL_CONTROLLER_BUTTON_BACK: return 0xD0;
    case SDL_CONTROLLER_BUTTON_LEFTSTICK: return 0xD1;
    case SDL_CONTROLLER_BUTTON_RIGHTSTICK: return 0xD2;
    default: return 0;
  }
}
