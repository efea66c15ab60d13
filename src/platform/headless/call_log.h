#pragma once
// The ordered record of what portable code asked of the headless platform. Tests assert on
// sub-sequences of it, so every entry is one line in a fixed format, written only here:
//
//   app.error <text>                        the standard error report (Application::report_error)
//   app.stalled                             a run stopped: messages kept coming without time
//   passing window.create <handle>                  window.bounds <l>,<t>,<r>,<b> window.color 0x<8
//   hex digits>           the 00BBGGRR value as given (system colours FF0000nn) window.topmost
//   window.show   window.hide_app   window.close   capture.release input.key <key> scripted input
//   as it is delivered; positions are in input.move <x>,<y>                      screen
//   coordinates, buttons are left, right, middle input.down <button>   input.up <button>
//   input.message 0x<hex>   input.activate   input.close   input.fscommand <command> <args>
//   message.error <title>: <text>           message.ask <text> -> yes|no
//   shell.open <target>                     cursor.show 1|0    cursor.hand 1|0
//   password.switch -> no key|no value|<n>
//   password.verify -> ok|cancel|no component|no entry point
//   password.change <parent> -> called|no entry point
//   screensaver.running 1|0                 hook.install [-> failed]    hook.remove
//   guard.create <name> -> created|already running|failed              guard.close
//   media.open <path> [-> failed]   media.play [-> failed]   media.stop   media.close
//   media.notify                            the end notification, when its message runs
//   flash.create [-> failed]   flash.bounds <l>,<t>,<r>,<b>   flash.visible 1|0
//   flash.movie <path>   flash.play [-> failed]   flash.stop   flash.stop_play
//   file.create <path>   file.delete <path> -> ok|failed
//   text.draw <x>,<y> <text>
//   preview.draw <handle> <width>x<height>
//
// Reads that are polled (frame counters, window visibility, the cursor) are not logged.
// GUI thread only.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/geometry.h"

namespace ss {

class CallLog {
 public:
  struct Entry {
    uint64_t at_ms;  // virtual time of the call
    std::string text;
  };

  // `now` gives the virtual time stamped on each entry.
  explicit CallLog(std::function<uint64_t()> now = {}) : now_(std::move(now)) {}

  void add(std::string text);
  void clear() { entries_.clear(); }

  const std::vector<Entry>& entries() const { return entries_; }
  std::vector<std::string> texts() const;
  // The entries that begin with prefix, in order.
  std::vector<std::string> with_prefix(std::string_view prefix) const;
  size_t count(std::string_view text) const;
  bool contains(std::string_view text) const { return count(text) > 0; }
  // True when every text of `expected` occurs in this order, others possibly in between.
  bool has_subsequence(const std::vector<std::string>& expected) const;
  // The time of the n-th (from 0) entry equal to text.
  std::optional<uint64_t> time_of(std::string_view text, size_t occurrence = 0) const;
  // Every entry on its own line with its time, for failure messages.
  std::string dump() const;

 private:
  std::function<uint64_t()> now_;
  std::vector<Entry> entries_;
};

// Formatting shared by the entries above.
std::string format_rect(const Rect& r);
std::string format_point(Point p);
std::string format_hex(uint32_t value, int digits);

}  // namespace ss
