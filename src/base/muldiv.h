#pragma once
// Proportional geometry helpers shared by the slide composer and the transition engine.
#include <cstdint>

namespace ss {

// a·b/c with a 64-bit intermediate, rounded to the nearest integer, halves away from zero.
// A zero divisor gives -1, as the system routine does.
constexpr int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t num = static_cast<int64_t>(a) * b;
  int64_t den = c;
  if (den < 0) {
    num = -num;
    den = -den;
  }
  const int64_t half = den / 2;
  const int64_t q = num >= 0 ? (num + half) / den : -((-num + half) / den);
  return static_cast<int32_t>(q);
}

// Integer division truncating toward zero, spelled out where the geometry calls it "div".
constexpr int32_t idiv(int32_t a, int32_t b) { return a / b; }

}  // namespace ss
