#pragma once
// Leak checking off for this thread while a guard lives. The GL and DRI drivers that SDL loads
// keep allocations that they free only when unloaded, and once unloaded their stacks name no
// module that a suppression could match. The show's own code is leak-checked by the headless
// tests.
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace sdl_test {

class DriverAllocations {
 public:
#if defined(__SANITIZE_ADDRESS__)
  DriverAllocations() {
    __lsan_disable();
  }
  ~DriverAllocations() {
    __lsan_enable();
  }
#else
  DriverAllocations() {}  // NOLINT: a const guard needs a user-provided constructor
#endif
  DriverAllocations(const DriverAllocations&) = delete;
  DriverAllocations& operator=(const DriverAllocations&) = delete;
};

}  // namespace sdl_test
