#pragma once
// Exact comparison of 64 × 64-bit unsigned products, for geometry whose squared terms outgrow
// 64 bits. Portable: no compiler-specific 128-bit type.
#include <cstdint>

namespace ss {

struct U128 {
  uint64_t hi = 0;
  uint64_t lo = 0;
  friend bool operator<=(const U128& a, const U128& b) {
    return a.hi < b.hi || (a.hi == b.hi && a.lo <= b.lo);
  }
};

constexpr U128 mul_wide(uint64_t a, uint64_t b) {
  const uint64_t a_lo = a & 0xFFFFFFFFu;
  const uint64_t a_hi = a >> 32;
  const uint64_t b_lo = b & 0xFFFFFFFFu;
  const uint64_t b_hi = b >> 32;
  const uint64_t p0 = a_lo * b_lo;
  const uint64_t p1 = a_lo * b_hi;
  const uint64_t p2 = a_hi * b_lo;
  const uint64_t p3 = a_hi * b_hi;
  const uint64_t mid = (p0 >> 32) + (p1 & 0xFFFFFFFFu) + (p2 & 0xFFFFFFFFu);
  return {p3 + (p1 >> 32) + (p2 >> 32) + (mid >> 32), (mid << 32) | (p0 & 0xFFFFFFFFu)};
}

}  // namespace ss
