#include "base/random.h"

namespace ss {
namespace {
uint32_t g_seed = 0;
}

int32_t Random(int32_t n) {
  g_seed = g_seed * 134775813u + 1u;
  // The upper half of the 64-bit product seed × n.
  const int64_t product = static_cast<int64_t>(g_seed) * static_cast<int64_t>(n);
  return static_cast<int32_t>(product >> 32);
}

uint32_t random_seed() { return g_seed; }
void set_random_seed(uint32_t seed) { g_seed = seed; }

}  // namespace ss
