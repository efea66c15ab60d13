#include "package/trailer.h"

#include "base/text.h"

namespace ss {

int32_t parse_trailer_field(std::string_view field) {
  return parse_int32(trim_blanks(field)).value_or(0);
}

std::optional<int32_t> read_trailer_field(ByteSource& file, int64_t offset) {
  // A file shorter than the trailer puts the field before the first byte.
  if (offset < 0) return std::nullopt;
  char field[kTrailerFieldSize];
  file.seek(offset);
  if (file.read(field, sizeof field) != sizeof field) return std::nullopt;
  return parse_trailer_field({field, sizeof field});
}

std::optional<int32_t> read_package_length(ByteSource& file) {
  return read_trailer_field(file, file.size() - kTrailerSize);
}

std::optional<int32_t> read_settings_offset(ByteSource& file) {
  return read_trailer_field(file, file.size() - kTrailerFieldSize);
}

std::optional<int64_t> find_package_start(ByteSource& file) {
  const auto length = read_package_length(file);
  if (!length) return std::nullopt;
  return file.size() - kTrailerSize - *length;
}

std::string format_trailer_field(int64_t value) {
  std::string field = std::to_string(value);  // at most 20 characters for any int64_t
  field.resize(static_cast<size_t>(kTrailerFieldSize), ' ');
  return field;
}

std::string format_trailer(int64_t package_length, int64_t settings_offset) {
  return format_trailer_field(package_length) + format_trailer_field(settings_offset);
}

}  // namespace ss
