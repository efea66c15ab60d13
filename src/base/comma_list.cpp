#include "base/comma_list.h"

#include "base/error.h"
#include "base/text.h"

namespace ss {
namespace {

bool is_blank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

bool needs_quotes(const std::string& item) {
  for (char c : item)
    if (static_cast<unsigned char>(c) <= 32 || c == '"' || c == ',') return true;
  return false;
}

}  // namespace

void CommaList::set_comma_text(std::string_view text) {
  items_.clear();
  // A NUL ends the text: read literally, the rules below never step past one.
  if (const size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  size_t i = 0;
  const size_t n = text.size();
  auto skip_blanks = [&] {
    while (i < n && is_blank(text[i])) ++i;
  };
  skip_blanks();
  while (i < n) {
    std::string item;
    if (text[i] == '"') {
      ++i;
      while (i < n) {
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            item += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item += text[i++];
      }
    } else {
      const size_t start = i;
      while (i < n && text[i] != ',' && static_cast<unsigned char>(text[i]) > 32) ++i;
      item.assign(text.substr(start, i - start));
    }
    items_.push_back(std::move(item));
    skip_blanks();
    if (i < n && text[i] == ',') {
      if (i + 1 == n) items_.emplace_back();
      ++i;
      skip_blanks();
    }
  }
}

std::string CommaList::comma_text() const {
  if (items_.size() == 1 && items_[0].empty()) return "\"\"";
  std::string out;
  for (size_t k = 0; k < items_.size(); ++k) {
    if (k) out += ',';
    const std::string& item = items_[k];
    if (!needs_quotes(item)) {
      out += item;
      continue;
    }
    out += '"';
    for (char c : item) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out;
}

const std::string& CommaList::text(int32_t i) const {
  if (i < 0 || i >= count()) throw SaverError(kIndexOutOfBounds);
  return items_[static_cast<size_t>(i)];
}

int32_t CommaList::integer(int32_t i) const { return parse_int32(text(i)).value_or(0); }

}  // namespace ss
