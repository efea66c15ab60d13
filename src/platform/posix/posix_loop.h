#pragma once
// A native message loop in real time: the thread that creates it is its GUI thread, and every
// wait blocks on a condition variable until something is posted or the time is up.
#include "platform/core/queued_loop.h"

namespace ss {

class PosixLoop final : public QueuedLoop {
 public:
  bool process_messages() override;
  bool wait_message(uint32_t timeout_ms) override;
};

}  // namespace ss
