#include "base/path.h"

namespace ss {

std::string join_path(std::string_view folder, std::string_view name, char separator) {
  std::string out(folder);
  if (out.empty() || out.back() != separator) out += separator;
  out += name;
  return out;
}

std::string folder_of(std::string_view path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string file_name_of(std::string_view path) {
  const size_t cut = path.find_last_of("\\/");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace ss
