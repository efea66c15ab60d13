#include "package/stream_values.h"

#include <cmath>
#include <limits>

#include "base/text.h"

namespace ss {
namespace {

constexpr char kReplacement = '?';

}  // namespace

double decode_extended(std::span<const uint8_t, 10> bytes) {
  uint64_t mantissa = 0;
  for (int i = 7; i >= 0; --i) mantissa = mantissa << 8 | bytes[static_cast<size_t>(i)];
  const unsigned sign_exponent = bytes[8] | bytes[9] << 8;
  const bool negative = (sign_exponent & 0x8000) != 0;
  const int exponent = static_cast<int>(sign_exponent & 0x7FFF);
  double value;
  if (exponent == 0x7FFF) {
    // The integer bit is ignored here: only the fraction tells infinity from NaN.
    const bool fraction = (mantissa & 0x7FFFFFFFFFFFFFFFull) != 0;
    value = fraction ? std::numeric_limits<double>::quiet_NaN()
                     : std::numeric_limits<double>::infinity();
  } else {
    // value = mantissa × 2^(exponent − 16383 − 63); denormals use the exponent of 1.
    const int unbiased = (exponent == 0 ? 1 : exponent) - 16383 - 63;
    value = std::ldexp(static_cast<double>(mantissa), unbiased);
  }
  return negative ? -value : value;
}

char code_point_to_ansi(uint32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF))
    return static_cast<char>(code_point);
  for (uint32_t byte = 0x80; byte < 0xA0; ++byte)
    if (cp1252_to_unicode(static_cast<uint8_t>(byte)) == code_point) return static_cast<char>(byte);
  return kReplacement;
}

std::string utf16le_to_ansi(std::span<const uint8_t> bytes) {
  std::string out;
  const size_t units = bytes.size() / 2;
  out.reserve(units);
  auto unit = [&](size_t i) { return static_cast<uint32_t>(bytes[2 * i] | bytes[2 * i + 1] << 8); };
  for (size_t i = 0; i < units; ++i) {
    const uint32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) <= 0xDFFF) {
      ++i;  // a pair: no supplementary character is in the code page
      out += kReplacement;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      out += kReplacement;  // unpaired surrogate
    } else {
      out += code_point_to_ansi(u);
    }
  }
  return out;
}

std::string utf8_to_ansi(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  const size_t n = text.size();
  auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  while (i < n) {
    const uint8_t lead = byte(i);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    size_t length;
    uint32_t code_point;
    uint32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code_point = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code_point = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code_point = lead & 0x07, minimum = 0x10000;
    } else {
      out += kReplacement;  // stray continuation byte or invalid lead
      ++i;
      continue;
    }
    size_t k = 1;
    for (; k < length && i + k < n && (byte(i + k) & 0xC0) == 0x80; ++k)
      code_point = code_point << 6 | (byte(i + k) & 0x3F);
    if (k < length || code_point < minimum || code_point > 0x10FFFF ||
        (code_point >= 0xD800 && code_point <= 0xDFFF)) {
      out += kReplacement;  // truncated, overlong or out of range: one '?' for the bytes seen
      i += k;
      continue;
    }
    out += code_point_to_ansi(code_point);
    i += length;
  }
  return out;
}

}  // namespace ss
