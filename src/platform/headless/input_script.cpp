#include "platform/headless/input_script.h"

#include <algorithm>
#include <limits>

namespace ss {

void InputScript::schedule(InputEvent event) {
  ++scheduled_;
  const uint64_t now = app_.now_ms();
  const uint64_t delay = event.at_ms > now ? event.at_ms - now : 0;
  app_.headless_loop().post_after(
      static_cast<uint32_t>(std::min<uint64_t>(delay, std::numeric_limits<uint32_t>::max())),
      [this, event = std::move(event)] {
        // Counted first: an event that ends the run still counts as delivered.
        delivered_one();
        app_.guarded([&] { deliver_(event); })();
      });
}

void InputScript::delivered_one() {
  ++delivered_;
  if (!exhausted() || !end_after_ms_) return;
  const size_t at_count = delivered_;
  app_.post_guarded_after(*end_after_ms_, [this, at_count] {
    // Events scheduled meanwhile keep the run going.
    if (delivered_ == at_count && exhausted()) app_.end_run();
  });
}

}  // namespace ss
