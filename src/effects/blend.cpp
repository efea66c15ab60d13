#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "effects/pixel_routines.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define SS_BLEND_SSE2 1
#endif

namespace ss {

namespace {

// (v·k) div 100 with one high multiply: floor(v·k / 100) == (v·m) >> 16 for every byte v when
// m = ceil(k·2^16 / 100) and 1 <= k <= 99. m / 2^16 exceeds k / 100 by less than 2^-16, so
// v·m / 2^16 exceeds v·k / 100 by less than 255 / 2^16 < 1 / 100, too little to reach the next
// integer (a fraction of v·k / 100 is a whole number of hundredths).
constexpr uint16_t percent_multiplier(int32_t k) {
  return static_cast<uint16_t>((static_cast<uint32_t>(k) * 65536 + 99) / 100);
}

constexpr bool percent_multipliers_are_exact() {
  for (int32_t k = 1; k <= 99; ++k)
    for (uint32_t v = 0; v <= 255; ++v)
      if (((v * percent_multiplier(k)) >> 16) != v * static_cast<uint32_t>(k) / 100) return false;
  return true;
}
static_assert(percent_multipliers_are_exact());

#ifdef SS_BLEND_SSE2
// Blends 16 bytes: (d·keep) div 100 + (s·take) div 100, one high multiply per term.
inline __m128i blend16(__m128i d, __m128i s, __m128i keep, __m128i take) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo = _mm_add_epi16(_mm_mulhi_epu16(_mm_unpacklo_epi8(d, zero), keep),
                                   _mm_mulhi_epu16(_mm_unpacklo_epi8(s, zero), take));
  const __m128i hi = _mm_add_epi16(_mm_mulhi_epu16(_mm_unpackhi_epi8(d, zero), keep),
                                   _mm_mulhi_epu16(_mm_unpackhi_epi8(s, zero), take));
  return _mm_packus_epi16(lo, hi);
}
#endif

}  // namespace

void BlendBitmaps(Bitmap24& dst, const Bitmap24& src, int32_t a) {
  a = std::clamp(a, 0, 100);
  const int32_t width = std::min(dst.width(), src.width());
  const int32_t height = std::min(dst.height(), src.height());
  if (width <= 0 || height <= 0 || a == 0) return;  // a = 0 keeps every byte
  const size_t row_bytes = static_cast<size_t>(width) * 3;
  if (a == 100) {  // each byte becomes the source's
    for (int32_t y = 0; y < height; ++y) std::memcpy(dst.row(y), src.row(y), row_bytes);
    return;
  }
  // Each term is divided on its own, so a byte's result is keep[d] + take[s].
  std::array<uint8_t, 256> keep_table{};
  std::array<uint8_t, 256> take_table{};
  for (int32_t v = 0; v < 256; ++v) {
    keep_table[v] = static_cast<uint8_t>(v * (100 - a) / 100);
    take_table[v] = static_cast<uint8_t>(v * a / 100);
  }
#ifdef SS_BLEND_SSE2
  const __m128i keep = _mm_set1_epi16(static_cast<short>(percent_multiplier(100 - a)));
  const __m128i take = _mm_set1_epi16(static_cast<short>(percent_multiplier(a)));
#endif
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* d = dst.row(y);
    const uint8_t* s = src.row(y);
    size_t i = 0;
#ifdef SS_BLEND_SSE2
    for (; i + 16 <= row_bytes; i += 16) {
      const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
      const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), blend16(dv, sv, keep, take));
    }
#endif
    for (; i < row_bytes; ++i) d[i] = static_cast<uint8_t>(keep_table[d[i]] + take_table[s[i]]);
  }
}

}  // namespace ss
