#include "platform/posix/posix_loop.h"

#include <chrono>

namespace ss {

bool PosixLoop::process_messages() {
  return tasks().run_all();
}

bool PosixLoop::wait_message(uint32_t timeout_ms) {
  return tasks().wait_until(
      std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms), false);
}

}  // namespace ss
