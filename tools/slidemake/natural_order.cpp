#include "natural_order.h"

#include <cctype>

namespace slidemake {
namespace {

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}
char fold(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Compares two runs of digits by value: leading zeros aside, the longer run is larger.
int compare_numbers(std::string_view a, std::string_view b) {
  while (a.size() > 1 && a.front() == '0') a.remove_prefix(1);
  while (b.size() > 1 && b.front() == '0') b.remove_prefix(1);
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

}  // namespace

bool natural_less(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (is_digit(a[i]) && is_digit(b[j])) {
      size_t i_end = i, j_end = j;
      while (i_end < a.size() && is_digit(a[i_end])) ++i_end;
      while (j_end < b.size() && is_digit(b[j_end])) ++j_end;
      const int order = compare_numbers(a.substr(i, i_end - i), b.substr(j, j_end - j));
      if (order != 0) return order < 0;
      i = i_end;
      j = j_end;
    } else {
      if (fold(a[i]) != fold(b[j])) return fold(a[i]) < fold(b[j]);
      ++i;
      ++j;
    }
  }
  if (i < a.size() || j < b.size()) return j < b.size();
  return a < b;  // equal but for case or zeros: a fixed order still
}

}  // namespace slidemake
