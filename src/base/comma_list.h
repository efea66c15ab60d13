#pragma once
// An ordered list of texts held as comma text: the form every list-valued setting takes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ss {

class CommaList {
 public:
  CommaList() = default;
  explicit CommaList(std::vector<std::string> items) : items_(std::move(items)) {}

  // Replaces the list by the elements of comma text. A NUL character ends the text.
  void set_comma_text(std::string_view text);
  // The elements joined by commas, quoting those that need it.
  std::string comma_text() const;

  int32_t count() const { return static_cast<int32_t>(items_.size()); }
  // Element i; outside 0 .. count - 1 these raise "Index is out of bounds".
  const std::string& text(int32_t i) const;
  // Element i as a signed decimal integer, 0 when it is not one.
  int32_t integer(int32_t i) const;

  const std::vector<std::string>& items() const { return items_; }
  std::vector<std::string>& items() { return items_; }
  friend bool operator==(const CommaList&, const CommaList&) = default;

 private:
  std::vector<std::string> items_;
};

}  // namespace ss
