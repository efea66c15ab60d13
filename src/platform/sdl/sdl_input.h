#pragma once
// SDL's keys and modifier bits in the form the portable forms receive them: the system's
// virtual-key codes (letters and digits as their upper-case characters) and the framework's
// shift-state bits.
#include <cstdint>

namespace ss {

inline constexpr uint32_t kShiftBit = 1;
inline constexpr uint32_t kAltBit = 2;
inline constexpr uint32_t kCtrlBit = 4;
inline constexpr uint32_t kLeftButtonBit = 8;
inline constexpr uint32_t kRightButtonBit = 16;
inline constexpr uint32_t kMiddleButtonBit = 32;

// sdl_keycode is an SDL_Keycode; keys without a virtual-key code of their own give 0xFF.
uint32_t virtual_key_of(int32_t sdl_keycode);
// sdl_modifiers is an SDL_Keymod, buttons SDL's mouse button mask.
uint32_t shift_state_of(uint32_t sdl_modifiers, uint32_t sdl_buttons);

}  // namespace ss
