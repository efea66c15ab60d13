#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace ss {

uint32_t Win32Clock::tick_count() const {
  return static_cast<uint32_t>(GetTickCount());
}

}  // namespace ss
