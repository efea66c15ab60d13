#include "platform/headless/call_log.h"

#include <cstdio>

namespace ss {

void CallLog::add(std::string text) {
  entries_.push_back({now_ ? now_() : 0, std::move(text)});
}

std::vector<std::string> CallLog::texts() const {
  std::vector<std::string> out;
  out.reserve(entries_.size());
  for (const Entry& e : entries_) out.push_back(e.text);
  return out;
}

std::vector<std::string> CallLog::with_prefix(std::string_view prefix) const {
  std::vector<std::string> out;
  for (const Entry& e : entries_) {
    if (std::string_view(e.text).starts_with(prefix)) out.push_back(e.text);
  }
  return out;
}

size_t CallLog::count(std::string_view text) const {
  size_t n = 0;
  for (const Entry& e : entries_) n += e.text == text;
  return n;
}

bool CallLog::has_subsequence(const std::vector<std::string>& expected) const {
  size_t next = 0;
  for (const Entry& e : entries_) {
    if (next < expected.size() && e.text == expected[next]) ++next;
  }
  return next == expected.size();
}

std::optional<uint64_t> CallLog::time_of(std::string_view text, size_t occurrence) const {
  for (const Entry& e : entries_) {
    if (e.text != text) continue;
    if (occurrence == 0) return e.at_ms;
    --occurrence;
  }
  return std::nullopt;
}

std::string CallLog::dump() const {
  std::string out;
  for (const Entry& e : entries_) out += std::to_string(e.at_ms) + " ms  " + e.text + "\n";
  return out;
}

std::string format_rect(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

std::string format_point(Point p) {
  return std::to_string(p.x) + "," + std::to_string(p.y);
}

std::string format_hex(uint32_t value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%0*X", digits, value);
  return buffer;
}

}  // namespace ss
