#include "platform/sdl/sdl_input.h"

#include <SDL2/SDL.h>

namespace ss {

uint32_t virtual_key_of(int32_t sdl_keycode) {
  const SDL_Keycode key = sdl_keycode;
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<uint32_t>('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<uint32_t>(key);
  if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + static_cast<uint32_t>(key - SDLK_F1);
  switch (key) {
    case SDLK_BACKSPACE:
      return 0x08;
    case SDLK_TAB:
      return 0x09;
    case SDLK_RETURN:
      return 0x0D;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return 0x10;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return 0x11;
    case SDLK_LALT:
    case SDLK_RALT:
      return 0x12;
    case SDLK_PAUSE:
      return 0x13;
    case SDLK_ESCAPE:
      return 0x1B;
    case SDLK_SPACE:
      return 0x20;
    case SDLK_PAGEUP:
      return 0x21;
    case SDLK_PAGEDOWN:
      return 0x22;
    case SDLK_END:
      return 0x23;
    case SDLK_HOME:
      return 0x24;
    case SDLK_LEFT:
      return 0x25;
    case SDLK_UP:
      return 0x26;
    case SDLK_RIGHT:
      return 0x27;
    case SDLK_DOWN:
      return 0x28;
    case SDLK_INSERT:
      return 0x2D;
    case SDLK_DELETE:
      return 0x2E;
    default:
      return 0xFF;
  }
}

uint32_t shift_state_of(uint32_t sdl_modifiers, uint32_t sdl_buttons) {
  uint32_t shift = 0;
  if (sdl_modifiers & KMOD_SHIFT) shift |= kShiftBit;
  if (sdl_modifiers & KMOD_ALT) shift |= kAltBit;
  if (sdl_modifiers & KMOD_CTRL) shift |= kCtrlBit;
  if (sdl_buttons & SDL_BUTTON_LMASK) shift |= kLeftButtonBit;
  if (sdl_buttons & SDL_BUTTON_RMASK) shift |= kRightButtonBit;
  if (sdl_buttons & SDL_BUTTON_MMASK) shift |= kMiddleButtonBit;
  return shift;
}

}  // namespace ss
