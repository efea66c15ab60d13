#pragma once
// The scripted input of a run: each event becomes a message posted at its virtual time, so it
// arrives in whatever loop is pumping then, also inside a transition. Events of the same time
// arrive in the order they were scheduled; an event whose time has passed arrives at the next
// message round. When the last one has been delivered, the script can end the run after a
// grace period.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/headless/headless_application.h"
#include "platform/headless/input_event.h"

namespace ss {

class InputScript {
 public:
  using Deliver = std::function<void(const InputEvent&)>;

  InputScript(HeadlessApplication& app, Deliver deliver)
      : app_(app), deliver_(std::move(deliver)) {}

  void schedule(InputEvent event);
  // When set, the run ends this long after the last scheduled event has been delivered.
  void end_run_after_last(std::optional<uint64_t> grace_ms) { end_after_ms_ = grace_ms; }

  size_t scheduled() const { return scheduled_; }
  size_t delivered() const { return delivered_; }
  bool exhausted() const { return delivered_ == scheduled_; }

 private:
  void delivered_one();

  HeadlessApplication& app_;
  Deliver deliver_;
  std::optional<uint64_t> end_after_ms_;
  size_t scheduled_ = 0;
  size_t delivered_ = 0;
};

}  // namespace ss
